#pragma once

#include "platform/StringList.h"

#include <cstddef>
#include <optional>
#include <string>

namespace tavrisk {

// What the Import command needs of the main window.
class KeywordImportWindow {
public:
    virtual ~KeywordImportWindow() = default;
    // Shows the keyword list open dialog, opened in folder. Returns the chosen
    // file's full path (file-system bytes), or nothing when the user cancels.
    virtual std::optional<std::string> ChooseKeywordFile(const std::string& folder) = 0;
    // Shows the path in the keyword list file field and repaints the window at once.
    virtual void ShowKeywordFilePath(const std::string& path) = 0;
    // Sets the text of status panel 1 (GBK).
    virtual void SetLineCountText(const std::string& text) = 0;
    // Empties the result list.
    virtual void ClearResultList() = 0;
};

// The number of lines of a keyword list file by the line reader's rules (LF or
// CR LF end a line, a lone CR is dropped, 0x1A ends the file). Raises the line
// reader's I/O errors.
std::size_t KeywordCountPass(const std::string& path);

// The Import command: lets the user choose a keyword list file, shows its path
// and its line count, replaces keywordList with its lines (the string list's
// line rules) and empties the result list, in that order. Each failure raises
// its error where it occurs and leaves what was done before it: after a failed
// count only the path is shown; after a failed load the count is shown and
// keywordList is empty. Returns false when the user cancelled the dialog.
bool ImportKeywordList(KeywordImportWindow& window, StringList& keywordList, const std::string& exeDir);

}  // namespace tavrisk
