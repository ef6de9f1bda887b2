#pragma once

#include <ctime>
#include <string>

namespace tavrisk {

// The journal of one search run: every number the run appends to the result
// list is also appended to a file of its own in the folder results/ beside
// the program, and flushed at once, so that a crash or a power cut loses
// none of them. The file is a number file (one number a line, CR LF, GBK), so
// journals can be merged like any other number file.
//
// The file is named by the run's start time in local time,
// "YYYYMMDD-HHMMSS.txt", and made (with the folder) when the first number
// comes; a run that finds nothing leaves no file. A file of that name that
// already exists is appended to.
class ResultsJournal {
public:
    ResultsJournal() = default;
    ~ResultsJournal();
    ResultsJournal(const ResultsJournal&) = delete;
    ResultsJournal& operator=(const ResultsJournal&) = delete;

    // Begins the journal of a new run; the previous one is closed.
    void Start(const std::string& folder, std::time_t startTime);
    // Appends number and CR LF and flushes them to the file. Gives false when
    // the file cannot be made or written; Error() then tells why (GBK). After
    // a failure the run's later numbers are tried again.
    bool Append(const std::string& number);
    void Close();

    // The file of the current run (file-system bytes), empty before Start.
    [[nodiscard]] const std::string& Path() const { return path_; }
    [[nodiscard]] const std::string& Error() const { return error_; }

    // "YYYYMMDD-HHMMSS.txt" for a moment, in local time.
    static std::string FileNameFor(std::time_t moment);

private:
    std::string folder_;
    std::string path_;
    std::string error_;
    int fd_ = -1;
};

}  // namespace tavrisk
