#include "model/atomic_file.h"

#include "model/error_report.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vm880 {

namespace {

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

} // namespace

void WriteFileAtomically(const std::string& fileName, std::string_view data)
{
    const fs::path target(fileName);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throw SystemError(error_number::PathNotFound, "Path not found: " + folder.string());

    fs::perms perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read
        | fs::perms::others_read;
    fs::file_status st = fs::status(target, ec);
    if (!ec && fs::exists(st)) {
        if (!fs::is_regular_file(st))
            throw SystemError(error_number::FileAccess, "Not a regular file: " + fileName);
        // A file without write permission is read-only for us even when we run as root.
        if ((st.permissions() & fs::perms::owner_write) == fs::perms::none)
            throw SystemError(error_number::FileAccess, "The file is read-only: " + fileName);
        perms = st.permissions();
    }

    std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throwErrno("Cannot write in " + folder.string(), errno);
    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(temp.c_str());
        throwErrno("Cannot write " + fileName, err);
    };
    std::size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fchmod(fd, static_cast<mode_t>(perms)) != 0 || ::fsync(fd) != 0)
        fail(errno);
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(temp.c_str());
        throwErrno("Cannot write " + fileName, err);
    }
    if (::rename(temp.c_str(), fileName.c_str()) != 0) {
        int err = errno;
        ::unlink(temp.c_str());
        throwErrno("Cannot replace " + fileName, err);
    }
}

} // namespace vm880
