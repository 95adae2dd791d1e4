#pragma once
// A model as the reader leaves it after loading an empty settings file (every setting at
// its default), with the area flags lowered so that a test sees what Apply raises.

#include "model/config_model.h"
#include "model/key_access.h"
#include "model/reader.h"
#include "interfaces/file_viewer.h"
#include "scripted_prompts.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace vm880::test {

inline ConfigModel LoadDefaults()
{
    struct NoViewer : FileViewer {
        bool Open(const std::string&) override { return true; }
    };
    TempFolder dir;
    const std::string dat = dir.file("empty.dat");
    WriteFile(dat, "[Version]\r\nFirmwareVersion=60\r\nHasRTC=1\r\n");
    ScriptedPrompts quiet;
    quiet.AcceptNotices().Always(Answer::No, "DAT File Errors");
    KeyAccess keys{quiet};
    NoViewer viewer;
    ConfigModel m;
    m.DatFilePath = dat;
    FileLoadServices services{m, keys, quiet, viewer, dir.path().string(), [] { return std::string("20260101 0000"); }};
    EXPECT_EQ(FileLoad(services).outcome, FileLoadResult::Loaded);
    for (Flag* area : {&m.TimersChanged, &m.PortSwitchesChanged, &m.IDsChanged, &m.AlarmsChanged,
                       &m.CourtesyChanged, &m.SpecialCodesChanged})
        *area = kFalse;
    m.DatFileSaved = kTrue;
    return m;
}

// Loaded once per test program; each test copies it.
inline const ConfigModel& Defaults()
{
    static const ConfigModel model = LoadDefaults();
    return model;
}

} // namespace vm880::test
