#include <QtTest>

#include <filesystem>
#include <string>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>

#include "commands/appearance_commands.h"
#include "dialogs/about_dialog.h"
#include "editor/field_widgets.h"
#include "editor/page_appearance.h"
#include "help/help_window.h"
#include "resources/artwork.h"
#include "settings/colors_dialog.h"
#include "support/editor_fixture.h"

using namespace qora;
using namespace qora::testing;
using gui::ColorsDialog;
using gui::ColourRole;

namespace {

QByteArray pixelsOf(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_ARGB32);
    return QByteArray(reinterpret_cast<const char*>(rgb.constBits()), rgb.sizeInBytes());
}

QColor colourOf(const QWidget* widget, QPalette::ColorRole role) {
    return widget->palette().color(role);
}

QColor systemText() {
    return QApplication::palette().color(QPalette::WindowText);
}

// A settings extra holding an [APPCOLORS] section with these lines.
std::string appColours(const std::string& lines) {
    return "[APPCOLORS]\r\n" + lines;
}

struct Editor : EditorFixture {
    gui::PageAppearance* appearance() const { return window->findChild<gui::PageAppearance*>(); }
    bool checked(const char* name) const { return action(name)->isChecked(); }
    // The message boxes shown, as "title|text".
    QStringList told() const {
        QStringList out;
        for (const auto& call : prompt.messages())
            out << QString::fromStdString(call.title + "|" + call.text);
        return out;
    }
};

// A colour dialog step: picks the colour and accepts, or cancels with an invalid colour.
ScriptedDialogRunner::Step pickColour(QColor colour, QString* title = nullptr) {
    return [colour, title](QDialog& dialog) {
        auto& colours = dynamic_cast<QColorDialog&>(dialog);
        if (title != nullptr)
            *title = colours.windowTitle();
        if (!colour.isValid())
            return int(QDialog::Rejected);
        colours.setCurrentColor(colour);
        return int(QDialog::Accepted);
    };
}

} // namespace

class TestAppearance : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void theDefaultSkinAndTheSkinCommands() {
        Editor editor;
        editor.startWith();
        QVERIFY(editor.appearance()->hasSkin());
        QCOMPARE(pixelsOf(editor.appearance()->skin().toImage()), pixelsOf(gui::artworkImage("bmpPageBg")));
        QVERIFY(editor.checked("mRestoreSkin"));
        QVERIFY(!editor.checked("mNoSkin") && !editor.checked("mSkin"));
        // Text written on the skin is light; the prompts are panels in their own colours.
        QCOMPARE(colourOf(editor.find("cbAnglesInDegrees"), QPalette::WindowText), QColor(255, 255, 255));

        QVERIFY(triggerAction(editor.window.get(), "mNoSkin"));
        QVERIFY(!editor.appearance()->hasSkin());
        QVERIFY(editor.checked("mNoSkin") && !editor.checked("mRestoreSkin"));
        QCOMPARE(editor.window->settings().pageBackgroundBitmap, std::string());
        QCOMPARE(colourOf(editor.find("cbAnglesInDegrees"), QPalette::WindowText), systemText());

        // A picture of the user's, then a cancelled choice that changes nothing.
        const std::string picture = editor.home.file("carbon.png");
        QImage user(40, 30, QImage::Format_RGB32);
        user.fill(QColor(20, 40, 60));
        QVERIFY(user.save(QString::fromStdString(picture)));
        editor.files.choose(QString::fromStdString(picture)).cancel();
        QVERIFY(triggerAction(editor.window.get(), "mSkin"));
        QVERIFY(editor.checked("mSkin") && !editor.checked("mNoSkin"));
        QCOMPARE(editor.appearance()->skin().toImage().pixelColor(5, 5), QColor(20, 40, 60));
        QCOMPARE(editor.window->settings().pageBackgroundBitmap, picture);
        QVERIFY(triggerAction(editor.window.get(), "mSkin"));
        QCOMPARE(editor.files.calls.back().request.folder, QString::fromStdString(editor.home.path()));
        QVERIFY(editor.checked("mSkin"));
        QCOMPARE(editor.window->settings().pageBackgroundBitmap, picture);

        QVERIFY(triggerAction(editor.window.get(), "mRestoreSkin"));
        QCOMPARE(editor.window->settings().pageBackgroundBitmap, std::string("[default]"));
        QVERIFY(editor.told().isEmpty());
    }

    void aMissingOrUnreadableSkinFallsBackToTheDefault() {
        Editor editor;
        const std::string missing = editor.home.file("gone.bmp");
        editor.startWith("template.veh", "car.veh", appColours("BitmapPageBg=" + missing + "\r\n"));
        QCOMPARE(editor.told(), QStringList{QString::fromStdString("QORA Page Painter|Background bitmap file [" +
                                                                   missing + "] not found.  Using default...")});
        QCOMPARE(editor.prompt.messages().front().icon, PromptIcon::Information);
        QVERIFY(editor.appearance()->hasSkin());
        QCOMPARE(pixelsOf(editor.appearance()->skin().toImage()), pixelsOf(gui::artworkImage("bmpPageBg")));
        QVERIFY(editor.checked("mRestoreSkin") && !editor.checked("mSkin"));
        // The setting keeps the path it was given.
        editor.window->close();
        QVERIFY(readBytes(editor.home.file("qora.ini")).find("BitmapPageBg=" + missing) != std::string::npos);

        Editor second;
        const std::string broken = second.home.file("broken.bmp");
        writeBytes(broken, "BM this is no picture");
        second.startWith("template.veh", "car.veh", appColours("BitmapPageBg=" + broken + "\r\n"));
        QCOMPARE(second.told(),
                 QStringList{QString::fromStdString("QORA Page Painter|Error loading background bitmap file [" +
                                                    broken + "].  Using default...")});
        QVERIFY(second.appearance()->hasSkin());
        QVERIFY(second.checked("mRestoreSkin"));
        QCOMPARE(second.window->settings().pageBackgroundBitmap, broken);
    }

    void toolbarSetsAreFoundWithoutRegardToCase() {
        Editor editor;
        editor.startWith("template.veh", "car.veh", "ToolbarButtons=MUSTANG\r\n");
        const auto iconOf = [&](const char* name) {
            return pixelsOf(editor.action(name)->icon().pixmap(gui::kToolbarButtonSize).toImage());
        };
        QVERIFY(editor.checked("mButtonsMustang"));
        QVERIFY(!editor.checked("mButtonsMixed") && !editor.checked("mButtonsBmw") &&
                !editor.checked("mButtonsPorche"));
        QCOMPARE(iconOf("mOpenVeh"), pixelsOf(gui::artworkImage("tbMustangOpenVehicle")));
        QCOMPARE(iconOf("mSave"), pixelsOf(gui::artworkImage("tbMustangSave")));
        QCOMPARE(editor.window->settings().toolbarButtons, std::string("mustang"));
        auto* bar = editor.find<QToolBar>("tbMain");
        QCOMPARE(bar->iconSize(), QSize(100, 50));

        QVERIFY(triggerAction(editor.window.get(), "mButtonsPorche"));
        QVERIFY(editor.checked("mButtonsPorche") && !editor.checked("mButtonsMustang"));
        QCOMPARE(iconOf("mOpenGhost"), pixelsOf(gui::artworkImage("tbPorcheOpenGhost")));
        QCOMPARE(editor.window->settings().toolbarButtons, std::string("porche"));

        editor.window->appearance().setToolbarButtons("ferrari");
        QVERIFY(editor.checked("mButtonsMixed"));
        QCOMPARE(editor.window->settings().toolbarButtons, std::string("mixed"));
    }

    void pageStylesTabIconsAndTheToolBarEntry() {
        Editor editor;
        editor.startWith("template.veh", "car.veh", "TabStyle=0\r\nShowTabIcons=0\r\nShowToolBar=0\r\n");
        QTabWidget* pages = editor.window->pages();
        QVERIFY(editor.checked("mTabbedPages"));
        QVERIFY(!pages->documentMode());
        QVERIFY(pages->tabIcon(0).isNull());
        QVERIFY(!editor.checked("mTabIcons"));
        // The toolbar is always there; its entry only shows the setting.
        QVERIFY(!editor.checked("mToolBar"));
        QVERIFY(!editor.action("mToolBar")->isEnabled());

        QVERIFY(triggerAction(editor.window.get(), "mFlatButtonPages"));
        QVERIFY(editor.checked("mFlatButtonPages") && !editor.checked("mTabbedPages"));
        QVERIFY(pages->documentMode());
        QCOMPARE(editor.window->settings().tabStyle, 2);
        QVERIFY(triggerAction(editor.window.get(), "mButtonPages"));
        QCOMPARE(editor.window->settings().tabStyle, 1);
        QVERIFY(pages->tabBar()->styleSheet().contains(QStringLiteral("QTabBar::tab")));

        QVERIFY(triggerAction(editor.window.get(), "mTabIcons"));
        QVERIFY(editor.checked("mTabIcons"));
        QCOMPARE(pixelsOf(pages->tabIcon(4).pixmap(QSize(24, 24)).toImage()),
                 pixelsOf(gui::tabIcon(4).pixmap(QSize(24, 24)).toImage()));
        QVERIFY(editor.window->settings().showTabIcons);

        editor.window->appearance().setPageStyle(7);
        QCOMPARE(editor.window->settings().tabStyle, 2);
    }

    void coloursFollowNamesAndHelpNumbers() {
        // Roles by kind and name.
        QWidget parent;
        const auto named = [&parent](QWidget* widget, const char* name) {
            widget->setParent(&parent);
            widget->setObjectName(QString::fromLatin1(name));
            return gui::colourRole(widget);
        };
        QCOMPARE(named(new QLineEdit, "eMass"), ColourRole::Edit);
        QCOMPARE(named(new QLineEdit, "geMass"), ColourRole::Ghost);
        QCOMPARE(named(new QLineEdit, "gdlUnlockPoints"), ColourRole::Ghost);
        QCOMPARE(named(new QComboBox, "cbDamage"), ColourRole::Edit);
        QCOMPARE(named(new QComboBox, "eIIdleSound"), ColourRole::Edit);
        QCOMPARE(named(new QComboBox, "eMass"), ColourRole::None);
        QCOMPARE(named(new QCheckBox, "cbAnglesInDegrees"), ColourRole::None);
        QCOMPARE(named(new QLabel, "cClear"), ColourRole::ClearText);
        QCOMPARE(named(new QLabel, "hlDTTorque"), ColourRole::HotText);
        QCOMPARE(named(new QLabel, "lTorque"), ColourRole::None);
        QCOMPARE(named(new QLabel, "Panel42"), ColourRole::Header);
        QCOMPARE(named(new gui::HelpLabel(QStringLiteral("FRONT"), 1), "pFront"), ColourRole::Header);
        QCOMPARE(named(new gui::HelpLabel(QStringLiteral("Mass:"), 140), "leMass"), ColourRole::Prompt);
        QCOMPARE(named(new QGroupBox, "grpTires0"), ColourRole::Header);

        // The window's controls take the colours of the settings; system colours come from the palette.
        Editor editor;
        editor.startWith("template.veh", "car.veh",
                         appColours("PromptBackground=$00332211\r\nPromptText=$00FFEEDD\r\nEditBackground=$00010203\r\n"
                                    "EditText=$00040506\r\nGhostBackground=$00070809\r\nGhostText=$000A0B0C\r\n"
                                    "CarBackground=$00102030\r\nCarText=$00405060\r\nHotClearText=$0000FFFF\r\n"));
        QCOMPARE(colourOf(editor.find("leMass"), QPalette::Window), QColor(0x11, 0x22, 0x33));
        QCOMPARE(colourOf(editor.find("leMass"), QPalette::WindowText), QColor(0xDD, 0xEE, 0xFF));
        QVERIFY(editor.find("leMass")->autoFillBackground());
        QCOMPARE(colourOf(editor.find("eMass"), QPalette::Base), QColor(3, 2, 1));
        QCOMPARE(colourOf(editor.find("eMass"), QPalette::Text), QColor(6, 5, 4));
        QCOMPARE(colourOf(editor.find("dlGeometry"), QPalette::Base), QColor(3, 2, 1));
        QCOMPARE(colourOf(editor.find("geMass"), QPalette::Base), QColor(9, 8, 7));
        QCOMPARE(colourOf(editor.find("geMass"), QPalette::Text), QColor(0x0C, 0x0B, 0x0A));
        QCOMPARE(colourOf(editor.find("pCarName"), QPalette::Window), QColor(0x30, 0x20, 0x10));
        QCOMPARE(colourOf(editor.find("pCarName"), QPalette::WindowText), QColor(0x60, 0x50, 0x40));
        QCOMPARE(colourOf(editor.find("hlDTTorque"), QPalette::WindowText), QColor(255, 255, 0));
        // The defaults of the header colours are system colours.
        QCOMPARE(gui::screenColour(editor.window->settings().appColor(gui::HeaderBackground)),
                 QApplication::palette().color(QPalette::Highlight));
        // Group headings are painted as header panels.
        auto* group = editor.find<QGroupBox>("grpTires0");
        QVERIFY(group->style() != QApplication::style());

        // On plain pages the transparent labels keep the system's text colour, which stays readable there.
        QVERIFY(triggerAction(editor.window.get(), "mNoSkin"));
        QCOMPARE(colourOf(editor.find("hlDTTorque"), QPalette::WindowText), systemText());
        QCOMPARE(colourOf(editor.find("leMass"), QPalette::Window), QColor(0x11, 0x22, 0x33));
    }

    void theColourDialogsMouseRules() {
        Editor editor;
        editor.startWith();
        Settings& settings = editor.window->settings();
        const Color hotBefore = settings.appColor(gui::HotClearText);
        QString leftTitle;
        QString rightTitle;
        QString caption;
        QColor promptText;
        QColor ghostBackground;
        editor.dialogs
            .then([&](QDialog& dialog) {
                auto& colours = dynamic_cast<ColorsDialog&>(dialog);
                caption = colours.caption();
                // Left: text colour; right: background colour.
                QTest::mouseClick(colours.sample(ColorsDialog::PromptSample), Qt::LeftButton);
                QTest::mouseClick(colours.sample(ColorsDialog::GhostSample), Qt::RightButton);
                // The transparent labels have no background: a right click beeps and asks nothing.
                QTest::mouseClick(colours.sample(ColorsDialog::ClearSample), Qt::RightButton);
                QTest::mouseClick(colours.sample(ColorsDialog::HotSample), Qt::RightButton);
                // Pressed with one button and released with the other is no click.
                QTest::mousePress(colours.sample(ColorsDialog::HeaderSample), Qt::LeftButton);
                QTest::mouseRelease(colours.sample(ColorsDialog::HeaderSample), Qt::RightButton);
                QTest::mouseClick(colours.sample(ColorsDialog::HotSample), Qt::LeftButton);
                promptText = colourOf(colours.sample(ColorsDialog::PromptSample), QPalette::WindowText);
                ghostBackground = colourOf(colours.sample(ColorsDialog::GhostSample), QPalette::Window);
                QTest::mouseClick(colours.okButton(), Qt::LeftButton);
                return colours.result();
            })
            .then(pickColour(QColor(10, 20, 30), &leftTitle))
            .then(pickColour(QColor(40, 50, 60), &rightTitle))
            .then(pickColour(QColor()));
        QVERIFY(triggerAction(editor.window.get(), "mDataColors"));

        QCOMPARE(caption, QStringLiteral("Edit Data Colors"));
        QCOMPARE(promptText, QColor(10, 20, 30));
        QCOMPARE(ghostBackground, QColor(40, 50, 60));
        QCOMPARE(editor.dialogs.shown, (QStringList{QStringLiteral("dlgDataColors"), QStringLiteral("dlgDataColor"),
                                                    QStringLiteral("dlgDataColor"), QStringLiteral("dlgDataColor")}));
        QCOMPARE(leftTitle, QStringLiteral("Text Color"));
        QCOMPARE(rightTitle, QStringLiteral("Background Color"));
        QCOMPARE(editor.prompt.beeps(), std::size_t(2));
        QCOMPARE(settings.appColor(gui::PromptText), rgbColor(10, 20, 30));
        QCOMPARE(settings.appColor(gui::GhostBackground), rgbColor(40, 50, 60));
        QCOMPARE(settings.appColor(gui::HotClearText), hotBefore); // its colour dialog was cancelled
        // The window shows them at once.
        QCOMPARE(colourOf(editor.find("leMass"), QPalette::WindowText), QColor(10, 20, 30));
        QCOMPARE(colourOf(editor.find("geMass"), QPalette::Base), QColor(40, 50, 60));
    }

    void cancelKeepsTheColoursAndResetRestoresTheDefaults() {
        Editor editor;
        editor.startWith("template.veh", "car.veh",
                         appColours("HeaderBackground=$00000080\r\nEditText=$00FF0000\r\nCarText=$0000FF00\r\n"));
        Settings& settings = editor.window->settings();
        Settings before = settings;
        editor.dialogs
            .then([](QDialog& dialog) {
                auto& colours = dynamic_cast<ColorsDialog&>(dialog);
                QTest::mouseClick(colours.sample(ColorsDialog::VehicleSample), Qt::LeftButton);
                QTest::mouseClick(colours.cancelButton(), Qt::LeftButton);
                return colours.result();
            })
            .then(pickColour(QColor(1, 2, 3)));
        QVERIFY(triggerAction(editor.window.get(), "mDataColors"));
        for (int index = 0; index < gui::kAppColourCount; ++index)
            QCOMPARE(settings.appColor(index), before.appColor(index));

        QString resetText;
        editor.dialogs.then([&](QDialog& dialog) {
            auto& colours = dynamic_cast<ColorsDialog&>(dialog);
            resetText = colours.resetButton()->text();
            colours.resetButton()->click();
            return int(QDialog::Accepted);
        });
        QVERIFY(triggerAction(editor.window.get(), "mDataColors"));
        QCOMPARE(resetText, QStringLiteral("&Reset To Default Windows Colors"));
        QCOMPARE(settings.appColor(gui::HeaderBackground), clActiveCaption);
        QCOMPARE(settings.appColor(gui::HeaderText), clCaptionText);
        QCOMPARE(settings.appColor(gui::PromptBackground), clHighlight);
        QCOMPARE(settings.appColor(gui::PromptText), clHighlightText);
        QCOMPARE(settings.appColor(gui::EditBackground), clWindow);
        QCOMPARE(settings.appColor(gui::EditText), clWindowText);
        QCOMPARE(settings.appColor(gui::GhostBackground), rgbColor(0xC0, 0xC0, 0xC0));
        QCOMPARE(settings.appColor(gui::GhostText), rgbColor(0x00, 0x80, 0x80));
        QCOMPARE(settings.appColor(gui::ClearText), rgbColor(0xFF, 0xFF, 0xFF));
        QCOMPARE(settings.appColor(gui::HotClearText), rgbColor(0x00, 0xFF, 0x00));
        // The name panels' colours are not edited here.
        QCOMPARE(settings.appColor(gui::CarText), rgbColor(0x00, 0xFF, 0x00));
    }

    // The about box shows the version and the licence, no invented addresses; its one link opens the user guide.
    void theAboutBox() {
        Editor editor;
        editor.startWith();
        QSize size;
        QStringList lines;
        editor.dialogs.then([&](QDialog& dialog) {
            auto& about = dynamic_cast<gui::AboutDialog&>(dialog);
            size = about.size();
            for (const char* name : {"lVersion", "lLicence", "lGuide"})
                lines << about.findChild<QLabel*>(QString::fromLatin1(name))->text();
            QTest::mouseClick(about.guideLine(), Qt::LeftButton);
            return about.result();
        });
        QVERIFY(triggerAction(editor.window.get(), "mAbout"));
        QCOMPARE(editor.dialogs.shown, QStringList{QStringLiteral("dlgAbout")});
        QCOMPARE(size, QSize(328, 200));
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith(QStringLiteral("Version 4.0")));
        QCOMPARE(lines[1], QStringLiteral("Licence: proprietary, all rights reserved."));
        for (const QString& line : lines)
            QVERIFY2(!line.contains(QStringLiteral("example")), qPrintable(line));
        QVERIFY2(editor.window->findChild<gui::HelpWindow*>() != nullptr, "the guide line opens the user guide");

        // A click elsewhere on the picture closes the box without opening anything.
        editor.dialogs.then([&](QDialog& dialog) {
            QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(40, 40));
            return dialog.result();
        });
        QVERIFY(triggerAction(editor.window.get(), "mAbout"));
    }

    // With QORA_SCREENSHOT_DIR set, saves pictures of the seven pages, the Preferences and colours dialogs and the
    // about box into that folder (run with a real display, e.g. under Xvfb with QT_QPA_PLATFORM=xcb).
    void writeScreenshotsWhenAsked() {
        const QString folder = qEnvironmentVariable("QORA_SCREENSHOT_DIR");
        if (folder.isEmpty())
            QSKIP("QORA_SCREENSHOT_DIR is not set");
        QVERIFY(QDir().mkpath(folder));
        const auto settle = [] {
            for (int i = 0; i < 5; ++i) {
                QApplication::processEvents();
                QTest::qWait(20);
            }
        };
        const auto save = [&](QWidget& widget, const QString& name) {
            settle();
            QVERIFY(widget.grab().save(QDir(folder).filePath(name)));
        };
        const QString style = qEnvironmentVariable("QORA_SCREENSHOT_SETTINGS");
        Editor editor;
        editor.startWith("template.veh", "car.veh", style.toStdString());
        editor.window->resize(1000, 700);
        if (qEnvironmentVariableIsSet("QORA_SCREENSHOT_PLAIN"))
            QVERIFY(triggerAction(editor.window.get(), "mNoSkin"));
        QTabWidget* pages = editor.window->pages();
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            save(*editor.window, QStringLiteral("page-%1.png").arg(page + 1));
        }
        const auto grabDialog = [&](const QString& name) {
            return [&, name](QDialog& dialog) {
                dialog.show();
                save(dialog, name);
                return int(QDialog::Rejected);
            };
        };
        editor.folders.cancel();
        editor.dialogs.then(grabDialog(QStringLiteral("preferences.png")))
            .then(grabDialog(QStringLiteral("colours.png")))
            .then(grabDialog(QStringLiteral("about.png")));
        QVERIFY(triggerAction(editor.window.get(), "mOptions"));
        QVERIFY(triggerAction(editor.window.get(), "mDataColors"));
        QVERIFY(triggerAction(editor.window.get(), "mAbout"));
    }
};

QTEST_MAIN(TestAppearance)
#include "test_appearance.moc"
