#pragma once
// The list of the four settings files opened or saved last, most recent first.

#include <string>
#include <vector>

namespace vm880 {

class RecentFiles {
public:
    static constexpr int kMax = 4;

    // Puts a path on top: a path already listed moves up, a new one pushes the oldest out
    // when the list is full. Paths compare exactly; a blank path is ignored.
    void Update(const std::string& path);

    int count() const { return static_cast<int>(paths_.size()); }
    // Item 1 is the most recent; an item that does not exist is empty.
    std::string Item(int index) const;
    const std::vector<std::string>& paths() const { return paths_; }

private:
    std::vector<std::string> paths_;
};

} // namespace vm880
