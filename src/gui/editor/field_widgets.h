#pragma once

#include <QComboBox>
#include <QLabel>
#include <QWidget>

class QToolButton;

namespace qora::gui {

// The caption of a page field. Clicking it asks for the field's help text (its help number, 100 to 152).
class HelpLabel final : public QLabel {
    Q_OBJECT

public:
    HelpLabel(const QString& text, int helpNumber, QWidget* parent = nullptr);
    int helpNumber() const { return m_helpNumber; }

signals:
    void helpRequested(int number);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int m_helpNumber;
    bool m_pressed = false;
};

// The up and down arrows beside a numeric field. The tag is the field's index in the field catalogue's page, so
// the step, limits and format are found there.
class SpinButton final : public QWidget {
    Q_OBJECT

public:
    SpinButton(QWidget* focusControl, int tag, QWidget* parent = nullptr);
    QWidget* focusControl() const { return m_focusControl; }
    int tag() const { return m_tag; }
    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

signals:
    void stepped(qora::gui::SpinButton* button, bool up);

private:
    QWidget* m_focusControl;
    int m_tag;
    QToolButton* m_up;
    QToolButton* m_down;
};

// A drop-down list of a page. A fixed list never loses a value it does not offer: such a value is shown as an
// extra item until another value is set. With forceUpperCase, typed letters a to z arrive in upper case.
class FieldCombo final : public QComboBox {
    Q_OBJECT

public:
    FieldCombo(bool editable, QWidget* parent = nullptr);

    void setItems(const QStringList& items);
    void setFieldText(const QString& text);
    QString fieldText() const;
    void setForceUpperCase(bool on) { m_forceUpperCase = on; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void dropExtraItem();

    bool m_forceUpperCase = false;
};

} // namespace qora::gui
