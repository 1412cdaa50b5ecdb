// The window's side of the seven pages: the pages in their tabs, the field texts read from and written into all
// of them at once, filling them from a vehicle and transferring them back, and the help of the focused field.

#include <QApplication>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>

#include "chart/torque_chart.h"
#include "commands/ghost_commands.h"
#include "editor/field_access.h"
#include "editor/field_widgets.h"
#include "editor/main_window.h"
#include "editor/page_model.h"
#include "editor/vehicle_header.h"
#include "pages/aerodynamics_page.h"
#include "pages/details_page.h"
#include "pages/drivetrain_page.h"
#include "pages/handling_page.h"
#include "pages/other_page.h"
#include "pages/performance_page.h"
#include "pages/tires_page.h"
#include "platform/qt_text.h"

namespace qora::gui {

using editor::FieldWidget;
using editor::PageField;

// ---- The pages ----------------------------------------------------------------------------------------------

void MainWindow::createPages() {
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pcPages"));
    m_pages->setDocumentMode(false);
    m_pages->setUsesScrollButtons(true);

    m_aerodynamics = new AerodynamicsPage(*this);
    m_performance = new PerformancePage(*this, TorqueChartHost{&m_host.prompt, &m_host.fileDialogs, &m_host.dialogs});
    m_driveTrain = new DriveTrainPage(*this, torqueChart());
    m_fieldPages = {new DetailsPage(*this), new TiresPage(*this), m_aerodynamics,      new HandlingPage(*this),
                    m_performance,          m_driveTrain,         new OtherPage(*this)};

    static constexpr std::array<const char*, editor::kPageCount> kTabCaptions{
        "&Details", "&Tires", "&Aerodynamics", "Ha&ndling", "&Performance", "Dr&iveTrain", "Othe&r"};
    for (FieldPage* page : m_fieldPages) {
        auto* scroll = new QScrollArea(m_pages);
        scroll->setObjectName(qtName(editor::pageName(page->pageIndex())));
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(page);
        m_pages->addTab(scroll, tr(kTabCaptions[static_cast<std::size_t>(page->pageIndex())]));
        connect(page, &FieldPage::fieldEdited, this, &MainWindow::onFieldEdited);
    }
    m_driveTrain->followOtherPages();
    connect(m_pages, &QTabWidget::currentChanged, this, [this] {
        guarded([this] {
            if (m_pages->currentIndex() == editor::PgDriveTrain)
                m_driveTrain->pageShown();
        });
    });
    connect(m_pages, &QTabWidget::currentChanged, this, [this] { m_ghosts->fitGhostColumns(); });
}

std::vector<SpinButton*> MainWindow::spinButtons() const {
    std::vector<SpinButton*> buttons;
    for (const FieldPage* page : m_fieldPages)
        buttons.insert(buttons.end(), page->spinButtons().begin(), page->spinButtons().end());
    return buttons;
}

// ---- What the pages ask of the window -----------------------------------------------------------------------

QWidget* MainWindow::control(std::string_view name) const {
    for (const FieldPage* page : m_fieldPages)
        if (page != nullptr)
            if (QWidget* found = page->control(name))
                return found;
    return nullptr;
}

TorqueChart& MainWindow::torqueChart() const {
    return m_performance->chart();
}

int MainWindow::currentPage() const {
    return m_pages->currentIndex();
}

// ---- Field texts --------------------------------------------------------------------------------------------

QString MainWindow::controlText(std::string_view name) const {
    return FieldPage::textOf(control(name));
}

editor::PageTexts MainWindow::collectTexts() const {
    editor::PageTexts texts;
    for (const PageField& field : editor::allPageFields()) {
        if (field.widget == FieldWidget::Display || field.part == editor::BufferPart::None)
            continue;
        if (const QWidget* widget = control(field.name))
            texts.emplace(std::string(field.name), toLatin1(FieldPage::textOf(widget)));
    }
    return texts;
}

void MainWindow::applyTexts(const editor::PageTexts& texts, bool ghost) {
    for (const auto& [name, text] : texts) {
        const PageField* field = editor::findPageField(name);
        if (field == nullptr)
            continue;
        FieldPage::setControlText(control(ghost ? field->ghostName : field->name), fromLatin1(text));
    }
}

void MainWindow::applyLoad(const editor::PageLoad& load, bool ghost) {
    applyTexts(load.texts, ghost);
    if (load.angleModeSwitched) {
        m_aerodynamics->applyAngleMode(false);
        if (load.otherAngleTexts) {
            FieldPage::setControlText(control(ghost ? "efAngle" : "gefAngle"), fromLatin1(load.otherAngleTexts->front));
            FieldPage::setControlText(control(ghost ? "erAngle" : "gerAngle"), fromLatin1(load.otherAngleTexts->rear));
        }
    }
}

editor::PageLoad MainWindow::fillPages(const VehicleFile& vehicle, bool ghost) {
    editor::PageLoad load;
    {
        // Filling is no edit, not even where it shows the vehicle's angles anew for a ghost.
        const auto notAnEdit = m_document->history().quiet();
        m_pagesFilling = true;
        try {
            load = editor::loadPages(vehicle, ghost, m_settings, prompt(), m_aerodynamics->otherSetAngles(ghost));
            applyLoad(load, ghost);
        } catch (...) {
            m_pagesFilling = false;
            throw;
        }
        afterPageFill(editor::PgPerformance, vehicle, ghost);
        afterPageFill(editor::PgDriveTrain, vehicle, ghost);
        if (!ghost)
            m_document->authorData() = editor::keptAuthorData(vehicle);
    }
    m_document->history().resync();
    return load;
}

// The steps a page takes beyond its field texts (the engine curve and its figures, the gear bars and read-outs).
// Ends the filling.
void MainWindow::afterPageFill(int page, const VehicleFile& vehicle, bool ghost) {
    m_fieldPages[static_cast<std::size_t>(page)]->afterFill(vehicle, ghost);
    m_pagesFilling = false;
}

void MainWindow::helpForFocus() {
    for (QWidget* w = QApplication::focusWidget(); w != nullptr && w != this; w = w->parentWidget()) {
        if (const editor::PageField* field = editor::findPageField(toLatin1(w->objectName()))) {
            if (field->helpNumber > 0)
                showHelp(field->helpNumber);
            return;
        }
    }
    // Outside the page fields F1 opens the user guide.
    showUserGuide();
}

// Every change of a vehicle field's text passes here: the history makes it a command (or, while a change of
// several values runs, leaves it to that change's command).
void MainWindow::onFieldEdited(QWidget* field) {
    if (field->objectName() == QLatin1String("eDescription"))
        m_header->setDescription(FieldPage::textOf(field));
    if (!m_pagesFilling)
        m_document->history().fieldEdited(toLatin1(field->objectName()));
}

// ---- Options restored at start-up ---------------------------------------------------------------------------

void MainWindow::restoreOptions() {
    for (const PageField& field : editor::allPageFields()) {
        const std::vector<std::string>* items = editor::settingsListItems(field.name, m_settings);
        auto* combo = qobject_cast<FieldCombo*>(control(field.name));
        if (items == nullptr || combo == nullptr)
            continue;
        QStringList list;
        for (const std::string& item : *items)
            list << fromLatin1(item);
        combo->setItems(list);
    }
    for (FieldPage* page : m_fieldPages)
        page->restoreOptions();
}

} // namespace qora::gui
