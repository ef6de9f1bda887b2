#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QWidget;

namespace tavrisk::app {

// A button of a confirmation box.
enum class BoxButton {
    Ok,      // 确定
    Cancel,  // 放弃
    Yes,     // (&Y)是
    No,      // (&N)否
};

// The answer of a confirmation box: the button chosen (by click, Enter or
// Esc), or Closed when the box was dismissed by its own close box.
enum class BoxAnswer { Ok, Cancel, Yes, No, Closed };

// What a file dialog shows. The filter is in Qt's form: "Name(*.ext);;Other(*)".
struct FileDialogOptions {
    QString title;
    QString filter;
    QString defaultSuffix;  // added to a name typed without one
    QString directory;      // the folder the dialog opens in
};

// Every question the program asks the user in a modal box or dialog. Handlers
// reach them through TheBoxes(), so a test can answer them with a script.
class Boxes {
public:
    Boxes() = default;
    Boxes(const Boxes&) = delete;
    Boxes& operator=(const Boxes&) = delete;
    virtual ~Boxes() = default;

    // Caption "信息", the information icon and one button "确定".
    virtual void Information(QWidget* parent, const QString& text) = 0;
    // Caption "确认", the question icon and the buttons given, in that order.
    // Enter chooses "确定" if present, else "(&Y)是"; Esc chooses "放弃" if
    // present, else "(&N)否", else "确定".
    virtual BoxAnswer Confirmation(QWidget* parent, const QString& text, const std::vector<BoxButton>& buttons) = 0;
    // The application title as caption, no icon, one button "确定".
    virtual void Plain(QWidget* parent, const QString& text) = 0;
    // The title, a prompt over a one-line field of at most 255 characters
    // holding the proposed text (all selected), "确定" (Enter) and "放弃" (Esc).
    // Returns the text when "确定" accepted it, nothing otherwise.
    virtual std::optional<QString> Input(QWidget* parent, const QString& title, const QString& prompt,
                                         const QString& proposed) = 0;

    // File dialogs. Nothing (or an empty list) when the user cancelled.
    // SaveFileName asks before an existing file is chosen for overwriting.
    virtual std::optional<QString> SaveFileName(QWidget* parent, const FileDialogOptions& options) = 0;
    virtual std::optional<QString> OpenFileName(QWidget* parent, const FileDialogOptions& options) = 0;
    virtual QStringList OpenFileNames(QWidget* parent, const FileDialogOptions& options) = 0;
};

// The boxes in use: the real Qt ones unless a BoxesOverride is alive.
Boxes& TheBoxes();

// Puts other boxes in place for the lifetime of the object (tests).
class BoxesOverride {
public:
    explicit BoxesOverride(Boxes& boxes);
    ~BoxesOverride();
    BoxesOverride(const BoxesOverride&) = delete;
    BoxesOverride& operator=(const BoxesOverride&) = delete;

private:
    Boxes* previous_;
};

// The real boxes, built from QMessageBox, a small input dialog and QFileDialog.
class QtBoxes : public Boxes {
public:
    void Information(QWidget* parent, const QString& text) override;
    BoxAnswer Confirmation(QWidget* parent, const QString& text, const std::vector<BoxButton>& buttons) override;
    void Plain(QWidget* parent, const QString& text) override;
    std::optional<QString> Input(QWidget* parent, const QString& title, const QString& prompt,
                                 const QString& proposed) override;
    std::optional<QString> SaveFileName(QWidget* parent, const FileDialogOptions& options) override;
    std::optional<QString> OpenFileName(QWidget* parent, const FileDialogOptions& options) override;
    QStringList OpenFileNames(QWidget* parent, const FileDialogOptions& options) override;
};

// Button texts of the boxes.
QString BoxButtonText(BoxButton button);

}  // namespace tavrisk::app
