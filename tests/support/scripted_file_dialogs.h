#pragma once
// File dialogs answered from a script. Every dialog is recorded; one the script did not
// expect fails the running test and counts as cancelled.

#include "interfaces/file_dialogs.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace vm880::test {

class ScriptedFileDialogs : public FileDialogs {
public:
    struct Shown {
        bool save = false;
        std::string filter, title, preset;
    };

    // The next open dialog returns `path` ("" : cancelled).
    ScriptedFileDialogs& Open(std::string path)
    {
        opens_.push_back(std::move(path));
        return *this;
    }
    // The next save dialog returns `path` ("" : cancelled).
    ScriptedFileDialogs& Save(std::string path)
    {
        saves_.push_back(std::move(path));
        return *this;
    }

    std::string OpenFile(std::string_view filter, std::string_view title) override
    {
        shown_.push_back({false, std::string(filter), std::string(title), {}});
        return next(opens_, title);
    }
    std::string SaveFile(std::string_view filter, std::string_view title, std::string_view preset) override
    {
        shown_.push_back({true, std::string(filter), std::string(title), std::string(preset)});
        return next(saves_, title);
    }

    const std::vector<Shown>& shown() const { return shown_; }
    std::size_t pending() const { return opens_.size() + saves_.size(); }

private:
    static std::string next(std::deque<std::string>& answers, std::string_view title)
    {
        if (answers.empty()) {
            ADD_FAILURE() << "unscripted file dialog \"" << title << "\"";
            return {};
        }
        std::string answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }

    std::deque<std::string> opens_, saves_;
    std::vector<Shown> shown_;
};

} // namespace vm880::test
