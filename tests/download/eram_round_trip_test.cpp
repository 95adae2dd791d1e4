// Round trips through the main memory image: a configuration written as an image by the test
// encoder (the layout table backwards) and decoded must come back, and whatever an image holds
// must decode to a configuration that saves and loads as a settings file.

#include "download/eram_decoder.h"
#include "download/memory_layout.h"
#include "memory_image_encoder.h"
#include "model/key_access.h"
#include "model/reader.h"
#include "model/settings_writer.h"
#include "interfaces/file_viewer.h"
#include "scripted_prompts.h"
#include "tables/macro_functions.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

using namespace vm880;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Entries = std::map<std::string, std::string>;

struct NoViewer : FileViewer {
    bool Open(const std::string&) override { return false; }
};

// The settings-file keys the image fills.
const std::set<std::string>& layoutKeys()
{
    static const std::set<std::string> keys = [] {
        std::set<std::string> k;
        for (const LayoutSection& s : MemoryLayout())
            for (int e = 1; s.item != nullptr && e <= s.entries; ++e) {
                k.insert(EntryKey(s, e));
                if (s.encoding == Encoding::DayAndWeek)
                    k.insert("Week(" + std::to_string(e) + ")");
            }
        return k;
    }();
    return keys;
}

// What a settings file would hold of the image's settings, key by key.
Entries imageEntries(const ConfigModel& m)
{
    Entries entries;
    ForEachSettingsEntry(m, [&](std::string_view, std::string_view key, std::string_view value) {
        if (layoutKeys().count(std::string(key)))
            entries[std::string(key)] = value;
    });
    return entries;
}

ConfigModel decode(const Bytes& image, DecodeNotes* notes = nullptr)
{
    ConfigModel m;
    DecodeNotes ignored;
    DecodeImage(image, m, notes ? *notes : ignored);
    return m;
}

void expectSameEntries(const Entries& expected, const Entries& actual, const std::string& what)
{
    ASSERT_EQ(expected.size(), actual.size()) << what;
    for (const auto& [key, value] : expected)
        EXPECT_EQ(actual.at(key), value) << what << ": " << key;
}

} // namespace

TEST(EramRoundTrip, TheSampleConfigurationComesBack)
{
    const ConfigModel sample = test::SampleControllerModel();
    DecodeNotes notes;
    const ConfigModel decoded = decode(test::EncodeMemoryImage(sample), &notes);
    EXPECT_TRUE(notes.empty());
    expectSameEntries(imageEntries(sample), imageEntries(decoded), "sample");
    // Every key but the fifteen ID counts, which the settings file does not hold.
    EXPECT_EQ(imageEntries(sample).size(), layoutKeys().size() - 15);
    EXPECT_EQ(decoded.VoiceID2WordCount(3), "22");
    EXPECT_EQ(decoded.CWID1CharCount(3), "15");
}

TEST(EramRoundTrip, SettingsOutsideTheImageAreLeftAlone)
{
    ConfigModel m;
    m.RxEnable.fill("keep");
    m.Monthly.fill("keep");
    m.AutoDial.fill("keep");
    m.MessageMacro(41) = "keep";
    m.DTMF(21) = "keep";
    m.FreqString(11) = "keep";
    m.FirmwareVersion = "keep";
    m.HasRTC = kTrue;
    DecodeNotes notes;
    DecodeImage(test::EncodeMemoryImage(test::SampleControllerModel()), m, notes);
    EXPECT_EQ(m.RxEnable(2), "keep");
    EXPECT_EQ(m.Monthly(20), "keep");
    EXPECT_EQ(m.AutoDial(200), "keep");
    EXPECT_EQ(m.MessageMacro(41), "keep");
    EXPECT_EQ(m.DTMF(21), "keep");
    EXPECT_EQ(m.FreqString(11), "keep");
    EXPECT_EQ(m.FirmwareVersion, "keep");
    EXPECT_EQ(m.HasRTC, kTrue);
    EXPECT_EQ(m.HangTimeChanged(1), kFalse);
    EXPECT_EQ(m.TimersChanged, kFalse);
}

// Values a settings file may hold that the image keeps in another form.
TEST(EramRoundTrip, OtherFormsComeBackInTheImagesForm)
{
    struct Form {
        const char* what;
        void (*set)(ConfigModel&);
        std::string (*get)(const ConfigModel&);
        const char* back;
    };
    const Form forms[] = {
        {"every hour", [](ConfigModel& m) { m.Hours(4) = "99"; }, [](const ConfigModel& m) { return m.Hours(4); }, "0A"},
        {"second CW tone 0", [](ConfigModel& m) { m.CWTone2(2) = "0"; }, [](const ConfigModel& m) { return m.CWTone2(2); }, "0000"},
        {"set point A0", [](ConfigModel& m) { m.MeterSetPoint(1) = "A0"; }, [](const ConfigModel& m) { return m.MeterSetPoint(1); }, "0"},
        {"set point 00125", [](ConfigModel& m) { m.MeterSetPoint(1) = "00125"; }, [](const ConfigModel& m) { return m.MeterSetPoint(1); }, "125"},
        {"empty message macro", [](ConfigModel& m) { m.MessageMacro(5) = ""; }, [](const ConfigModel& m) { return m.MessageMacro(5); }, "NONE STORED"},
        {"empty DTMF memory", [](ConfigModel& m) { m.DTMF(3) = ""; }, [](const ConfigModel& m) { return m.DTMF(3); }, "NONE STORED"},
        {"empty pre-access prefix", [](ConfigModel& m) { m.PreAccessPrefix = ""; }, [](const ConfigModel& m) { return m.PreAccessPrefix; }, "0"},
        {"macro number 5", [](ConfigModel& m) { m.InActivityMacro(1) = "05"; }, [](const ConfigModel& m) { return m.InActivityMacro(1); }, "5"},
        {"no Yaesu model", [](ConfigModel& m) { m.YaesuType = "0"; }, [](const ConfigModel& m) { return m.YaesuType; }, "0"},
        {"empty voice ID", [](ConfigModel& m) { m.VoiceID1(1) = ""; }, [](const ConfigModel& m) { return m.VoiceID1(1); }, ""},
        {"voice ID count", [](ConfigModel& m) { m.VoiceID1(1) = "ONE TWO"; }, [](const ConfigModel& m) { return m.VoiceID1WordCount(1); }, "2"},
    };
    for (const Form& f : forms) {
        ConfigModel m = test::SampleControllerModel();
        f.set(m);
        EXPECT_EQ(f.get(decode(test::EncodeMemoryImage(m))), f.back) << f.what;
    }
}

// Whatever the bytes, the decoded configuration is stable: written back as an image and
// decoded again, it is the same. Erased (255) and cleared (0) images are the extremes.
TEST(EramRoundTrip, AnyImageDecodesToAStableConfiguration)
{
    std::vector<std::pair<std::string, Bytes>> images = {
        {"erased", Bytes(kMemoryImageSize, 255)},
        {"cleared", Bytes(kMemoryImageSize, 0)},
    };
    std::mt19937 random(712);
    for (int i = 0; i < 30; ++i) {
        Bytes image(kMemoryImageSize);
        for (std::uint8_t& b : image) {
            const unsigned r = random() % 8;
            b = r == 0 ? 255 : r == 1 ? 0 : static_cast<std::uint8_t>(random());
        }
        images.emplace_back("random " + std::to_string(i), image);
    }
    for (const auto& [what, image] : images) {
        const ConfigModel once = decode(image);
        Bytes again;
        ASSERT_NO_THROW(again = test::EncodeMemoryImage(once)) << what;
        expectSameEntries(imageEntries(once), imageEntries(decode(again)), what);
    }
}

namespace {

struct SaveAndLoad : ::testing::Test {
    test::TempFolder dir;
    test::ScriptedPrompts prompts;
    KeyAccess keys{prompts};
    NoViewer viewer;
    ConfigModel m;
    FileLoadServices services{m, keys, prompts, viewer, dir.path().string(),
                              [] { return std::string("20261209 0815"); }};

    SaveAndLoad()
    {
        InitMacroFunctionTable();
        CopyMacroFunctionTable();
    }

    // As the download does it: decode, take the firmware version, save, load.
    FileLoadResult roundTrip(const Bytes& image)
    {
        test::WriteFile(dir.file("download.mem"), test::MemoryImageText(image));
        m.ClearAllData();
        prompts.AcceptNotices().Always(Answer::No, "DAT File Errors");
        EXPECT_EQ(DecodeEram(m, prompts, dir.file("download.mem"), dir.file("download.era")), kDone);
        m.LoadFromDownload = kTrue;
        m.HasRTC = kFalse;
        m.FirmwareVersion = "6012";
        m.DatFilePath = dir.file("Dwnld_20261209_0815.dat");
        EXPECT_EQ(FileWrite(m, keys, prompts), kDone);
        return FileLoad(services);
    }
};

} // namespace

TEST_F(SaveAndLoad, TheDecodedSampleSavesAndLoadsWithoutAReportEntry)
{
    const Bytes image = test::EncodeMemoryImage(test::SampleControllerModel());
    const Entries decoded = imageEntries(decode(image));
    ASSERT_EQ(roundTrip(image).outcome, FileLoadResult::Loaded);
    EXPECT_EQ(test::ReadFile(dir.file("error.log")),
              "RESULTS OF dat EDIT/VALIDATION\r\nDownload from controller into file: "
                  + m.DatFilePath + "\r\nInitiated at: 20261209 0815\r\n");
    EXPECT_TRUE(prompts.prompts().empty()) << prompts.prompts().front().title;

    // The settings file holds what the image held; only the week of a day without one gets
    // the reader's default.
    Entries loaded = imageEntries(m);
    for (const auto& [key, value] : decoded) {
        const bool week = key.rfind("Week(", 0) == 0;
        EXPECT_EQ(loaded.at(key), week && value.empty() ? "1" : value) << key;
    }
}

TEST_F(SaveAndLoad, ErasedAndRandomImagesSaveAndLoad)
{
    std::mt19937 random(3921);
    std::vector<Bytes> images = {Bytes(kMemoryImageSize, 255), Bytes(kMemoryImageSize, 0)};
    for (int i = 0; i < 3; ++i) {
        Bytes image(kMemoryImageSize);
        for (std::uint8_t& b : image)
            b = static_cast<std::uint8_t>(random());
        images.push_back(image);
    }
    for (const Bytes& image : images) {
        prompts = test::ScriptedPrompts();
        const FileLoadResult result = roundTrip(image);
        EXPECT_EQ(result.outcome, FileLoadResult::Loaded);
        EXPECT_EQ(m.DatFileLoaded, kTrue);
    }
}
