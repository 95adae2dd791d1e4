#pragma once
// Saves cut short: a child process saves a settings file and is killed at a random moment.
// Shared by the test (a few dozen trials) and the benchmark tool (thousands).

#include <string>

namespace vm880::test {

struct KillTrials {
    int trials = 0;
    int oldKept = 0;    // the file held the settings from before the save
    int newWritten = 0; // the file held the new settings
    int torn = 0;       // anything else: never acceptable
    int leftBehind = 0; // trials after which a temporary file stood beside the settings file
    int notCleared = 0; // temporary files still there after the next complete save
};

// Runs `trials` kills in `folder`; `seed` makes the kill moments repeatable.
KillTrials RunKillDuringSave(const std::string& folder, int trials, unsigned seed);

} // namespace vm880::test
