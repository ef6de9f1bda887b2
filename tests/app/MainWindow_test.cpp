#include "app/MainWindow.h"
#include "app/Texts.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace tavrisk::app {
namespace {

TEST(MainWindow, HasTheCaption) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    TForm1 form;
    EXPECT_EQ(form.windowTitle(), WindowCaption());
}

}  // namespace
}  // namespace tavrisk::app
