// The settings file commands of the main window: the load at start-up, the
// write of options and progress, and the Save-progress command. The rules live
// in files/Settings; this file only connects them to the window's controls.
#include "app/ErrorGuard.h"
#include "app/MainWindow.h"
#include "app/Texts.h"
#include "files/Settings.h"
#include "platform/IniFile.h"
#include "platform/TextCodec.h"

#if __has_include("app/SpinEdit.h")
#include "app/SpinEdit.h"
#define TAVRISK_HAS_SPIN_EDIT 1
#endif

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMessageBox>

#include <stdexcept>

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
#ifdef TAVRISK_HAS_SPIN_EDIT
        return spin ? Gbk(spin->text()) : std::to_string(startValue);
#else
        RequireNoSpinEdit(spin);
        return std::to_string(startValue);
#endif
    }
    static void SetSpin(SpinEdit* spin, int value) {
#ifdef TAVRISK_HAS_SPIN_EDIT
        if (spin) {
            spin->setValue(value);
        }
#else
        RequireNoSpinEdit(spin);
        static_cast<void>(value);
#endif
    }
#ifndef TAVRISK_HAS_SPIN_EDIT
    // Without the spin edit's declaration its value cannot be read; a window
    // that has spin edits must not silently store start-up values instead.
    static void RequireNoSpinEdit(const SpinEdit* spin) {
        if (spin != nullptr) {
            throw std::logic_error("the spin edits are not connected to the settings file");
        }
    }
#endif

    TForm1& form_;
};

// A plain message box: the application title as caption, no icon, one button.
void ShowPlainMessage(QWidget* parent, const std::string& gbkText) {
    QMessageBox box(QMessageBox::NoIcon, AppTitle(), Qs(gbkText), QMessageBox::NoButton, parent);
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

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
        ShowPlainMessage(this, saved);
    });
}

}  // namespace tavrisk::app
