#pragma once

#include <functional>

#include <QDialog>
#include <QUrl>

class QLabel;

namespace qora::gui {

// The about box: QORA's picture, borderless at its own 328 x 200, with two contact lines a click opens in the mail
// program and the web browser. A click anywhere else on the picture closes the box.
class TdlgAbout final : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kMailAddress = "qora@example.org";
    static constexpr const char* kWebSite = "https://qora.example.org/";

    explicit TdlgAbout(QWidget* parent = nullptr);

    // Opens the contact lines' addresses; the desktop's handler for the address unless replaced.
    void setUrlOpener(std::function<void(const QUrl&)> opener) { m_openUrl = std::move(opener); }
    QLabel* mailLine() const { return m_mail; }
    QLabel* webLine() const { return m_web; }

    void Image1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLabel* m_mail = nullptr;
    QLabel* m_web = nullptr;
    std::function<void(const QUrl&)> m_openUrl;
    bool m_pressed = false;
};

} // namespace qora::gui
