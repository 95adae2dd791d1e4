#include "model/atomic_file.h"

#include "base/file_kind.h"
#include "model/error_report.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vm880 {

namespace {

constexpr std::string_view kTempSuffix = ".XXXXXX";
constexpr int kMaxLinkHops = 40; // as the system allows when it resolves a path

int errorNumberFor(int err)
{
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return error_number::PathNotFound;
    case ENOSPC:
    case EDQUOT:
        return error_number::DiskFull;
    default:
        return error_number::FileAccess;
    }
}

[[noreturn]] void throwErrno(const std::string& what, int err)
{
    throw SystemError(errorNumberFor(err), what + ": " + std::strerror(err));
}

// The file a chain of symbolic links ends in; the name itself when it is no link. A link
// that points nowhere yet names the file to create.
fs::path followLinks(const fs::path& name)
{
    fs::path path = name;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec)))
            return path;
        const fs::path to = fs::read_symlink(path, ec);
        if (ec)
            throwErrno("Cannot follow the link " + path.string(), ec.value());
        path = to.is_absolute() ? to : path.parent_path() / to;
    }
    throwErrno("Cannot follow the link " + name.string(), ELOOP);
}

int writeAll(int fd, std::string_view data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

// Whether the file holds exactly `data`.
bool readsBackAs(const std::string& path, std::string_view data)
{
    InputFile file(path);
    std::string back;
    return file.Read(data.size() + 1, back) && back == data;
}

// Makes the folder's new entries (the renamed file) survive a power cut. Some file systems
// cannot flush a folder; the file itself is already on disk then, so this stays silent.
void flushFolder(const fs::path& folder)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// Temporary files of earlier saves that were cut short (the program was killed or the
// machine lost power between creating and renaming them).
void removeStaleTemporaries(const fs::path& folder, const std::string& targetName)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (IsSaveTemporaryOf(targetName, name))
            ::unlinkat(::dirfd(dir), name.c_str(), 0);
    }
    ::closedir(dir);
}

// Writes `data` into the file itself, so every name of a hard-linked file sees it. The
// complete copy at `temp` was verified first; it is kept when this fails part way.
void writeInPlace(const std::string& target, const std::string& temp, std::string_view data)
{
    if (!readsBackAs(temp, data)) {
        ::unlink(temp.c_str());
        throwErrno("Cannot write " + target, EIO);
    }
    // Never waits: a named pipe put in the file's place fails here instead of blocking.
    int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        int err = errno;
        ::unlink(temp.c_str());
        throwErrno("Cannot write " + target, err);
    }
    int err = writeAll(fd, data);
    if (err == 0 && ::ftruncate(fd, static_cast<off_t>(data.size())) != 0)
        err = errno;
    if (err == 0 && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err != 0)
        throw SystemError(errorNumberFor(err),
                          "Cannot write " + target + ": " + std::strerror(err)
                              + ". The complete new contents are kept in " + temp);
    ::unlink(temp.c_str());
}

} // namespace

bool IsSaveTemporaryOf(const std::string& targetName, const std::string& candidate)
{
    const std::string prefix = "." + targetName + ".";
    if (candidate.size() != prefix.size() + kTempSuffix.size() - 1
        || candidate.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < candidate.size(); ++i) {
        const char c = candidate[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

void WriteFileAtomically(const std::string& fileName, std::string_view data)
{
    const fs::path target = followLinks(fs::path(fileName));
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throw SystemError(error_number::PathNotFound, "Path not found: " + folder.string());

    mode_t perms = S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH;
    bool linked = false;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            throw SystemError(error_number::FileAccess, NotAFile(fileName, st.st_mode));
        // A file without write permission is read-only for us even when we run as root.
        if ((st.st_mode & S_IWUSR) == 0)
            throw SystemError(error_number::FileAccess, "The file is read-only: " + fileName);
        perms = st.st_mode & 07777;
        linked = st.st_nlink > 1;
    }

    const std::string targetName = target.filename().string();
    std::string temp = (folder / ("." + targetName + std::string(kTempSuffix))).string();
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throwErrno("Cannot write in " + folder.string(), errno);
    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(temp.c_str());
        throwErrno("Cannot write " + fileName, err);
    };
    if (int err = writeAll(fd, data); err != 0)
        fail(err);
    // The data must be on disk before the rename makes it the file.
    if (::fchmod(fd, perms) != 0 || ::fsync(fd) != 0)
        fail(errno);
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(temp.c_str());
        throwErrno("Cannot write " + fileName, err);
    }
    if (linked) {
        writeInPlace(target.string(), temp, data);
    } else if (::rename(temp.c_str(), target.c_str()) != 0) {
        int err = errno;
        ::unlink(temp.c_str());
        throwErrno("Cannot replace " + fileName, err);
    }
    flushFolder(folder);
    removeStaleTemporaries(folder, targetName);
}

} // namespace vm880
