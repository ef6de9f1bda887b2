#pragma once

#include <QIcon>
#include <QString>

namespace tavrisk::app {

// The program icon: a telephone. Used for every window of the program and
// the notification area.
QIcon ProgramIcon();

// A tool bar picture by name (import, search, stop, save, progress, merge,
// create, about, exit), with its normal and its greyed variant.
QIcon ButtonIcon(const QString& name);

}  // namespace tavrisk::app
