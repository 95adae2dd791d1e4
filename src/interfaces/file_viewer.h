#pragma once
// Opens a text file (the validation report) in the desktop's viewer, without waiting for it.

#include <string>

namespace vm880 {

class FileViewer {
public:
    virtual ~FileViewer() = default;
    // False when no viewer could be started.
    virtual bool Open(const std::string& path) = 0;
};

} // namespace vm880
