#include "app/DesktopShell.h"
#include "app/about/AboutBox.h"
#include "app/about/HyperLink.h"

#include "tests/app/AppTestSupport.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

#include <vector>

namespace tavrisk::app {
namespace {

using test::Later;

void Press(QWidget* dialog, int key) {
    QWidget* target = dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

TEST(AboutBox, Layout) {
    TForm2 box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("关于本软件"));
    EXPECT_EQ(box.size(), QSize(278, 193));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    const Qt::WindowFlags flags = box.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowContextHelpButtonHint));
    EXPECT_EQ(box.Panel1->geometry(), QRect(0, 0, 278, 193));

    struct Placed {
        QWidget* widget;
        QPoint position;
    };
    const std::vector<Placed> placed = {
        {box.ProgramIcon, {20, 8}},    {box.ProductName, {112, 16}}, {box.Version, {216, 14}},
        {box.Image1, {20, 64}},        {box.cwHyperLink1, {16, 88}}, {box.cwHyperLink3, {16, 108}},
        {box.cwHyperLink2, {16, 130}}, {box.OKButton, {199, 152}},
    };
    for (const Placed& p : placed) {
        SCOPED_TRACE(p.widget->metaObject()->className());
        EXPECT_EQ(p.widget->parentWidget(), box.Panel1);
        EXPECT_EQ(p.widget->pos(), p.position);
    }
    EXPECT_EQ(box.ProgramIcon->size(), QSize(66, 46));
    EXPECT_FALSE(box.ProgramIcon->pixmap().isNull());
    EXPECT_EQ(box.Image1->size(), QSize(188, 18));
    EXPECT_FALSE(box.Image1->pixmap().isNull());

    EXPECT_EQ(box.ProductName->text(), QStringLiteral("Tavrisk"));
    EXPECT_TRUE(box.ProductName->font().bold());
    EXPECT_EQ(box.ProductName->font().pixelSize(), 12);
    EXPECT_EQ(box.ProductName->palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_EQ(box.Version->text(), QStringLiteral("Ver 2.9"));
    EXPECT_EQ(box.Version->font().pixelSize(), 13);
    EXPECT_EQ(box.Version->font().families().value(0), QStringLiteral("Arial"));
    EXPECT_EQ(box.Version->palette().color(QPalette::WindowText), QColor(Qt::blue));

    EXPECT_EQ(box.OKButton->text(), QStringLiteral("确 定"));
    EXPECT_EQ(box.OKButton->size(), QSize(50, 25));
    EXPECT_EQ(box.OKButton->font().pixelSize(), 12);
    EXPECT_TRUE(box.OKButton->isDefault());
}

TEST(AboutBox, LinksAreUnderlinedHandsThatOpenTheirTargetOnALeftPress) {
    TForm2 box;
    std::vector<QString> opened;
    SetShellOpener([&](const QUrl& url) { opened.push_back(url.toString()); });
    struct Link {
        HyperLink* link;
        QString caption;
        QString target;
    };
    const std::vector<Link> links = {
        {box.cwHyperLink1, QStringLiteral("http://www.tavrisk.example/"),
         QStringLiteral("http://www.tavrisk.example/")},
        {box.cwHyperLink3, QStringLiteral("http://soft.tavrisk.example/"),
         QStringLiteral("http://soft.tavrisk.example/")},
        {box.cwHyperLink2, QStringLiteral("QQ:800100200  手机:13900000000"),
         QStringLiteral("mailto:support@tavrisk.example")},
    };
    for (const Link& l : links) {
        SCOPED_TRACE(l.caption.toStdString());
        EXPECT_EQ(l.link->text(), l.caption);
        EXPECT_TRUE(l.link->font().underline());
        EXPECT_EQ(l.link->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(l.link->palette().color(QPalette::WindowText), QColor(Qt::blue));
        // The whole caption is visible.
        EXPECT_GE(l.link->width(), l.link->fontMetrics().horizontalAdvance(l.caption));

        opened.clear();
        const QPointF inside(2, 2);
        QMouseEvent right(QEvent::MouseButtonPress, inside, l.link->mapToGlobal(inside), Qt::RightButton,
                          Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(l.link, &right);
        EXPECT_TRUE(opened.empty());
        QMouseEvent left(QEvent::MouseButtonPress, inside, l.link->mapToGlobal(inside), Qt::LeftButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(l.link, &left);
        EXPECT_EQ(opened, std::vector<QString>{l.target});
    }
    SetShellOpener({});
}

// Shows the box modally and, once it is up, runs the keys of a case; the box
// is closed by its button afterwards if the keys left it open.
struct KeyOutcome {
    bool closedByKeys = false;
};

KeyOutcome RunModal(TForm2& box, const std::vector<int>& keys) {
    KeyOutcome outcome;
    Later([&] {
        for (int key : keys) {
            Press(&box, key);
        }
        outcome.closedByKeys = !box.isVisible();
        if (box.isVisible()) {
            box.OKButton->click();
        }
    });
    box.exec();
    return outcome;
}

TEST(AboutBox, EnterClosesEscDoesNot) {
    struct Case {
        const char* name;
        std::vector<int> keys;
        bool closes;
    };
    const std::vector<Case> cases = {
        {"Enter", {Qt::Key_Return}, true},
        {"keypad Enter", {Qt::Key_Enter}, true},
        {"Esc", {Qt::Key_Escape}, false},
        {"Esc twice", {Qt::Key_Escape, Qt::Key_Escape}, false},
        {"Esc then Enter", {Qt::Key_Escape, Qt::Key_Return}, true},
    };
    TForm2 box;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RunModal(box, c.keys).closedByKeys, c.closes);
        EXPECT_FALSE(box.isVisible());
    }
}

TEST(AboutBox, ItsCloseBoxAndButtonClose) {
    TForm2 box;
    bool closed = false;
    Later([&] {
        box.close();  // what the title bar's close box does
        closed = !box.isVisible();
        if (!closed) {
            box.OKButton->click();
        }
    });
    box.exec();
    EXPECT_TRUE(closed);

    // The box can be shown again after it was closed, and its button closes it.
    Later([&] { box.OKButton->click(); });
    box.exec();
    EXPECT_FALSE(box.isVisible());
}

}  // namespace
}  // namespace tavrisk::app

// One application object for the whole program, alive while the tests run.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
