#include "app/recent_files.h"

#include "model/ini_document.h"

#include <algorithm>

namespace vm880 {

void RecentFiles::Update(const std::string& path)
{
    if (TrimBlanks(path).empty())
        return;
    auto found = std::find(paths_.begin(), paths_.end(), path);
    if (found != paths_.end()) {
        std::rotate(paths_.begin(), found, found + 1);
        return;
    }
    paths_.insert(paths_.begin(), path);
    if (static_cast<int>(paths_.size()) > kMax)
        paths_.pop_back();
}

std::string RecentFiles::Item(int index) const
{
    if (index < 1 || index > count())
        return {};
    return paths_[static_cast<std::size_t>(index - 1)];
}

} // namespace vm880
