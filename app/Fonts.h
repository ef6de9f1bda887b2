#pragma once

#include <QFont>

namespace tavrisk::app {

// The program's Chinese text face: 宋体 where it exists, then the CJK fonts
// Debian ships (WenQuanYi Zen Hei, Noto Sans CJK SC); 12 pixels by default.
QFont SongTi(int pixelHeight = 12);

}  // namespace tavrisk::app
