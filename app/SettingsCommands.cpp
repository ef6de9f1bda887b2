// The settings file commands of the main window: the load at start-up, the
// write of options and progress, and the Save-progress command. The rules live
// in files/Settings; this file only connects them to the window's controls.
#include "app/ErrorGuard.h"
#include "app/MainWindow.h"
#include "app/Texts.h"
#include "files/Settings.h"
#include "platform/IniFile.h"
#include "platform/TextCodec.h"

#include "app/MessageBoxes.h"
#include "app/SpinEdit.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>

namespace tavrisk::app {

namespace {

// The option strip of the main window, as the settings file sees it. A control
// the window has not built reads as its start-up value and ignores writes.
class FormSettingsControls : public SettingsControls {
public:
    explicit FormSettingsControls(TForm1& form) : form_(form) {}

    std::string KeywordFileText() const override { return form_.Edit5 ? Gbk(form_.Edit5->text()) : std::string(); }
    void SetKeywordFileText(const std::string& text) override {
        if (form_.Edit5) {
            form_.Edit5->setText(Qs(text));
        }
    }
    bool Deduplicate() const override { return form_.CheckBox1 && form_.CheckBox1->isChecked(); }
    void SetDeduplicate(bool checked) override {
        if (form_.CheckBox1) {
            form_.CheckBox1->setChecked(checked);
        }
    }
    bool AutoSave() const override { return form_.CheckBox2 && form_.CheckBox2->isChecked(); }
    void SetAutoSave(bool checked) override {
        if (form_.CheckBox2) {
            form_.CheckBox2->setChecked(checked);
        }
    }
    std::string IntervalText() const override { return SpinText(form_.SpinEdit1, kDefaultInterval); }
    void SetInterval(int seconds) override { SetSpin(form_.SpinEdit1, seconds); }
    std::string PageLimitText() const override { return SpinText(form_.SpinEdit2, kDefaultPageLimit); }
    void SetPageLimit(int pages) override { SetSpin(form_.SpinEdit2, pages); }

private:
    // The text the spin edit's field shows, which may still be being typed.
    static std::string SpinText(const SpinEdit* spin, int startValue) {
        return spin ? Gbk(spin->Text()) : std::to_string(startValue);
    }
    static void SetSpin(SpinEdit* spin, int value) {
        if (spin) {
            spin->SetValue(value);
        }
    }

    TForm1& form_;
};

}  // namespace

void TForm1::LoadSettings() {
    if (ExeDir.empty()) {
        ExeDir = QsToPath(QCoreApplication::applicationDirPath()) + "/";
    }
    SettingsFileName = SettingsFileNameOfExecutable(QsToPath(QCoreApplication::applicationFilePath()));
    const IniFile file(ExeDir + SettingsFileName);
    FormSettingsControls controls(*this);
    tavrisk::LoadSettings(file, controls, NextKeywordIndex);
    SearchHost = ReadSearchHost(file);
}

// Raises "Unable to write to %s" to its caller when a key cannot be written.
void TForm1::Button2Click() {
    IniFile file(ExeDir + SettingsFileName);
    FormSettingsControls controls(*this);
    SaveSettings(file, controls, NextKeywordIndex);
}

void TForm1::SpeedButton8Click() {
    Guarded(this, [this] {
        Button2Click();
        static const std::string saved = ToGbk("已经保存当前传真号码搜索进程！");
        TheBoxes().Plain(this, Qs(saved));
    });
}

}  // namespace tavrisk::app
