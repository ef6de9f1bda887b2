#include "app/ErrorGuard.h"

#include "app/Texts.h"
#include "platform/Error.h"

#include <QMessageBox>

#include <new>
#include <string>

namespace tavrisk::app {

namespace {

void ShowErrorBox(QWidget* parent, const std::string& gbkMessage) {
    QMessageBox box(QMessageBox::Critical, AppTitle(), Qs(ErrorBoxText(gbkMessage)), QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace

void Guarded(QWidget* parent, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const SystemError& e) {
        ShowErrorBox(parent, e.Message());
    } catch (const std::bad_alloc&) {
        // A merge or list too large for memory must not end the program and
        // take the unsaved result list with it.
        ShowErrorBox(parent, "Out of memory");
    } catch (const std::exception& e) {
        ShowErrorBox(parent, e.what());
    }
}

}  // namespace tavrisk::app
