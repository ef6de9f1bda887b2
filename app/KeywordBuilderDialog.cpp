#include "app/KeywordBuilderDialog.h"

#include "app/Fonts.h"

#include "app/ErrorGuard.h"
#include "app/Texts.h"
#include "files/KeywordBuilder.h"
#include "platform/AtomicFile.h"

#include <QFileDialog>
#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextDocument>
#include <QToolButton>

namespace tavrisk::app {

namespace {

// Client area of the 318 x 272 outer size, less the frame and title bar.
constexpr int kClientWidth = 310;
constexpr int kClientHeight = 245;

QString ProposedFileName() {
    return QStringLiteral("搜索关键词列表文件.txt");
}

// The small pictures of the two buttons; the disabled state is derived by Qt.
constexpr int kGlyph = 16;

QPixmap BlankGlyph() {
    QPixmap pixmap(kGlyph, kGlyph);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A page with lines of text and a green plus: a new list.
QIcon CreateGlyph() {
    QPixmap pixmap = BlankGlyph();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath page;
    page.moveTo(2.5, 1.5);
    page.lineTo(9.5, 1.5);
    page.lineTo(12.5, 4.5);
    page.lineTo(12.5, 14.5);
    page.lineTo(2.5, 14.5);
    page.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setPen(QPen(QColor(70, 110, 180), 1));
    for (int y = 5; y <= 11; y += 2) {
        p.drawLine(QPointF(4.5, y + 0.5), QPointF(10.5, y + 0.5));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 150, 40));
    p.drawRect(QRectF(11, 8, 3, 8));
    p.drawRect(QRectF(8.5, 10.5, 8, 3));
    return QIcon(pixmap);
}

// A diskette: save.
QIcon SaveGlyph() {
    QPixmap pixmap = BlankGlyph();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 40, 90), 1));
    p.setBrush(QColor(50, 90, 170));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 2, 8, 5));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(4, 10, 8, 4.5));
    p.setBrush(QColor(50, 90, 170));
    p.drawRect(QRectF(9, 11, 2, 2.5));
    return QIcon(pixmap);
}

QLabel* MakeLabel(QWidget* parent, const QString& text, const QRect& place) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    return label;
}

// Word wrap at the area's width, no scroll bars, Enter breaks the line and Tab
// moves on to the next control.
QPlainTextEdit* MakeMemo(QWidget* parent, const QRect& place) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setGeometry(place);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setTabChangesFocus(true);
    // A narrow inner margin, so the small areas show as many lines as they can.
    memo->document()->setDocumentMargin(2);
    return memo;
}

QToolButton* MakeFlatButton(QWidget* parent, const QString& text, const QIcon& glyph, const QRect& place) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setIcon(glyph);
    button->setIconSize(QSize(kGlyph, kGlyph));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(place);
    return button;
}

std::optional<QString> ExecuteFileDialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace

std::string MemoText(const QPlainTextEdit& memo) {
    // The widget separates lines by LF alone; the system's text has CR LF.
    const std::string lf = Gbk(memo.toPlainText());
    std::string text;
    text.reserve(lf.size() + lf.size() / 8);
    for (const char c : lf) {
        if (c == '\n') {
            text.push_back('\r');
        }
        text.push_back(c);
    }
    return text;
}

void SetMemoText(QPlainTextEdit& memo, std::string_view gbk) {
    QString text = Qs(gbk);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    memo.setPlainText(text);
}

TForm3::TForm3(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      ExecuteSaveDialog(ExecuteFileDialog) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("创建关键词列表文件"));
    setFont(SongTi());
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    setPalette(colours);
    resize(kClientWidth, kClientHeight);

    // Fixed places: resizing the dialog moves and stretches nothing.
    Label1 = MakeLabel(this, QStringLiteral("产品分类词语"), QRect(40, 8, 72, 12));
    Label2 = MakeLabel(this, QStringLiteral("传真搜索标志"), QRect(200, 8, 72, 12));
    Memo1 = MakeMemo(this, QRect(8, 24, 137, 65));
    Memo1->setPlainText(QStringLiteral("广州 服装\n广州 服饰\n广州 制衣\n广州 时装"));
    Memo2 = MakeMemo(this, QRect(168, 24, 137, 65));
    Memo2->setPlainText(QStringLiteral("传真：\nFAX："));
    Label3 = MakeLabel(this, QStringLiteral("百度搜索关键词列表文件内容"), QRect(72, 104, 156, 12));
    Memo3 = MakeMemo(this, QRect(8, 120, 297, 73));
    SpeedButton2 = MakeFlatButton(this, QStringLiteral("创建"), CreateGlyph(), QRect(72, 204, 65, 25));
    SpeedButton1 = MakeFlatButton(this, QStringLiteral("保存"), SaveGlyph(), QRect(176, 204, 65, 25));
    setTabOrder(Memo1, Memo2);
    setTabOrder(Memo2, Memo3);

    SaveDialog1 = new QFileDialog(this, QStringLiteral("生成搜索关键词列表文件"));
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog1->setFileMode(QFileDialog::AnyFile);
    SaveDialog1->setNameFilters({QStringLiteral("Text files(*.txt)"), QStringLiteral("All files(*.*)")});
    SaveDialog1->selectNameFilter(QStringLiteral("Text files(*.txt)"));
    SaveDialog1->setDefaultSuffix(QStringLiteral("txt"));
    SaveDialog1->setOption(QFileDialog::DontConfirmOverwrite, false);

    connect(SpeedButton2, &QToolButton::clicked, this, &TForm3::SpeedButton2Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm3::SpeedButton1Click);
}

TForm3::~TForm3() = default;

void TForm3::setVisible(bool visible) {
    // Centred on the desktop at every showing.
    if (visible && !isVisible()) {
        if (const QScreen* shown = screen() != nullptr ? screen() : QGuiApplication::primaryScreen()) {
            const QRect area = shown->availableGeometry();
            move(area.center() - QPoint(width() / 2, height() / 2));
        }
    }
    QDialog::setVisible(visible);
}

void TForm3::keyPressEvent(QKeyEvent* event) {
    // No Cancel button: the dialog closes by its close box or Alt+F4 only, so
    // Esc pressed in a text area does not take the dialog away.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm3::SpeedButton2Click() {
    Guarded(this, [&] {
        // Each typed line is taken whole, however the area wraps it.
        SetMemoText(*Memo3, CombineKeywords(TextLines(MemoText(*Memo1)), TextLines(MemoText(*Memo2))));
    });
}

void TForm3::SpeedButton1Click() {
    Guarded(this, [&] {
        // The program's folder and the usual name at every save, whatever was chosen before.
        SaveDialog1->setDirectory(PathToQs(ExeDir));
        SaveDialog1->selectFile(ProposedFileName());
        const std::optional<QString> chosen = ExecuteSaveDialog(*SaveDialog1);
        if (!chosen) {
            return;
        }
        // The text exactly as the area holds it; the old file stays whole
        // until the new one is complete.
        WriteFileAtomically(QsToPath(*chosen), MemoText(*Memo3));
    });
}

}  // namespace tavrisk::app
