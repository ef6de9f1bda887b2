#pragma once
// Helpers for widget tests: the one QApplication of a test program, boxes
// that answer from a script, and a catcher for a real modal box.

#include "app/MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

// Under the leak checker: fontconfig, loaded by Qt for its fonts, keeps
// allocations the checker cannot see it still owns. They are not ours.
// NOLINTNEXTLINE(bugprone-reserved-identifier): the name the leak checker looks for
extern "C" __attribute__((weak, used)) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace tavrisk::app::test {

// Runs the function once the event loop (a modal box's, say) is running.
inline void Later(const std::function<void()>& function) {
    auto* timer = new QTimer(qApp);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, qApp, [timer, function] {
        timer->deleteLater();
        function();
    });
    timer->start(0);
}

// Created on first use and kept for the whole test program (offscreen).
inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "tavrisk_test";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        auto* app = new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        return app;
    }();
    return *application;
}

// Boxes that record every question and give the next scripted answer. A
// question without an answer left fails the test and gets a "cancel".
class ScriptedBoxes : public Boxes {
public:
    struct Question {
        QString kind;   // "information", "confirmation", "plain", "input", "save", "open", "open-many"
        QString text;   // message, prompt, or dialog title
        QString title;  // input box title
        QString proposed;
        std::vector<BoxButton> buttons;
        FileDialogOptions options;
    };

    std::deque<BoxAnswer> confirmations;
    std::deque<std::optional<QString>> inputs;
    std::deque<std::optional<QString>> fileNames;  // for SaveFileName and OpenFileName
    std::deque<QStringList> fileLists;             // for OpenFileNames
    std::vector<Question> asked;

    void Information(QWidget* /*parent*/, const QString& text) override {
        asked.push_back({QStringLiteral("information"), text, {}, {}, {}, {}});
    }
    BoxAnswer Confirmation(QWidget* /*parent*/, const QString& text, const std::vector<BoxButton>& buttons) override {
        asked.push_back({QStringLiteral("confirmation"), text, {}, {}, buttons, {}});
        return Next(confirmations, BoxAnswer::Closed);
    }
    void Plain(QWidget* /*parent*/, const QString& text) override {
        asked.push_back({QStringLiteral("plain"), text, {}, {}, {}, {}});
    }
    std::optional<QString> Input(QWidget* /*parent*/, const QString& title, const QString& prompt,
                                 const QString& proposed) override {
        asked.push_back({QStringLiteral("input"), prompt, title, proposed, {}, {}});
        return Next(inputs, std::optional<QString>());
    }
    std::optional<QString> SaveFileName(QWidget* /*parent*/, const FileDialogOptions& options) override {
        asked.push_back({QStringLiteral("save"), options.title, {}, {}, {}, options});
        return Next(fileNames, std::optional<QString>());
    }
    std::optional<QString> OpenFileName(QWidget* /*parent*/, const FileDialogOptions& options) override {
        asked.push_back({QStringLiteral("open"), options.title, {}, {}, {}, options});
        return Next(fileNames, std::optional<QString>());
    }
    QStringList OpenFileNames(QWidget* /*parent*/, const FileDialogOptions& options) override {
        asked.push_back({QStringLiteral("open-many"), options.title, {}, {}, {}, options});
        return Next(fileLists, QStringList());
    }

private:
    template <typename T>
    static T Next(std::deque<T>& script, T answer) {
        if (script.empty()) {
            ADD_FAILURE() << "a box was shown that the test did not script";
        } else {
            answer = std::move(script.front());
            script.pop_front();
        }
        return answer;
    }
};

// What a real modal box showed.
struct ShownBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Runs action; when it opens a modal box, records it and lets respond act on
// it (default: click its first button). Returns nothing when no box came.
inline std::optional<ShownBox> CatchModalBox(const std::function<void()>& action,
                                             const std::function<void(QWidget*)>& respond = {}) {
    std::optional<ShownBox> shown;
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            return;
        }
        timer.stop();
        ShownBox box;
        box.title = modal->windowTitle();
        if (auto* message = qobject_cast<QMessageBox*>(modal)) {
            box.text = message->text();
            box.icon = message->icon();
            for (QAbstractButton* b : message->buttons()) {
                box.buttons << b->text();
            }
        }
        shown = box;
        if (respond) {
            respond(modal);
        } else if (auto* message = qobject_cast<QMessageBox*>(modal); message && !message->buttons().isEmpty()) {
            message->buttons().constFirst()->click();
        } else {
            modal->close();
        }
    });
    timer.start();
    action();
    return shown;
}

}  // namespace tavrisk::app::test
