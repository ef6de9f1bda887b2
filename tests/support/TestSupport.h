#pragma once

#include <string>
#include <string_view>

namespace tavrisk::test {

// GBK bytes of a UTF-8 literal, so tests can be written in readable Chinese.
std::string G(std::string_view utf8);

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    [[nodiscard]] const std::string& Path() const { return path_; }
    // Path of a file inside the folder.
    [[nodiscard]] std::string File(std::string_view name) const;

private:
    std::string path_;
};

void WriteFile(const std::string& path, std::string_view bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

}  // namespace tavrisk::test
