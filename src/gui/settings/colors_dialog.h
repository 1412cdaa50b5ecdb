#pragma once

#include <array>

#include <QLabel>
#include <QPixmap>

#include "dialogs/base_dialog.h"
#include "settings/color_text.h"

class QPushButton;

namespace qora {
class Prompt;
class Settings;
} // namespace qora

namespace qora::gui {

class DialogRunner;

// One sample of the colours dialog. Pressing and releasing a mouse button over it is a click of that button.
class ColorSample final : public QLabel {
    Q_OBJECT

public:
    ColorSample(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Qt::MouseButton m_pressed = Qt::NoButton;
};

// "Edit Data Colors": the application colours 0 to 7, 12 and 13 shown on samples of the controls that use them. A
// left click on a sample picks its text colour, a right click its background colour (the two transparent labels
// have none: a right click on them beeps). The colour dialog runs through the dialog runner.
class ColorsDialog final : public BaseDialog {
    Q_OBJECT

public:
    enum Sample { HeaderSample, PromptSample, VehicleSample, GhostSample, ClearSample, HotSample, kSampleCount };

    ColorsDialog(Prompt& prompt, DialogRunner& dialogs, QWidget* parent = nullptr);

    // The colours to start from: the settings' application colours.
    void load(const Settings& settings);
    // Writes the samples' colours into application colours 0 to 7, 12 and 13; 8 to 11 are not edited here.
    void store(Settings& settings) const;
    Color colour(int index) const { return m_colours[static_cast<std::size_t>(index)]; }

    // What the transparent samples are shown over: the pages' skin.
    void setBackdrop(const QPixmap& skin);

    ColorSample* sample(Sample which) const { return m_samples[static_cast<std::size_t>(which)]; }
    QPushButton* resetButton() const { return m_reset; }
    // "Reset To Default Windows Colors".
    void resetToDefaults();

private:
    void sampleClicked(Sample which, Qt::MouseButton button);
    void showColours();

    Prompt* m_prompt;
    DialogRunner* m_dialogs;
    std::array<Color, 14> m_colours{};
    std::array<ColorSample*, kSampleCount> m_samples{};
    QWidget* m_board = nullptr;
    QPushButton* m_reset = nullptr;
};

} // namespace qora::gui
