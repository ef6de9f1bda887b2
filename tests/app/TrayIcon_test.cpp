#include "app/DesktopShell.h"
#include "app/MainWindow.h"
#include "app/Texts.h"
#include "app/TrayIcon.h"
#include "app/about/AboutBox.h"

#include <QAction>
#include "tests/app/AppTestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>

#include <memory>
#include <string>
#include <vector>

namespace tavrisk::app {
namespace {

using test::Later;

// A main window with its tray, on a desktop whose notification area is there
// or not as the test says, and whose shell only records what it was asked to open.
class TrayTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetNotificationAreaProbe([this] { return trayAvailable; });
        SetShellOpener([this](const QUrl& url) { opened.push_back(url.toString()); });
        form = std::make_unique<TForm1>();
        form->SetUpTray();
        form->show();
        Settle();
    }
    void TearDown() override {
        form.reset();
        SetNotificationAreaProbe({});
        SetShellOpener({});
    }

    static void Settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    void Minimise() {
        form->setWindowState(form->windowState() | Qt::WindowMinimized);
        Settle();
    }

    void LeftClickOnIcon() {
        emit form->antTaskbarIcon1->activated(QSystemTrayIcon::Trigger);
        Settle();
    }

    // The state of this part as one line: window shown or hidden, minimised,
    // and which of the two menu items is enabled.
    [[nodiscard]] std::string State() const {
        std::string state = form->isVisible() ? "shown" : "hidden";
        if (form->isMinimized()) {
            state += " minimised";
        }
        if (form->windowState().testFlag(Qt::WindowMaximized)) {
            state += " maximised";
        }
        state += form->N17->isEnabled() ? " N17" : "";
        state += form->N18->isEnabled() ? " N18" : "";
        return state;
    }

    bool trayAvailable = true;
    std::vector<QString> opened;
    std::unique_ptr<TForm1> form;
};

TEST_F(TrayTest, IconAndMenuAtStart) {
    EXPECT_EQ(form->antTaskbarIcon1->toolTip(), QStringLiteral("『Tavrisk』 V2.9"));
    EXPECT_FALSE(form->antTaskbarIcon1->icon().isNull());
    EXPECT_TRUE(form->antTaskbarIcon1->isVisible());
    EXPECT_EQ(form->antTaskbarIcon1->contextMenu(), form->PopupMenu1);

    struct Item {
        QAction* action;
        QString caption;
        bool enabled;
    };
    const std::vector<Item> expected = {
        {form->N17, QStringLiteral("显示主程序(&S)"), false}, {form->N18, QStringLiteral("最小化显示(&M)"), true},
        {form->N19, QStringLiteral("与我们联系(&L)"), true},  {form->N20, QStringLiteral("访问Ostrel主页(&V)"), true},
        {form->N21, QStringLiteral("关于本软件(&A)"), true},  {form->N22, QString(), true},
        {form->N23, QStringLiteral("退 出(&Exit)"), true},
    };
    const QList<QAction*> actions = form->PopupMenu1->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(actions[static_cast<qsizetype>(i)], expected[i].action);
        EXPECT_EQ(expected[i].action->isSeparator(), i == 5);
        if (i != 5) {
            EXPECT_EQ(expected[i].action->text(), expected[i].caption);
        }
        EXPECT_EQ(expected[i].action->isEnabled(), expected[i].enabled);
    }
    EXPECT_EQ(State(), "shown N18");
}

TEST_F(TrayTest, IconFollowsTheWindowIcon) {
    QPixmap picture(32, 32);
    picture.fill(Qt::green);
    const QIcon icon(picture);
    form->setWindowIcon(icon);
    EXPECT_EQ(form->antTaskbarIcon1->icon().cacheKey(), icon.cacheKey());
}

TEST_F(TrayTest, SetUpTwiceKeepsOneIcon) {
    QSystemTrayIcon* icon = form->antTaskbarIcon1;
    form->SetUpTray();
    EXPECT_EQ(form->antTaskbarIcon1, icon);
    EXPECT_EQ(form->findChildren<QSystemTrayIcon*>().size(), 1);
}

// Every way between the two states, step by step, with the state after each step.
TEST_F(TrayTest, TransitionsKeepExactlyOneItemEnabled) {
    struct Step {
        const char* action;
        const char* state;
    };
    const std::vector<std::vector<Step>> paths = {
        {{"menu N18", "hidden N17"}, {"menu N17", "shown N18"}},
        {{"menu N18", "hidden N17"}, {"icon click", "shown N18"}},
        {{"minimise", "hidden minimised N17"}, {"icon click", "shown N18"}},
        {{"minimise", "hidden minimised N17"}, {"menu N17", "shown N18"}},
        // A click on the icon while the window is shown changes nothing.
        {{"icon click", "shown N18"}, {"menu N17", "shown N18"}},
        // A disabled item does nothing; a double click brings the window back once.
        {{"menu N18", "hidden N17"},
         {"menu N18", "hidden N17"},
         {"icon click", "shown N18"},
         {"icon click", "shown N18"}},
        {{"minimise", "hidden minimised N17"},
         {"menu N18", "hidden minimised N17"},
         {"menu N17", "shown N18"},
         {"menu N18", "hidden N17"},
         {"icon click", "shown N18"}},
    };
    for (std::size_t p = 0; p < paths.size(); ++p) {
        SCOPED_TRACE("path " + std::to_string(p));
        TearDown();
        SetUp();
        for (const Step& step : paths[p]) {
            const std::string action = step.action;
            if (action == "menu N17") {
                form->N17->trigger();
            } else if (action == "menu N18") {
                form->N18->trigger();
            } else if (action == "icon click") {
                LeftClickOnIcon();
            } else {
                Minimise();
            }
            Settle();
            EXPECT_EQ(State(), step.state) << "after " << action;
        }
    }
}

TEST_F(TrayTest, WindowComesBackAsItWas) {
    form->setGeometry(40, 30, 500, 400);
    Settle();
    form->N18->trigger();
    form->N17->trigger();
    EXPECT_EQ(form->geometry().size(), QSize(500, 400));

    form->showMaximized();
    Settle();
    form->N18->trigger();
    EXPECT_EQ(State(), "hidden maximised N17");
    LeftClickOnIcon();
    EXPECT_EQ(State(), "shown maximised N18");

    // Minimised from maximised, by the title bar: it comes back maximised.
    Minimise();
    EXPECT_EQ(form->isVisible(), false);
    LeftClickOnIcon();
    EXPECT_EQ(State(), "shown maximised N18");
}

TEST_F(TrayTest, WithoutNotificationAreaMinimisingStaysAMinimise) {
    trayAvailable = false;
    Minimise();
    EXPECT_EQ(State(), "shown minimised N18");
    form->N18Click();
    Settle();
    EXPECT_EQ(State(), "shown minimised N18");
}

TEST_F(TrayTest, TrayGoingAwayBringsTheHiddenWindowBack) {
    form->N18->trigger();
    ASSERT_EQ(State(), "hidden N17");
    form->TrayWatcher->CheckTrayStillThere();
    EXPECT_EQ(State(), "hidden N17");
    trayAvailable = false;
    form->TrayWatcher->CheckTrayStillThere();
    EXPECT_EQ(State(), "shown N18");
}

TEST_F(TrayTest, TimersGoOnWhileHidden) {
    QTimer tick(form.get());
    tick.start(1000);
    Minimise();
    EXPECT_EQ(State(), "hidden minimised N17");
    EXPECT_TRUE(tick.isActive());
    LeftClickOnIcon();
    EXPECT_TRUE(tick.isActive());
}

TEST_F(TrayTest, MakerLinksGoToTheShell) {
    form->N19->trigger();
    form->N20->trigger();
    EXPECT_EQ(opened, (std::vector<QString>{QStringLiteral("mailto:support@tavrisk.example"),
                                            QStringLiteral("http://www.tavrisk.example/")}));
}

// Answers the close confirmation by accepting or refusing the close event,
// whatever box the window shows for it.
class CloseAnswer : public QObject {
public:
    explicit CloseAnswer(bool yes) : yes_(yes) {}
    int asked = 0;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() != QEvent::Close) {
            return false;
        }
        ++asked;
        event->setAccepted(yes_);
        return true;
    }

private:
    bool yes_;
};

TEST_F(TrayTest, ExitAnsweredNoLeavesEitherStateAsItWas) {
    CloseAnswer no(false);
    form->installEventFilter(&no);
    form->N23->trigger();
    Settle();
    EXPECT_EQ(no.asked, 1);
    EXPECT_EQ(State(), "shown N18");

    form->N18->trigger();
    form->N23->trigger();
    Settle();
    EXPECT_EQ(no.asked, 2);
    EXPECT_EQ(State(), "hidden N17");
    EXPECT_TRUE(form->antTaskbarIcon1->isVisible());
}

TEST_F(TrayTest, ExitAnsweredYesEndsTheProgramFromEitherState) {
    CloseAnswer yes(true);
    for (bool hiddenFirst : {false, true}) {
        SCOPED_TRACE(hiddenFirst ? "hidden" : "shown");
        TearDown();
        SetUp();
        form->installEventFilter(&yes);
        if (hiddenFirst) {
            form->N18->trigger();
        }
        Later([&] { form->N23->trigger(); });
        // Ends the loop with another code should the program not end (a hang guard, not a timing check).
        QTimer hangGuard;
        hangGuard.setSingleShot(true);
        QObject::connect(&hangGuard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        hangGuard.start(10000);
        EXPECT_EQ(QCoreApplication::exec(), 0);
        EXPECT_FALSE(form->isVisible());
    }
    EXPECT_EQ(yes.asked, 2);
}

TEST_F(TrayTest, AboutWhileHiddenKeepsTheWindowHidden) {
    form->N18->trigger();
    bool shownOnTop = false;
    Later([&] {
        shownOnTop = form->Form2->isVisible() && form->Form2->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        form->Form2->OKButton->click();
    });
    form->N21->trigger();
    Settle();
    EXPECT_TRUE(shownOnTop);
    EXPECT_FALSE(form->Form2->isVisible());
    EXPECT_EQ(State(), "hidden N17");
}

}  // namespace
}  // namespace tavrisk::app

// One application object for the whole program, alive while the tests run.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
