#pragma once
// The sweep every editor test runs over its text fields: a good value passes and marks the
// field pending under its number, a bad one is refused with the field's own warning and kept
// in the box for the operator to correct.

#include "editor_driver.h"
#include "scripted_prompts.h"

#include <functional>
#include <span>
#include <string>

namespace vm880::test {

struct Bounds {
    const char* name;
    int number; // the pending state while it is edited
    const char* good;
    const char* bad;
    const char* title;
    const char* text;
};

inline void SweepRefusals(EditorDriver& ui, ScriptedPrompts& prompts, const std::function<int()>& pending,
                          std::span<const Bounds> bounds)
{
    for (const Bounds& b : bounds) {
        SCOPED_TRACE(std::string(b.name) + " " + b.bad);
        ui.Type(b.name, b.good);
        EXPECT_EQ(pending(), b.number);
        EXPECT_TRUE(ui.Leave(b.name));
        ui.Type(b.name, b.bad);
        prompts.Answer(Answer::Ok, b.title);
        EXPECT_FALSE(ui.Leave(b.name));
        ASSERT_FALSE(prompts.prompts().empty());
        EXPECT_EQ(prompts.prompts().back().text, b.text);
        EXPECT_EQ(prompts.prompts().back().style, 48);
        EXPECT_EQ(ui.Text(b.name), b.bad);
    }
    EXPECT_EQ(prompts.pending(), 0u);
}

} // namespace vm880::test
