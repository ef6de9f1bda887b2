#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tavrisk {

// What the merge command needs from the window.
class MergeUi {
public:
    virtual ~MergeUi() = default;
    // The files to merge (file-system paths) in the order the dialog gives
    // them, or nothing when the user cancels.
    virtual std::optional<std::vector<std::string>> ChooseSources() = 0;
    // The file to write, or nothing when the user cancels.
    virtual std::optional<std::string> ChooseDestination() = 0;
    // The application-wide busy pointer on or off.
    virtual void SetBusyPointer(bool busy) = 0;
    // The merge's status panel (GBK text).
    virtual void SetStatusText(const std::string& gbkText) = 0;
    // Repaints the window at once, before the merge takes the thread.
    virtual void RepaintNow() = 0;
};

// "数据正处理中..." and "文件合并整理完毕！共计：N", in GBK.
const std::string& MergeBusyText();
std::string MergeDoneText(std::size_t count);

// The merge command: asks for the sources and the destination, then merges
// under the busy pointer, which is restored however the merge ends. Errors
// propagate to the caller's guard.
void RunMergeCommand(MergeUi& ui);

// The sources joined byte for byte, held in a temporary file beside the
// destination until the sorted result replaces the destination. Removed when
// destroyed. The destination itself is never emptied before every source
// has been read, so a destination that is also a source loses nothing.
class JoinedFile {
public:
    JoinedFile() = default;
    ~JoinedFile();
    JoinedFile(const JoinedFile&) = delete;
    JoinedFile& operator=(const JoinedFile&) = delete;

    [[nodiscard]] bool Created() const { return !path_.empty(); }
    [[nodiscard]] const std::string& Path() const { return path_; }
    // How many sources, from the first, were copied whole.
    [[nodiscard]] std::size_t SourcesCopied() const { return sourcesCopied_; }

private:
    friend void MergeCopy(const std::vector<std::string>&, const std::string&, JoinedFile&);
    std::string path_;
    std::size_t sourcesCopied_ = 0;
};

// First phase: joins the sources, in order and byte for byte, copying in
// blocks of at most 61,440 bytes. Raises "Cannot create file %s" (the
// destination cannot be written; no source is read), "Cannot open file %s"
// (a source; the sources before it stay joined), "Stream read error" or
// "Stream write error".
void MergeCopy(const std::vector<std::string>& sources, const std::string& destination, JoinedFile& joined);

// Second phase: loads the joined bytes (or, when the first phase could not
// start, whatever the destination holds) with the string list's line rules,
// sorts them by the collation keeping the first of equal lines, and replaces
// the destination atomically with every line followed by CR LF. Returns the
// number of lines written. Raises "Cannot open file %s" / "Cannot create file
// %s" naming the destination, "Stream read error" or "Stream write error".
std::size_t MergeSort(const std::string& destination, const JoinedFile& joined);

// Both phases: MergeSort runs whether or not MergeCopy completed. When
// MergeSort completes, status receives MergeDoneText and then the error of
// MergeCopy, if any, is raised; when MergeSort fails, its error is raised
// and the status is left alone. Returns the number of lines written.
// One exception keeps the user's data: when the copy stopped before the
// destination, itself one of the sources, was copied whole (a source that
// cannot be read, a full disk), sorting the partial copy would replace the
// destination with fewer lines than it had. Then nothing is sorted, the
// destination stays as it was and the copy's error is raised.
std::size_t MergeFiles(const std::vector<std::string>& sources, const std::string& destination,
                       const std::function<void(const std::string& gbkText)>& status);

}  // namespace tavrisk
