#include "app/SearchSession.h"

#include "app/MainWindow.h"
#include "app/Texts.h"
#include "harvest/RunStandIns.h"

#include <QApplication>
#include <QCheckBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QToolButton>

namespace tavrisk::app {

namespace {

constexpr int kInputLimit = 255;

}  // namespace

SearchSession::SearchSession(TForm1& form)
    : QObject(&form),
      Form(form),
      Timer1(Scheduler, 8000),
      WebBrowser1(form.Panel11),
      Services{
          [] { return standin::GetLocalAddress(); },
          [this](const std::string& line) { return standin::BuildQueryBase(SearchHost, line); },
          [](const std::string& base, int pn) { return standin::BuildPageUrl(base, pn); },
          [this] { ExtractFaxNumbers(); },
          [this] { Form.Button2Click(); },
      },
      Run(*this, WebBrowser1, Timer1,
          RunServices{
              [this] { return Services.GetLocalAddress(); },
              [this](const std::string& line) { return Services.BuildQueryBase(line); },
              [this](const std::string& base, int pn) { return Services.BuildPageUrl(base, pn); },
              [this] { Services.ExtractFaxNumbers(); },
              [this] { Services.SaveProgress(); },
          },
          RunFields{form.KeywordList, form.PageLines, form.NextKeywordIndex, FoundCount}) {
    Timer1.SetOnTimer([this] { Form.Timer1Timer(); });
}

SearchSession::~SearchSession() = default;

void SearchSession::SetPanelText(int panel, const std::string& text) {
    Pieces.setPanel(panel, text);
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
    return Pieces.interval();
}

int SearchSession::PageLimit() {
    return Pieces.pageLimit();
}

bool SearchSession::AutoSaveChecked() {
    return Form.CheckBox2 != nullptr && Form.CheckBox2->isChecked();
}

void SearchSession::ClearResults() {
    Pieces.clearResults();
}

void SearchSession::RepaintNow() {
    Form.repaint();
}

void SearchSession::InformationBox(const std::string& text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("信息"), Qs(text), QMessageBox::NoButton, &Form);
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

void SearchSession::PlainMessageBox(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, AppTitle(), Qs(text), QMessageBox::NoButton, &Form);
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

std::optional<std::string> SearchSession::InputBox(const std::string& title, const std::string& prompt,
                                                   const std::string& value) {
    QInputDialog dialog(&Form);
    dialog.setWindowTitle(Qs(title));
    dialog.setLabelText(Qs(prompt));
    dialog.setTextValue(Qs(value));
    dialog.setOkButtonText(QStringLiteral("确定"));
    dialog.setCancelButtonText(QStringLiteral("放弃"));
    if (auto* field = dialog.findChild<QLineEdit*>()) {
        field->setMaxLength(kInputLimit);
        field->selectAll();
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return Gbk(dialog.textValue());
}

void SearchSession::ExtractFaxNumbers() {
    for (const std::string& number : standin::ExtractNumbers(Form.PageLines)) {
        if (SeenNumbers.Find(number)) {
            continue;
        }
        if (Form.CheckBox1 != nullptr && Form.CheckBox1->isChecked()) {
            SeenNumbers.Add(number);
        }
        Pieces.appendNumber(number);
        ++FoundCount;
        Pieces.setPanel(5, std::to_string(FoundCount));
    }
}

}  // namespace tavrisk::app
