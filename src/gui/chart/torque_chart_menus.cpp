// The chart's Options, Colors and Bitmaps menus: unit and drawing options, the chart colours, the background
// picture and its draw style, and the point markers. Every choice is kept in the settings.

#include <QAction>
#include <QActionGroup>
#include <QColorDialog>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

#include "chart/chart_artwork.h"
#include "chart/chart_bitmap.h"
#include "chart/torque_chart.h"
#include "platform/dialog_runner.h"
#include "platform/file_dialog_hook.h"
#include "platform/file_system.h"
#include "platform/prompt.h"
#include "platform/qt_text.h"
#include "platform/text.h"
#include "settings/settings.h"

namespace qora::gui {

namespace {

constexpr const char* kColorControlTitle = "QORA Color Control";
constexpr const char* kPointBitmapFormatText =
    "Chart point bitmap file format error.  Point bitmaps must be 11x11 in size with a color depth of 16 million "
    "colors (24 bit).";
constexpr const char* kResetColorsQuestion = "This will set all chart colors to their default values.  Are you sure?";
constexpr const char* kBitmapNotFoundText = "Could not find selected bitmap file.";
constexpr const char* kBitmapUnreadableText = "Could not read selected bitmap file.";
// The ChartBitmap value that stands for the built-in background picture.
constexpr std::string_view kDefaultPictureSetting = "[default]";
constexpr int kPointBitsPerPixel = 24;

// The draw style items in menu order (by tag), and the picture style each one sets.
constexpr std::array<PictureStyle, 4> kDrawStyleOfTag{PictureStyle::Normal, PictureStyle::Tiled, PictureStyle::Centred,
                                                      PictureStyle::Stretched};

// The chart colours' keys in the settings, by index; their items are named "mcc" + key.
constexpr std::array<const char*, TorqueChart::kChartColorCount> kColorKeys{
    "ChartBackground", "ChartGridLines", "PrimaryTorqueHigh", "PrimaryTorqueNorm", "PrimaryTorqueShad",
    "PrimaryHpHigh",   "PrimaryHpNorm",  "PrimaryHpShad",     "GhostTorqueHigh",   "GhostTorqueNorm",
    "GhostTorqueShad", "GhostHpHigh",    "GhostHpNorm",       "GhostHpShad",       "Point",
    "PointShadow",     "ActivePoint",    "ActivePointShadow"};

QIcon swatch(const QColor& colour) {
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(96, 96, 96));
    painter.setBrush(colour);
    painter.drawRect(0, 0, 13, 13);
    return QIcon(pixmap);
}

} // namespace

void TorqueChart::buildMenus() {
    const auto menu = [this](int tag, const char* name) {
        auto* pop = new QMenu(this);
        pop->setObjectName(QString::fromLatin1(name));
        m_menus[static_cast<std::size_t>(tag)] = pop;
        return pop;
    };
    const auto item = [this](QMenu* owner, const char* name, const QString& text, auto handler,
                             bool checkable = false) {
        QAction* action = owner->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(checkable);
        connect(action, &QAction::triggered, this, [this, handler] { guarded([this, handler] { handler(); }); });
        return action;
    };

    QMenu* options = menu(0, "pmChartOptions");
    m_3DPoints = item(
        options, "mco3DPoints", tr("3D Points"), [this] { toggle3dPoints(); }, true);
    m_3DLines = item(
        options, "mco3DLines", tr("3D Lines"), [this] { toggle3dLines(); }, true);
    m_ghostLines = item(
        options, "mcoGhostLines", tr("Ghost Lines"), [this] { toggleGhostLines(); }, true);
    options->addSeparator();
    m_metricText = item(
        options, "mcoMetricText", tr("Metric Text"), [this] { toggleMetricText(); }, true);
    m_torqueNm = item(
        options, "mcoTorqueNm", tr("Nm Torque Line"), [this] { toggleTorqueNm(); }, true);
    m_powerKw = item(
        options, "mcoPowerKw", tr("kW Power Line"), [this] { togglePowerKw(); }, true);
    options->addSeparator();
    // Copying the ghost's curve comes with the ghost vehicle.
    QAction* copy = options->addAction(tr("Copy From Ghost"));
    copy->setObjectName(QStringLiteral("mcoCopyFromGhost"));
    copy->setEnabled(false);

    QMenu* colors = menu(1, "pmChartColors");
    const auto colorItem = [&](QMenu* owner, int tag, const QString& text) {
        const std::string name = std::string("mcc") + kColorKeys[static_cast<std::size_t>(tag)];
        QAction* action = item(owner, name.c_str(), text, [this, tag] { changeChartColour(tag); });
        action->setData(tag);
    };
    colorItem(colors, 0, tr("Grid Background..."));
    colorItem(colors, 1, tr("Grid Lines..."));
    colors->addSeparator();
    const auto lineMenu = [&](const QString& title, int firstTag) {
        QMenu* sub = colors->addMenu(title);
        colorItem(sub, firstTag, tr("High..."));
        colorItem(sub, firstTag + 1, tr("Normal..."));
        colorItem(sub, firstTag + 2, tr("Shadow..."));
    };
    lineMenu(tr("Torque Line"), 2);
    lineMenu(tr("Power Line"), 5);
    lineMenu(tr("Ghost Torque Line"), 8);
    lineMenu(tr("Ghost Power Line"), 11);
    QMenu* points = colors->addMenu(tr("Points"));
    colorItem(points, 14, tr("Normal Center..."));
    colorItem(points, 15, tr("Normal Outline..."));
    colorItem(points, 16, tr("Active Center..."));
    colorItem(points, 17, tr("Active Outline..."));
    colors->addSeparator();
    item(colors, "mccDefaults", tr("Reset To Defaults"), [this] { changeChartColour(kResetColorsTag); });

    QMenu* bitmaps = menu(2, "pmChartBitmaps");
    bitmaps->addSection(tr("Background"));
    auto* backgrounds = new QActionGroup(bitmaps);
    static constexpr std::array<const char*, 3> kBackgroundNames{"mcbBgNone", "mcbBgDefault", "mcbBgUser"};
    const std::array<QString, 3> backgroundTexts{tr("None"), tr("Default"), tr("User Defined...")};
    for (int i = 0; i < 3; ++i) {
        QAction* action = item(
            bitmaps, kBackgroundNames[static_cast<std::size_t>(i)], backgroundTexts[static_cast<std::size_t>(i)],
            [this, i] { setBackground(i); }, true);
        backgrounds->addAction(action);
        m_backgroundItems[static_cast<std::size_t>(i)] = action;
    }
    bitmaps->addSeparator();
    auto* styles = new QActionGroup(bitmaps);
    static constexpr std::array<const char*, 4> kStyleNames{"mcbDrawNormal", "mcbDrawTiled", "mcbDrawCentered",
                                                            "mcbDrawStretched"};
    const std::array<QString, 4> styleTexts{tr("Draw Normal"), tr("Draw Tiled"), tr("Draw Centered"),
                                            tr("Draw Stretched")};
    for (int tag = 0; tag < 4; ++tag) {
        QAction* action = item(
            bitmaps, kStyleNames[static_cast<std::size_t>(tag)], styleTexts[static_cast<std::size_t>(tag)],
            [this, tag] { setBackgroundStyle(tag); }, true);
        styles->addAction(action);
        m_drawStyleItems[static_cast<std::size_t>(tag)] = action;
    }
    m_drawStyleItems[2]->setChecked(true);
    bitmaps->addSection(tr("Points"));
    item(bitmaps, "mcbPointActive", tr("Active..."), [this] { changePointMarker(PointActive); });
    item(bitmaps, "mcbPointNormal", tr("Normal..."), [this] { changePointMarker(PointNormal); });
    item(bitmaps, "mcbPointDefault", tr("Default"), [this] { changePointMarker(PointDefault); });
}

// The menus show what the settings hold: a handler that changed nothing (a cancelled dialog, a refused file)
// leaves the check marks as they were.
void TorqueChart::syncMenus() {
    if (!m_settings)
        return;
    const Settings& settings = *m_settings;
    m_3DPoints->setChecked(settings.chart3DPoints);
    m_3DLines->setChecked(settings.chart3DLines);
    m_ghostLines->setChecked(settings.chartGhostLines);
    m_ghostLines->setEnabled(m_ghostOpen);
    m_metricText->setChecked(settings.chartMetricText);
    m_torqueNm->setChecked(settings.chartNm);
    m_powerKw->setChecked(settings.chartKW);
    for (int i = 0; i < 3; ++i)
        m_backgroundItems[static_cast<std::size_t>(i)]->setChecked(i == m_backgroundItem);
    for (int tag = 0; tag < 4; ++tag)
        m_drawStyleItems[static_cast<std::size_t>(tag)]->setChecked(
            static_cast<int>(kDrawStyleOfTag[static_cast<std::size_t>(tag)]) == settings.chartBitmapStyle);
    for (QAction* action : m_menus[1]->findChildren<QAction*>()) {
        bool isColor = false;
        const int tag = action->data().toInt(&isColor);
        if (isColor && action->data().isValid() && tag >= 0 && tag < kChartColorCount)
            action->setIcon(swatch(ChartPainter::toQColor(settings.chartColor(tag))));
    }
}

void TorqueChart::showChartMenu(int tag) {
    if (tag < 0 || tag > 2)
        return;
    QToolButton* button = m_menuButtons[static_cast<std::size_t>(tag)];
    m_menus[static_cast<std::size_t>(tag)]->popup(button->mapToGlobal(button->rect().bottomLeft()));
}

// ---- Options ------------------------------------------------------------------------------------------------

void TorqueChart::toggleMetricText() {
    if (!m_settings)
        return;
    m_settings->chartMetricText = m_metricText->isChecked();
    emit peakFiguresChanged(true);
    emit peakFiguresChanged(false);
}

void TorqueChart::toggleTorqueNm() {
    if (!m_settings)
        return;
    const bool nm = m_torqueNm->isChecked();
    if (!m_chart) {
        m_settings->chartNm = nm;
        return;
    }
    m_chart->legends()->verticalMaximum =
        applyChartNm(*m_settings, nm, &line(TorqueLine), m_ghostOpen ? &line(GhostTorqueLine) : nullptr);
    rebuild();
    emit peakFiguresChanged(false);
    if (m_ghostOpen) // the ghost's lines changed unit too
        emit peakFiguresChanged(true);
}

void TorqueChart::togglePowerKw() {
    if (!m_settings)
        return;
    const bool kw = m_powerKw->isChecked();
    if (!m_chart) {
        m_settings->chartKW = kw;
        return;
    }
    applyChartKW(*m_settings, kw, &line(PowerLine), m_ghostOpen ? &line(GhostPowerLine) : nullptr);
    rebuild();
    emit peakFiguresChanged(false);
    if (m_ghostOpen) // the ghost's lines changed unit too
        emit peakFiguresChanged(true);
}

void TorqueChart::toggleGhostLines() {
    if (!m_settings || !m_chart || !m_ghostOpen) {
        syncMenus();
        return;
    }
    m_settings->chartGhostLines = m_ghostLines->isChecked();
    line(GhostTorqueLine).visible = m_settings->chartGhostLines;
    line(GhostPowerLine).visible = m_settings->chartGhostLines;
    rebuild();
}

void TorqueChart::toggle3dPoints() {
    if (!m_settings || !m_chart)
        return;
    m_settings->chart3DPoints = m_3DPoints->isChecked();
    m_chart->view()->points3D = m_settings->chart3DPoints;
    m_chart->redraw();
}

void TorqueChart::toggle3dLines() {
    if (!m_settings || !m_chart)
        return;
    m_settings->chart3DLines = m_3DLines->isChecked();
    m_chart->view()->lines3D = m_settings->chart3DLines;
    // The ghost lines are drawn into the background layer, which is built again for them.
    rebuild();
}

// ---- Colours ------------------------------------------------------------------------------------------------

void TorqueChart::assignChartColors() {
    if (!m_chart || !m_settings)
        return;
    const Settings& settings = *m_settings;
    const auto colour = [&settings](int index) { return settings.chartColor(index); };
    m_chart->view()->gridColor = colour(1);
    m_chart->view()->backgroundColor = colour(0);
    const auto paint = [&colour](LineData& line, int high, int normal, int shadow) {
        line.high = colour(high);
        line.normal = colour(normal);
        line.shadow = colour(shadow);
    };
    paint(line(GhostPowerLine), 11, 12, 13);
    paint(line(GhostTorqueLine), 8, 9, 10);
    paint(line(PowerLine), 5, 6, 7);
    LineData& torque = line(TorqueLine);
    paint(torque, 2, 3, 4);
    torque.point = colour(14);
    torque.pointShadow = colour(15);
    torque.activePoint = colour(16);
    torque.activePointShadow = colour(17);
}

void TorqueChart::changeChartColour(int tag) {
    if (!m_settings || !m_chart)
        return;
    if (tag == kResetColorsTag) {
        if (m_host.prompt->ask(kColorControlTitle, kResetColorsQuestion, PromptButtons::YesNo, PromptIcon::Question) ==
            PromptAnswer::No)
            return;
        const Settings defaults;
        for (int index = 0; index < kChartColorCount; ++index)
            m_settings->setChartColor(index, defaults.chartColor(index));
    } else {
        if (tag < 0 || tag >= kChartColorCount || !m_host.dialogs)
            return;
        QColorDialog dialog(ChartPainter::toQColor(m_settings->chartColor(tag)), this);
        dialog.setObjectName(QStringLiteral("dlgChartColor"));
        dialog.setWindowTitle(tr("Chart Color"));
        if (m_host.dialogs->run(dialog) != QDialog::Accepted)
            return;
        const QColor chosen = dialog.selectedColor();
        if (!chosen.isValid())
            return;
        m_settings->setChartColor(tag, rgbColor(static_cast<std::uint8_t>(chosen.red()),
                                                static_cast<std::uint8_t>(chosen.green()),
                                                static_cast<std::uint8_t>(chosen.blue())));
    }
    assignChartColors();
    rebuild();
    syncMenus();
}

// ---- Bitmaps ------------------------------------------------------------------------------------------------

void TorqueChart::loadBackground() {
    ChartView& view = *m_chart->view();
    view.picture.reset();
    m_backgroundItem = BackgroundNone;
    const std::string& setting = m_settings->chartBitmap;
    if (text::iequals(setting, kDefaultPictureSetting)) {
        m_backgroundItem = BackgroundDefault;
        fitDefaultBackground();
    } else if (!setting.empty() && fileSystem().fileExists(setting)) {
        // A file that cannot be read or shown leaves the chart without a picture; the setting stays, so a
        // picture on a drive that is back later is shown again.
        try {
            view.picture = makeChartBitmap(readPictureFile(setting).image);
        } catch (const FileError&) {
            view.picture.reset();
        }
        if (view.picture)
            m_backgroundItem = BackgroundUser;
    }
}

void TorqueChart::loadPointMarker(std::string& pathSetting, bool isActive) {
    if (!m_chart)
        return;
    ChartPicturePtr bitmap;
    if (!pathSetting.empty() && fileSystem().fileExists(pathSetting)) {
        PictureFile picture;
        try {
            picture = readPictureFile(pathSetting);
        } catch (const FileError&) {
            picture = {};
        }
        if (picture.image.size() == QSize(kPointPictureSize, kPointPictureSize) &&
            picture.bitsPerPixel == kPointBitsPerPixel) {
            bitmap = makeChartBitmap(picture.image);
        } else {
            if (m_host.prompt)
                m_host.prompt->tell(kColorControlTitle, kPointBitmapFormatText, PromptIcon::Stop);
            pathSetting.clear();
        }
    }
    if (!bitmap)
        bitmap = makeChartBitmap(builtInChartPicture(isActive ? kActivePointPicture : kPointPicture));
    (isActive ? m_chart->view()->activePointBitmap : m_chart->view()->pointBitmap) = std::move(bitmap);
}

// QORA's own background is laid out for the chart's size, so it fills the chart at every zoom without seams.
void TorqueChart::fitDefaultBackground() {
    if (m_backgroundItem != BackgroundDefault)
        return;
    ChartView& view = *m_chart->view();
    view.picture = makeChartBitmap(builtInChartPicture(kChartBackgroundPicture, QSize(view.width, view.height)));
}

QString TorqueChart::askPictureFile(const QString& title, const std::string& current) {
    if (!m_host.fileDialogs)
        return {};
    const std::optional<QString> chosen = m_host.fileDialogs->openFile(this, pictureFileRequest(title, current));
    return chosen ? *chosen : QString();
}

void TorqueChart::setBackground(int item) {
    if (!m_settings || !m_chart || item < BackgroundNone || item > BackgroundUser)
        return;
    ChartView& view = *m_chart->view();
    switch (item) {
    case BackgroundNone:
        if (m_backgroundItem == BackgroundNone)
            break;
        m_settings->chartBitmap.clear();
        m_chart->clearPicture();
        m_backgroundItem = BackgroundNone;
        rebuild();
        break;
    case BackgroundDefault:
        if (m_backgroundItem == BackgroundDefault)
            break;
        m_settings->chartBitmap = std::string(kDefaultPictureSetting);
        m_backgroundItem = BackgroundDefault;
        fitDefaultBackground();
        rebuild();
        break;
    case BackgroundUser: {
        const QString chosen = askPictureFile(tr("Open Background Picture"), m_settings->chartBitmap);
        if (chosen.isEmpty())
            break;
        const std::string path = toPath(chosen);
        if (!fileSystem().fileExists(path)) {
            m_host.prompt->tell(kColorControlTitle, kBitmapNotFoundText, PromptIcon::Stop);
            break;
        }
        // Only a picture that can be shown replaces the current one.
        QImage image;
        try {
            image = readPictureFile(path).image;
        } catch (const FileError&) {
            image = QImage();
        }
        if (image.isNull()) {
            m_host.prompt->tell(kColorControlTitle, kBitmapUnreadableText, PromptIcon::Stop);
            break;
        }
        view.picture = makeChartBitmap(image);
        m_settings->chartBitmap = path;
        m_backgroundItem = BackgroundUser;
        rebuild();
        break;
    }
    default:
        break;
    }
    syncMenus();
}

void TorqueChart::setBackgroundStyle(int tag) {
    if (!m_settings || !m_chart || tag < 0 || tag > 3)
        return;
    const PictureStyle style = kDrawStyleOfTag[static_cast<std::size_t>(tag)];
    if (static_cast<int>(style) != m_settings->chartBitmapStyle) {
        m_settings->chartBitmapStyle = static_cast<int>(style);
        m_chart->view()->pictureStyle = style;
        rebuild();
    }
    syncMenus();
}

void TorqueChart::changePointMarker(int item) {
    if (!m_settings || !m_chart)
        return;
    switch (item) {
    case PointDefault:
        m_chart->view()->pointBitmap = makeChartBitmap(builtInChartPicture(kPointPicture));
        m_chart->view()->activePointBitmap = makeChartBitmap(builtInChartPicture(kActivePointPicture));
        m_settings->chartPointBitmap.clear();
        m_settings->chartActPointBitmap.clear();
        break;
    case PointActive:
    case PointNormal: {
        const bool active = item == PointActive;
        std::string& setting = active ? m_settings->chartActPointBitmap : m_settings->chartPointBitmap;
        const QString chosen =
            askPictureFile(active ? tr("Open Active Point Bitmap") : tr("Open Point Bitmap"), setting);
        if (chosen.isEmpty())
            return;
        setting = toPath(chosen);
        loadPointMarker(setting, active);
        break;
    }
    default:
        return;
    }
    rebuild();
}

} // namespace qora::gui
