#pragma once
// Reading a file the operator named. The file is opened once, without waiting: a blocking
// open of a named pipe waits for a writer and would hold the program for good. What was opened
// is then looked at, never the name again, so a file swapped for a pipe after any earlier look
// is still refused; anything but a regular file is refused with one sentence that names the
// path and what it is, and the bytes come from that same open file.

#include <cstdint>
#include <optional>
#include <string>

namespace vm880 {

// A file's size and modification time: enough to tell that a file read before is unchanged.
struct FileStamp {
    std::uintmax_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

class InputFile {
public:
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // A regular file, open for reading.
    bool IsOpen() const { return fd_ >= 0; }
    // Nothing stands at the path.
    bool Missing() const { return missing_; }
    // Empty while all is well; otherwise why the file cannot be read, one sentence naming the
    // path: "<path> does not exist.", "<path> is a named pipe (FIFO), not a file.", "<path> is
    // a folder, not a file.", "<path> is a device, not a file.", "<path> is a socket, not a
    // file.", "<path> cannot be opened: <reason>." or "<path> cannot be read: <reason>.".
    const std::string& Refusal() const { return refusal_; }
    // Of the open file, as it was when opened; zero when none is open.
    const FileStamp& Stamp() const { return stamp_; }

    // The first `limit` bytes (all of the file when shorter); false, with Refusal() saying
    // why, when the file is not open or cannot be read.
    bool Read(std::size_t limit, std::string& text);

private:
    std::string path_;
    int fd_ = -1;
    bool missing_ = false;
    std::string refusal_;
    FileStamp stamp_;
};

// The stamp of what stands at `path` now; nothing when nothing does. It never opens anything,
// so it only tells whether a file read before has changed.
std::optional<FileStamp> StampOf(const std::string& path);

// The sentence that refuses `path` as what its mode (st_mode) says it is, for code that
// looked at a file it does not read (a save's target).
std::string NotAFile(const std::string& path, unsigned mode);

// The refusal of `path` as an InputFile gives it; "" for a regular file that can be read.
std::string NotARegularFile(const std::string& path);

} // namespace vm880
