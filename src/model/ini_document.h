#pragma once
// An INI text held in memory with the profile-string rules the settings files rely on:
// section and key names match without regard to case, the first match wins, an existing
// entry is replaced where it stands, a new entry goes at the end of its section (before the
// blank lines that end it) and a new section at the end of the text. Lines that are not
// entries (comments, blanks, anything else) are kept as they are.
//
// The text is kept as read, with its own line ends; lines refer into it, so memory stays a
// small multiple of the file's size. Changed and added lines use the line end the file uses
// first (CRLF for a new file).

#include "base/text.h" // TrimBlanks, which the document's readers share

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vm880 {

class IniDocument {
public:
    // Accepts CRLF, LF and CR line ends.
    static IniDocument Parse(std::string_view text) { return ParseOwned(std::string(text)); }
    static IniDocument ParseOwned(std::string text);
    // The text with the changes made since it was parsed.
    std::string Serialize() const;

    // The length of Serialize().
    std::size_t SerializedSize() const;
    // How much Set(section, key, value) would add to SerializedSize() (negative when the value
    // gets shorter). `newSections` holds the sections that earlier calls of one projection
    // counted as added; it is updated.
    std::ptrdiff_t GrowthOfSet(std::string_view section, std::string_view key,
                               std::string_view value, std::vector<std::string>& newSections) const;

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
    enum class Kind : std::uint8_t { Other, Blank, Entry };
    // One entry line, or a run of lines of one other kind.
    struct Piece {
        std::uint32_t begin = 0;  // offset in text_, or the index in added_ when `added`
        std::uint32_t size = 0;   // bytes in text_, line breaks included
        std::uint32_t keyEnd = 0; // entries: offset of "="
        Kind kind = Kind::Other;
        bool added = false;       // a line of added_, written with eol_
    };
    // Open addressing over pieces or sections by lower-case name: index + 1, 0 for free.
    struct NameIndex {
        std::vector<std::uint32_t> table;
        std::uint32_t used = 0;
    };
    struct Section {
        Piece header;             // size 0 and not added for the lines before the first header
        std::vector<Piece> pieces;
        Piece trailer;            // the blank lines that end the section; size 0 when none
        NameIndex entries;
        bool shadowed = false;    // a repeated section name: never found, kept as it is
    };

    std::string_view bytes(const Piece& piece) const;
    std::size_t length(const Piece& piece) const;
    std::string_view keyOf(const Piece& piece) const;
    std::string_view sectionName(const Section& section) const;
    std::optional<std::uint32_t> findEntry(const Section& s, std::string_view key) const;
    std::optional<std::uint32_t> findSection(std::string_view name) const;
    void indexEntry(Section& s, std::uint32_t piece);
    void indexSection(std::uint32_t section);
    void append(Section& s, Kind kind, std::uint32_t begin, std::uint32_t size, std::uint32_t keyEnd);
    std::uint32_t addLine(std::string line);

    std::string text_;
    std::deque<std::string> added_;
    std::string eol_ = "\r\n";
    std::deque<Section> sections_;
    NameIndex sectionIndex_;
};

std::string AsciiLower(std::string_view text);

} // namespace vm880
