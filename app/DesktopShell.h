#pragma once

#include <functional>

class QUrl;

namespace tavrisk::app {

// The two things the program asks of the desktop around it: whether it has a
// notification area to hide into, and opening a web address or a mailto link
// with the user's own programs. Both go through replaceable functions so that
// the windows can be exercised without a desktop.

// True when the desktop shows a notification area (system tray) right now.
bool NotificationAreaAvailable();

// Hands the address to the desktop (browser, mail program). Whether the
// desktop manages to open it is not reported: the desktop shows its own
// message if it cannot.
void OpenInShell(const QUrl& url);

// Replace the desktop calls; an empty function puts the real one back.
void SetNotificationAreaProbe(std::function<bool()> probe);
void SetShellOpener(std::function<void(const QUrl&)> opener);

}  // namespace tavrisk::app
