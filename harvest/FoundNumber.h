#pragma once

#include <ctime>
#include <span>
#include <string>
#include <string_view>

namespace tavrisk {

// Where a number of the result list came from: the keyword line whose page
// held it, that page's offset (the pn of its URL) and URL, and the moment it
// was found. A number without a known source has an empty keyword and URL and
// a time of 0.
struct NumberSource {
    std::string keyword;  // the keyword line as imported (GBK)
    int pageOffset = 0;
    std::string pageUrl;
    std::time_t foundAt = 0;
};

// "YYYY-MM-DD HH:MM:SS" in local time; empty for 0.
std::string FoundTimeText(std::time_t moment);

// The heading and one row of the results as comma-separated values (GBK): the
// number, the keyword, the page offset, the page URL and the time found, each
// row ended by CR LF. A field holding a comma, a quote or a line break is
// quoted, its quotes doubled.
std::string CsvHeading();
std::string CsvRow(std::string_view number, const NumberSource& source);

// The same columns separated by TABs and ended by LF, for a program reading
// them; a TAB, CR or LF inside a field becomes a space.
std::string TsvRow(std::string_view number, const NumberSource& source);

}  // namespace tavrisk
