#pragma once
// Replaces a file's contents all at once: the bytes go to a temporary file in the target's
// folder, are flushed to disk, and the temporary file is renamed over the target, after which
// the folder is flushed too; a failure or a crash leaves the old file or the new one, never
// half of one. A symbolic link is followed, so the file it names gets the new contents. A file
// known under several names (hard links) stays one file: after the complete temporary copy was
// written and read back, the new contents are written into the file itself.

#include <string>
#include <string_view>

namespace vm880 {

// Throws SystemError when the folder is missing, the file is read-only (no owner write
// permission, even for root), or the data cannot be written.
void WriteFileAtomically(const std::string& fileName, std::string_view data);

// The names of the temporary files a save of `fileName` creates beside its target:
// "." + the target's name + "." + six characters.
bool IsSaveTemporaryOf(const std::string& targetName, const std::string& candidate);

} // namespace vm880
