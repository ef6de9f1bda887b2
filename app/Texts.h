#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace tavrisk::app {

// GBK bytes of the system -> what a widget shows, and back.
QString Qs(std::string_view gbk);
std::string Gbk(const QString& text);
// A file-system path (UTF-8 bytes) <-> QString.
QString PathToQs(std::string_view path);
std::string QsToPath(const QString& path);

// The application title and the maker's texts.
QString AppTitle();        // 『Tavrisk』 V2.9
QString WindowCaption();   // title — 【www.tavrisk.example QQ:800100200】
QString ContactPanelText();  // 【QQ:800100200】

}  // namespace tavrisk::app
