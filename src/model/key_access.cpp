#include "model/key_access.h"

#include "base/file_kind.h"
#include "model/atomic_file.h"
#include "model/error_report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace vm880 {

namespace {

constexpr std::size_t kMaxFileSize = kMaxSettingsFileSize;

} // namespace

KeyAccess::Entry& KeyAccess::load(const std::string& fileName)
{
    Entry& entry = cache_[fileName];
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0) {
        entry = (errno == ENOENT || errno == ENOTDIR)
            ? Entry::fault(FileStatus::Missing)
            : Entry::fault(FileStatus::Unreadable, std::strerror(errno));
        return entry;
    }
    if (!S_ISREG(st.st_mode)) {
        entry = Entry::fault(FileStatus::Unreadable, NotARegularFile(fileName));
        return entry;
    }
    const auto size = static_cast<std::uintmax_t>(st.st_size);
    const std::int64_t time = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    if (entry.status == FileStatus::Ok && entry.size == size && entry.time == time)
        return entry; // unchanged since we parsed it
    if (size > kMaxFileSize) {
        entry = Entry::fault(FileStatus::Unreadable, "file too large");
        return entry;
    }
    std::string text;
    if (int err = ReadWholeFile(fileName, kMaxFileSize, text); err != 0) {
        entry = Entry::fault(FileStatus::Unreadable, std::strerror(err));
        return entry;
    }
    entry = Entry{};
    entry.status = FileStatus::Ok;
    entry.doc = IniDocument::ParseOwned(std::move(text));
    entry.size = size;
    entry.time = time;
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

FileStatus KeyAccess::Status(const std::string& fileName)
{
    return load(fileName).status;
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
    struct stat info {};
    if (::stat(fileName.c_str(), &info) == 0) {
        entry.size = static_cast<std::uintmax_t>(info.st_size);
        entry.time = std::int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    } else {
        cache_.erase(fileName); // forces a fresh read next time
    }
}

const IniDocument* KeyAccess::Document(const std::string& fileName)
{
    Entry& entry = load(fileName);
    return entry.status == FileStatus::Ok ? &entry.doc : nullptr;
}

void KeyAccess::Edit(const std::string& fileName, const std::function<void(IniDocument&)>& edit)
{
    Entry& entry = load(fileName);
    if (entry.status == FileStatus::Unreadable)
        throw SystemError(error_number::FileAccess, "Cannot read " + fileName + ": " + entry.error);
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
