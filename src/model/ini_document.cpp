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

} // namespace

void IniDocument::Section::reindex()
{
    firstEntry.clear();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (line.isEntry)
            firstEntry.try_emplace(
                AsciiLower(TrimBlanks(std::string_view(line.text).substr(0, line.keyEnd))), i);
    }
}

IniDocument IniDocument::Parse(std::string_view text)
{
    IniDocument doc;
    doc.sections_.emplace_back(); // lines before the first header
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        std::string_view raw = text.substr(pos, end == std::string_view::npos ? text.npos : end - pos);
        if (end == std::string_view::npos)
            pos = text.size();
        else
            pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);

        if (auto name = headerName(raw)) {
            Section section;
            section.header = std::string(raw);
            doc.firstSection_.try_emplace(AsciiLower(*name), doc.sections_.size());
            doc.sections_.push_back(std::move(section));
            continue;
        }
        Line line{std::string(raw)};
        std::string_view t = TrimBlanks(raw);
        std::size_t eq = raw.find('=');
        if (eq != std::string_view::npos && !t.empty() && t.front() != ';'
            && !TrimBlanks(raw.substr(0, eq)).empty()) {
            line.isEntry = true;
            line.keyEnd = eq;
        }
        doc.sections_.back().lines.push_back(std::move(line));
    }
    for (Section& s : doc.sections_)
        s.reindex();
    return doc;
}

std::string IniDocument::Serialize() const
{
    std::string out;
    for (const Section& s : sections_) {
        if (!s.header.empty()) {
            out += s.header;
            out += "\r\n";
        }
        for (const Line& line : s.lines) {
            out += line.text;
            out += "\r\n";
        }
    }
    return out;
}

const IniDocument::Section* IniDocument::findSection(std::string_view name) const
{
    auto it = firstSection_.find(AsciiLower(name));
    return it == firstSection_.end() ? nullptr : &sections_[it->second];
}

IniDocument::Section* IniDocument::findSection(std::string_view name)
{
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const
{
    const Section* s = findSection(section);
    if (!s)
        return std::nullopt;
    auto it = s->firstEntry.find(AsciiLower(key));
    if (it == s->firstEntry.end())
        return std::nullopt;
    const Line& line = s->lines[it->second];
    return line.text.substr(line.keyEnd + 1);
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value)
{
    Line entry;
    entry.text = std::string(key) + "=" + std::string(value);
    entry.isEntry = true;
    entry.keyEnd = key.size();

    Section* s = findSection(section);
    if (!s) {
        Section added;
        added.header = "[" + std::string(section) + "]";
        firstSection_.emplace(AsciiLower(section), sections_.size());
        sections_.push_back(std::move(added));
        s = &sections_.back();
    }
    std::string lowerKey = AsciiLower(key);
    if (auto it = s->firstEntry.find(lowerKey); it != s->firstEntry.end()) {
        s->lines[it->second] = std::move(entry);
        return;
    }
    // After the last line that is not blank, so blank lines that separate sections stay last.
    std::size_t at = s->lines.size();
    while (at > 0 && TrimBlanks(s->lines[at - 1].text).empty())
        --at;
    s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
    if (at + 1 == s->lines.size())
        s->firstEntry.emplace(std::move(lowerKey), at);
    else
        s->reindex();
}

bool IniDocument::Remove(std::string_view section, std::string_view key)
{
    Section* s = findSection(section);
    if (!s)
        return false;
    auto it = s->firstEntry.find(AsciiLower(key));
    if (it == s->firstEntry.end())
        return false;
    s->lines.erase(s->lines.begin() + static_cast<std::ptrdiff_t>(it->second));
    s->reindex();
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
