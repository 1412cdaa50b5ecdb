#include "dialogs/side_section_dialogs.h"

#include <algorithm>

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "calc/field_rules.h"
#include "editor/field_access.h"
#include "platform/qt_text.h"

namespace qora::gui {

namespace {

using editor::kPartCheckBoxCount;

// The parts in the order the dialog lays them out, by their index in editor::partControls().
constexpr std::array<std::size_t, 4> kCheckBoxOrder{3, 1, 0, 2};      // ABS, chip, gear box, intercooler
constexpr std::array<std::size_t, 10> kSliderOrder{9,  10, 6,  7, 5,  // tires ... brakes
                                                   11, 12, 13, 4, 8}; // headers ... clutch
constexpr int kSliderMaximum = 3;

constexpr std::array<const char*, editor::kAiBasisFieldCount> kAiBasisCaptions{
    "Ground Effects:", "Cornering:", "Braking:", "Acceleration:", "Top Speed:"};

QLabel* wrappedNote(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// "Clear All Fields" takes the Cancel button's place without closing the dialog.
void makeClearButton(QPushButton* button, QDialog* dialog) {
    button->setText(QObject::tr("Clear &All Fields"));
    QObject::disconnect(button, &QPushButton::clicked, dialog, &QDialog::reject);
}

} // namespace

// ---- Upgrade parts ----------------------------------------------------------------------------------------------

PartsDialog::PartsDialog(const editor::PartsForm& form, QWidget* parent)
    : BaseDialog(qtName(editor::kPartsCaption), parent), m_form(form) {
    setObjectName(QStringLiteral("dlgParts"));
    const auto controls = editor::partControls();

    auto* note = wrappedNote(tr("NOTE:  These are the same modification parts that appear in the game."), this);
    QFont bold = note->font();
    bold.setBold(true);
    note->setFont(bold);
    contentLayout()->addWidget(note);
    contentLayout()->addWidget(wrappedNote(tr("These settings should not be used to enhance the handling or "
                                              "performance of your vehicle.  The user should have that opportunity "
                                              "in the game."),
                                           this));
    contentLayout()->addWidget(wrappedNote(tr("Use these settings to specify pre-installed parts for your vehicle . "
                                              "For example, your vehicle may already include ABS braking and Turbo "
                                              "Charger when purchased in the game."),
                                           this));

    auto* checks = new QGridLayout;
    checks->setHorizontalSpacing(24);
    for (std::size_t i = 0; i < kCheckBoxOrder.size(); ++i) {
        const std::size_t part = kCheckBoxOrder[i];
        auto* box = new QCheckBox(qtName(controls[part].caption), this);
        box->setObjectName(qtName(controls[part].name));
        box->setChecked(m_form.checked(part));
        connect(box, &QCheckBox::toggled, this, [this, part](bool checked) { m_form.setChecked(part, checked); });
        m_checks[part] = box;
        checks->addWidget(box, static_cast<int>(i / 2), static_cast<int>(i % 2));
    }
    checks->setColumnStretch(2, 1);
    contentLayout()->addSpacing(4);
    contentLayout()->addLayout(checks);
    contentLayout()->addSpacing(4);

    auto* sliders = new QGridLayout;
    sliders->setHorizontalSpacing(8);
    sliders->setVerticalSpacing(2);
    const int perColumn = static_cast<int>(kSliderOrder.size() / 2);
    for (std::size_t i = 0; i < kSliderOrder.size(); ++i) {
        const std::size_t part = kSliderOrder[i];
        const int tag = static_cast<int>(part - kPartCheckBoxCount);
        const int row = static_cast<int>(i) % perColumn;
        const int column = static_cast<int>(i) / perColumn * 4;

        auto* caption = new QLabel(qtName(controls[part].caption), this);
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(qtName(controls[part].name));
        slider->setProperty("tag", tag);
        slider->setRange(0, kSliderMaximum);
        slider->setSingleStep(1);
        slider->setPageStep(1);
        slider->setTickInterval(1);
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setMinimumWidth(110);
        slider->setValue(m_form.position(part));
        caption->setBuddy(slider);
        auto* readOut = new QLabel(this);
        readOut->setObjectName(qtName(controls[part].readOut));
        readOut->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        readOut->setAlignment(Qt::AlignCenter);
        readOut->setFixedWidth(readOut->fontMetrics().horizontalAdvance(QStringLiteral("00")) + 12);
        connect(slider, &QSlider::valueChanged, this, [this, tag] { sliderMoved(tag); });
        m_sliders[static_cast<std::size_t>(tag)] = slider;
        m_readOuts[static_cast<std::size_t>(tag)] = readOut;

        sliders->addWidget(caption, row, column);
        sliders->addWidget(slider, row, column + 1);
        sliders->addWidget(readOut, row, column + 2);
    }
    sliders->setColumnMinimumWidth(3, 16);
    sliders->setColumnStretch(1, 1);
    sliders->setColumnStretch(5, 1);
    contentLayout()->addLayout(sliders);
    contentLayout()->addSpacing(4);
    contentLayout()->addWidget(wrappedNote(
        tr("To remove this section from your file, leave all boxes unchecked and all sliders to far left."), this));
    for (int tag = 0; tag < static_cast<int>(m_sliders.size()); ++tag)
        sliderMoved(tag);
    resize(sizeHint().expandedTo(QSize(560, 0)));
}

void PartsDialog::sliderMoved(int tag) {
    const std::size_t part = editor::PartsForm::partOfSliderTag(tag);
    const auto index = static_cast<std::size_t>(tag);
    m_form.setPosition(part, m_sliders[index]->value());
    m_readOuts[index]->setText(fromLatin1(m_form.readOutText(part)));
}

void PartsDialog::showEvent(QShowEvent* event) {
    BaseDialog::showEvent(event);
    for (int tag = 0; tag < static_cast<int>(m_sliders.size()); ++tag)
        sliderMoved(tag);
}

// ---- Computer-opponent basis --------------------------------------------------------------------------------------

AiBasisDialog::AiBasisDialog(const editor::AiBasisForm& form, const Settings& settings, Prompt& prompt, QWidget* parent)
    : BaseDialog(qtName(editor::kAiBasisCaption), parent), m_form(form), m_settings(settings), m_prompt(prompt) {
    setObjectName(QStringLiteral("dlgAiBasisData"));
    contentLayout()->addWidget(wrappedNote(tr("If a field contains data, it is saved to the current VEH file in the "
                                              "[AIBASIS] section.  If all fields are empty, this section is deleted."),
                                           this));
    auto* fields = new QFormLayout;
    fields->setLabelAlignment(Qt::AlignRight);
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        auto* edit = new QLineEdit(fromLatin1(m_form.field(i)), this);
        edit->setObjectName(qtName(editor::kAiBasisFields[i]));
        edit->setMaxLength(static_cast<int>(editor::kAiBasisMaxLength));
        connect(edit, &QLineEdit::textEdited, this, [this, i, edit](const QString& typed) {
            // Numbers only, typed or pasted: what the digits filter refuses is left out, with a beep.
            const std::string text = toLatin1(typed);
            const std::string kept = keptAsTyped(text, static_cast<int>(editor::kAiBasisMaxLength));
            if (kept != text) {
                const int caret = std::max(0, edit->cursorPosition() - static_cast<int>(text.size() - kept.size()));
                edit->setText(fromLatin1(kept));
                edit->setCursorPosition(std::min(caret, static_cast<int>(kept.size())));
                m_prompt.beep();
            }
            m_form.setField(i, kept);
        });
        m_fields[i] = edit;
        fields->addRow(tr(kAiBasisCaptions[i]), edit);
    }
    contentLayout()->addLayout(fields);
    contentLayout()->addStretch(1);

    okButton()->setText(tr("&Close"));
    okButton()->setObjectName(QStringLiteral("bClose"));
    makeClearButton(cancelButton(), this);
    connect(cancelButton(), &QPushButton::clicked, this, &AiBasisDialog::cancelEdits);
    resize(sizeHint().expandedTo(QSize(400, 0)));
}

void AiBasisDialog::cancelEdits() {
    if (!m_form.clearAllFields(m_settings, m_prompt))
        return;
    for (QLineEdit* field : m_fields)
        field->clear();
}

void AiBasisDialog::done(int result) {
    if (const auto problem = m_form.problem()) {
        m_prompt.tell(std::string(editor::kAiBasisClearTitle), problem->second, PromptIcon::Stop);
        m_fields[problem->first]->setFocus(Qt::OtherFocusReason);
        m_fields[problem->first]->selectAll();
        return;
    }
    BaseDialog::done(result);
}

// ---- Author data ------------------------------------------------------------------------------------------------

AuthorDialog::AuthorDialog(const editor::AuthorForm& form, const Settings& settings, Prompt& prompt, QWidget* parent)
    : MemoDialog(qtName(editor::kAuthorCaption), parent), m_form(form), m_settings(settings), m_prompt(prompt) {
    setObjectName(QStringLiteral("dlgAuthorData"));
    using editor::AuthorItem;
    struct Edit {
        AuthorItem item;
        const char* caption;
        const char* hint;
    };
    static constexpr std::array<Edit, 4> kEdits{{
        {editor::AuthorOriginal, "Original Author:", "If you are the original author, type your name/email here."},
        {editor::AuthorModifiedBy, "Modified By:", "If you're not the original author, enter your name/email here."},
        {editor::AuthorBasedOn, "Based On Vehicle:", "The car you started with to create this car (if any)"},
        {editor::AuthorVersion, "VEH File Version:", "Enter a version number"},
    }};

    // The edits go above the memo the base dialog holds.
    int position = 0;
    contentLayout()->insertWidget(
        position++, wrappedNote(tr("If a field contains data, it is saved to the current VEH file in the [QORA] "
                                   "section.  If all fields are empty, the [QORA] section is deleted."),
                                this));
    auto* fields = new QFormLayout;
    fields->setLabelAlignment(Qt::AlignRight);
    for (const Edit& e : kEdits) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(qtName(editor::kAuthorControls[static_cast<std::size_t>(e.item)]));
        edit->setToolTip(tr(e.hint));
        const AuthorItem item = e.item;
        connect(edit, &QLineEdit::textEdited, this,
                [this, item](const QString& text) { m_form.setText(item, toLatin1(text)); });
        m_edits[static_cast<std::size_t>(item)] = edit;
        fields->addRow(tr(e.caption), edit);
    }
    contentLayout()->insertLayout(position++, fields);
    auto* notesLabel = new QLabel(tr("Notes From The Author"), this);
    notesLabel->setBuddy(notes());
    contentLayout()->insertWidget(position++, notesLabel);
    connect(notes(), &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling)
            m_form.setText(editor::AuthorNotes, toLatin1(notes()->toPlainText()));
    });
    showTexts();

    okButton()->setText(tr("&Close"));
    okButton()->setObjectName(QStringLiteral("bClose"));
    makeClearButton(cancelButton(), this);
    connect(cancelButton(), &QPushButton::clicked, this, &AuthorDialog::cancelEdits);
    resize(sizeHint().expandedTo(QSize(460, 400)));
}

void AuthorDialog::showTexts() {
    m_filling = true;
    for (std::size_t i = 0; i < m_edits.size(); ++i)
        if (m_edits[i] != nullptr)
            m_edits[i]->setText(fromLatin1(m_form.text(static_cast<editor::AuthorItem>(i))));
    notes()->setPlainText(fromLatin1(m_form.text(editor::AuthorNotes)));
    m_filling = false;
}

void AuthorDialog::cancelEdits() {
    if (m_form.clearAllFields(m_settings, m_prompt))
        showTexts();
}

void AuthorDialog::done(int result) {
    if (const auto problem = m_form.problem()) {
        m_prompt.tell(std::string(editor::kAuthorClearTitle), problem->second, PromptIcon::Stop);
        if (problem->first == editor::AuthorNotes) {
            notes()->setFocus(Qt::OtherFocusReason);
        } else if (QLineEdit* edit = m_edits[static_cast<std::size_t>(problem->first)]) {
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
        }
        return;
    }
    MemoDialog::done(result);
}

} // namespace qora::gui
