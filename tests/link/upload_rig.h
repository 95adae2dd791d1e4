#pragma once
// Test rigs for the upload: over the serial cable against the simulated controller on a
// pseudo-terminal, and over the radio link with a recording keyer and sound output. Also
// reads the hand-checked upload transcripts, so the tests compare against them rather than
// against the catalogue's own rendering.

#include "link/busy_state.h"
#include "link/command_catalogue.h"
#include "link/controller_links.h"
#include "link/dtmf_link.h"
#include "link/serial_link.h"
#include "link/upload_engine.h"
#include "model/config_model.h"
#include "model/key_access.h"
#include "pty_serial_port.h"
#include "recording_serial_port.h"
#include "recording_sound_out.h"
#include "scripted_prompts.h"
#include "sim_controller.h"
#include "skipping_clock.h"
#include "temp_folder.h"

#include "command_reference_model.h"

#include <chrono>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace vm880::test {


// One row of a transcript: the item's label ("HangTime(2)") and what it put on the link.
struct GoldenRow {
    std::string label;
    std::string text; // serial: the line; radio: the keys heard, commands joined by blanks
    int port = 0;     // radio: the port unlocked for it
    std::string after; // radio: "lock", "forget" or "own" (its own unlock before, lock after)
};

inline std::string ReadGolden(const std::string& name)
{
    std::ifstream in(std::string(VM880_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The lines a complete serial upload sends, in order; items not sent are left out.
inline std::vector<GoldenRow> GoldenSerialRows(const std::string& name)
{
    std::vector<GoldenRow> rows;
    std::istringstream in(ReadGolden(name));
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '[')
            continue;
        std::istringstream fields(line);
        GoldenRow row;
        std::getline(fields, row.label, '\t');
        std::getline(fields, row.text, '\t');
        if (row.text != "(not sent)")
            rows.push_back(row);
    }
    return rows;
}

// The radio transcript, one row per item position, with where its frame ends.
inline std::vector<GoldenRow> GoldenToneRows(const std::string& name)
{
    std::vector<GoldenRow> rows;
    std::istringstream in(ReadGolden(name));
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '[')
            continue;
        if (line[0] == '\t') {
            rows.back().after = line.find("own unlock") != std::string::npos ? "own"
                                : line.find("forgotten") != std::string::npos ? "forget"
                                                                               : "lock";
            continue;
        }
        std::istringstream fields(line);
        GoldenRow row;
        std::string port;
        std::getline(fields, row.label, '\t');
        std::getline(fields, port, '\t');
        std::getline(fields, row.text, '\t');
        row.port = port.back() - '0';
        rows.push_back(row);
    }
    return rows;
}

// Every change flag the upload reads, raised.
inline void RaiseEveryFlag(ConfigModel& model)
{
    for (const Step& step : UploadOrder(model)) {
        for (FlagFn flag : step.item->chosenBy)
            flag(model, step.ref) = kTrue;
        for (FlagFn flag : step.item->clears)
            flag(model, step.ref) = kTrue;
    }
}

// The label the transcripts give a step.
inline std::string StepLabel(const Step& step)
{
    std::string label(step.item->name);
    switch (step.block->over) {
    case Over::Once: break;
    case Over::EachPort: label += "(" + std::to_string(step.ref.port) + ")"; break;
    case Over::EachIndex: label += "(" + std::to_string(step.ref.index) + ")"; break;
    case Over::EachPortAndTone:
        label += "(" + std::to_string(step.ref.port) + "," + std::to_string(step.ref.index) + ")";
        break;
    }
    return label;
}

// Labels of the items whose change flags (any of them) are still raised.
inline std::set<std::string> RaisedItems(ConfigModel& model)
{
    std::set<std::string> raised;
    for (const Step& step : UploadOrder(model))
        for (FlagFn flag : step.item->chosenBy)
            if (flag(model, step.ref) != kFalse)
                raised.insert(StepLabel(step));
    return raised;
}

class CountingProgress : public UploadProgress {
public:
    void StepProgress() override { ++steps; }
    void ResetProgress() override { ++resets; }
    int steps = 0;
    int resets = 0;
};

// Over the serial cable, against the simulated controller. The tone link is there because
// the engine holds both; it is never keyed here.
struct SerialRig {
    explicit SerialRig(bool hasRTC = true) : model(ReferenceModel(hasRTC))
    {
        model.ComPort = 2;
        model.SerialDelay = 0;
        model.DatFilePath = folder.file("club.dat");
        // Three periods of 100 ms: a silent controller is given up on in a third of a second.
        serial.SetTiming({100, 3, 10});
    }

    int Send(bool complete) { return engine.SendUpdate(complete, &progress); }

    Text UnlockKey(const std::string& key) { return keys.ReadSetting("Unlock", key, model.DatFilePath); }

    SimController sim;
    PtySerialPort port{sim.SlavePath()};
    SkippingClock clock;
    ConfigModel model;
    ScriptedPrompts prompts;
    KeyAccess keys{prompts};
    TempFolder folder;
    FakeClock toneClock;
    RecordingTimeline timeline{toneClock};
    RecordingSoundOut sound{timeline};
    TonePlayer player{sound, prompts};
    SerialLink serial{model, port, clock, prompts};
    ToneLink tone{{model, port, clock, prompts, player}};
    UploadEngine engine{{model, prompts, keys, clock, serial, tone}};
    CountingProgress progress;
    // The program's link chooser and busy state, for the windows and commands besides.
    ControllerLinkChooser links{model, serial, tone};
    BusyState busy;
};

// Over the radio link: the keying port and the sound output record on one timeline.
struct RadioRig {
    explicit RadioRig(bool hasRTC = true) : model(ReferenceModel(hasRTC))
    {
        model.ComPort = 0;
        model.DTMFComPort = 4;
        model.WhichSend = 1;
        model.TxTemp = 200;
        model.DatFilePath = folder.file("club.dat");
        clock.yieldStepMs = 0;
    }

    int Send(bool complete) { return engine.SendUpdate(complete, &progress); }
    bool Keyed() const { return port.keyedBy(true); }
    Text UnlockKey(const std::string& key) { return keys.ReadSetting("Unlock", key, model.DatFilePath); }

    ConfigModel model;
    FakeClock clock;
    RecordingTimeline timeline{clock};
    RecordingSerialPort port{timeline};
    RecordingSoundOut sound{timeline};
    ScriptedPrompts prompts;
    KeyAccess keys{prompts};
    TempFolder folder;
    TonePlayer player{sound, prompts};
    SerialLink serial{model, port, clock, prompts};
    ToneLink tone{{model, port, clock, prompts, player}};
    UploadEngine engine{{model, prompts, keys, clock, serial, tone}};
    CountingProgress progress;
    // The program's link chooser and busy state, for the windows and commands besides.
    ControllerLinkChooser links{model, serial, tone};
    BusyState busy;
};

} // namespace vm880::test
