#include "app/Icons.h"

#include <QApplication>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

// The resources live in a static library: nothing refers to their object file,
// so they are registered by hand before the first use.
static void RegisterResources() {
    Q_INIT_RESOURCE(resources);
}

namespace tavrisk::app {
namespace {

void EnsureResources() {
    static const bool done = [] {
        RegisterResources();
        return true;
    }();
    (void)done;
}

}  // namespace

QIcon ProgramIcon() {
    EnsureResources();
    return QIcon(QStringLiteral(":/telephone.svg"));
}

QIcon ButtonIcon(const QString& name) {
    EnsureResources();
    const QString path = QStringLiteral(":/buttons/%1.svg").arg(name);
    QIcon icon;
    for (int size : {16, 32}) {
        const QPixmap normal = QIcon(path).pixmap(size, size);
        icon.addPixmap(normal, QIcon::Normal);
        // The greyed variant, made the way the style greys any picture.
        QStyleOption option;
        option.palette = QApplication::palette();
        icon.addPixmap(QApplication::style()->generatedIconPixmap(QIcon::Disabled, normal, &option), QIcon::Disabled);
    }
    return icon;
}

}  // namespace tavrisk::app
