// The notification-area icon of the main window, its menu, hiding to and
// coming back from the tray, the maker's links and the About box command.
#include "app/TrayIcon.h"

#include "app/DesktopShell.h"
#include "app/ErrorGuard.h"
#include "app/MainWindow.h"
#include "app/Texts.h"
#include "app/about/AboutBox.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QUrl>
#include <QWindowStateChangeEvent>

// The pictures are compiled into the app library; a static library has to
// register them itself before the first use.
static void RegisterPictures() {
    Q_INIT_RESOURCE(resources);
}

namespace tavrisk::app {
namespace {

constexpr int kTrayCheckMs = 2000;

// The icon of the main window, or our telephone while it has none yet.
QIcon ProgramIconOf(const QWidget* form) {
    QIcon icon = form->windowIcon();
    if (icon.isNull()) {
        static const QIcon telephone(QStringLiteral(":/about/telephone.svg"));
        icon = telephone;
    }
    return icon;
}

QAction* AddItem(QMenu* menu, const QString& caption, bool enabled) {
    QAction* item = menu->addAction(caption);
    item->setEnabled(enabled);
    return item;
}

}  // namespace

MinimiseToTray::MinimiseToTray(TForm1* form) : QObject(form), form_(form) {
    trayCheck_.setInterval(kTrayCheckMs);
    connect(&trayCheck_, &QTimer::timeout, this, &MinimiseToTray::CheckTrayStillThere);
    form->installEventFilter(this);
}

bool MinimiseToTray::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_) {
        if (event->type() == QEvent::WindowStateChange) {
            const auto* change = static_cast<QWindowStateChangeEvent*>(event);
            const bool minimised = form_->windowState().testFlag(Qt::WindowMinimized);
            if (minimised && !change->oldState().testFlag(Qt::WindowMinimized)) {
                stateBeforeMinimise_ = change->oldState() & (Qt::WindowMaximized | Qt::WindowFullScreen);
                // The minimise finishes first; the window goes to the tray afterwards.
                QMetaObject::invokeMethod(this, "HideIfStillMinimised", Qt::QueuedConnection);
            }
        } else if (event->type() == QEvent::WindowIconChange) {
            const QIcon icon = ProgramIconOf(form_);
            if (form_->antTaskbarIcon1 != nullptr) {
                form_->antTaskbarIcon1->setIcon(icon);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void MinimiseToTray::HideIfStillMinimised() {
    if (form_->isMinimized() && form_->isVisible()) {
        form_->N18Click();
    }
}

void MinimiseToTray::WatchTray(bool hidden) {
    if (hidden) {
        trayCheck_.start();
    } else {
        trayCheck_.stop();
    }
}

void MinimiseToTray::CheckTrayStillThere() {
    if (form_->isHidden() && form_->N17->isEnabled() && !NotificationAreaAvailable()) {
        form_->N17Click();
    }
}

void TForm1::SetUpTray() {
    if (antTaskbarIcon1 != nullptr) {
        return;  // already set up
    }
    RegisterPictures();
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N17 = AddItem(PopupMenu1, QStringLiteral("显示主程序(&S)"), false);
    N18 = AddItem(PopupMenu1, QStringLiteral("最小化显示(&M)"), true);
    N19 = AddItem(PopupMenu1, QStringLiteral("与我们联系(&L)"), true);
    N20 = AddItem(PopupMenu1, QStringLiteral("访问Ostrel主页(&V)"), true);
    N21 = AddItem(PopupMenu1, QStringLiteral("关于本软件(&A)"), true);
    N22 = PopupMenu1->addSeparator();
    N23 = AddItem(PopupMenu1, QStringLiteral("退 出(&Exit)"), true);
    connect(N17, &QAction::triggered, this, &TForm1::N17Click);
    connect(N18, &QAction::triggered, this, &TForm1::N18Click);
    connect(N19, &QAction::triggered, this, &TForm1::N14Click);
    connect(N20, &QAction::triggered, this, &TForm1::N20Click);
    connect(N21, &QAction::triggered, this, &TForm1::N15Click);
    connect(N23, &QAction::triggered, this, &TForm1::N23Click);

    antTaskbarIcon1 = new QSystemTrayIcon(ProgramIconOf(this), this);
    antTaskbarIcon1->setObjectName(QStringLiteral("antTaskbarIcon1"));
    antTaskbarIcon1->setToolTip(AppTitle());
    // A right press opens the menu at the mouse; a left click brings the window back.
    antTaskbarIcon1->setContextMenu(PopupMenu1);
    connect(antTaskbarIcon1, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) {
            N17Click();
        }
    });
    antTaskbarIcon1->show();

    Form2 = new TForm2(this);
    TrayWatcher = new MinimiseToTray(this);
}

void TForm1::N18Click() {
    Guarded(this, [&] {
        // Without a notification area there would be no way back: the window
        // then stays as it is (a minimise stays a normal minimise).
        if (!NotificationAreaAvailable()) {
            return;
        }
        N18->setEnabled(false);
        N17->setEnabled(true);
        hide();
        TrayWatcher->WatchTray(true);
    });
}

void TForm1::N17Click() {
    Guarded(this, [&] {
        N17->setEnabled(false);
        N18->setEnabled(true);
        TrayWatcher->WatchTray(false);
        if (isMinimized()) {
            setWindowState((windowState() & ~Qt::WindowMinimized) | TrayWatcher->StateBeforeMinimise());
        }
        show();
        raise();
        activateWindow();
    });
}

void TForm1::N14Click() {
    Guarded(this, [&] { OpenInShell(QUrl(QStringLiteral("mailto:support@tavrisk.example"))); });
}

void TForm1::N20Click() {
    Guarded(this, [&] { OpenInShell(QUrl(QStringLiteral("http://www.tavrisk.example/"))); });
}

void TForm1::N15Click() {
    Guarded(this, [&] { Form2->exec(); });
}

void TForm1::N23Click() {
    Guarded(this, [&] {
        // Closing goes through the close confirmation. A window closed while
        // hidden in the tray is no longer counted as the last window closing,
        // so the program is ended here.
        const bool hidden = isHidden();
        if (close() && hidden) {
            QCoreApplication::exit(0);
        }
    });
}

}  // namespace tavrisk::app
