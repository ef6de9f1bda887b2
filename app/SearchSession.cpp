#include "app/SearchSession.h"

#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/NumberListModel.h"
#include "app/SpinEdit.h"
#include "app/StatusBar.h"
#include "app/Texts.h"

#include "platform/TextCodec.h"

#include <QCheckBox>
#include <QTimer>
#include <QToolButton>

#include <ctime>

namespace tavrisk::app {

SearchSession::SearchSession(TForm1& form)
    : QObject(&form),
      Form(form),
      Timer1(Scheduler, SearchRun::kFirstTickMs),
      WebBrowser1(form.Panel11),
      Run(*this, WebBrowser1, Timer1,
          RunServices{
              [this] { return GetLocalAddress(*Resolver); },
              [this] { Form.Button2Click(); },
          },
          RunFields{form.KeywordList, form.PageLines, form.NextKeywordIndex, FoundCount, Seen, form.SearchHost}) {
    Timer1.SetOnTimer([this] { Form.Timer1Timer(); });
    journalNotice_.setSingleShot(true);
    connect(&journalNotice_, &QTimer::timeout, this, &SearchSession::ShowJournalFailure);
}

void SearchSession::ShowJournalFailure() {
    TheBoxes().Information(&Form, journalFailureText_);
}

SearchSession::~SearchSession() = default;

void SearchSession::SetPanelText(int panel, const std::string& text) {
    if (Form.StatusBar1 != nullptr) {
        Form.StatusBar1->SetPanelText(panel, Qs(text));
    }
}

void SearchSession::SetCommandsEnabled(bool search, bool stop, bool import) {
    if (Form.SpeedButton2 != nullptr) {
        Form.SpeedButton2->setEnabled(search);
    }
    if (Form.SpeedButton3 != nullptr) {
        Form.SpeedButton3->setEnabled(stop);
    }
    if (Form.SpeedButton4 != nullptr) {
        Form.SpeedButton4->setEnabled(import);
    }
}

int SearchSession::IntervalSeconds() {
    return Form.SpinEdit1 != nullptr ? Form.SpinEdit1->Value() : 5;
}

int SearchSession::PageLimit() {
    return Form.SpinEdit2 != nullptr ? Form.SpinEdit2->Value() : 76;
}

bool SearchSession::AutoSaveChecked() {
    return Form.CheckBox2 != nullptr && Form.CheckBox2->isChecked();
}

bool SearchSession::DeduplicateChecked() {
    return Form.CheckBox1 != nullptr && Form.CheckBox1->isChecked();
}

void SearchSession::RunStarting() {
    Journal.Start(Form.ExeDir + "results", std::time(nullptr));
    journalFailureShown_ = false;
}

void SearchSession::ClearResults() {
    if (Form.ListModel != nullptr) {
        Form.ListModel->Clear();
    }
}

void SearchSession::AppendResult(const std::string& number, const NumberSource& source) {
    if (Form.ListModel != nullptr) {
        NumberSource found = source;
        found.foundAt = std::time(nullptr);
        Form.ListModel->Append(number, std::move(found));
    }
    if (!Journal.Append(number) && !journalFailureShown_) {
        journalFailureShown_ = true;
        static const std::string kFailed = ToGbk("结果日志文件写入失败，搜索继续进行，找到的号码仍在结果列表中：\r\n");
        // Shown once the tick is over, so the run goes on while the box is open.
        journalFailureText_ = Qs(kFailed + Journal.Error());
        journalNotice_.start(0);
    }
}

void SearchSession::BeginResults() {
    if (Form.ListModel != nullptr) {
        Form.ListModel->BeginUpdate();
    }
}

void SearchSession::EndResults() {
    if (Form.ListModel != nullptr) {
        Form.ListModel->EndUpdate();
    }
}

void SearchSession::RepaintNow() {
    Form.repaint();
}

void SearchSession::InformationBox(const std::string& text) {
    TheBoxes().Information(&Form, Qs(text));
}

void SearchSession::PlainMessageBox(const std::string& text) {
    TheBoxes().Plain(&Form, Qs(text));
}

std::optional<std::string> SearchSession::InputBox(const std::string& title, const std::string& prompt,
                                                   const std::string& value) {
    const std::optional<QString> answer = TheBoxes().Input(&Form, Qs(title), Qs(prompt), Qs(value));
    if (!answer) {
        return std::nullopt;
    }
    return Gbk(*answer);
}

}  // namespace tavrisk::app
