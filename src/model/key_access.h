#pragma once
// Single-key access to INI files (the ".dat" settings files and zel.ini). Every access to
// those files goes through here. Each file is parsed once and kept; it is parsed again only
// when its size or time changes on disk. Writes go to a temporary file in the same folder
// that is then renamed over the old one, so a failed write never leaves half a file.

#include "model/ini_document.h"
#include "base/file_kind.h"
#include "base/types.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace vm880 {

class Prompts;

// The largest file read or written: far more than a full settings file; anything larger is
// not one of ours. A save never writes more, and a settings file is loaded only when saving
// it back stays below it (see FileLoad).
inline constexpr std::uintmax_t kMaxSettingsFileSize = 16u * 1024 * 1024;

enum class FileStatus {
    Ok,         // the file was read
    Missing,    // there is no such file (reads as empty)
    Unreadable, // it exists but cannot be read: permissions, I/O error, not a regular file, too large
    Utf16,      // it is saved as UTF-16: no key of it can be read, and none is written into it
};

struct WriteResult {
    int status = kDone;     // kDone or kFailed
    int errorNumber = 0;    // as in the run-time error report
    std::string description;
    bool ok() const { return status == kDone; }
};

class KeyAccess {
public:
    // Failed writes are reported through `prompts` as run-time errors.
    explicit KeyAccess(Prompts& prompts) : prompts_(prompts) {}

    // The trimmed value; empty for a missing file, section or key, for an unreadable file,
    // and for the literal value "Default".
    Text ReadSetting(std::string_view section, std::string_view key, const std::string& fileName);

    // What the last reads found of the file; `problem`, when given, gets the sentence that
    // names the file and says why it cannot be used (empty when Ok or Missing).
    FileStatus Status(const std::string& fileName, std::string* problem = nullptr);

    // The same after reading the file afresh, through one open that never waits (`problem`
    // always set); the parse kept so far is dropped. A command that must refuse a file before
    // letting go of the one it has calls this first; the load that follows uses what it read.
    FileStatus Reload(const std::string& fileName, std::string& problem);

    // Writes Key=Value (a null value deletes the entry). The file is created when missing.
    // Refused (and reported) when the file is read-only, its folder is missing, the disk is
    // full, or a name or the value holds a line break or NUL.
    WriteResult WriteSetting(std::string_view section, std::string_view key,
                             std::optional<std::string_view> value, const std::string& fileName);

    // Applies many changes to one file and writes it once; `edit` may throw SystemError.
    // Throws SystemError when the file cannot be read or written, or would grow beyond
    // kMaxSettingsFileSize; nothing is reported and the file stays as it was.
    void Edit(const std::string& fileName, const std::function<void(IniDocument&)>& edit);

    // The parsed file as the last read found it; nullptr when it is missing or unreadable.
    const IniDocument* Document(const std::string& fileName);

    // Forgets every parsed file.
    void Forget() { cache_.clear(); }

    // Tells `watcher` of every key ReadSetting is asked for, found or not, until it is given
    // an empty one: what a reader reads, for the tests that hold it against the writer.
    using ReadWatcher = std::function<void(std::string_view section, std::string_view key)>;
    void WatchReads(ReadWatcher watcher) { watcher_ = std::move(watcher); }

private:
    struct Entry {
        FileStatus status = FileStatus::Missing;
        std::string error;
        IniDocument doc;
        FileStamp stamp;
        static Entry fault(FileStatus status, std::string error = {})
        {
            Entry e;
            e.status = status;
            e.error = std::move(error);
            return e;
        }
    };
    Entry& load(const std::string& fileName);
    Entry& read(const std::string& fileName);
    void save(const std::string& fileName, const IniDocument& doc);

    Prompts& prompts_;
    std::map<std::string, Entry> cache_;
    ReadWatcher watcher_;
};

} // namespace vm880
