#include "harvest/RunStandIns.h"

#include "platform/TextCodec.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cstddef>

namespace tavrisk::standin {

namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    std::size_t pos = 0;
    while ((pos = text.find(from, pos)) != std::string::npos) {
        text.replace(pos, from.size(), to);
        pos += to.size();
    }
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

bool IsRunByte(char c) {
    return std::string_view("0123456789(-+)").find(c) != std::string_view::npos;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

}  // namespace

std::string BuildQueryBase(const std::string& host, const std::string& line) {
    std::size_t begin = 0;
    std::size_t end = line.size();
    while (begin < end && static_cast<unsigned char>(line[begin]) <= 0x20) {
        ++begin;
    }
    while (end > begin && static_cast<unsigned char>(line[end - 1]) <= 0x20) {
        --end;
    }
    static const char* const kHex = "0123456789ABCDEF";
    std::string word;
    for (std::size_t i = begin; i < end; ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c == ' ') {
            word += '+';
        } else if (std::isalnum(c) != 0 && c < 0x80) {
            word += static_cast<char>(c);
        } else {
            word += '%';
            word += kHex[c >> 4];
            word += kHex[c & 0x0F];
        }
    }
    return "http://" + host + "/baidu?lm=0&si=&rn=10&ie=gb2312&ct=0&word=" + word + "&pn=";
}

std::string BuildPageUrl(const std::string& queryBase, int pageOffset) {
    return queryBase + std::to_string(pageOffset) + "&cl=3";
}

std::vector<std::string> ExtractNumbers(const StringList& lines) {
    static const std::string kLabel = ToGbk("传真");
    static const std::string kWideColon = ToGbk("：");
    std::vector<std::string> numbers;
    for (const std::string& original : lines.Items()) {
        std::string line = original;
        ReplaceAll(line, kLabel + kWideColon, "FAX:");
        ReplaceAll(line, kLabel + ":", "FAX:");
        ReplaceAll(line, kLabel + " ", "FAX:");
        std::string upper = Upper(line);
        ReplaceAll(upper, "FAX" + kWideColon, "FAX:");
        ReplaceAll(upper, "FAX ", "FAX:");
        ReplaceAll(upper, " ", "");
        const std::size_t marker = upper.find("FAX:");
        if (marker == std::string::npos) {
            continue;
        }
        std::string run;
        for (std::size_t i = marker + 4; i < upper.size() && IsRunByte(upper[i]); ++i) {
            run += upper[i];
        }
        ReplaceAll(run, "(", "-");
        ReplaceAll(run, ")", "-");
        ReplaceAll(run, "+", "");
        ReplaceAll(run, "--", "-");
        ReplaceAll(run, "--", "-");
        for (const char* prefix : {"-", "0086-", "0086", "086-", "086", "86-", "86"}) {
            if (StartsWith(run, prefix)) {
                run.erase(0, std::string_view(prefix).size());
            }
        }
        if (!StartsWith(run, "0")) {
            run.insert(0, "0");
        }
        if (run.back() == '-') {
            run.pop_back();
        }
        if (run.size() <= 10 || run.size() >= 30) {
            continue;
        }
        run.resize(13 < run.size() ? 13 : run.size());
        if (run.back() == '-') {
            run.pop_back();
        }
        numbers.push_back(run);
    }
    return numbers;
}

std::string GetLocalAddress() {
    std::array<char, 64> name{};
    if (gethostname(name.data(), name.size()) != 0) {
        return {};
    }
    name.back() = '\0';
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.data(), nullptr, &hints, &found) != 0) {
        return {};
    }
    std::string result;
    for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
        std::array<char, INET_ADDRSTRLEN> text{};
        const auto* in = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
        if (inet_ntop(AF_INET, &in->sin_addr, text.data(), text.size()) != nullptr) {
            result = text.data();
        }
    }
    freeaddrinfo(found);
    return result;
}

}  // namespace tavrisk::standin
