#pragma once

#include <QObject>
#include <QTimer>

namespace tavrisk::app {

class TForm1;

// Watches the main window for the events the notification area cares about:
// a minimise sends the window to the tray (when the desktop has one), a new
// window icon is passed on to the tray icon, and while the
// window hides in the tray it checks that the tray is still there, bringing
// the window back if the tray went away.
class MinimiseToTray : public QObject {
    Q_OBJECT

public:
    explicit MinimiseToTray(TForm1* form);

    // The window state to return to when a minimised window comes back:
    // maximised or full screen if it was so before it was minimised.
    [[nodiscard]] Qt::WindowStates StateBeforeMinimise() const { return stateBeforeMinimise_; }

    // Runs the check that the tray is still there; a timer does so while the
    // window is hidden in it.
    void CheckTrayStillThere();

    // Starts and stops the check above (N18Click, N17Click).
    void WatchTray(bool hidden);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void HideIfStillMinimised();

private:
    TForm1* form_;
    Qt::WindowStates stateBeforeMinimise_ = Qt::WindowNoState;
    QTimer trayCheck_;
};

}  // namespace tavrisk::app
