#pragma once
// Saves the whole configuration model into the settings file named by DatFilePath.

#include "model/config_model.h"

#include <functional>
#include <string_view>

namespace vm880 {

class KeyAccess;
class Prompts;

// Calls `put(section, key, value)` for every entry of the settings file, in the order in
// which a new file receives them, with the file's value forms ("0A", "90", "NONE STORED",
// emptied new codes, trimmed firmware version, HasRTC "1"/"0"). The model is not changed.
using EntrySink = std::function<void(std::string_view section, std::string_view key,
                                     std::string_view value)>;
void ForEachSettingsEntry(const ConfigModel& model, const EntrySink& put);

// Writes the model into DatFilePath in one go (entries the writer does not know stay in
// the file, in their place). On success the model takes the saved value forms and
// DatFileSaved becomes true; on failure the operator is told, the previous file is left
// intact and DatFileSaved keeps its value. Returns kDone or kFailed.
int FileWrite(ConfigModel& model, KeyAccess& keys, Prompts& prompts);

} // namespace vm880
