#include "app/Texts.h"

#include "platform/TextCodec.h"

namespace tavrisk::app {

QString Qs(std::string_view gbk) { return QString::fromStdString(FromGbk(gbk)); }

std::string Gbk(const QString& text) { return ToGbk(text.toStdString()); }

QString PathToQs(std::string_view path) {
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

std::string QsToPath(const QString& path) { return path.toStdString(); }

QString AppTitle() { return QStringLiteral("『Tavrisk』 V2.9"); }

QString WindowCaption() {
    return AppTitle() + QStringLiteral(" \u2014 【www.tavrisk.example QQ:800100200】");
}

QString ContactPanelText() { return QStringLiteral("【QQ:800100200】"); }

}  // namespace tavrisk::app
