#pragma once

#include "interfaces/file_viewer.h"

namespace vm880 {

// The path goes to the desktop as one file URL, never through a shell.
class QtFileViewer : public FileViewer {
public:
    bool Open(const std::string& path) override;
};

} // namespace vm880
