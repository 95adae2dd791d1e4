#pragma once
// The serial lines an upload of changes would send for the model as it stands: what an
// editor's Apply has put on the way to the controller.

#include "link/command_catalogue.h"
#include "model/config_model.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vm880::test {

inline std::vector<std::string> ChangedUploadLines(ConfigModel& m)
{
    std::vector<std::string> lines;
    for (const Step& step : UploadOrder(m)) {
        if (step.group->scope != Scope::Always || !IsChosen(*step.item, m, step.ref))
            continue;
        for (const SerialLine& line : SerialLines(*step.item, m, step.ref))
            lines.push_back(line.text);
    }
    return lines;
}

// The lines an upload of changes sends for `after` that it did not send for `before` (some
// items go out whatever their flags say).
inline std::vector<std::string> AddedUploadLines(ConfigModel before, ConfigModel& after)
{
    const auto old = ChangedUploadLines(before);
    std::vector<std::string> added;
    for (const std::string& line : ChangedUploadLines(after))
        if (std::find(old.begin(), old.end(), line) == old.end())
            added.push_back(line);
    return added;
}

inline bool Sends(ConfigModel& m, const std::string& line)
{
    const std::vector<std::string> lines = ChangedUploadLines(m);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace vm880::test
