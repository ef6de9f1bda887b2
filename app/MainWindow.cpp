#include "app/MainWindow.h"

#include "app/Texts.h"

#include <QCloseEvent>

namespace tavrisk::app {

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    setWindowTitle(WindowCaption());
    BuildLayout();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::BuildLayout() {}

void TForm1::closeEvent(QCloseEvent* event) {
    bool canClose = true;
    FormCloseQuery(canClose);
    if (canClose) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace tavrisk::app
