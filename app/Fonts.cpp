#include "app/Fonts.h"

#include <QStringList>

namespace tavrisk::app {

QFont SongTi(int pixelHeight) {
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("WenQuanYi Zen Hei"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(pixelHeight);
    return font;
}

}  // namespace tavrisk::app
