#pragma once
// What every editor window receives from the main window.

namespace vm880 {

struct ConfigModel;
class Prompts;

struct EditorContext {
    ConfigModel& model;
    Prompts& prompts;
};

} // namespace vm880
