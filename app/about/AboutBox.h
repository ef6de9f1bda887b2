#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tavrisk::app {

class HyperLink;

// The About box: the maker's logo, the product's name and version, the
// maker's credit line and three links. It is created hidden with the main
// window and shown modally on demand. Enter, its button and its close box
// close it; Esc does not.
class TForm2 : public QDialog {
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);

    QWidget* Panel1 = nullptr;
    QLabel* ProgramIcon = nullptr;  // the maker's logo
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Image1 = nullptr;           // the maker's credit line
    HyperLink* cwHyperLink1 = nullptr;  // home page
    HyperLink* cwHyperLink3 = nullptr;  // second web site
    HyperLink* cwHyperLink2 = nullptr;  // messaging and mobile numbers, e-mail
    QPushButton* OKButton = nullptr;

public slots:
    void OKButtonClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
};

}  // namespace tavrisk::app
