#include "model/ini_document.h"

#include <utility>

namespace vm880 {

std::string AsciiLower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

namespace {

bool hasBreakOrNul(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::uint32_t hashName(std::string_view name)
{
    std::uint32_t h = 2166136261u;
    for (char c : name)
        h = (h ^ static_cast<unsigned char>(lower(c))) * 16777619u;
    return h;
}

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

// The section name of a header line "[name]", or nullopt when the line is no header.
std::optional<std::string_view> headerName(std::string_view line)
{
    std::string_view t = TrimBlanks(line);
    if (t.size() < 2 || t.front() != '[')
        return std::nullopt;
    std::size_t close = t.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return TrimBlanks(t.substr(1, close - 1));
}

template <class NameOf>
std::optional<std::uint32_t> probe(const std::vector<std::uint32_t>& table, std::string_view name,
                                   NameOf nameOf)
{
    if (table.empty())
        return std::nullopt;
    const std::size_t mask = table.size() - 1;
    for (std::size_t h = hashName(name) & mask;; h = (h + 1) & mask) {
        if (table[h] == 0)
            return std::nullopt;
        if (sameName(nameOf(table[h] - 1), name))
            return table[h] - 1;
    }
}

// Adds `item`, whose name is not in the table yet; the table stays at most half full.
template <class Index, class NameOf>
void insertName(Index& index, std::uint32_t item, NameOf nameOf)
{
    auto place = [&](std::vector<std::uint32_t>& table, std::uint32_t value) {
        const std::size_t mask = table.size() - 1;
        std::size_t h = hashName(nameOf(value - 1)) & mask;
        while (table[h] != 0)
            h = (h + 1) & mask;
        table[h] = value;
    };
    if ((index.used + 1) * 2 > index.table.size()) {
        std::vector<std::uint32_t> grown(index.table.empty() ? 8 : index.table.size() * 2, 0);
        for (std::uint32_t value : index.table)
            if (value != 0)
                place(grown, value);
        index.table = std::move(grown);
    }
    place(index.table, item + 1);
    ++index.used;
}

} // namespace

std::string_view IniDocument::bytes(const Piece& piece) const
{
    if (piece.added)
        return added_[piece.begin];
    return std::string_view(text_).substr(piece.begin, piece.size);
}

std::string_view IniDocument::keyOf(const Piece& piece) const
{
    return TrimBlanks(bytes(piece).substr(0, piece.keyEnd));
}

std::string_view IniDocument::sectionName(const Section& section) const
{
    return headerName(bytes(section.header)).value_or(std::string_view());
}

std::optional<std::uint32_t> IniDocument::findEntry(const Section& s, std::string_view key) const
{
    return probe(s.entries.table, key, [&](std::uint32_t i) { return keyOf(s.pieces[i]); });
}

std::optional<std::uint32_t> IniDocument::findSection(std::string_view name) const
{
    return probe(sectionIndex_.table, name,
                 [&](std::uint32_t i) { return sectionName(sections_[i]); });
}

void IniDocument::indexEntry(Section& s, std::uint32_t piece)
{
    if (!findEntry(s, keyOf(s.pieces[piece])))
        insertName(s.entries, piece, [&](std::uint32_t i) { return keyOf(s.pieces[i]); });
}

void IniDocument::indexSection(std::uint32_t section)
{
    insertName(sectionIndex_, section, [&](std::uint32_t i) { return sectionName(sections_[i]); });
}

void IniDocument::append(Section& s, Kind kind, std::uint32_t begin, std::uint32_t size,
                         std::uint32_t keyEnd)
{
    if (kind != Kind::Entry && !s.pieces.empty()) {
        Piece& last = s.pieces.back();
        if (last.kind == kind && !last.added && last.begin + last.size == begin) {
            last.size += size; // one run of blank or other lines
            return;
        }
    }
    s.pieces.push_back(Piece{begin, size, keyEnd, kind, false});
    if (kind == Kind::Entry)
        indexEntry(s, static_cast<std::uint32_t>(s.pieces.size() - 1));
}

std::uint32_t IniDocument::addLine(std::string line)
{
    added_.push_back(std::move(line));
    return static_cast<std::uint32_t>(added_.size() - 1);
}

IniDocument IniDocument::ParseOwned(std::string text)
{
    IniDocument doc;
    if (std::size_t first = text.find_first_of("\r\n"); first != std::string::npos)
        doc.eol_ = text[first] == '\n' ? "\n"
            : first + 1 < text.size() && text[first + 1] == '\n' ? "\r\n"
                                                                 : "\r";
    // A last line without its line break gets one, so that added lines start on a line of
    // their own.
    if (!text.empty() && text.back() != '\n' && text.back() != '\r')
        text += doc.eol_;
    doc.text_ = std::move(text);
    const std::string_view all(doc.text_);

    doc.sections_.emplace_back(); // the lines before the first header
    std::size_t pos = 0;
    while (pos < all.size()) {
        const std::size_t end = all.find_first_of("\r\n", pos);
        const std::size_t next = end + ((all[end] == '\r' && end + 1 < all.size() && all[end + 1] == '\n') ? 2 : 1);
        const std::string_view raw = all.substr(pos, end - pos);
        const auto begin = static_cast<std::uint32_t>(pos);
        const auto size = static_cast<std::uint32_t>(next - pos);
        pos = next;

        Section& current = doc.sections_.back();
        if (auto name = headerName(raw)) {
            const bool repeated = doc.findSection(*name).has_value();
            if (repeated && current.shadowed) {
                doc.append(current, Kind::Other, begin, size, 0);
                continue;
            }
            Section& s = doc.sections_.emplace_back();
            s.header = Piece{begin, size, 0, Kind::Other, false};
            s.shadowed = repeated;
            if (!repeated)
                doc.indexSection(static_cast<std::uint32_t>(doc.sections_.size() - 1));
            continue;
        }
        const std::string_view t = TrimBlanks(raw);
        const std::size_t eq = raw.find('=');
        if (current.shadowed)
            doc.append(current, Kind::Other, begin, size, 0);
        else if (eq != std::string_view::npos && !t.empty() && t.front() != ';'
                 && !TrimBlanks(raw.substr(0, eq)).empty())
            doc.append(current, Kind::Entry, begin, size, static_cast<std::uint32_t>(eq));
        else
            doc.append(current, t.empty() ? Kind::Blank : Kind::Other, begin, size, 0);
    }
    // New entries go before the blank lines that separate sections; keeping those apart
    // makes every addition an append.
    for (Section& s : doc.sections_) {
        if (!s.shadowed && !s.pieces.empty() && s.pieces.back().kind == Kind::Blank) {
            s.trailer = s.pieces.back();
            s.pieces.pop_back();
        }
    }
    return doc;
}

std::size_t IniDocument::length(const Piece& p) const
{
    return p.added ? added_[p.begin].size() + eol_.size() : p.size;
}

std::size_t IniDocument::SerializedSize() const
{
    std::size_t total = 0;
    for (const Section& s : sections_) {
        total += length(s.header) + length(s.trailer);
        for (const Piece& p : s.pieces)
            total += length(p);
    }
    return total;
}

std::ptrdiff_t IniDocument::GrowthOfSet(std::string_view section, std::string_view key,
                                        std::string_view value,
                                        std::vector<std::string>& newSections) const
{
    const auto line = static_cast<std::ptrdiff_t>(key.size() + 1 + value.size() + eol_.size());
    const auto si = findSection(section);
    if (!si) {
        const std::string name = AsciiLower(section);
        for (const std::string& counted : newSections)
            if (counted == name)
                return line; // a projection does not track keys of added sections
        newSections.push_back(name);
        return line + static_cast<std::ptrdiff_t>(section.size() + 2 + eol_.size());
    }
    const Section& s = sections_[*si];
    const auto pi = findEntry(s, key);
    if (!pi)
        return line;
    return line - static_cast<std::ptrdiff_t>(length(s.pieces[*pi]));
}

std::string IniDocument::Serialize() const
{
    std::string out;
    out.reserve(SerializedSize());
    auto put = [&](const Piece& p) {
        out += bytes(p);
        if (p.added)
            out += eol_;
    };
    for (const Section& s : sections_) {
        put(s.header);
        for (const Piece& p : s.pieces)
            put(p);
        put(s.trailer);
    }
    return out;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const
{
    const auto si = findSection(section);
    if (!si)
        return std::nullopt;
    const Section& s = sections_[*si];
    const auto pi = findEntry(s, key);
    if (!pi)
        return std::nullopt;
    const Piece& p = s.pieces[*pi];
    std::string_view value = bytes(p).substr(p.keyEnd + 1);
    while (!p.added && !value.empty() && (value.back() == '\n' || value.back() == '\r'))
        value.remove_suffix(1);
    return std::string(value);
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value)
{
    std::string line = std::string(key) + "=" + std::string(value);
    const auto keyEnd = static_cast<std::uint32_t>(key.size());

    Section* s = nullptr;
    if (const auto si = findSection(section)) {
        s = &sections_[*si];
    } else {
        s = &sections_.emplace_back();
        s->header = Piece{addLine("[" + std::string(section) + "]"), 0, 0, Kind::Other, true};
        indexSection(static_cast<std::uint32_t>(sections_.size() - 1));
    }
    if (const auto pi = findEntry(*s, key)) {
        Piece& p = s->pieces[*pi];
        if (p.added)
            added_[p.begin] = std::move(line);
        else
            p = Piece{addLine(std::move(line)), 0, keyEnd, Kind::Entry, true};
        p.keyEnd = keyEnd;
        return;
    }
    s->pieces.push_back(Piece{addLine(std::move(line)), 0, keyEnd, Kind::Entry, true});
    indexEntry(*s, static_cast<std::uint32_t>(s->pieces.size() - 1));
}

bool IniDocument::Remove(std::string_view section, std::string_view key)
{
    const auto si = findSection(section);
    if (!si)
        return false;
    Section& s = sections_[*si];
    const auto pi = findEntry(s, key);
    if (!pi)
        return false;
    s.pieces.erase(s.pieces.begin() + static_cast<std::ptrdiff_t>(*pi));
    s.entries = {};
    for (std::uint32_t i = 0; i < s.pieces.size(); ++i)
        if (s.pieces[i].kind == Kind::Entry)
            indexEntry(s, i);
    return true;
}

bool IniDocument::ValidSection(std::string_view section)
{
    return !section.empty() && TrimBlanks(section) == section && !hasBreakOrNul(section)
        && section.find(']') == std::string_view::npos;
}

bool IniDocument::ValidKey(std::string_view key)
{
    return !key.empty() && TrimBlanks(key) == key && !hasBreakOrNul(key)
        && key.find('=') == std::string_view::npos && key.front() != ';' && key.front() != '[';
}

bool IniDocument::ValidValue(std::string_view value)
{
    return !hasBreakOrNul(value);
}

} // namespace vm880
