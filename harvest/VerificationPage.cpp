#include "harvest/VerificationPage.h"

#include "platform/TextCodec.h"

#include <algorithm>
#include <cctype>

namespace tavrisk {

namespace {

bool ContainsNoCase(std::string_view text, std::string_view word) {
    const auto it = std::search(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
    return it != text.end();
}

// The host and path of an address: what lies after "scheme://" up to the
// query or the fragment.
std::string_view HostAndPath(std::string_view location) {
    if (const std::size_t scheme = location.find("://"); scheme != std::string_view::npos) {
        location.remove_prefix(scheme + 3);
    }
    return location.substr(0, location.find_first_of("?#"));
}

}  // namespace

bool IsVerificationPage(std::string_view pageText, std::string_view location) {
    static const std::string kSecurityCheck = ToGbk("百度安全验证");
    static const std::string kPleaseVerify = ToGbk("请完成验证");
    if (pageText.find(kSecurityCheck) != std::string_view::npos ||
        pageText.find(kPleaseVerify) != std::string_view::npos) {
        return true;
    }
    const std::string_view where = HostAndPath(location);
    return ContainsNoCase(where, "wappass") || ContainsNoCase(where, "captcha");
}

const std::string& VerificationPanelText() {
    static const std::string text = ToGbk("搜索引擎要求验证，搜索已中断！");
    return text;
}

const std::string& VerificationMessage() {
    static const std::string text = ToGbk(
        "搜索引擎要求完成安全验证，搜索已中断。\r\n请在显示的网页中完成验证，然后重新开始搜索：搜索将从中断的关键字开始"
        "。");
    return text;
}

}  // namespace tavrisk
