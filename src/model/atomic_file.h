#pragma once
// Replaces a file's contents all at once: the bytes go to a temporary file in the same folder,
// which is then renamed over the target, so a failure never leaves half a file behind.

#include <string>
#include <string_view>

namespace vm880 {

// Throws SystemError when the folder is missing, the file is read-only (no owner write
// permission, even for root), or the data cannot be written.
void WriteFileAtomically(const std::string& fileName, std::string_view data);

} // namespace vm880
