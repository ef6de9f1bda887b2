#include "app/about/HyperLink.h"

#include "app/DesktopShell.h"

#include <QMouseEvent>

#include <utility>

namespace tavrisk::app {

HyperLink::HyperLink(const QString& caption, QUrl target, QWidget* parent)
    : QLabel(caption, parent), target_(std::move(target)) {
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette blue = palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    setPalette(blue);
    setCursor(Qt::PointingHandCursor);
    setTextFormat(Qt::PlainText);
    adjustSize();
}

void HyperLink::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        OpenInShell(target_);
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

}  // namespace tavrisk::app
