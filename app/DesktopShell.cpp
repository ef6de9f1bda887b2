#include "app/DesktopShell.h"

#include <QDesktopServices>
#include <QSystemTrayIcon>
#include <QUrl>

#include <utility>

namespace tavrisk::app {
namespace {

std::function<bool()>& Probe() {
    static std::function<bool()> probe;
    return probe;
}

std::function<void(const QUrl&)>& Opener() {
    static std::function<void(const QUrl&)> opener;
    return opener;
}

}  // namespace

bool NotificationAreaAvailable() {
    if (Probe()) {
        return Probe()();
    }
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void OpenInShell(const QUrl& url) {
    if (Opener()) {
        Opener()(url);
        return;
    }
    static_cast<void>(QDesktopServices::openUrl(url));
}

void SetNotificationAreaProbe(std::function<bool()> probe) {
    Probe() = std::move(probe);
}

void SetShellOpener(std::function<void(const QUrl&)> opener) {
    Opener() = std::move(opener);
}

}  // namespace tavrisk::app
