#pragma once

#include "platform/StringList.h"

#include <QWidget>

#include <string>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QSystemTrayIcon;
class QSessionManager;
class QTableView;
class QToolButton;

namespace tavrisk::app {

class MinimiseToTray;
class NumberListModel;
class SearchSession;
class SpinEdit;
class StatusBar;
class TForm2;

// The main window. It owns every control and the fields of a search run for
// the program's whole life; each command handler forwards to the core.
// Handlers that belong to one feature are defined in that feature's file
// (ImportCommand.cpp, SettingsCommands.cpp, ...); this file declares them all.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Tool bar, left to right.
    QFrame* CoolBar1 = nullptr;
    QToolButton* SpeedButton4 = nullptr;   // 导入
    QToolButton* SpeedButton2 = nullptr;   // 搜索
    QToolButton* SpeedButton3 = nullptr;   // 终止
    QToolButton* SpeedButton5 = nullptr;   // 保存
    QToolButton* SpeedButton8 = nullptr;   // 进程
    QToolButton* SpeedButton1 = nullptr;   // 合并
    QToolButton* SpeedButton6 = nullptr;   // 创建
    QToolButton* SpeedButton9 = nullptr;   // 关于
    QToolButton* SpeedButton10 = nullptr;  // 退出

    // Option strip.
    QFrame* Panel2 = nullptr;
    QLabel* Label2 = nullptr;  // 搜索间隔[秒]：
    QLabel* Label3 = nullptr;  // 页数：
    QLabel* Label1 = nullptr;  // 搜索文件：

    SpinEdit* SpinEdit1 = nullptr;   // interval, seconds, 1..1000
    QCheckBox* CheckBox1 = nullptr;  // 去重
    SpinEdit* SpinEdit2 = nullptr;   // pages, 1..76
    QCheckBox* CheckBox2 = nullptr;  // 自动存盘
    QLineEdit* Edit5 = nullptr;      // keyword list path, read-only

    // Work area and status bar.
    QTableView* ListView1 = nullptr;  // a one-column report list over ListModel
    NumberListModel* ListModel = nullptr;
    QFrame* Panel10 = nullptr;
    QFrame* Panel11 = nullptr;
    StatusBar* StatusBar1 = nullptr;

    // The keyword list builder, made on first use and kept for the program's life.
    class TForm3* Form3 = nullptr;

    // Fields of a search run (GBK byte strings).
    tavrisk::StringList PageLines;
    tavrisk::StringList KeywordList;
    int NextKeywordIndex = 0;
    std::string ExeDir;                        // file-system path with trailing '/'
    std::string SettingsFileName;              // file-system path
    std::string SearchHost = "www.baidu.com";  // engine host, from the settings file at start-up

public slots:
    // Command handlers, named after the control and event of the design.
    void FormCreate();
    void FormCloseQuery(bool& CanClose);
    void SpeedButton4Click();   // import a keyword list
    void N2Click();             // start a search run
    void N3Click();             // ask the run to stop
    void N5Click();             // save the result list
    void SpeedButton8Click();   // save the progress
    void SpeedButton1Click();   // merge number files
    void SpeedButton6Click();   // keyword list builder
    void N15Click();            // About box
    void SpeedButton10Click();  // exit, with confirmation
    void N17Click();            // show from the notification area
    void N18Click();            // hide to the notification area
    void N14Click();            // e-mail the maker
    void N20Click();            // maker's home page
    void N23Click();            // exit from the tray menu
    void Button1Click();        // request the first page of a run
    void BitBtn1Click();        // finish a run
    void Button2Click();        // write options and progress
    void Timer1Timer();         // step timer tick

public:
    // Loads options and progress from the settings file (run by FormCreate).
    void LoadSettings();

    // Notification-area icon with its menu, and the About box (TrayIcon.cpp).
    void SetUpTray();  // once, at start-up; creates the members below
    QSystemTrayIcon* antTaskbarIcon1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* N17 = nullptr;  // 显示主程序(&S)
    QAction* N18 = nullptr;  // 最小化显示(&M)
    QAction* N19 = nullptr;  // 与我们联系(&L)
    QAction* N20 = nullptr;  // 访问Ostrel主页(&V)
    QAction* N21 = nullptr;  // 关于本软件(&A)
    QAction* N22 = nullptr;  // separator
    QAction* N23 = nullptr;  // 退 出(&Exit)
    MinimiseToTray* TrayWatcher = nullptr;
    TForm2* Form2 = nullptr;  // the About box
    // The search run behind N2Click, N3Click, Timer1Timer and the hidden
    // buttons, made on first use (app/SearchCommands.cpp).
    SearchSession& Session();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildLayout();

    SearchSession* session_ = nullptr;  // a child object of the window
    void WireCommands();
    void CommitDataRequest(QSessionManager& manager);
    // The user confirmed the end of the session; the close that follows asks nothing more.
    bool sessionEndConfirmed_ = false;
};

}  // namespace tavrisk::app
