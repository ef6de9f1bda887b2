#include "harvest/SearchRun.h"

#include "harvest/ConnectivityCheck.h"
#include "harvest/PageLines.h"
#include "harvest/QueryUrl.h"
#include "harvest/VerificationPage.h"
#include "platform/Error.h"
#include "platform/NumberConversion.h"
#include "platform/TextCodec.h"

#include <exception>
#include <utility>

namespace tavrisk {

namespace {

struct RunTexts {
    std::string emptyList = ToGbk("请先导入关键字列表文件");
    std::string promptTitle = ToGbk("搜索参数设置");
    std::string prompt = ToGbk("请输入关键字搜索断点位置        ");
    std::string beyondEnd = ToGbk("搜索断点位置超过关键字文件行数！");
    std::string starting = ToGbk("启动搜索请稍候...");
    std::string searching = ToGbk("正在搜索...");
    std::string stopping = ToGbk("终止搜索...");
    std::string finished = ToGbk("搜索已经结束！");
    std::string nextPage = ToGbk("下一页>");
};

const RunTexts& Texts() {
    static const RunTexts texts;
    return texts;
}

constexpr int kStatusKeyword = 3;
constexpr int kStatusFound = 5;
constexpr int kStatusProgress = 6;
constexpr int kMinInterval = 1;
constexpr int kMaxInterval = 1000;
constexpr int kMinPages = 1;
constexpr int kMaxPages = 76;

int Clamp(int value, int low, int high) {
    return value < low ? low : (value > high ? high : value);
}

}  // namespace

const std::string& NextPageMarker() {
    return Texts().nextPage;
}

SearchRun::SearchRun(RunWindow& window, PageSource& view, StepTimer& timer, RunServices services, RunFields fields)
    : window_(window), view_(view), timer_(timer), services_(std::move(services)), fields_(fields) {}

void SearchRun::N2Click() {
    if (!CheckConnectivity(services_.GetLocalAddress(),
                           [this](const std::string& text) { window_.InformationBox(text); })) {
        return;
    }
    if (fields_.KeywordList.Count() == 0) {
        throw SystemError(Texts().emptyList);
    }
    // A modal box: a tick still pending from a stopped run may run while it
    // is open, and finishes that run before this one is set up.
    const std::optional<std::string> answer =
        window_.InputBox(Texts().promptTitle, Texts().prompt, std::to_string(fields_.NextKeywordIndex));
    if (!answer) {
        return;
    }
    int& next = fields_.NextKeywordIndex;
    next = StrToInt(*answer);
    if (next < 0) {
        next = 0;
    }
    if (next != 0 && static_cast<std::size_t>(next) >= fields_.KeywordList.Count()) {
        window_.PlainMessageBox(Texts().beyondEnd);
        next = 0;
    }
    window_.RepaintNow();
    window_.RunStarting();
    window_.ClearResults();
    StartKeyword();
    PageOffset = 0;
    StopRequested = false;
    MorePages = true;
    fields_.FoundCount = 0;
    fields_.PageLines.Clear();
    window_.SetCommandsEnabled(false, true, false);
    // Left as it is when a stopped run's tick is still pending: the timer then
    // keeps that schedule if its interval already is 8000 ms, and otherwise
    // counts afresh from here.
    timer_.SetInterval(kFirstTickMs);
    ElapsedSeconds = 0;
    window_.SetPanelText(kStatusFound, std::to_string(fields_.FoundCount));
    window_.SetPanelText(kStatusProgress, Texts().starting);
    try {
        Button1Click();
    } catch (const std::exception&) {
        // The first request's failure is ignored; the run then halts quietly.
    }
}

void SearchRun::Button1Click() {
    RequestPage();
}

void SearchRun::Timer1Timer() {
    timer_.SetEnabled(false);
    // A value still being typed may lie outside the range; the run keeps to it.
    const int interval = Clamp(window_.IntervalSeconds(), kMinInterval, kMaxInterval);
    ElapsedSeconds += interval;
    if (ElapsedSeconds >= kAutoSaveSeconds) {
        ElapsedSeconds = 0;
        if (window_.AutoSaveChecked()) {
            services_.SaveProgress();
        }
    }
    timer_.SetInterval(interval * 1000);
    window_.SetPanelText(kStatusProgress, Texts().searching);
    HarvestPage();
}

void SearchRun::HarvestPage() {
    const std::string text = view_.PageText();
    if (IsVerificationPage(text, view_.Location())) {
        StopForVerification();
        return;
    }
    // The text control takes the text up to its first 0x00 byte.
    std::vector<std::string> lines = CutPageLines(std::string_view(text).substr(0, text.find('\0')));
    MorePages = false;
    for (const std::string& line : lines) {
        if (line.find(Texts().nextPage) != std::string::npos) {
            MorePages = true;
            break;
        }
    }
    const int pageLimit = Clamp(window_.PageLimit(), kMinPages, kMaxPages);
    if (PageOffset >= pageLimit * kPageStep) {
        MorePages = false;
    }
    fields_.PageLines.Clear();
    for (std::string& line : lines) {
        fields_.PageLines.Add(std::move(line));
    }
    ExtractFaxNumbers();
    if (MorePages) {
        if (StopRequested) {
            BitBtn1Click();
        } else {
            RequestPage();
        }
        return;
    }
    PageOffset = 0;
    if (fields_.NextKeywordIndex < 0 ||
        static_cast<std::size_t>(fields_.NextKeywordIndex) >= fields_.KeywordList.Count() || StopRequested) {
        BitBtn1Click();
    } else {
        StartKeyword();
        RequestPage();
    }
}

void SearchRun::BitBtn1Click() {
    timer_.SetEnabled(false);
    services_.SaveProgress();
    window_.SetPanelText(kStatusProgress, Texts().finished);
    window_.RepaintNow();
    window_.SetCommandsEnabled(true, false, true);
}

void SearchRun::StopForVerification() {
    timer_.SetEnabled(false);
    // Written while NextKeywordIndex still counts the interrupted keyword:
    // the settings file keeps the index of that keyword for the next session.
    services_.SaveProgress();
    if (fields_.NextKeywordIndex > 0) {
        --fields_.NextKeywordIndex;
    }
    window_.SetPanelText(kStatusProgress, VerificationPanelText());
    window_.RepaintNow();
    window_.SetCommandsEnabled(true, false, true);
    window_.InformationBox(VerificationMessage());
}

void SearchRun::N3Click() {
    StopRequested = true;
    window_.SetPanelText(kStatusProgress, Texts().stopping);
    window_.SetCommandsEnabled(true, false, true);
}

namespace {

// Appends to the window's result list and counts each number as it comes.
class ResultSink : public NumberSink {
public:
    ResultSink(RunWindow& window, int& foundCount, NumberSource source)
        : window_(window), foundCount_(foundCount), source_(std::move(source)) {}
    void AppendNumber(const std::string& number) override {
        window_.AppendResult(number, source_);
        ++foundCount_;
        window_.SetPanelText(kStatusFound, std::to_string(foundCount_));
    }

private:
    RunWindow& window_;
    int& foundCount_;
    NumberSource source_;
};

// Keeps the result list's update bracket closed on every way out.
class ResultBracket {
public:
    explicit ResultBracket(RunWindow& window) : window_(window) { window_.BeginResults(); }
    ~ResultBracket() { window_.EndResults(); }
    ResultBracket(const ResultBracket&) = delete;
    ResultBracket& operator=(const ResultBracket&) = delete;

private:
    RunWindow& window_;
};

}  // namespace

void SearchRun::ExtractFaxNumbers() {
    ResultBracket bracket(window_);
    // The page read is the one requested last (or what the view still shows
    // when that request failed).
    ResultSink sink(window_, fields_.FoundCount, NumberSource{CurrentKeyword, PageOffset - kPageStep, CurrentUrl, 0});
    // The de-duplication box is read at every new number.
    tavrisk::ExtractFaxNumbers(fields_.PageLines.Items(), fields_.Seen,
                               RecordSwitch([this] { return window_.DeduplicateChecked(); }), sink);
}

void SearchRun::StartKeyword() {
    const std::string& line = fields_.KeywordList.Item(static_cast<std::size_t>(fields_.NextKeywordIndex));
    ++fields_.NextKeywordIndex;
    CurrentKeyword = line;
    QueryBase = BuildQueryBase(line, fields_.SearchHost);
}

void SearchRun::RequestPage() {
    CurrentUrl = BuildPageUrl(QueryBase, PageOffset);
    PageOffset += kPageStep;
    window_.SetPanelText(kStatusKeyword, std::to_string(fields_.NextKeywordIndex));
    try {
        view_.Navigate(CurrentUrl);
    } catch (const std::exception&) {
        // A failed load request is ignored: the next tick reads whatever the
        // view shows then, and the run moves on.
    }
    timer_.SetEnabled(true);
}

}  // namespace tavrisk
