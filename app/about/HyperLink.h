#pragma once

#include <QLabel>
#include <QUrl>

namespace tavrisk::app {

// A link label: its caption underlined in blue, a pointing hand over it, and
// a left press opens its target with the desktop's program for it.
class HyperLink : public QLabel {
    Q_OBJECT

public:
    HyperLink(const QString& caption, QUrl target, QWidget* parent = nullptr);

    [[nodiscard]] const QUrl& Target() const { return target_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QUrl target_;
};

}  // namespace tavrisk::app
