#include "files/KeywordImport.h"

#include "platform/LineReader.h"

namespace tavrisk {

std::size_t KeywordCountPass(const std::string& path) {
    return CountLines(path);
}

bool ImportKeywordList(KeywordImportWindow& window, StringList& keywordList, const std::string& exeDir) {
    const std::optional<std::string> path = window.ChooseKeywordFile(exeDir);
    if (!path) {
        return false;
    }
    window.ShowKeywordFilePath(*path);
    const std::size_t count = KeywordCountPass(*path);
    window.SetLineCountText(std::to_string(count));
    keywordList.Clear();
    keywordList.LoadFromFile(*path);
    window.ClearResultList();
    return true;
}

}  // namespace tavrisk
