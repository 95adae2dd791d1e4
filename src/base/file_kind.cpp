#include "base/file_kind.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vm880 {

namespace {

FileStamp stampOf(const struct stat& st)
{
    return {static_cast<std::uintmax_t>(st.st_size),
            std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

std::string because(const std::string& path, const char* what, int error)
{
    return path + " " + what + ": " + std::strerror(error) + ".";
}

} // namespace

std::string NotAFile(const std::string& path, unsigned mode)
{
    // What else a look that follows links finds is a device (character or block).
    const char* what = "is a device, not a file";
    if (S_ISDIR(mode))
        what = "is a folder, not a file";
    else if (S_ISFIFO(mode))
        what = "is a named pipe (FIFO), not a file";
    else if (S_ISSOCK(mode))
        what = "is a socket, not a file";
    return path + " " + what + ".";
}

InputFile::InputFile(const std::string& path) : path_(path)
{
    // Without O_NONBLOCK a named pipe would wait here for a writer; O_NOCTTY keeps a terminal
    // from becoming the program's own.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        missing_ = error == ENOENT || error == ENOTDIR;
        if (missing_) {
            refusal_ = path + " does not exist.";
        } else if (error == ENXIO) { // a socket, or a device without its driver
            struct stat st {};
            (void)::stat(path.c_str(), &st); // looked at only to say which
            refusal_ = NotAFile(path, st.st_mode);
        } else {
            refusal_ = because(path, "cannot be opened", error);
        }
        return;
    }
    struct stat st {};
    (void)::fstat(fd, &st); // a failure leaves a mode that is no regular file
    if (!S_ISREG(st.st_mode)) {
        refusal_ = NotAFile(path, st.st_mode);
        ::close(fd);
        return;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    fd_ = fd;
    stamp_ = stampOf(st);
}

InputFile::~InputFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool InputFile::Read(std::size_t limit, std::string& text)
{
    text.clear();
    if (fd_ < 0)
        return false;
    text.reserve(static_cast<std::size_t>(std::min<std::uintmax_t>(stamp_.size, limit)));
    char buffer[65536];
    while (text.size() < limit) {
        const ssize_t n = ::read(fd_, buffer, std::min(sizeof buffer, limit - text.size()));
        if (n < 0) {
            refusal_ = because(path_, "cannot be read", errno);
            text.clear();
            return false;
        }
        if (n == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

std::optional<FileStamp> StampOf(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return stampOf(st);
}

std::string NotARegularFile(const std::string& path)
{
    return InputFile(path).Refusal();
}

} // namespace vm880
