#pragma once

// Small versions of the query URL, the fax number extraction and the local
// address look-up, used by the search run's program pieces until the full
// units are plugged in. They cover the common forms only.

#include "platform/StringList.h"

#include <string>
#include <vector>

namespace tavrisk::standin {

// "http://" host "/baidu?...&word=" encoded trimmed line "&pn=".
std::string BuildQueryBase(const std::string& host, const std::string& line);
std::string BuildPageUrl(const std::string& queryBase, int pageOffset);

// Numbers after the labels 传真：/传真:/传真 and FAX:/FAX：/FAX (any case), in
// the domestic form (leading 0, no country code, at most 13 bytes).
std::vector<std::string> ExtractNumbers(const StringList& lines);

// Text of the last IPv4 address of this computer's host name, or empty.
std::string GetLocalAddress();

}  // namespace tavrisk::standin
