#include "app/MessageBoxes.h"

#include "app/Texts.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

namespace tavrisk::app {
namespace {

Boxes*& CurrentBoxes() {
    static QtBoxes real;
    static Boxes* current = &real;
    return current;
}

bool Has(const std::vector<BoxButton>& buttons, BoxButton b) {
    return std::find(buttons.begin(), buttons.end(), b) != buttons.end();
}

QMessageBox::ButtonRole RoleOf(BoxButton button) {
    switch (button) {
        case BoxButton::Ok:
            return QMessageBox::AcceptRole;
        case BoxButton::Cancel:
            return QMessageBox::RejectRole;
        case BoxButton::Yes:
            return QMessageBox::YesRole;
        case BoxButton::No:
            return QMessageBox::NoRole;
    }
    return QMessageBox::InvalidRole;
}

BoxAnswer AnswerOf(BoxButton button) {
    switch (button) {
        case BoxButton::Ok:
            return BoxAnswer::Ok;
        case BoxButton::Cancel:
            return BoxAnswer::Cancel;
        case BoxButton::Yes:
            return BoxAnswer::Yes;
        case BoxButton::No:
            return BoxAnswer::No;
    }
    return BoxAnswer::Closed;
}

// A message box that tells a press of its own close box from a button: Qt
// treats the close box like Esc, but the program gives them different meanings.
class MessageBox : public QMessageBox {
public:
    MessageBox(Icon icon, const QString& caption, const QString& text, QWidget* parent)
        : QMessageBox(icon, caption, text, NoButton, parent) {}

    [[nodiscard]] bool ClosedByCloseBox() const { return closedByCloseBox_; }

protected:
    void closeEvent(QCloseEvent* event) override {
        closedByCloseBox_ = true;
        QMessageBox::closeEvent(event);
    }

private:
    bool closedByCloseBox_ = false;
};

// Shows a box with the buttons given; Enter and Esc follow the rules of the
// confirmation box. Returns the answer.
BoxAnswer RunBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
                 const std::vector<BoxButton>& buttons) {
    MessageBox box(icon, caption, text, parent);
    std::map<QAbstractButton*, BoxButton> byWidget;
    std::map<BoxButton, QPushButton*> byButton;
    for (BoxButton b : buttons) {
        QPushButton* widget = box.addButton(BoxButtonText(b), RoleOf(b));
        byWidget[widget] = b;
        byButton[b] = widget;
    }
    if (Has(buttons, BoxButton::Ok)) {
        box.setDefaultButton(byButton[BoxButton::Ok]);
    } else if (Has(buttons, BoxButton::Yes)) {
        box.setDefaultButton(byButton[BoxButton::Yes]);
    }
    if (Has(buttons, BoxButton::Cancel)) {
        box.setEscapeButton(byButton[BoxButton::Cancel]);
    } else if (Has(buttons, BoxButton::No)) {
        box.setEscapeButton(byButton[BoxButton::No]);
    } else if (Has(buttons, BoxButton::Ok)) {
        box.setEscapeButton(byButton[BoxButton::Ok]);
    }
    box.exec();
    if (box.ClosedByCloseBox()) {
        return BoxAnswer::Closed;
    }
    auto it = byWidget.find(box.clickedButton());
    return it == byWidget.end() ? BoxAnswer::Closed : AnswerOf(it->second);
}

// The input box: prompt, one field, 确定 and 放弃.
class InputDialog : public QDialog {
public:
    InputDialog(QWidget* parent, const QString& title, const QString& prompt, const QString& proposed)
        : QDialog(parent) {
        setWindowTitle(title);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(prompt, this));
        field_ = new QLineEdit(this);
        field_->setObjectName(QStringLiteral("InputField"));
        field_->setMaxLength(255);
        field_->setText(proposed);
        field_->selectAll();
        layout->addWidget(field_);
        auto* row = new QHBoxLayout;
        row->addStretch();
        auto* ok = new QPushButton(BoxButtonText(BoxButton::Ok), this);
        auto* cancel = new QPushButton(BoxButtonText(BoxButton::Cancel), this);
        ok->setDefault(true);
        row->addWidget(ok);
        row->addWidget(cancel);
        layout->addLayout(row);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        field_->setFocus();
    }

    [[nodiscard]] QString Text() const { return field_->text(); }

private:
    QLineEdit* field_ = nullptr;
};

void Prepare(QFileDialog& dialog, const FileDialogOptions& options) {
    dialog.setWindowTitle(options.title);
    dialog.setNameFilter(options.filter);
    dialog.setDefaultSuffix(options.defaultSuffix);
    if (!options.directory.isEmpty()) {
        dialog.setDirectory(options.directory);
    }
    dialog.setSizeGripEnabled(true);
}

}  // namespace

Boxes& TheBoxes() {
    return *CurrentBoxes();
}

BoxesOverride::BoxesOverride(Boxes& boxes) : previous_(CurrentBoxes()) {
    CurrentBoxes() = &boxes;
}

BoxesOverride::~BoxesOverride() {
    CurrentBoxes() = previous_;
}

QString BoxButtonText(BoxButton button) {
    switch (button) {
        case BoxButton::Ok:
            return QStringLiteral("确定");
        case BoxButton::Cancel:
            return QStringLiteral("放弃");
        case BoxButton::Yes:
            return QStringLiteral("(&Y)是");
        case BoxButton::No:
            return QStringLiteral("(&N)否");
    }
    return {};
}

void QtBoxes::Information(QWidget* parent, const QString& text) {
    RunBox(parent, QMessageBox::Information, QStringLiteral("信息"), text, {BoxButton::Ok});
}

BoxAnswer QtBoxes::Confirmation(QWidget* parent, const QString& text, const std::vector<BoxButton>& buttons) {
    return RunBox(parent, QMessageBox::Question, QStringLiteral("确认"), text, buttons);
}

void QtBoxes::Plain(QWidget* parent, const QString& text) {
    RunBox(parent, QMessageBox::NoIcon, AppTitle(), text, {BoxButton::Ok});
}

std::optional<QString> QtBoxes::Input(QWidget* parent, const QString& title, const QString& prompt,
                                      const QString& proposed) {
    InputDialog dialog(parent, title, prompt, proposed);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Text();
}

std::optional<QString> QtBoxes::SaveFileName(QWidget* parent, const FileDialogOptions& options) {
    QFileDialog dialog(parent);
    Prepare(dialog, options);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtBoxes::OpenFileName(QWidget* parent, const FileDialogOptions& options) {
    QFileDialog dialog(parent);
    Prepare(dialog, options);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

QStringList QtBoxes::OpenFileNames(QWidget* parent, const FileDialogOptions& options) {
    QFileDialog dialog(parent);
    Prepare(dialog, options);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles();
}

}  // namespace tavrisk::app
