#pragma once
// The serial lines an upload of changes would send for the model as it stands, without
// sending them: the editors' sweeps check that an applied change reaches the controller.

#include "link/command_catalogue.h"
#include "model/config_model.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vm880::test {

inline std::vector<std::string> ChangedCommands(ConfigModel& model)
{
    std::vector<std::string> lines;
    for (const Step& step : UploadOrder(model)) {
        if (step.group->scope != Scope::Always || !IsChosen(*step.item, model, step.ref))
            continue;
        for (const SerialLine& line : SerialLines(*step.item, model, step.ref))
            lines.push_back(line.text);
    }
    return lines;
}

inline bool Sends(ConfigModel& model, const std::string& line)
{
    const std::vector<std::string> lines = ChangedCommands(model);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace vm880::test
