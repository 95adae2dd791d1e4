// Whole downloads and imports: the simulated controller (or memory files on disk) to the saved
// settings file, loaded again and compared with the configuration the memory was made from;
// and every failure leaving no settings file behind.

#include "download/download_session.h"

#include "download/memory_layout.h"
#include "download/serial_download.h"
#include "guarded_fifo.h"
#include "link/serial_link.h"
#include "memory_image_encoder.h"
#include "model/config_model.h"
#include "model/error_report.h"
#include "model/key_access.h"
#include "model/reader.h"
#include "model/settings_writer.h"
#include "interfaces/file_viewer.h"
#include "pty_serial_port.h"
#include "scripted_file_dialogs.h"
#include "scripted_prompts.h"
#include "sim_download.h"
#include "sim_download_options.h"
#include "skipping_clock.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>

namespace vm880::test {
namespace {

using Entries = std::map<std::string, std::string>;

struct NoViewer : FileViewer {
    bool Open(const std::string&) override { return false; }
};

Entries entriesOf(const ConfigModel& m)
{
    Entries entries;
    ForEachSettingsEntry(m, [&](std::string_view, std::string_view key, std::string_view value) {
        entries[std::string(key)] = value;
    });
    return entries;
}

// The keys a download fills: the main image's, the version, and the boards' when fitted.
bool downloaded(const std::string& key, bool options)
{
    static const std::set<std::string> image = [] {
        std::set<std::string> keys{"FirmwareVersion"};
        for (const LayoutSection& s : MemoryLayout())
            for (int e = 1; s.item != nullptr && e <= s.entries; ++e)
                keys.insert(EntryKey(s, e));
        return keys;
    }();
    if (image.count(key))
        return true;
    if (!options)
        return false;
    const std::size_t open = key.find('(');
    const std::string name = key.substr(0, open);
    const int n = open == std::string::npos ? 0 : std::atoi(key.c_str() + open + 1);
    if (name == "AutoDial" || name == "TollRestrict" || name == "AnswerCode" || name == "RingNumber")
        return true;
    if (name == "FreqString" || name == "CTCSS" || name == "CTCSSMode" || name == "RadioMode")
        return n > 10;
    return (name == "MessageMacro" && n > 40) || (name == "DTMF" && n > 20);
}

// Compares every key a download fills with the configuration it came from; returns how many.
int expectDownloaded(const ConfigModel& loaded, const ConfigModel& source, bool options)
{
    const Entries got = entriesOf(loaded);
    int compared = 0;
    for (const auto& [key, value] : entriesOf(source))
        if (downloaded(key, options)) {
            const auto it = got.find(key);
            EXPECT_EQ(it == got.end() ? "<missing>" : it->second, value) << key;
            ++compared;
        }
    return compared;
}

// The sample as the controller would hold it: with or without the clock board.
ConfigModel served(bool rtc)
{
    ConfigModel m = SampleControllerModel();
    m.HasRTC = rtc ? kTrue : kFalse;
    return m;
}

std::vector<std::string> datFiles(const TempFolder& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        if (entry.path().extension() == ".dat" && entry.is_regular_file())
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

constexpr std::time_t kNow = 1796810400; // a fixed minute

struct SessionRig {
    explicit SessionRig(SimDownloadFaults faults = {}, bool rtc = true) : server(served(rtc), faults)
    {
        sim.SetPolicy(server.Policy());
        model.ComPort = 1;
        prompts.AcceptNotices();
    }

    int Download()
    {
        views = 0;
        return DownloadToSettingsFile(context, download);
    }
    int Import(const std::string& mainFile) { return ImportToSettingsFile(context, dialogs, mainFile); }

    // The saved file read back as any settings file is.
    // An import has no firmware version: the load asks for one.
    ConfigModel Load(bool askVersion = false)
    {
        ConfigModel loaded;
        loaded.DatFilePath = model.DatFilePath;
        ScriptedPrompts quiet;
        quiet.AcceptNotices();
        quiet.Always(Answer::Yes, "VERSION DIFFERENCE");
        if (askVersion)
            quiet.Type("6012", "Enter Firmware Version");
        NoViewer viewer;
        FileLoadServices services{loaded, keys, quiet, viewer, folder.path().string(), {}};
        EXPECT_EQ(FileLoad(services).outcome, FileLoadResult::Loaded);
        return loaded;
    }

    SimDownloadServer server; // outlives the simulator's thread, which answers through it
    SimController sim;
    PtySerialPort port{sim.SlavePath()};
    SkippingClock clock;
    ConfigModel model;
    ScriptedPrompts prompts;
    KeyAccess keys{prompts};
    TempFolder folder;
    ScriptedFileDialogs dialogs;
    SerialLink serial{model, port, clock, prompts};
    SerialDownload download{model, prompts, clock, serial, nullptr, DownloadTiming{1000, 60000, 60000, 4000, 60, 10}};
    int views = 0;
    SessionContext context{model, prompts, keys, folder.path().string(), folder.file("zel.ini"), kNow,
                           [this] { ++views; }};
};

TEST(DownloadSession, SavedFileLoadsAsTheControllersConfiguration)
{
    for (bool rtc : {false, true}) {
        SessionRig rig({}, rtc);
        rig.prompts.Answer(rtc ? Answer::Yes : Answer::No, session_text::kRTCTitle)
            .Answer(rtc ? Answer::Yes : Answer::No, session_text::kAPTitle);
        ASSERT_EQ(rig.Download(), kDone);
        const std::string stamp = DownloadTimeStamp(kNow);
        EXPECT_EQ(rig.model.DatFilePath, rig.folder.file("Dwnld_" + stamp + ".dat"));
        EXPECT_EQ(rig.views, 1);
        EXPECT_EQ(rig.model.LoadFromDownload, kTrue);
        EXPECT_EQ(rig.keys.ReadSetting("Main", "MemFile", rig.folder.file("zel.ini")), rig.folder.file("download.mem"));

        SCOPED_TRACE(rtc ? "with the clock board" : "without the clock board");
        const ConfigModel loaded = rig.Load();
        EXPECT_GT(expectDownloaded(loaded, served(rtc), rtc), rtc ? 1000 : 800);
        EXPECT_EQ(entriesOf(loaded).at("HasRTC"), rtc ? "1" : "0");
        EXPECT_EQ(rig.prompts.pending(), 0u);
    }
}

struct FailureCase {
    const char* name;
    SimDownloadFaults faults;
    std::vector<Answer> answers; // to the RTC and autopatch questions
    const char* firstLine;       // of the box that ended the run
    const char* reported = "";   // in a box before it (the record that failed)
    void (*prepare)(const TempFolder& programFolder) = nullptr;
    const char* title = session_text::kDownloadErrorTitle; // of that box
};

// What stands in the way of the files a download or an import writes.
void eraFolder(const TempFolder& f)
{
    std::filesystem::create_directory(f.file("download.era"));
}
void unwritableSettingsFile(const TempFolder& f)
{
    std::filesystem::create_symlink(f.file("gone/x.dat"), f.file("Dwnld_" + DownloadTimeStamp(kNow) + ".dat"));
}
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }


class DownloadFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(DownloadFailure, SavesNothingAndClearsTheModel)
{
    const FailureCase& c = GetParam();
    SessionRig rig(c.faults);
    if (c.prepare)
        c.prepare(rig.folder);
    for (std::size_t i = 0; i < c.answers.size(); ++i)
        rig.prompts.Answer(c.answers[i], i == 0 ? session_text::kRTCTitle : session_text::kAPTitle);
    rig.prompts.Always(Answer::Ok, kSystemErrorTitle);
    EXPECT_EQ(rig.Download(), kFailed);
    EXPECT_TRUE(datFiles(rig.folder).empty());
    EXPECT_EQ(rig.model.DatFileLoaded, kFalse);
    EXPECT_EQ(rig.model.HangTime(1), "");
    EXPECT_EQ(rig.prompts.pending(), 0u);
    const auto& last = rig.prompts.prompts().back();
    EXPECT_EQ(last.title, c.title);
    EXPECT_EQ(last.text.substr(0, std::string(c.firstLine).size()), c.firstLine) << last.text;
    const auto& shown = rig.prompts.prompts();
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [&](const auto& p) { return p.text.find(c.reported) != std::string::npos; }))
        << c.reported;
}

INSTANTIATE_TEST_SUITE_P(
    Controller, DownloadFailure,
    ::testing::Values(
        FailureCase{"TruncatedMainImage", [] { SimDownloadFaults f; f.imageLines = 3000; f.linesPerWrite = 50; return f; }(),
                    {}, "An error occurred during the download"},
        FailureCase{"SilentClockBoard", [] { SimDownloadFaults f; f.silentOptions = true; return f; }(),
                    {Answer::Yes}, "The RTC Option data could NOT be downloaded"},
        FailureCase{"SilentAutopatchBoard", [] { SimDownloadFaults f; f.silentOptions = true; return f; }(),
                    {Answer::No, Answer::Yes}, "The Autopatch Option data could NOT be downloaded"},
        // Boards that send their records without waiting for each acknowledgement.
        FailureCase{"StreamingClockBoard", [] { SimDownloadFaults f; f.streamOptions = true; return f; }(),
                    {Answer::Yes}, "The RTC Option data could NOT be downloaded",
                    "The RTC option sent its records without waiting for each acknowledgement"},
        FailureCase{"StreamingAutopatchBoard", [] { SimDownloadFaults f; f.streamOptions = true; return f; }(),
                    {Answer::No, Answer::Yes}, "The Autopatch Option data could NOT be downloaded",
                    "The autopatch option sent its records without waiting for each acknowledgement"},
        // Files the download writes after the controller's part.
        FailureCase{"EraFileCannotBeCreated", {}, {}, "An error occurred while decoding the download",
                    "download.era: Is a directory", eraFolder, session_text::kDecodeErrorTitle},
        FailureCase{"SettingsFileCannotBeWritten", {}, {Answer::No, Answer::No},
                    "An error occurred while writing data to dat file", "", unwritableSettingsFile,
                    kSystemErrorTitle}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DownloadSession, SecondDownloadInTheSameMinuteGetsItsOwnFile)
{
    SessionRig rig;
    for (int run = 0; run < 3; ++run) {
        rig.prompts.Answer(Answer::No, session_text::kRTCTitle).Answer(Answer::No, session_text::kAPTitle);
        ASSERT_EQ(rig.Download(), kDone);
    }
    const std::string stamp = DownloadTimeStamp(kNow);
    EXPECT_EQ(datFiles(rig.folder), (std::vector<std::string>{"Dwnld_" + stamp + ".dat", "Dwnld_" + stamp + "_2.dat",
                                                              "Dwnld_" + stamp + "_3.dat"}));
}

// The simulator serves every settings file the program loads, or refuses it at start naming
// the key that has no memory form: nothing can fail while it serves.
TEST(SimulatedController, ServesWhatTheProgramLoadsOrRefusesItAtStart)
{
    TempFolder folder;
    ScriptedPrompts prompts;
    prompts.AcceptNotices();
    KeyAccess keys(prompts);
    auto written = [&](const std::string& name, void (*change)(ConfigModel&)) {
        ConfigModel m = served(true);
        change(m);
        m.DatFilePath = folder.file(name);
        EXPECT_EQ(FileWrite(m, keys, prompts), kDone);
        return std::string(m.DatFilePath);
    };
    GuardedFifo fifo(folder.file("pipe.dat"));
    const std::pair<std::string, const char*> rows[] = { // the file, and what refuses it ("" serves)
        {written("negative.dat", [](ConfigModel& m) { m.ClockCorrection = "A5"; }), ""},
        {written("minus.dat", [](ConfigModel& m) { m.ClockCorrection = "-59"; }), ""},
        {written("partial.dat",
                 [](ConfigModel& m) {
                     m.FreqString(15) = "1462401";
                     m.CTCSS(15) = "NONE";
                 }),
         "partial.dat cannot be served: CTCSS(15) = \"NONE\": the clock board's record holds 2"},
        {written("long.dat", [](ConfigModel& m) { m.FreqString(15) = "14624011"; }),
         "FreqString(15) = \"14624011\""},
        {fifo.path(), "pipe.dat is a named pipe (FIFO), not a file."},
        {folder.file("missing.dat"), "does not exist"},
    };
    for (const auto& [path, refusal] : rows) {
        std::string problem;
        const auto server = MakeDownloadServer(path, {}, problem);
        EXPECT_EQ(server != nullptr, !*refusal) << path << ": " << problem;
        EXPECT_NE(problem.find(refusal), std::string::npos) << problem;
    }
    EXPECT_FALSE(fifo.Opened());
}

// ---- Import

std::string withLineEnds(std::string text, const std::string& end)
{
    for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += end.size())
        text.replace(at, 2, end);
    return text;
}

TEST(ImportSession, EveryLineEndGivesTheSameConfiguration)
{
    for (const std::string end : {"\r\n", "\n", "\r"}) {
        ConfigModel sample = served(true);
        // Word code 10 is a line feed inside the record, here followed by the codes of "RA":
        // only files whose lines end with a carriage return can hold it.
        if (end != "\n")
            sample.MessageMacro(45) = "TEN CANCEL APRIL";
        SessionRig rig;
        const std::string mainFile = rig.folder.file("download.mem");
        WriteFile(mainFile, withLineEnds(MemoryImageText(EncodeMemoryImage(sample)), end));
        WriteFile(rig.folder.file("rtc.mem"), withLineEnds(OptionFileText(RTCRecords(sample)), end));
        WriteFile(rig.folder.file("ap.mem"), withLineEnds(OptionFileText(APRecords(sample)), end));
        rig.prompts.Answer(Answer::Yes, session_text::kRTCTitle).Answer(Answer::Yes, session_text::kAPTitle);
        rig.dialogs.Open(rig.folder.file("rtc.mem")).Open(rig.folder.file("ap.mem"));
        ASSERT_EQ(rig.Import(mainFile), kDone);
        EXPECT_TRUE(std::filesystem::exists(rig.folder.file("rtc.mem.win")));
        SCOPED_TRACE("line end of " + std::to_string(end.size()) + " characters");
        EXPECT_GT(expectDownloaded(rig.Load(true), sample, true), 1000);
    }
}

TEST(ImportSession, ConvertedCopyKeepsCRLFFilesAndEndsLFFilesWithCRLF)
{
    ScriptedPrompts prompts;
    TempFolder folder;
    const std::pair<std::string, std::string> cases[] = {
        {"RA001555\r\nRS12\r\nComplete\r\n", "RA001555\r\nRS12\r\nComplete\r\n"},
        {"RA001555\nRS12\nComplete\n", "RA001555\r\nRS12\r\nComplete\r\n"},
        {"RA001555\nRS12", "RA001555\r\nRS12\r\n"},
        {"T2010\x0A\x0B\r\nComplete\r\n", "T2010\x0A\x0B\r\nComplete\r\n"}, // a line feed inside a record
    };
    for (const auto& [text, copy] : cases) {
        const std::string name = folder.file("option.mem");
        WriteFile(name, text);
        EXPECT_EQ(ConvertLinuxFile(prompts, name), name + ".win");
        EXPECT_EQ(ReadFile(name + ".win"), copy);
    }
    EXPECT_TRUE(prompts.prompts().empty());
    prompts.Answer(Answer::Ok, kSystemErrorTitle);
    EXPECT_EQ(ConvertLinuxFile(prompts, folder.file("none.mem")), "");
    EXPECT_NE(prompts.prompts().back().text.find(folder.file("none.mem") + " does not exist."), std::string::npos);
}

struct ImportFailure {
    const char* name;
    std::string mainText;                 // "" keeps a good image
    std::vector<Answer> answers;
    // Written and chosen in order; "<none>" cancels the dialog. Here and for the main file,
    // "<image>", "<rtc>" and "<ap>" stand for the sample's memory files, "<fifo>" and
    // "<folder>" for a named pipe and a folder.
    std::vector<std::string> optionTexts;
    const char* title;                    // of the last box
    const char* textPart;
    bool modelKept;                       // the file loaded before is still there
    void (*prepare)(const TempFolder& programFolder) = nullptr;
};
void PrintTo(const ImportFailure& c, std::ostream* os) { *os << c.name; }


class ImportFailures : public ::testing::TestWithParam<ImportFailure> {};

TEST_P(ImportFailures, TellsAndLoadsNothing)
{
    const ImportFailure& c = GetParam();
    SessionRig rig;
    rig.model.HangTime(1) = "77";
    const ConfigModel sample = SampleControllerModel();
    std::vector<std::unique_ptr<GuardedFifo>> fifos;
    auto place = [&](const std::string& name, const std::string& text) {
        if (text == "<fifo>")
            fifos.push_back(std::make_unique<GuardedFifo>(name));
        else if (text == "<folder>")
            std::filesystem::create_directory(name);
        else
            WriteFile(name, text == "<image>" ? MemoryImageText(EncodeMemoryImage(sample))
                            : text == "<rtc>"                 ? OptionFileText(RTCRecords(sample))
                            : text == "<ap>"                  ? OptionFileText(APRecords(sample))
                                                              : text);
    };
    const std::string mainFile = rig.folder.file("main.mem");
    place(mainFile, c.mainText.empty() ? "<image>" : c.mainText);
    if (c.prepare)
        c.prepare(rig.folder);
    for (std::size_t i = 0; i < c.answers.size(); ++i)
        rig.prompts.Answer(c.answers[i], i == 0 ? session_text::kRTCTitle : session_text::kAPTitle);
    for (std::size_t i = 0; i < c.optionTexts.size(); ++i) {
        if (c.optionTexts[i] == "<none>") {
            rig.dialogs.Open("");
            continue;
        }
        const std::string name = rig.folder.file("option" + std::to_string(i) + ".mem");
        place(name, c.optionTexts[i]);
        rig.dialogs.Open(name);
    }
    rig.prompts.Always(Answer::Ok, kSystemErrorTitle);
    EXPECT_EQ(rig.Import(mainFile), kFailed);
    EXPECT_TRUE(datFiles(rig.folder).empty());
    EXPECT_EQ(rig.model.HangTime(1), c.modelKept ? "77" : "");
    EXPECT_EQ(rig.views, c.modelKept ? 0 : 1);
    const auto& last = rig.prompts.prompts().back();
    EXPECT_EQ(last.title, c.title);
    EXPECT_NE(last.text.find(c.textPart), std::string::npos) << last.text;
    for (const auto& fifo : fifos)
        EXPECT_FALSE(fifo->Opened()) << "the import opened the named pipe " << fifo->path();
}

INSTANTIATE_TEST_SUITE_P(
    Files, ImportFailures,
    ::testing::Values(
        ImportFailure{"MainNotAMemoryFile", "hello\r\nworld\r\n", {}, {}, session_text::kImportErrorTitle,
                      "is not a VM880 memory download file", true},
        ImportFailure{"MainEmpty", "\n", {}, {}, session_text::kImportErrorTitle, "Line 1", true},
        ImportFailure{"MainHuge", std::string(2 << 20, '1'), {}, {}, session_text::kImportErrorTitle,
                      "larger than a memory file", true},
        ImportFailure{"MainIsTheClockFile", "<rtc>", {}, {}, session_text::kImportErrorTitle,
                      "is an RTC option memory file (like rtcdownload.mem),\r\nbut a main memory download file "
                      "(like download.mem) was expected here.\r\n\r\nNothing was loaded; the open file is unchanged.",
                      true},
        ImportFailure{"MainIsANamedPipe", "<fifo>", {}, {}, session_text::kImportErrorTitle,
                      "main.mem is a named pipe (FIFO), not a file", true},
        ImportFailure{"MainIsAFolder", "<folder>", {}, {}, session_text::kImportErrorTitle,
                      "main.mem is a folder, not a file", true},
        // Every option file is checked before the open file is cleared.
        ImportFailure{"ClockFileNotChosen", "", {Answer::Yes}, {"<none>"}, session_text::kImportErrorTitle,
                      "The Linux RTC mem file was not selected", true},
        ImportFailure{"ClockFileEmpty", "", {Answer::Yes}, {""}, session_text::kImportErrorTitle,
                      "The Linux RTC mem file was not found", true},
        ImportFailure{"ClockFileIsTheMainImage", "", {Answer::Yes}, {"<image>"}, session_text::kImportErrorTitle,
                      "is a main memory download file (like download.mem),\r\nbut an RTC option memory file", true},
        ImportFailure{"ClockFileIsANamedPipe", "", {Answer::Yes}, {"<fifo>"}, session_text::kImportErrorTitle,
                      "option0.mem is a named pipe (FIFO), not a file.\r\n\r\nNothing was loaded; the open file "
                      "is unchanged.", true},
        ImportFailure{"ClockFileStreamed", "", {Answer::Yes}, {"T1011465202123T1021462401000\nComplete\n"},
                      session_text::kImportErrorTitle, "holds a second record from character 15", true},
        ImportFailure{"AutopatchFileStreamed", "", {Answer::No, Answer::Yes}, {"RA0015551212RA00218005551234\nComplete\n"},
                      session_text::kImportErrorTitle, "Line 1 of the memory file (\"RA0015551212RA0021800555", true},
        // The check reads all of the converted copy that is loaded, which can be twice the file.
        ImportFailure{"ClockFileBadPastItsFirstMegabyte", "", {Answer::Yes},
                      {std::string(600 * 1024, '\n') + "T131\nComplete\n"}, session_text::kImportErrorTitle,
                      "names remote base memory 41, outside 1 to 40", true},
        ImportFailure{"AutopatchFileIsTheClockFile", "", {Answer::No, Answer::Yes}, {"<rtc>"},
                      session_text::kImportErrorTitle,
                      "is an RTC option memory file (like rtcdownload.mem),\r\nbut an autopatch option memory file",
                      true},
        ImportFailure{"AutopatchFileIsAFolder", "", {Answer::Yes, Answer::Yes}, {"<rtc>", "<folder>"},
                      session_text::kImportErrorTitle, "option1.mem is a folder, not a file.", true},
        ImportFailure{"AutopatchFileOfSomethingElse", "", {Answer::No, Answer::Yes}, {"[Timers]\nHangTime(1)=5\n"},
                      session_text::kImportErrorTitle,
                      "is not a VM880 memory download file,\r\nbut an autopatch option memory file", true},
        ImportFailure{"AutopatchSlotOutOfRange", "", {Answer::No, Answer::Yes}, {"RA201555\nComplete\n"},
                      session_text::kImportErrorTitle, "names autodial slot 201, outside 1 to 200", true},
        // Late failures: the open file is let go only once the new settings file is written.
        ImportFailure{"EraFileCannotBeCreated", "", {Answer::No, Answer::No}, {}, session_text::kDecodeErrorTitle,
                      "An error occurred while decoding the download", true, eraFolder},
        ImportFailure{"SettingsFileCannotBeWritten", "", {Answer::No, Answer::No}, {}, kSystemErrorTitle,
                      "An error occurred while writing data to dat file", true, unwritableSettingsFile}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace vm880::test
