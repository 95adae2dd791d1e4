#pragma once
// Fuzz targets for the settings-file parser and the whole reader. The same functions replay
// the committed corpus in the normal test run (tests/model/fuzz_corpus_test.cpp).

#include "model/ini_document.h"
#include "model/key_access.h"
#include "model/reader.h"
#include "platform/file_viewer.h"
#include "platform/prompts.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace vm880::fuzz {

// Answers every question with its first button and never shows anything.
struct SilentPrompts : Prompts {
    Answer Message(int style, std::string_view, std::string_view) override
    {
        const int buttons = style & 7;
        return buttons == 4 || buttons == 3 ? Answer::Yes : Answer::Ok;
    }
    std::optional<std::string> Input(std::string_view, std::string_view, std::string_view) override
    {
        return std::string("60");
    }
    void Beep() override {}
    void ShowWait(std::string_view, std::string_view) override {}
    void HideWait() override {}
};

struct NoViewer : FileViewer {
    bool Open(const std::string&) override { return true; }
};

// Parsing never fails, and what it writes parses back to the same text.
inline void ParseIni(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string once = IniDocument::Parse(text).Serialize();
    const std::string twice = IniDocument::Parse(once).Serialize();
    if (once != twice)
        std::abort();
}

// Any file loads into a complete, valid model or is refused; nothing crashes.
inline void LoadSettingsFile(const std::uint8_t* data, std::size_t size)
{
    static const std::filesystem::path dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "vm880-fuzz-XXXXXX").string();
        return std::filesystem::path(::mkdtemp(pattern.data()));
    }();
    const std::string dat = (dir / "fuzz.dat").string();
    {
        std::ofstream out(dat, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    SilentPrompts prompts;
    KeyAccess keys(prompts);
    NoViewer viewer;
    ConfigModel model;
    model.DatFilePath = dat;
    FileLoadServices services{model, keys, prompts, viewer, dir.string(),
                              [] { return std::string("20260101 0000"); }};
    const FileLoadResult result = FileLoad(services);
    if (result.outcome == FileLoadResult::Fatal)
        std::abort();
}

} // namespace vm880::fuzz
