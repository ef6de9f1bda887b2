#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrisk {

// Three-way comparison of two byte strings: negative, zero or positive.
using StringCompare = int (*)(std::string_view, std::string_view);

// Byte-by-byte comparison (the default).
int CompareBytes(std::string_view a, std::string_view b);

// An ordered list of byte strings with the system's line rules for loading and
// saving. The comparison used by Find is pluggable.
class StringList {
public:
    explicit StringList(StringCompare compare = CompareBytes) : compare_(compare) {}

    void Add(std::string item) { items_.push_back(std::move(item)); }
    void Clear() { items_.clear(); }
    [[nodiscard]] std::size_t Count() const { return items_.size(); }
    [[nodiscard]] const std::string& Item(std::size_t index) const { return items_.at(index); }
    [[nodiscard]] const std::vector<std::string>& Items() const { return items_; }
    // The first entry that compares equal to s.
    [[nodiscard]] std::optional<std::size_t> Find(std::string_view s) const;

    // Replaces the entries with the lines of the file. Lines end at CR LF, LF
    // or a lone CR; a byte 0x00 ends the text; a line end at the very end adds
    // no empty entry. The file is read in blocks, never whole.
    // Raises "Cannot open file %s" when the file cannot be opened or is a
    // folder, "Stream read error" when reading it fails; the entries are then
    // left as they were.
    void LoadFromFile(const std::string& path);
    // The same rules over text already in memory.
    void LoadFromText(std::string_view text);

    // Every entry followed by CR LF, the last one included.
    [[nodiscard]] std::string Text() const;
    // Writes Text() to the file, replacing it atomically.
    // Raises "Cannot create file %s" when the file cannot be written.
    void SaveToFile(const std::string& path) const;

private:
    std::vector<std::string> items_;
    StringCompare compare_;
};

// Splits text into lines by the loader's rules, feeding it block by block.
class LooseLineSplitter {
public:
    explicit LooseLineSplitter(std::vector<std::string>& out) : out_(out) {}
    // Returns false once a 0x00 byte has ended the text.
    bool Feed(std::string_view block);
    void Finish();

private:
    std::vector<std::string>& out_;
    std::string pending_;
    bool afterCr_ = false;
    bool ended_ = false;
};

}  // namespace tavrisk
