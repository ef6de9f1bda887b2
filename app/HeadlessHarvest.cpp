#include "app/HeadlessHarvest.h"

#include "files/KeywordImport.h"
#include "harvest/VerificationPage.h"
#include "platform/Error.h"
#include "platform/FileError.h"
#include "platform/TextCodec.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <sstream>

namespace tavrisk::app {

namespace {

bool ParseWhole(const std::string& text, int low, int high, int& value) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    int result = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        result = result * 10 + (c - '0');
    }
    if (result < low || result > high) {
        return false;
    }
    value = result;
    return true;
}

// The Import command's steps for the file named on the command line.
class HarvestImport : public KeywordImportWindow {
public:
    HarvestImport(std::string path, std::ostream& err) : path_(std::move(path)), err_(err) {}
    std::optional<std::string> ChooseKeywordFile(const std::string& /*folder*/) override { return path_; }
    void ShowKeywordFilePath(const std::string& /*path*/) override {}
    void SetLineCountText(const std::string& text) override { err_ << text << " keywords in " << path_ << std::endl; }
    void ClearResultList() override {}

private:
    std::string path_;
    std::ostream& err_;
};

}  // namespace

std::string HarvestUsage() {
    return "Usage: tavrisk-harvest [--host HOST] [--start N] [--interval SECONDS] [--pages N]\n"
           "                       [--dedupe] [--tsv] [-o FILE] KEYWORD_FILE\n"
           "\n"
           "Runs a fax number search over the keywords of KEYWORD_FILE (GBK text, one\n"
           "query per line) without a window, loading the result pages in an offscreen\n"
           "web view. Every number found is printed to standard output at once, one per\n"
           "line; progress and messages go to standard error.\n"
           "\n"
           "  --host HOST          search engine host, optionally with :PORT (default www.baidu.com)\n"
           "  --start N            index of the first keyword, counted from 0 (default 0); a\n"
           "                       negative N starts at the first keyword, as does an N at or\n"
           "                       beyond the end of the list (with a message)\n"
           "  --interval SECONDS   seconds between page requests, 1 to 1000 (default 5); the\n"
           "                       first page is read 8 seconds after it was requested\n"
           "  --pages N            result pages per keyword at most, 1 to 76 (default 76)\n"
           "  --dedupe             show a number only the first time it is found\n"
           "  --tsv                print each number with where it was found, separated by\n"
           "                       TABs (UTF-8): number, keyword, page offset, page URL,\n"
           "                       time found (local time)\n"
           "  -o FILE              also append every number to FILE (its content is kept),\n"
           "                       written at once, one number per line ending in CR LF\n"
           "  --help               show this text\n"
           "\n"
           "Ctrl+C stops the run: the page loading then is still read, and the run ends.\n"
           "When the search engine answers with its verification page, the run stops\n"
           "there and tells the --start value that resumes at the interrupted keyword.\n"
           "Exit status: 0 when the run finished, 1 when it failed, 2 for bad arguments,\n"
           "3 when the engine asked for verification.\n";
}

HarvestArgs ParseHarvestArguments(const std::vector<std::string>& args, HarvestOptions& options, std::ostream& err) {
    const auto invalid = [&err](const std::string& why) {
        err << "tavrisk-harvest: " << why << "\nTry 'tavrisk-harvest --help'.\n";
        return HarvestArgs::Invalid;
    };
    bool haveFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            return HarvestArgs::Help;
        }
        if (arg == "--dedupe") {
            options.dedupe = true;
            continue;
        }
        if (arg == "--tsv") {
            options.tsv = true;
            continue;
        }
        if (arg == "--host" || arg == "--start" || arg == "--interval" || arg == "--pages" || arg == "-o") {
            if (i + 1 == args.size()) {
                return invalid(arg + " needs a value");
            }
            const std::string& value = args[++i];
            if (arg == "--host") {
                if (value.empty() || value.find_first_of("/?#@ ") != std::string::npos) {
                    return invalid("not a host name: " + value);
                }
                options.host = value;
            } else if (arg == "--start") {
                options.start = value;
            } else if (arg == "--interval") {
                if (!ParseWhole(value, 1, 1000, options.interval)) {
                    return invalid("--interval takes whole seconds from 1 to 1000, not " + value);
                }
            } else if (arg == "--pages") {
                if (!ParseWhole(value, 1, 76, options.pages)) {
                    return invalid("--pages takes a whole number from 1 to 76, not " + value);
                }
            } else {
                options.output = value;
            }
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            return invalid("unknown option " + arg);
        }
        if (haveFile) {
            return invalid("one keyword file only");
        }
        options.keywordFile = arg;
        haveFile = true;
    }
    if (!haveFile) {
        return invalid("no keyword file given");
    }
    return HarvestArgs::Run;
}

HeadlessHarvest::HeadlessHarvest(HarvestOptions options, std::ostream& out, std::ostream& err)
    : options_(std::move(options)),
      out_(out),
      err_(err),
      timer_(scheduler_, SearchRun::kFirstTickMs),
      view_(nullptr),
      run_(*this, view_, timer_,
           RunServices{
               // The loopback check is the window's: a harvest may well target
               // a local engine, or run where the host name maps to 127.0.0.1.
               [] { return std::string(); },
               // No settings file: the progress is printed instead.
               [] {},
           },
           RunFields{keywords_, pageLines_, nextKeywordIndex_, foundCount_, seen_, options_.host}) {
    timer_.SetOnTimer([this] { Tick(); });
}

HeadlessHarvest::~HeadlessHarvest() {
    if (outputFd_ >= 0) {
        close(outputFd_);
    }
}

bool HeadlessHarvest::Start() {
    try {
        if (!options_.output.empty()) {
            outputFd_ = open(options_.output.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
            if (outputFd_ < 0) {
                ThrowCannotCreateFile(options_.output);
            }
        }
        HarvestImport import(options_.keywordFile, err_);
        ImportKeywordList(import, keywords_, std::string());
        run_.N2Click();
    } catch (const SystemError& e) {
        Fail(e.Message());
        return false;
    }
    if (exitCode_) {
        return false;
    }
    return true;
}

void HeadlessHarvest::Stop() {
    if (!exitCode_) {
        run_.N3Click();
    }
}

void HeadlessHarvest::Tick() {
    try {
        run_.Timer1Timer();
    } catch (const SystemError& e) {
        Fail(e.Message());
    }
}

void HeadlessHarvest::Fail(const std::string& gbkMessage) {
    err_ << "tavrisk-harvest: " << FromGbk(ErrorBoxText(gbkMessage)) << std::endl;
    End(1);
}

void HeadlessHarvest::End(int exitCode) {
    if (exitCode_) {
        return;
    }
    exitCode_ = exitCode;
    if (OnEnd) {
        OnEnd(exitCode);
    }
}

void HeadlessHarvest::AppendResult(const std::string& number, const NumberSource& source) {
    if (options_.tsv) {
        NumberSource found = source;
        found.foundAt = std::time(nullptr);
        out_ << FromGbk(TsvRow(number, found)) << std::flush;
    } else {
        out_ << number << '\n' << std::flush;
    }
    if (outputFd_ >= 0) {
        const std::string line = number + "\r\n";
        if (write(outputFd_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
            ThrowStreamWriteError();
        }
    }
}

void HeadlessHarvest::SetPanelText(int panel, const std::string& text) {
    if (panel == 3) {
        err_ << "keyword " << text << " of " << keywords_.Count() << ", page " << run_.PageOffset / SearchRun::kPageStep
             << ", " << foundCount_ << " numbers found" << std::endl;
    } else if (panel == 6) {
        static const std::string kFinished = ToGbk("搜索已经结束！");
        static const std::string kStopping = ToGbk("终止搜索...");
        if (text == kFinished) {
            err_ << FromGbk(text) << ' ' << foundCount_ << " numbers found" << std::endl;
            End(0);
        } else if (text == VerificationPanelText()) {
            // The run has stepped back to the interrupted keyword.
            const int index = nextKeywordIndex_;
            err_ << "tavrisk-harvest: the search engine asked for verification at keyword " << index + 1 << " of "
                 << keywords_.Count() << " (" << FromGbk(keywords_.Item(static_cast<std::size_t>(index))) << "), page "
                 << run_.PageOffset / SearchRun::kPageStep << "; " << foundCount_
                 << " numbers found.\nComplete the verification in a browser, then resume with --start " << index
                 << std::endl;
            End(kExitVerification);
        } else if (text == kStopping) {
            err_ << FromGbk(text) << std::endl;
        }
    }
}

void HeadlessHarvest::SetCommandsEnabled(bool /*search*/, bool /*stop*/, bool /*import*/) {}

void HeadlessHarvest::InformationBox(const std::string& text) {
    if (exitCode_) {
        return;  // the verification message: already told on standard error
    }
    err_ << FromGbk(text) << std::endl;
    End(1);
}

void HeadlessHarvest::PlainMessageBox(const std::string& text) {
    err_ << FromGbk(text) << std::endl;
}

std::optional<std::string> HeadlessHarvest::InputBox(const std::string& /*title*/, const std::string& /*prompt*/,
                                                     const std::string& /*value*/) {
    return options_.start;
}

namespace {

int stopPipe[2] = {-1, -1};

extern "C" void OnInterrupt(int /*signal*/) {
    const char byte = 1;
    const int saved = errno;
    [[maybe_unused]] const ssize_t n = write(stopPipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

int HeadlessHarvestMain(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    HarvestOptions options;
    switch (ParseHarvestArguments(args, options, std::cerr)) {
        case HarvestArgs::Help:
            std::cout << HarvestUsage();
            return 0;
        case HarvestArgs::Invalid:
            return 2;
        case HarvestArgs::Run:
            break;
    }
    // No window: the offscreen platform, whatever the environment says.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    }
    // Qt WebEngine refuses its sandbox as root; a normal user keeps it on.
    if (geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    // Standard error carries the run's progress: keep the web engine's
    // start-up report off it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication application(qtArgc, qtArgv);

    if (pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::cerr << "tavrisk-harvest: cannot set up Ctrl+C\n";
        return 1;
    }
    QSocketNotifier interrupt(stopPipe[0], QSocketNotifier::Read);
    HeadlessHarvest harvest(options, std::cout, std::cerr);
    QObject::connect(&interrupt, &QSocketNotifier::activated, &harvest, [&harvest] {
        char byte = 0;
        while (read(stopPipe[0], &byte, 1) > 0) {
        }
        harvest.Stop();
    });
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    harvest.OnEnd = [](int code) { QCoreApplication::exit(code); };
    if (!harvest.Start()) {
        return harvest.ExitCode().value_or(1);
    }
    return QApplication::exec();
}

}  // namespace tavrisk::app
