#include "model/key_access.h"

#include "model/atomic_file.h"
#include "model/error_report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vm880 {

namespace {

// Far more than a full settings file; anything larger is not one of ours.
constexpr std::uintmax_t kMaxFileSize = 16u * 1024 * 1024;

// Reads the whole file; 0 or the errno of the failure.
int readWhole(const std::string& fileName, std::string& text)
{
    int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    char buffer[65536];
    int err = 0;
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            err = errno;
            break;
        }
        if (n == 0 || text.size() + static_cast<std::size_t>(n) > kMaxFileSize) {
            err = n == 0 ? 0 : EFBIG;
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return err;
}

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
        entry = Entry::fault(FileStatus::Unreadable, "not a regular file");
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
    if (int err = readWhole(fileName, text); err != 0) {
        entry = Entry::fault(FileStatus::Unreadable, std::strerror(err));
        return entry;
    }
    entry = Entry{};
    entry.status = FileStatus::Ok;
    entry.doc = IniDocument::Parse(text);
    entry.size = size;
    entry.time = time;
    return entry;
}

Text KeyAccess::ReadSetting(std::string_view section, std::string_view key,
                            const std::string& fileName)
{
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
    WriteFileAtomically(fileName, doc.Serialize());

    // We know what is in the file now; keep it so the next read needs no parse.
    Entry& entry = cache_[fileName];
    entry.status = FileStatus::Ok;
    entry.error.clear();
    entry.doc = doc;
    struct stat info {};
    if (::stat(fileName.c_str(), &info) == 0) {
        entry.size = static_cast<std::uintmax_t>(info.st_size);
        entry.time = std::int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    } else {
        entry.status = FileStatus::Missing; // forces a fresh read next time
    }
}

void KeyAccess::Edit(const std::string& fileName, const std::function<void(IniDocument&)>& edit)
{
    Entry& entry = load(fileName);
    if (entry.status == FileStatus::Unreadable)
        throw SystemError(error_number::FileAccess, "Cannot read " + fileName + ": " + entry.error);
    IniDocument doc = entry.status == FileStatus::Ok ? entry.doc : IniDocument{};
    edit(doc);
    save(fileName, doc);
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
