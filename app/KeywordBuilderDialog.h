#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QFileDialog;
class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QToolButton;

namespace tavrisk::app {

// The keyword list builder: a list of product phrases and a list of fax
// markers, the Create command that combines them into the third area, and the
// Save command that writes that area to a keyword list file. The dialog is made
// once and hidden between openings, so the areas keep what the user left there.
class TForm3 : public QDialog {
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

    QLabel* Label1 = nullptr;             // 产品分类词语
    QLabel* Label2 = nullptr;             // 传真搜索标志
    QLabel* Label3 = nullptr;             // 百度搜索关键词列表文件内容
    QPlainTextEdit* Memo1 = nullptr;      // product phrases, one a line
    QPlainTextEdit* Memo2 = nullptr;      // fax markers, one a line
    QPlainTextEdit* Memo3 = nullptr;      // the keyword lines; editable
    QToolButton* SpeedButton2 = nullptr;  // 创建
    QToolButton* SpeedButton1 = nullptr;  // 保存
    QFileDialog* SaveDialog1 = nullptr;

    // The program's folder (file-system path with a trailing '/'), where Save
    // proposes its file.
    std::string ExeDir;

    // Shows SaveDialog1 and gives the chosen path, or nothing when the user
    // cancels. Tests put their own choice here.
    std::function<std::optional<QString>(QFileDialog&)> ExecuteSaveDialog;

public slots:
    void SpeedButton2Click();  // Create
    void SpeedButton1Click();  // Save

public:
    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The text of a text area as GBK bytes with CR LF between its lines, and back.
std::string MemoText(const QPlainTextEdit& memo);
void SetMemoText(QPlainTextEdit& memo, std::string_view gbk);

}  // namespace tavrisk::app
