#pragma once

#include "app/QtScheduler.h"
#include "app/WebViewPage.h"
#include "files/ResultsJournal.h"
#include "harvest/ConnectivityCheck.h"
#include "harvest/SearchRun.h"
#include "harvest/SeenNumbers.h"
#include "platform/StepTimer.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>
#include <string>

namespace tavrisk::app {

class TForm1;

// The search run of the main window: the step timer Timer1 on the event loop,
// the web view WebBrowser1 (created in Panel11 when the first page is
// requested) and the controller, which reaches the window's controls and the
// shared boxes through this object. A child object of the window, made on
// first use and kept for the window's life.
class SearchSession : public QObject, public RunWindow {
public:
    explicit SearchSession(TForm1& form);
    ~SearchSession() override;

    // RunWindow.
    void SetPanelText(int panel, const std::string& text) override;
    void SetCommandsEnabled(bool search, bool stop, bool import) override;
    int IntervalSeconds() override;
    int PageLimit() override;
    bool AutoSaveChecked() override;
    bool DeduplicateChecked() override;
    void RunStarting() override;
    void ClearResults() override;
    void AppendResult(const std::string& number, const NumberSource& source) override;
    void BeginResults() override;
    void EndResults() override;
    void RepaintNow() override;
    void InformationBox(const std::string& text) override;
    void PlainMessageBox(const std::string& text) override;
    std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                        const std::string& value) override;

    TForm1& Form;
    QtScheduler Scheduler;
    StepTimer Timer1;
    WebViewPage WebBrowser1;
    int FoundCount = 0;
    // Numbers recorded while 去重 is checked; kept for the program's life.
    SeenNumbers Seen;
    // Where the connectivity check looks up this computer's address; tests
    // put their own in place.
    HostResolver* Resolver = &SystemHostResolver();
    // Every number of the current run, also kept in a file in results/
    // beside the program; a failure to write it is shown once per run.
    ResultsJournal Journal;
    SearchRun Run;

private:
    void ShowJournalFailure();

    bool journalFailureShown_ = false;
    QTimer journalNotice_;
    QString journalFailureText_;
};

}  // namespace tavrisk::app
