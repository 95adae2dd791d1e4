#include "model/key_access.h"

#include "model/atomic_file.h"
#include "model/error_report.h"

namespace vm880 {

namespace {

constexpr std::size_t kMaxFileSize = kMaxSettingsFileSize;

// UTF-16 by its byte-order mark (FF FE or FE FF), or without one by a zero byte in its first
// character, which a text file never holds. Nothing else is guessed.
bool isUtf16(std::string_view text)
{
    const std::string_view head = text.substr(0, 2);
    return head == "\xFF\xFE" || head == "\xFE\xFF" || (head.size() == 2 && head.find('\0') != head.npos);
}

} // namespace

KeyAccess::Entry& KeyAccess::load(const std::string& fileName)
{
    Entry& entry = cache_[fileName];
    if (entry.status == FileStatus::Ok && StampOf(fileName) == entry.stamp)
        return entry; // unchanged since we parsed it
    return read(fileName);
}

KeyAccess::Entry& KeyAccess::read(const std::string& fileName)
{
    Entry& entry = cache_[fileName];
    InputFile file(fileName);
    std::string text;
    if (file.Missing())
        entry = Entry::fault(FileStatus::Missing);
    else if (file.Stamp().size > kMaxFileSize)
        entry = Entry::fault(FileStatus::Unreadable,
                             fileName + " is larger than " + std::to_string(kMaxFileSize / (1024 * 1024)) + " MB.");
    else if (!file.Read(kMaxFileSize, text))
        entry = Entry::fault(FileStatus::Unreadable, file.Refusal());
    else if (isUtf16(text))
        entry = Entry::fault(FileStatus::Utf16, fileName + " is saved as UTF-16 (Unicode).");
    else {
        entry = Entry{};
        entry.status = FileStatus::Ok;
        entry.doc = IniDocument::ParseOwned(std::move(text));
        entry.stamp = file.Stamp();
    }
    return entry;
}

Text KeyAccess::ReadSetting(std::string_view section, std::string_view key,
                            const std::string& fileName)
{
    if (watcher_)
        watcher_(section, key);
    Entry& entry = load(fileName);
    if (entry.status != FileStatus::Ok)
        return {};
    std::optional<std::string> value = entry.doc.Get(section, key);
    if (!value)
        return {};
    std::string_view trimmed = TrimBlanks(*value);
    if (trimmed == "Default")
        return {};
    return Text(trimmed);
}

FileStatus KeyAccess::Status(const std::string& fileName, std::string* problem)
{
    const Entry& entry = load(fileName);
    if (problem)
        *problem = entry.error;
    return entry.status;
}

FileStatus KeyAccess::Reload(const std::string& fileName, std::string& problem)
{
    const Entry& entry = read(fileName);
    problem = entry.error;
    return entry.status;
}

void KeyAccess::save(const std::string& fileName, const IniDocument& doc)
{
    if (doc.SerializedSize() > kMaxFileSize)
        throw SystemError(error_number::FileAccess,
                          "Cannot write " + fileName + ": it would be larger than "
                              + std::to_string(kMaxFileSize / (1024 * 1024)) + " MB");
    WriteFileAtomically(fileName, doc.Serialize());

    // The document is what the file holds now; note the file's size and time so the next
    // read needs no parse.
    Entry& entry = cache_[fileName];
    entry.status = FileStatus::Ok;
    entry.error.clear();
    entry.stamp = StampOf(fileName).value_or(FileStamp{}); // none: no file matches, read afresh next time
}

const IniDocument* KeyAccess::Document(const std::string& fileName)
{
    Entry& entry = load(fileName);
    return entry.status == FileStatus::Ok ? &entry.doc : nullptr;
}

void KeyAccess::Edit(const std::string& fileName, const std::function<void(IniDocument&)>& edit)
{
    Entry& entry = load(fileName);
    // Nothing is written into a file that could not be read whole, nor ASCII into UTF-16.
    if (entry.status == FileStatus::Unreadable || entry.status == FileStatus::Utf16)
        throw SystemError(error_number::FileAccess, entry.error);
    if (entry.status == FileStatus::Missing)
        entry.doc = IniDocument{};
    // The cached document is changed in place: a copy would double the memory of a large
    // file. When the edit or the write fails, it no longer matches the file and is dropped.
    try {
        edit(entry.doc);
        save(fileName, entry.doc);
    } catch (...) {
        cache_.erase(fileName);
        throw;
    }
}

WriteResult KeyAccess::WriteSetting(std::string_view section, std::string_view key,
                                    std::optional<std::string_view> value,
                                    const std::string& fileName)
{
    try {
        if (!IniDocument::ValidSection(section) || !IniDocument::ValidKey(key)
            || (value && !IniDocument::ValidValue(*value)))
            throw SystemError(error_number::BadArgument,
                              "A section, key or value holds a character that cannot be written");
        Edit(fileName, [&](IniDocument& doc) {
            if (value)
                doc.Set(section, key, *value);
            else
                doc.Remove(section, key);
        });
        return {};
    } catch (const SystemError& e) {
        ReportSystemError(prompts_, e, "Declarations", "WriteSetting", "", fileName);
        return {kFailed, e.number(), e.what()};
    }
}

} // namespace vm880
