// MainWindow's engine sounds: the four sound label panels of the Details page and their lists (engine_sounds.h).

#include <QLabel>

#include "editor/engine_sounds.h"
#include "editor/field_widgets.h"
#include "editor/main_window.h"
#include "platform/qt_text.h"

namespace qora::gui {

void MainWindow::createEngineSounds() {
    m_sounds = new EngineSounds(
        // A chosen sound is set into its list, whose change is recorded like any field edit.
        prompt(), m_settings, m_host.dialogs, this, [] {},
        [this](const std::function<void()>& command) { guarded(command); });
    struct SoundPanel {
        const char* panel;
        const char* list;
        EngineSounds::SoundList items;
    };
    static const SoundPanel kPanels[] = {
        {"piIdleSound", "eIIdleSound", &Settings::insideIdleSounds},
        {"piRevSound", "eIRevvedSound", &Settings::insideRevvedSounds},
        {"poIdleSound", "eOIdleSound", &Settings::outsideIdleSounds},
        {"poRevSound", "eORevvedSound", &Settings::outsideRevvedSounds},
    };
    for (const SoundPanel& entry : kPanels) {
        // The page builds each list's caption as "l" + its name; that caption becomes the list's sound panel.
        auto* label = findChild<QLabel*>(QStringLiteral("l") + QString::fromLatin1(entry.list));
        auto* list = qobject_cast<FieldCombo*>(control(entry.list));
        if (label == nullptr || list == nullptr)
            continue;
        label->setObjectName(QString::fromLatin1(entry.panel));
        m_sounds->addPanel(label, list, entry.items);
    }
}

} // namespace qora::gui
