#pragma once

#include <string>
#include <string_view>

#include <QDialog>
#include <QPoint>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;

namespace qora::gui {

// The base of QORA's small dialogs: a borderless, centred panel on a built-in background picture, its caption in
// the picture's caption band (the panel can be dragged by it), and the buttons "OK" (default, accepts) and
// "Cancel" (rejects, also on Escape). Derived dialogs put their content into contentLayout().
class BaseDialog : public QDialog {
    Q_OBJECT

public:
    explicit BaseDialog(const QString& caption, QWidget* parent = nullptr);

    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QString caption() const;

protected:
    QVBoxLayout* contentLayout() const { return m_content; }
    // The built-in background picture (artwork.h); the generic dialog background unless a dialog has its own.
    void setBackgroundArtwork(std::string_view name);

    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLabel* m_caption = nullptr;
    QVBoxLayout* m_content = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    std::string m_background;
    QPoint m_dragOffset;
    bool m_dragging = false;
};

// The base dialog with a text memo `mNotes` (vertical scroll bar) above the buttons.
class MemoDialog : public BaseDialog {
    Q_OBJECT

public:
    explicit MemoDialog(const QString& caption, QWidget* parent = nullptr);

    QPlainTextEdit* notes() const { return m_notes; }

private:
    QPlainTextEdit* m_notes = nullptr;
};

} // namespace qora::gui
