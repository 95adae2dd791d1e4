#pragma once
// An INI text held in memory with the profile-string rules the settings files rely on:
// section and key names match without regard to case, the first match wins, an existing
// entry is replaced where it stands, a new entry goes at the end of its section and a new
// section at the end of the text. Lines that are not entries (comments, blanks, anything
// else) are kept as they are.

#include "base/text.h" // TrimBlanks, which the document's readers share

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vm880 {

class IniDocument {
public:
    // Accepts CRLF, LF and CR line ends.
    static IniDocument Parse(std::string_view text);
    // Always writes CRLF.
    std::string Serialize() const;

    // The value of the first matching entry, untrimmed; nullopt when section or key is missing.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    // Replaces or adds the entry. Names and value must already be valid (see ValidName/ValidValue).
    void Set(std::string_view section, std::string_view key, std::string_view value);

    // Removes the first matching entry; false when there was none.
    bool Remove(std::string_view section, std::string_view key);

    // Names that cannot be written without changing the file's structure are refused:
    // empty, line breaks or NUL, "]" in a section, "=" in a key, or blanks around the name.
    static bool ValidSection(std::string_view section);
    static bool ValidKey(std::string_view key);
    // A value may hold anything but line breaks and NUL.
    static bool ValidValue(std::string_view value);

private:
    struct Line {
        std::string text;   // the line as it is written
        bool isEntry = false;
        std::size_t keyEnd = 0; // position of "=" in text, for entries
    };
    struct Section {
        std::string header; // empty for the lines before the first section
        std::vector<Line> lines;
        std::unordered_map<std::string, std::size_t> firstEntry; // lower-case key -> line
        void reindex();
    };

    const Section* findSection(std::string_view name) const;
    Section* findSection(std::string_view name);

    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> firstSection_; // lower-case name -> section
};

std::string AsciiLower(std::string_view text);

} // namespace vm880
