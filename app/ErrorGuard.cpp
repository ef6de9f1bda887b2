#include "app/ErrorGuard.h"

#include "app/Texts.h"
#include "platform/Error.h"

#include <QMessageBox>

namespace tavrisk::app {

void Guarded(QWidget* parent, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const SystemError& e) {
        QMessageBox box(QMessageBox::Critical, AppTitle(), Qs(ErrorBoxText(e.Message())), QMessageBox::Ok, parent);
        box.exec();
    }
}

}  // namespace tavrisk::app
