#include "base/file_kind.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace vm880 {

namespace {

PathKind kindOf(const std::string& path, int& error)
{
    struct stat st {};
    error = 0;
    if (path.empty())
        return PathKind::Missing;
    if (::stat(path.c_str(), &st) != 0) {
        error = errno;
        return error == ENOENT || error == ENOTDIR ? PathKind::Missing : PathKind::Unknown;
    }
    if (S_ISREG(st.st_mode))
        return PathKind::RegularFile;
    if (S_ISDIR(st.st_mode))
        return PathKind::Folder;
    if (S_ISFIFO(st.st_mode))
        return PathKind::NamedPipe;
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return PathKind::Device;
    if (S_ISSOCK(st.st_mode))
        return PathKind::Socket;
    return PathKind::Unknown;
}

} // namespace

PathKind KindOfPath(const std::string& path)
{
    int error = 0;
    return kindOf(path, error);
}

std::string NotARegularFile(const std::string& path)
{
    int error = 0;
    switch (kindOf(path, error)) {
    case PathKind::RegularFile:
        return {};
    case PathKind::Missing:
        return "does not exist";
    case PathKind::Folder:
        return "is a folder, not a file";
    case PathKind::NamedPipe:
        return "is a named pipe (FIFO), not a file";
    case PathKind::Device:
        return "is a device, not a file";
    case PathKind::Socket:
        return "is a socket, not a file";
    case PathKind::Unknown:
        break;
    }
    return error != 0 ? "cannot be examined: " + std::string(std::strerror(error)) : "is not a regular file";
}

} // namespace vm880
