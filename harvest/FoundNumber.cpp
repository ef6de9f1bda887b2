#include "harvest/FoundNumber.h"

#include "platform/TextCodec.h"

#include <array>

namespace tavrisk {

namespace {

void AppendCsvField(std::string& row, std::string_view field) {
    // In GBK the second byte of a character is never ',' '"' CR or LF, so
    // a byte-wise look is safe.
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        row += field;
        return;
    }
    row += '"';
    for (const char c : field) {
        if (c == '"') {
            row += '"';
        }
        row += c;
    }
    row += '"';
}

void AppendTsvField(std::string& row, std::string_view field) {
    for (const char c : field) {
        row += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
    }
}

}  // namespace

std::string FoundTimeText(std::time_t moment) {
    if (moment == 0) {
        return {};
    }
    std::tm local{};
    localtime_r(&moment, &local);
    std::array<char, 32> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), "%Y-%m-%d %H:%M:%S", &local);
    return std::string(text.data(), length);
}

std::string CsvHeading() {
    static const std::string heading = ToGbk("传真,关键字,页偏移,网址,时间\r\n");
    return heading;
}

std::string CsvRow(std::string_view number, const NumberSource& source) {
    std::string row;
    AppendCsvField(row, number);
    row += ',';
    AppendCsvField(row, source.keyword);
    row += ',';
    if (!source.pageUrl.empty()) {
        row += std::to_string(source.pageOffset);
    }
    row += ',';
    AppendCsvField(row, source.pageUrl);
    row += ',';
    row += FoundTimeText(source.foundAt);
    row += "\r\n";
    return row;
}

std::string TsvRow(std::string_view number, const NumberSource& source) {
    std::string row;
    AppendTsvField(row, number);
    row += '\t';
    AppendTsvField(row, source.keyword);
    row += '\t';
    if (!source.pageUrl.empty()) {
        row += std::to_string(source.pageOffset);
    }
    row += '\t';
    AppendTsvField(row, source.pageUrl);
    row += '\t';
    row += FoundTimeText(source.foundAt);
    row += '\n';
    return row;
}

}  // namespace tavrisk
