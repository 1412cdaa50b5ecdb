#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QString>
#include <QtTest>

#include "browser/vehicle_browser_dialog.h"
#include "platform/dialog_runner.h"
#include "platform/file_dialog_hook.h"

namespace qora::testing {

// Answers the window's file dialogs from a script, in order (a path for OK, nullopt for Cancel), and records
// every request so a test can assert title, folder, proposed name and filter. A dialog without a scripted answer
// fails loudly.
class ScriptedFileDialogHook : public gui::FileDialogHook {
public:
    struct Call {
        bool save = false;
        gui::FileDialogRequest request;
    };

    ScriptedFileDialogHook& choose(const QString& path) {
        m_answers.emplace_back(path);
        return *this;
    }
    ScriptedFileDialogHook& cancel() {
        m_answers.emplace_back(std::nullopt);
        return *this;
    }

    std::optional<QString> openFile(QWidget*, const gui::FileDialogRequest& request) override {
        return next(false, request);
    }
    std::optional<QString> saveFile(QWidget*, const gui::FileDialogRequest& request) override {
        return next(true, request);
    }

    std::vector<Call> calls;

private:
    std::optional<QString> next(bool save, const gui::FileDialogRequest& request) {
        calls.push_back({save, request});
        if (m_answers.empty())
            throw std::logic_error("unexpected file dialog: " + request.title.toStdString());
        auto answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    std::deque<std::optional<QString>> m_answers;
};

// Drives the window's modal dialogs without a modal loop: each dialog is handed to the next scripted step (which
// may read and fill it) and the step's result is returned; without a step the dialog is accepted. Every dialog's
// objectName is recorded.
class ScriptedDialogRunner : public gui::DialogRunner {
public:
    using Step = std::function<int(QDialog&)>;

    ScriptedDialogRunner& then(Step step) {
        m_steps.push_back(std::move(step));
        return *this;
    }

    int run(QDialog& dialog) override {
        shown.push_back(dialog.objectName());
        if (m_steps.empty()) {
            dialog.accept();
            return QDialog::Accepted;
        }
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        const int result = step(dialog);
        dialog.done(result);
        return result;
    }

    std::size_t unusedSteps() const { return m_steps.size(); }

    QStringList shown;

private:
    std::deque<Step> m_steps;
};

// The control of a dialog or window with this objectName and type; a missing one fails the test loudly.
template <typename T = QWidget> T* child(const QObject& parent, const char* name) {
    auto* widget = parent.findChild<T*>(QString::fromLatin1(name));
    if (widget == nullptr)
        throw std::logic_error(std::string("no control ") + name);
    return widget;
}

// Triggers the window's action with this objectName; fails when it is missing or disabled.
inline bool triggerAction(QObject* window, const char* name) {
    auto* action = window->findChild<QAction*>(QString::fromLatin1(name));
    if (action == nullptr || !action->isEnabled())
        return false;
    action->trigger();
    return true;
}

// A dialog step for the vehicle browser: selects the vehicle whose file (or archive entry) has this name, as the
// browser's name box shows it (lower case), and clicks OK. Fails the step (Rejected) when no vehicle has it.
inline ScriptedDialogRunner::Step pickInBrowser(const QString& name) {
    return [name](QDialog& dialog) {
        auto* browser = qobject_cast<gui::VehicleBrowserDialog*>(&dialog);
        if (browser == nullptr)
            throw std::logic_error("expected the vehicle browser, got " + dialog.objectName().toStdString());
        auto* cars = browser->findChild<QListWidget*>(QStringLiteral("lbCars"));
        auto* fileName = browser->findChild<QLineEdit*>(QStringLiteral("eFileName"));
        for (int row = 0; row < cars->count(); ++row) {
            cars->setCurrentRow(row);
            if (fileName->text() == name.toLower()) {
                browser->okButton()->click();
                return browser->result();
            }
        }
        return int(QDialog::Rejected);
    };
}

// A dialog step for the vehicle browser: switches to the archive through its "Vehicle.mas" favourite, then picks
// the entry as pickInBrowser does.
inline ScriptedDialogRunner::Step pickFromArchive(const QString& entry) {
    return [entry](QDialog& dialog) {
        auto* favorites = dialog.findChild<QComboBox*>(QStringLiteral("cbFavoriteFolders"));
        emit favorites->activated(favorites->findText(QStringLiteral("Vehicle.mas")));
        return pickInBrowser(entry)(dialog);
    };
}

} // namespace qora::testing
