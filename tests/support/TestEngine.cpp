#include "tests/support/TestEngine.h"

#include "platform/TextCodec.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>

namespace tavrisk::test {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

void SendAll(int fd, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return;
        }
        sent += static_cast<std::size_t>(n);
    }
}

}  // namespace

std::string DecodeQueryValue(const std::string& value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '+') {
            out += ' ';
        } else if (value[i] == '%' && i + 2 < value.size() && HexValue(value[i + 1]) >= 0 &&
                   HexValue(value[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(value[i + 1]) * 16 + HexValue(value[i + 2]));
            i += 2;
        } else {
            out += value[i];
        }
    }
    return out;
}

std::string QueryParameter(const std::string& target, const std::string& name) {
    const std::size_t query = target.find('?');
    if (query == std::string::npos) {
        return {};
    }
    std::size_t pos = query + 1;
    while (pos <= target.size()) {
        std::size_t end = target.find('&', pos);
        if (end == std::string::npos) {
            end = target.size();
        }
        const std::string pair = target.substr(pos, end - pos);
        if (pair.rfind(name + "=", 0) == 0) {
            return pair.substr(name.size() + 1);
        }
        pos = end + 1;
    }
    return {};
}

TestEngine::TestEngine() {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0) {
        throw std::runtime_error("TestEngine: socket failed");
    }
    const int yes = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener_, 16) != 0) {
        close(listener_);
        throw std::runtime_error("TestEngine: cannot listen on 127.0.0.1");
    }
    socklen_t length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

TestEngine::~TestEngine() {
    stopping_ = true;
    thread_.join();
    close(listener_);
}

void TestEngine::AddKeyword(const std::string& word, int pages) {
    const std::lock_guard lock(mutex_);
    const int number = static_cast<int>(keywords_.size()) + 1;
    keywords_[word] = Keyword{number, pages};
}

void TestEngine::RequireVerificationAfter(std::size_t answered) {
    const std::lock_guard lock(mutex_);
    verifyAfter_ = answered;
}

std::string TestEngine::Host() const {
    return "127.0.0.1:" + std::to_string(port_);
}

std::vector<std::string> TestEngine::Requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
}

std::vector<std::string> TestEngine::NumbersOn(int keywordNumber, int pn) {
    std::vector<std::string> numbers;
    for (int i = 1; i <= 2; ++i) {
        char text[32];
        std::snprintf(text, sizeof text, "0571-%03d%02d%02d", keywordNumber % 1000, (pn / 10) % 100, i);
        numbers.emplace_back(text);
    }
    return numbers;
}

void TestEngine::AnswerBadly(const std::string& word, BadAnswer how) {
    const std::lock_guard lock(mutex_);
    badAnswers_[word] = how;
}

std::string TestEngine::PageFor(const std::string& target) const {
    const std::string word = DecodeQueryValue(QueryParameter(target, "word"));
    const int pn = std::atoi(QueryParameter(target, "pn").c_str());
    Keyword keyword{0, 0};
    {
        const std::lock_guard lock(mutex_);
        const auto it = keywords_.find(word);
        if (it != keywords_.end()) {
            keyword = it->second;
        }
    }
    std::string body =
        "<!DOCTYPE html><html><head><meta charset=\"gbk\"><title>" + word + "</title></head><body><div id=\"results\">";
    const int page = pn / 10;
    if (keyword.number == 0 || page >= keyword.pages) {
        body += ToGbk("<p>抱歉，没有找到与您的查询相关的网页。</p>");
    } else {
        const std::vector<std::string> numbers = NumbersOn(keyword.number, pn);
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            const std::string shown = numbers[i].substr(1);  // written with the country code
            body += ToGbk("<div class=\"result\"><h3>公司 ") + std::to_string(i + 1) +
                    ToGbk("</h3><p>地址：杭州市 电话：0571-12345678 传真：") + (i == 0 ? numbers[i] : "+86-" + shown) +
                    "</p></div>";
        }
        body += "<p id=\"pages\">";
        if (page > 0) {
            body += ToGbk("<a href=\"#\">&lt;上一页</a> ");
        }
        if (page + 1 < keyword.pages) {
            body += ToGbk("<a href=\"#\">下一页&gt;</a>");
        }
        body += "</p>";
    }
    body += "</div></body></html>";
    return body;
}

void TestEngine::Serve() {
    while (!stopping_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (poll(&waiting, 1, 50) <= 0) {
            continue;
        }
        const int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0) {
            Answer(connection);
            close(connection);
        }
    }
}

void TestEngine::Answer(int connection) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        pollfd waiting{connection, POLLIN, 0};
        if (poll(&waiting, 1, 2000) <= 0) {
            return;
        }
        const ssize_t n = recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0) {
            return;
        }
        request.append(buffer, static_cast<std::size_t>(n));
    }
    const std::size_t methodEnd = request.find(' ');
    const std::size_t targetEnd = request.find(' ', methodEnd + 1);
    if (methodEnd == std::string::npos || targetEnd == std::string::npos) {
        return;
    }
    const std::string target = request.substr(methodEnd + 1, targetEnd - methodEnd - 1);
    std::string status = "200 OK";
    std::string extraHeaders;
    std::string body;
    if (target.rfind("/baidu?", 0) == 0) {
        std::optional<BadAnswer> bad;
        bool verify = false;
        {
            const std::lock_guard lock(mutex_);
            verify = requests_.size() >= verifyAfter_;
            requests_.push_back(target);
            const auto it = badAnswers_.find(DecodeQueryValue(QueryParameter(target, "word")));
            if (it != badAnswers_.end()) {
                bad = it->second;
            }
        }
        if (bad == BadAnswer::NoAnswer) {
            return;
        }
        if (bad == BadAnswer::RedirectLoop) {
            SendAll(connection,
                    "HTTP/1.1 302 Found\r\nLocation: " + target + "\r\nConnection: close\r\nContent-Length: 0\r\n\r\n");
            return;
        }
        if (bad == BadAnswer::HugePage) {
            const std::string line = ToGbk("<p>公司简介 产品 服务 联系我们 ") + std::string(100, 'x') + "</p>\n";
            body.reserve(6 * 1024 * 1024 + 256);
            while (body.size() < 6 * 1024 * 1024) {
                body += line;
            }
            body += ToGbk("<p>传真：") + BadPageNumber() + "</p>";
        } else if (bad == BadAnswer::NotGbk) {
            body = std::string("<p>\xFF\x80\xB4</p><p>\x81</p><p>\xFE\xFE\xFE</p><p>", 31) + ToGbk("传真：") +
                   BadPageNumber() + "\xB4</p>";
        } else if (verify) {
            status = "302 Found";
            extraHeaders = "Location: /wappass/captcha?from=baidu\r\n";
        } else {
            body = PageFor(target);
        }
    } else if (target.rfind("/wappass/captcha", 0) == 0) {
        body = "<!DOCTYPE html><html><head><meta charset=\"gbk\"><title>" + ToGbk("百度安全验证") +
               "</title></head><body><h1>" + ToGbk("百度安全验证") + "</h1><p>" +
               ToGbk("网络环境存在异常，请完成验证后继续访问。") + "</p></body></html>";
    } else {
        status = "404 Not Found";
        body = "not found";
    }
    SendAll(connection, "HTTP/1.1 " + status + "\r\n" + extraHeaders +
                            "Content-Type: text/html; charset=GBK\r\nConnection: close\r\nContent-Length: " +
                            std::to_string(body.size()) + "\r\n\r\n" + body);
}

}  // namespace tavrisk::test
