#include "app/MainWindow.h"
#include "app/NumberListModel.h"
#include "app/SpinEdit.h"
#include "app/StatusBar.h"
#include "app/Texts.h"
#include "tests/app/AppTestSupport.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QToolTip>
#include <QTableView>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrisk::app {
namespace {

using test::ScriptedBoxes;
using test::TestApplication;

// A shown main window; the boxes answer from a script.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() : override_(boxes_) {
        form_.show();
        QApplication::processEvents();
    }

    void ResizeClient(int width, int height) {
        form_.resize(width, height);
        QApplication::processEvents();
    }

    QApplication& application_ = TestApplication();
    ScriptedBoxes boxes_;
    BoxesOverride override_;
    TForm1 form_;
};

TEST_F(MainWindowTest, WindowCaptionSizeFontAndIcon) {
    EXPECT_EQ(form_.windowTitle(), WindowCaption());
    EXPECT_EQ(form_.size(), QSize(653, 498));
    EXPECT_FALSE(form_.windowIcon().isNull());
    EXPECT_EQ(form_.font().families().value(0), QStringLiteral("SimSun"));
    EXPECT_EQ(form_.font().pixelSize(), 12);
    EXPECT_EQ(form_.ListView1->font(), form_.font());
    // The status bar keeps the system's font.
    EXPECT_NE(form_.StatusBar1->font().families().value(0), QStringLiteral("SimSun"));
    EXPECT_EQ(form_.focusWidget(), form_.ListView1);
}

TEST_F(MainWindowTest, ToolBarHasNineFlatButtonsAtA56PixelPitch) {
    struct Expected {
        QToolButton* button;
        const char16_t* caption;
        const char16_t* hint;
    };
    const Expected buttons[] = {
        {form_.SpeedButton4, u"导入", u"导入关键字列表"}, {form_.SpeedButton2, u"搜索", u"开始传真搜索"},
        {form_.SpeedButton3, u"终止", u"终止传真搜索"},   {form_.SpeedButton5, u"保存", u"保存搜索结果"},
        {form_.SpeedButton8, u"进程", u"保存搜索进程"},   {form_.SpeedButton1, u"合并", u"合并号码列表"},
        {form_.SpeedButton6, u"创建", u"创建关键词"},     {form_.SpeedButton9, u"关于", u"关于本软件"},
        {form_.SpeedButton10, u"退出", u"退出软件系统"},
    };
    EXPECT_EQ(form_.CoolBar1->geometry(), QRect(0, 0, 653, 30));
    int left = 2;
    for (const Expected& e : buttons) {
        ASSERT_NE(e.button, nullptr);
        SCOPED_TRACE(QString::fromUtf16(e.caption).toStdString());
        EXPECT_EQ(e.button->geometry(), QRect(left, 2, 55, 23));
        EXPECT_EQ(e.button->text(), QString::fromUtf16(e.caption));
        EXPECT_EQ(e.button->toolTip(), QString::fromUtf16(e.hint));
        EXPECT_TRUE(e.button->autoRaise());
        EXPECT_EQ(e.button->focusPolicy(), Qt::NoFocus);
        EXPECT_EQ(e.button->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
        EXPECT_TRUE(e.button->isEnabled());
        const QIcon icon = e.button->icon();
        ASSERT_FALSE(icon.isNull());
        EXPECT_NE(icon.pixmap(16, QIcon::Normal).toImage(), icon.pixmap(16, QIcon::Disabled).toImage());
        left += 56;
    }
    // Hints are shown on pure green.
    EXPECT_EQ(QToolTip::palette().color(QPalette::Inactive, QPalette::ToolTipBase), QColor(0, 255, 0));
}

// Each tool bar button runs the handler of its command, whatever its name.
TEST_F(MainWindowTest, ToolBarButtonsAreWiredToTheirHandlers) {
    using Handler = void (TForm1::*)();
    const std::pair<QToolButton*, Handler> commands[] = {
        {form_.SpeedButton4, &TForm1::SpeedButton4Click},
        {form_.SpeedButton2, &TForm1::N2Click},
        {form_.SpeedButton3, &TForm1::N3Click},
        {form_.SpeedButton5, &TForm1::N5Click},
        {form_.SpeedButton8, &TForm1::SpeedButton8Click},
        {form_.SpeedButton1, &TForm1::SpeedButton1Click},
        {form_.SpeedButton6, &TForm1::SpeedButton6Click},
        {form_.SpeedButton9, &TForm1::N15Click},
        {form_.SpeedButton10, &TForm1::SpeedButton10Click},
    };
    for (const auto& [button, handler] : commands) {
        // Disconnecting succeeds only where that very connection was made.
        EXPECT_TRUE(QObject::disconnect(button, &QToolButton::clicked, &form_, handler))
            << button->text().toStdString();
    }
}

TEST_F(MainWindowTest, OptionStripControlsDefaultsAndTabOrder) {
    EXPECT_EQ(form_.Panel2->geometry(), QRect(0, 30, 653, 28));
    struct Place {
        QWidget* widget;
        QRect geometry;
    };
    const Place places[] = {
        {form_.Label2, QRect(2, 8, 84, 12)},      {form_.SpinEdit1, QRect(88, 4, 49, 21)},
        {form_.CheckBox1, QRect(144, 6, 41, 17)}, {form_.Label3, QRect(192, 8, 36, 12)},
        {form_.SpinEdit2, QRect(232, 4, 57, 21)}, {form_.CheckBox2, QRect(296, 6, 65, 17)},
        {form_.Label1, QRect(376, 8, 60, 12)},    {form_.Edit5, QRect(440, 4, 208, 20)},
    };
    for (const Place& p : places) {
        EXPECT_EQ(p.widget->geometry(), p.geometry) << p.widget->metaObject()->className();
    }
    EXPECT_EQ(form_.Label2->text(), QStringLiteral("搜索间隔[秒]："));
    EXPECT_EQ(form_.Label3->text(), QStringLiteral("页数："));
    EXPECT_EQ(form_.Label1->text(), QStringLiteral("搜索文件："));

    // First start: interval 5 (1..1000), pages 76 (1..76), both boxes clear,
    // captions left of the boxes, an empty read-only file field.
    EXPECT_EQ(form_.SpinEdit1->Value(), 5);
    EXPECT_EQ(form_.SpinEdit1->Minimum(), 1);
    EXPECT_EQ(form_.SpinEdit1->Maximum(), 1000);
    EXPECT_EQ(form_.SpinEdit2->Value(), 76);
    EXPECT_EQ(form_.SpinEdit2->Minimum(), 1);
    EXPECT_EQ(form_.SpinEdit2->Maximum(), 76);
    EXPECT_EQ(form_.CheckBox1->text(), QStringLiteral("去重"));
    EXPECT_EQ(form_.CheckBox2->text(), QStringLiteral("自动存盘"));
    EXPECT_FALSE(form_.CheckBox1->isChecked());
    EXPECT_FALSE(form_.CheckBox2->isChecked());
    EXPECT_EQ(form_.CheckBox1->layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(form_.CheckBox2->layoutDirection(), Qt::RightToLeft);
    EXPECT_TRUE(form_.Edit5->text().isEmpty());
    EXPECT_TRUE(form_.Edit5->isReadOnly());

    // Tab order inside the strip: Edit5, SpinEdit1, CheckBox1, CheckBox2, SpinEdit2.
    const std::vector<QWidget*> expected = {form_.Edit5, form_.SpinEdit1, form_.CheckBox1, form_.CheckBox2,
                                            form_.SpinEdit2};
    std::vector<QWidget*> order = {form_.Edit5};
    for (QWidget* w = form_.Edit5->nextInFocusChain(); w != form_.Edit5 && order.size() < expected.size();
         w = w->nextInFocusChain()) {
        if (std::find(expected.begin(), expected.end(), w) != expected.end()) {
            order.push_back(w);
        }
    }
    EXPECT_EQ(order, expected);
}

TEST_F(MainWindowTest, WorkAreaAndStatusBarAtStart) {
    EXPECT_EQ(form_.ListView1->geometry(), QRect(0, 58, 185, 421));
    EXPECT_EQ(form_.Panel10->geometry(), QRect(185, 58, 468, 421));
    EXPECT_EQ(form_.Panel11->parentWidget(), form_.Panel10);
    EXPECT_EQ(form_.Panel11->geometry(), form_.Panel10->contentsRect());
    EXPECT_NE(form_.Panel11->layout(), nullptr);

    EXPECT_EQ(form_.ListView1->model(), form_.ListModel);
    EXPECT_EQ(form_.ListView1->horizontalHeader()->sectionSize(0), 175);
    EXPECT_EQ(form_.ListView1->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("FAX"));
    EXPECT_EQ(form_.ListView1->editTriggers(), QAbstractItemView::NoEditTriggers);

    EXPECT_EQ(form_.StatusBar1->geometry(), QRect(0, 479, 653, 19));
    const QString texts[] = {QStringLiteral("总数："), QString(), QStringLiteral("进程："),          QString(),
                             QStringLiteral("传真："), QString(), QStringLiteral("【QQ:800100200】")};
    const int widths[] = {39, 50, 39, 50, 39, 50};
    for (int i = 0; i < StatusBar::kPanelCount; ++i) {
        EXPECT_EQ(form_.StatusBar1->PanelText(i), texts[i]) << i;
        if (i < 6) {
            EXPECT_EQ(form_.StatusBar1->Panel(i)->width(), widths[i]) << i;
        }
        if (i > 0) {  // side by side, left to right
            EXPECT_GT(form_.StatusBar1->Panel(i)->x(), form_.StatusBar1->Panel(i - 1)->geometry().right()) << i;
        }
    }
    form_.StatusBar1->SetPanelText(5, QStringLiteral("12"));
    EXPECT_EQ(form_.StatusBar1->PanelText(5), QStringLiteral("12"));
}

TEST_F(MainWindowTest, ResizingMovesOnlyWhatFollowsTheEdges) {
    const int panel6Right = form_.StatusBar1->Panel(6)->geometry().right();
    for (const QSize size : {QSize(900, 700), QSize(520, 300), QSize(653, 498)}) {
        SCOPED_TRACE(std::to_string(size.width()));
        ResizeClient(size.width(), size.height());
        EXPECT_EQ(form_.CoolBar1->height(), 30);
        EXPECT_EQ(form_.Panel2->height(), 28);
        EXPECT_EQ(form_.StatusBar1->height(), 19);
        EXPECT_EQ(form_.ListView1->width(), 185);
        EXPECT_EQ(form_.ListView1->height(), size.height() - 30 - 28 - 19);
        EXPECT_EQ(form_.Panel10->geometry().right(), size.width() - 1);
        EXPECT_EQ(form_.Edit5->geometry(), QRect(440, 4, size.width() - 445, 20));
        EXPECT_EQ(form_.SpinEdit2->geometry(), QRect(232, 4, 57, 21));
        EXPECT_EQ(form_.StatusBar1->Panel(6)->geometry().right(), panel6Right + size.width() - 653);
        EXPECT_EQ(form_.StatusBar1->Panel(5)->width(), 50);
    }
}

struct CloseCase {
    BoxAnswer answer;
    bool closes;
};

// Only "(&N)否" (Esc) keeps the program; "(&Y)是" and the box's own close box end it.
TEST_F(MainWindowTest, CloseAsksForConfirmationAndOnlyNoKeepsTheWindow) {
    const CloseCase cases[] = {
        {BoxAnswer::No, false},
        {BoxAnswer::Yes, true},
        {BoxAnswer::Closed, true},
    };
    for (const CloseCase& c : cases) {
        form_.show();
        boxes_.asked.clear();
        boxes_.confirmations.push_back(c.answer);
        EXPECT_EQ(form_.close(), c.closes) << static_cast<int>(c.answer);
        EXPECT_EQ(form_.isVisible(), !c.closes);
        ASSERT_EQ(boxes_.asked.size(), 1u);
        EXPECT_EQ(boxes_.asked[0].kind, QStringLiteral("confirmation"));
        EXPECT_EQ(boxes_.asked[0].text, QStringLiteral("确认退出Tavrisk吗?"));
        EXPECT_EQ(boxes_.asked[0].buttons, (std::vector<BoxButton>{BoxButton::Yes, BoxButton::No}));
    }
}

TEST_F(MainWindowTest, ExitButtonClosesThroughTheSameQuestion) {
    boxes_.confirmations = {BoxAnswer::No, BoxAnswer::Yes};
    form_.SpeedButton10->click();
    EXPECT_TRUE(form_.isVisible());
    form_.SpeedButton10->click();
    EXPECT_FALSE(form_.isVisible());
    EXPECT_EQ(boxes_.asked.size(), 2u);
}

TEST_F(MainWindowTest, FormCreateSetsTheProgramFolder) {
    const std::string folder = QsToPath(QCoreApplication::applicationDirPath()) + "/";
    EXPECT_EQ(form_.ExeDir, folder);
    EXPECT_EQ(form_.KeywordList.Count(), 0u);
}

// A long run's worth of numbers goes through the model in batches; the view
// keeps up and shows the newest one.
TEST_F(MainWindowTest, TwoHundredThousandNumbersAppendInBatchesWithTheLastShown) {
    constexpr int kTotal = 200000;
    constexpr int kBatch = 500;
    int number = 0;
    while (number < kTotal) {
        NumberListModel::Batch batch(*form_.ListModel);
        for (int i = 0; i < kBatch; ++i, ++number) {
            form_.ListModel->Append("020" + std::to_string(10000000 + number));
        }
    }
    QApplication::processEvents();
    EXPECT_EQ(form_.ListView1->model()->rowCount(), kTotal);
    const QModelIndex last = form_.ListModel->index(kTotal - 1, 0);
    EXPECT_EQ(last.data().toString(), QStringLiteral("02010199999"));
    EXPECT_TRUE(form_.ListView1->viewport()->rect().intersects(form_.ListView1->visualRect(last)));
    form_.ListModel->Clear();
    EXPECT_EQ(form_.ListView1->model()->rowCount(), 0);
}

}  // namespace
}  // namespace tavrisk::app
