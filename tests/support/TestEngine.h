#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tavrisk::test {

// A small search engine for tests: an HTTP server on 127.0.0.1, on a free
// port, answering GET /baidu?...&word=W&pn=N with a GBK result page. Each
// registered keyword has a number of result pages; every page shows two
// results whose snippets carry a fax line, and the link "下一页>" while the
// keyword has a further page. An unknown word gets a page without results.
// Every request for /baidu is recorded; other paths get 404.
class TestEngine {
public:
    TestEngine();
    ~TestEngine();
    TestEngine(const TestEngine&) = delete;
    TestEngine& operator=(const TestEngine&) = delete;

    // word: the trimmed keyword in GBK, as it arrives decoded from the URL.
    void AddKeyword(const std::string& word, int pages);

    // Ways of answering badly, for the requests of one word.
    enum class BadAnswer {
        EmptyPage,     // 200 with an empty body
        HugePage,      // 200 with about 6 MB of text, a fax line at its end
        NotGbk,        // bytes that are not GBK around a fax line
        RedirectLoop,  // 302 to the same address, again and again
        NoAnswer,      // the connection is closed without a reply
    };
    void AnswerBadly(const std::string& word, BadAnswer how);
    // The fax number that the huge and the not-GBK pages carry.
    static std::string BadPageNumber() { return "0571-7654321"; }

    // From the request after the first `answered` ones on, the engine asks for
    // verification: every /baidu request is redirected to /wappass/captcha,
    // which shows the verification page ("百度安全验证").
    void RequireVerificationAfter(std::size_t answered);

    [[nodiscard]] int Port() const { return port_; }
    // "127.0.0.1:PORT", the host part of the query URL.
    [[nodiscard]] std::string Host() const;
    // Path and query of every /baidu request, in the order received.
    [[nodiscard]] std::vector<std::string> Requests() const;

    // The fax numbers that the page of the n-th registered keyword (1-based)
    // at offset pn shows, in page order.
    static std::vector<std::string> NumbersOn(int keywordNumber, int pn);
    // The page body for a request target (also used without a server).
    [[nodiscard]] std::string PageFor(const std::string& target) const;

private:
    void Serve();
    void Answer(int connection);

    struct Keyword {
        int number;
        int pages;
    };
    mutable std::mutex mutex_;
    std::map<std::string, Keyword> keywords_;
    std::map<std::string, BadAnswer> badAnswers_;
    std::vector<std::string> requests_;
    std::size_t verifyAfter_ = SIZE_MAX;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

// Percent-decoding of a query value ("+" is a space), giving the raw bytes.
std::string DecodeQueryValue(const std::string& value);
// The value of a parameter in a request target, or empty.
std::string QueryParameter(const std::string& target, const std::string& name);

}  // namespace tavrisk::test
