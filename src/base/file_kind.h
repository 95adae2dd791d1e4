#pragma once
// What a path the operator picked names, found without opening it: opening a named pipe
// waits for a writer and opening a device talks to hardware, so both would hang or harm the
// program before any size or content check could refuse them.

#include <string>

namespace vm880 {

enum class PathKind { Missing, RegularFile, Folder, NamedPipe, Device, Socket, Unknown };

// Follows symbolic links, as opening the file would.
PathKind KindOfPath(const std::string& path);

// "" for a regular file; otherwise why it is not one, to follow the file's name in a
// message: "does not exist", "is a folder, not a file", "is a named pipe (FIFO), not a file",
// "is a device, not a file", "is a socket, not a file", "cannot be examined: <reason>".
std::string NotARegularFile(const std::string& path);

} // namespace vm880
