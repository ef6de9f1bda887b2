#include "app/about/AboutBox.h"

#include "app/Fonts.h"

#include "app/about/HyperLink.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>
#include <qdrawutil.h>

// The pictures are compiled into the app library; a static library has to
// register them itself before the first use.
static void RegisterPictures() {
    Q_INIT_RESOURCE(resources);
}

namespace tavrisk::app {
namespace {

constexpr int kClientWidth = 278;
constexpr int kClientHeight = 193;

// A panel edged by a lowered outer and a raised inner bevel, one pixel each.
class BevelPanel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        qDrawShadePanel(&painter, rect(), palette(), true, 1);
        qDrawShadePanel(&painter, rect().adjusted(1, 1, -1, -1), palette(), false, 1);
    }
};

QPixmap Picture(const QString& resource, QSize size, qreal pixelRatio) {
    QPixmap pixmap(size * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

}  // namespace

TForm2::TForm2(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint) {
    RegisterPictures();
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("关于本软件"));
    setFont(SongTi(12));
    setFixedSize(kClientWidth, kClientHeight);
    const qreal ratio = devicePixelRatioF();

    Panel1 = new BevelPanel(this);
    Panel1->setGeometry(0, 0, kClientWidth, kClientHeight);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setAttribute(Qt::WA_TranslucentBackground);
    ProgramIcon->setPixmap(Picture(QStringLiteral(":/about/logo.svg"), QSize(66, 46), ratio));
    ProgramIcon->setGeometry(20, 8, 66, 46);

    ProductName = new QLabel(QStringLiteral("Tavrisk"), Panel1);
    QFont bold = SongTi(12);
    bold.setBold(true);
    ProductName->setFont(bold);
    SetTextColour(ProductName, Qt::blue);
    ProductName->move(112, 16);
    ProductName->adjustSize();

    Version = new QLabel(QStringLiteral("Ver 2.9"), Panel1);
    QFont arial;
    arial.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    arial.setPixelSize(13);
    Version->setFont(arial);
    SetTextColour(Version, Qt::blue);
    Version->move(216, 14);
    Version->adjustSize();

    Image1 = new QLabel(Panel1);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setPixmap(Picture(QStringLiteral(":/about/credit.svg"), QSize(188, 18), ratio));
    Image1->setGeometry(20, 64, 188, 18);

    cwHyperLink1 = new HyperLink(QStringLiteral("http://www.tavrisk.example/"),
                                 QUrl(QStringLiteral("http://www.tavrisk.example/")), Panel1);
    cwHyperLink1->move(16, 88);
    cwHyperLink3 = new HyperLink(QStringLiteral("http://soft.tavrisk.example/"),
                                 QUrl(QStringLiteral("http://soft.tavrisk.example/")), Panel1);
    cwHyperLink3->move(16, 108);
    cwHyperLink2 = new HyperLink(QStringLiteral("QQ:800100200  手机:13900000000"),
                                 QUrl(QStringLiteral("mailto:support@tavrisk.example")), Panel1);
    cwHyperLink2->move(16, 130);

    OKButton = new QPushButton(QStringLiteral("确 定"), Panel1);
    OKButton->setFont(SongTi(12));
    OKButton->setGeometry(199, 152, 50, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TForm2::OKButtonClick);
}

void TForm2::OKButtonClick() {
    accept();
}

void TForm2::keyPressEvent(QKeyEvent* event) {
    // Esc is not a way out of this box: only Enter, the button and the close box are.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm2::showEvent(QShowEvent* event) {
    // Centred on the screen, wherever the main window is (it may be hidden).
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (parentWidget() != nullptr && parentWidget()->screen() != nullptr) {
        screen = parentWidget()->screen();
    }
    if (screen != nullptr) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

}  // namespace tavrisk::app
