#pragma once

#include <functional>

#include <QDialog>

class QLabel;

namespace qora::gui {

// The about box: QORA's picture, borderless at its own 328 x 200, with the version, the licence and a line that
// opens the user guide. A click anywhere else on the picture closes the box.
class AboutDialog final : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // Called when the user guide line is clicked; the box then closes.
    void setGuideOpener(std::function<void()> opener) { m_openGuide = std::move(opener); }
    QLabel* guideLine() const { return m_guide; }

    void showAbout();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLabel* m_guide = nullptr;
    std::function<void()> m_openGuide;
    bool m_pressed = false;
};

} // namespace qora::gui
