#pragma once
// Fuzz targets for the settings-file parser and the whole reader. The same functions replay
// the committed corpus in the normal test run (tests/model/fuzz_corpus_test.cpp).

#include "model/ini_document.h"
#include "model/key_access.h"
#include "model/reader.h"
#include "interfaces/file_viewer.h"
#include "counting_prompts.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace vm880::fuzz {


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
    test::CountingPrompts prompts;
    prompts.inputAnswer = "60";
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
