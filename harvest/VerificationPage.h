#pragma once

#include <string>
#include <string_view>

namespace tavrisk {

// Whether the page shown is the engine's verification page, which it puts in
// place of the results when it suspects automated use: its text (GBK) holds
// "百度安全验证" or "请完成验证", or the address it was taken to has
// "wappass" or "captcha" (any letter case) in its host or path. The query
// part is not looked at, where a keyword may hold those words.
bool IsVerificationPage(std::string_view pageText, std::string_view location);

// Status panel 6 while a run waits for the verification (GBK).
const std::string& VerificationPanelText();
// What the information box tells the user (GBK).
const std::string& VerificationMessage();

}  // namespace tavrisk
