#pragma once

#include <functional>

class QWidget;

namespace tavrisk::app {

// The one guard around every command handler and timer tick: an error the
// handler raises and does not catch itself is shown in the standard error box
// (the application title as caption, the stop icon, one OK button), and the
// program goes on with the state as it was. Errors of the standard library
// (out of memory above all) are shown the same way rather than ending the
// program.
void Guarded(QWidget* parent, const std::function<void()>& handler);

}  // namespace tavrisk::app
