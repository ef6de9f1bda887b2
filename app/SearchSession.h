#pragma once

#include "app/QtScheduler.h"
#include "app/WebViewPage.h"
#include "harvest/SearchRun.h"
#include "platform/StepTimer.h"
#include "platform/StringList.h"

#include <QObject>

#include <functional>
#include <optional>
#include <string>

namespace tavrisk::app {

class TForm1;

// The search run of the main window: the step timer Timer1 on the event loop,
// the web view WebBrowser1 (created in Panel11 when the first page is
// requested) and the controller, which talks to the window through this
// object. A child object of the window, made on first use.
class SearchSession : public QObject, public RunWindow {
public:
    explicit SearchSession(TForm1& form);
    ~SearchSession() override;

    // Window pieces read or written through the window's own widgets. Each has
    // a neutral default until the window connects it.
    struct WindowPieces {
        std::function<int()> interval = [] { return 5; };                                        // SpinEdit1
        std::function<int()> pageLimit = [] { return 76; };                                      // SpinEdit2
        std::function<void(int, const std::string&)> setPanel = [](int, const std::string&) {};  // StatusBar1
        std::function<void()> clearResults = [] {};                                              // ListView1
        std::function<void(const std::string&)> appendNumber = [](const std::string&) {};        // ListView1
    };
    WindowPieces Pieces;

    // RunWindow.
    void SetPanelText(int panel, const std::string& text) override;
    void SetCommandsEnabled(bool search, bool stop, bool import) override;
    int IntervalSeconds() override;
    int PageLimit() override;
    bool AutoSaveChecked() override;
    void ClearResults() override;
    void RepaintNow() override;
    void InformationBox(const std::string& text) override;
    void PlainMessageBox(const std::string& text) override;
    std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                        const std::string& value) override;

    // The numbers found on the page lines: looked up in SeenNumbers, kept
    // there while 去重 is checked, appended to the list and counted.
    void ExtractFaxNumbers();

    TForm1& Form;
    QtScheduler Scheduler;
    StepTimer Timer1;
    WebViewPage WebBrowser1;
    int FoundCount = 0;
    StringList SeenNumbers;
    std::string SearchHost = "www.baidu.com";
    // What the run calls, looked up at every call, so each can be replaced.
    RunServices Services;
    SearchRun Run;
};

}  // namespace tavrisk::app
