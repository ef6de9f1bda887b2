// Merges arbitrary source files and checks the result against the sorted
// string list written out plainly: the joined bytes cut by the loader's
// rules, each line inserted at its place by the collation unless an equal
// line is already there (the first one stays). The result must be exactly
// those lines, each followed by CR LF, and the count must match.
#include "files/NumberMerge.h"
#include "platform/Collation.h"
#include "platform/StringList.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

const std::string& Folder() {
    // A memory file system when there is one: the merge flushes its result.
    // Never destroyed, so the exit handler that removes it can still use it.
    static const std::string& folder = *new std::string([] {
        struct stat st {};
        std::string pattern = (stat("/dev/shm", &st) == 0 ? "/dev/shm" : "/tmp") + std::string("/tavrisk-merge-XXXXXX");
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        std::atexit([] { std::filesystem::remove_all(Folder()); });
        return pattern;
    }());
    return folder;
}

void Write(const std::string& path, std::string_view bytes) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        std::abort();
    }
    close(fd);
}

std::string Read(const std::string& path) {
    std::string text;
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        std::abort();
    }
    char buffer[4096];
    ssize_t n = 0;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return text;
}

struct ByCollation {
    bool operator()(const std::string& a, const std::string& b) const { return tavrisk::Collate(a, b) < 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::size_t count = in.ConsumeIntegralInRange<std::size_t>(1, 3);
    std::vector<std::string> sources;
    std::string joined;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string bytes =
            i + 1 < count ? in.ConsumeRandomLengthString(512) : in.ConsumeRemainingBytesAsString();
        sources.push_back(Folder() + "/source" + std::to_string(i));
        Write(sources.back(), bytes);
        joined += bytes;
    }
    const std::string destination = Folder() + "/merged.txt";
    unlink(destination.c_str());

    tavrisk::StringList list;
    list.LoadFromText(joined);
    std::set<std::string, ByCollation> sorted;
    for (const auto& line : list.Items()) {
        sorted.insert(line);  // an equal line already present stays
    }
    std::string expected;
    for (const auto& line : sorted) {
        expected.append(line).append("\r\n");
    }

    const std::size_t written = tavrisk::MergeFiles(sources, destination, [](const std::string&) {});
    if (written != sorted.size() || Read(destination) != expected) {
        std::abort();
    }
    return 0;
}
