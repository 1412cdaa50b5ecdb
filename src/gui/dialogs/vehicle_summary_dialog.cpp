#include "dialogs/vehicle_summary_dialog.h"

#include <utility>

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "editor/page_model.h"
#include "platform/file_dialog_hook.h"
#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/prompt.h"
#include "platform/qt_text.h"

namespace qora::gui {

namespace {

QString utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

VehicleSummaryDialog::VehicleSummaryDialog(editor::VehicleSummary summary, const std::string& startFolder,
                                       const std::string& baseName, FileDialogHook& fileDialogs, Prompt& prompt,
                                       QWidget* parent)
    : QDialog(parent), m_summary(std::move(summary)), m_startFolder(startFolder), m_baseName(baseName),
      m_fileDialogs(fileDialogs), m_prompt(prompt) {
    setObjectName(m_summary.compare ? QStringLiteral("dlgCompareSummary") : QStringLiteral("dlgVehicleSummary"));
    setWindowTitle(fromLatin1(m_summary.title));
    setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("tbSummary"));
    m_browser->setOpenLinks(false);
    m_browser->setHtml(utf8(editor::summaryHtml(m_summary)));
    layout->addWidget(m_browser, 1);

    auto* buttons = new QHBoxLayout;
    auto* copy = new QPushButton(tr("Copy as &Text"), this);
    copy->setObjectName(QStringLiteral("bCopyText"));
    copy->setToolTip(tr("Copy the summary as plain text with aligned columns, ready to paste"));
    connect(copy, &QPushButton::clicked, this, &VehicleSummaryDialog::copyAsText);
    auto* save = new QPushButton(tr("&Save as HTML..."), this);
    save->setObjectName(QStringLiteral("bSaveHtml"));
    save->setToolTip(tr("Save the summary as a web page"));
    connect(save, &QPushButton::clicked, this, [this] { saveAsHtml(); });
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lNote"));
    m_note->setTextFormat(Qt::PlainText);
    auto* close = new QPushButton(tr("&Close"), this);
    close->setObjectName(QStringLiteral("bClose"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(copy);
    buttons->addWidget(save);
    buttons->addSpacing(8);
    buttons->addWidget(m_note, 1);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    close->setFocus();
    setMinimumSize(420, 300);
    resize(m_summary.compare ? 860 : 640, 640);
}

void VehicleSummaryDialog::showNote(const QString& text) {
    m_note->setText(text);
}

void VehicleSummaryDialog::copyAsText() {
    QGuiApplication::clipboard()->setText(utf8(editor::summaryText(m_summary)));
    showNote(tr("Copied to the clipboard."));
}

bool VehicleSummaryDialog::saveAsHtml() {
    FileDialogRequest request;
    request.title = tr("Save Summary as HTML");
    request.folder = fromPath(m_startFolder);
    request.proposedName = fromPath(m_baseName) + QStringLiteral(".html");
    request.filter = tr("HTML Files (*.html *.htm)");
    request.defaultSuffix = QStringLiteral("html");
    const std::optional<QString> chosen = m_fileDialogs.saveFile(this, request);
    if (!chosen || chosen->isEmpty())
        return false;
    const std::string path = toPath(*chosen);
    try {
        writeFileAtomically(path, editor::summaryHtml(m_summary));
    } catch (const FileError& error) {
        m_prompt.tell(std::string(editor::kFileErrorTitle),
                      "The summary could not be saved as " + path + ": " + error.reason() +
                          ". Choose another folder or name and save again.",
                      PromptIcon::Stop);
        return false;
    }
    showNote(tr("Saved as %1.").arg(QFileInfo(*chosen).fileName()));
    return true;
}

} // namespace qora::gui
