#include "app/StatusBar.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QSizeGrip>

namespace tavrisk::app {

StatusBar::StatusBar(QWidget* parent) : QFrame(parent) {
    // The bar keeps the system's own font, not the window's.
    const QFont system = QApplication::font();
    QFont own(system.family());
    own.setPointSizeF(system.pointSizeF());
    setFont(own);
    setFixedHeight(kHeight);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 1, 0, 0);
    layout->setSpacing(2);
    for (int i = 0; i < kPanelCount; ++i) {
        auto* panel = new QLabel(this);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setLineWidth(1);
        panel->setTextFormat(Qt::PlainText);
        panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        panel->setIndent(2);
        if (i < kPanelCount - 1) {
            panel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
            panel->setFixedWidth(kFixedWidths[static_cast<std::size_t>(i)]);
            layout->addWidget(panel);
        } else {
            // A long message is cut at the bar's end rather than widening the window.
            panel->setMinimumWidth(0);
            panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            layout->addWidget(panel, 1);
        }
        panels_[static_cast<std::size_t>(i)] = panel;
    }
    auto* grip = new QSizeGrip(this);
    layout->addWidget(grip, 0, Qt::AlignBottom | Qt::AlignRight);
}

QLabel* StatusBar::Panel(int index) const {
    if (index < 0 || index >= kPanelCount) {
        return nullptr;
    }
    return panels_[static_cast<std::size_t>(index)];
}

void StatusBar::SetPanelText(int index, const QString& text) {
    if (QLabel* panel = Panel(index)) {
        panel->setText(text);
    }
}

QString StatusBar::PanelText(int index) const {
    const QLabel* panel = Panel(index);
    return panel ? panel->text() : QString();
}

}  // namespace tavrisk::app
