// The serial memory download against the simulated controller on a pseudo-terminal: the
// memory files as written, the bytes the program sends, and every way the controller or the
// cable can split, merge, pause, garble, cut short or refuse what it sends.

#include "base/program_title.h"
#include "download/serial_download.h"

#include "link/serial_link.h"
#include "memory_image_encoder.h"
#include "model/config_model.h"
#include "fake_clock.h"
#include "pty_serial_port.h"
#include "replying_serial_port.h"
#include "scripted_prompts.h"
#include "sim_download.h"
#include "skipping_clock.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <thread>

namespace vm880::test {
namespace {

std::string joinLines(const std::vector<std::string>& lines, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count && i < lines.size(); ++i)
        text += lines[i] + "\r\n";
    return text;
}

struct DownloadRig {
    explicit DownloadRig(SimDownloadFaults faults = {}, ConfigModel served = SampleControllerModel())
        : server(served, faults)
    {
        sim.SetPolicy(server.Policy());
        model.ComPort = 1;
        model.Lock = served.Lock;
        model.Terminator = served.Terminator;
        prompts.AcceptNotices();
    }

    // Before the simulator: its thread answers through the server until it is stopped.
    SimDownloadServer server;
    SimController sim;
    PtySerialPort port{sim.SlavePath()};
    SkippingClock clock;
    ConfigModel model;
    ScriptedPrompts prompts;
    TempFolder folder;
    SerialLink serial{model, port, clock, prompts};
    DownloadTiming timing{1000, 60000, 60000, 4000, 60, 10}; // generous: the machine may be busy
    SerialDownload download{model, prompts, clock, serial, nullptr, timing};
    std::string mem = folder.file("download.mem");

    // The last line reaches the simulator a moment after the port closed behind it.
    std::string LastCommand()
    {
        for (int i = 0; i < 100; ++i) {
            const auto commands = sim.Commands();
            if (!commands.empty() && commands.back() == model.Lock + model.Terminator)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        const auto commands = sim.Commands();
        return commands.empty() ? std::string() : commands.back();
    }
};

struct MainCase {
    const char* name;
    SimDownloadFaults faults;
    int status;
    int lines;              // lines in download.mem afterwards
    const char* failure;    // part of FailureText, or of the box shown
    const char* boxTitle;   // the box the operator saw ("" none)
};
void PrintTo(const MainCase& c, std::ostream* os) { *os << c.name; }


SimDownloadFaults with(std::function<void(SimDownloadFaults&)> change)
{
    SimDownloadFaults f;
    change(f);
    return f;
}

class MainDownload : public ::testing::TestWithParam<MainCase> {};

TEST_P(MainDownload, WritesOnlyWhatArrivedWhole)
{
    const MainCase& c = GetParam();
    DownloadRig rig(c.faults);
    EXPECT_EQ(rig.download.VM880Download(rig.mem), c.status);
    EXPECT_EQ(rig.download.LinesWritten(), c.lines);
    EXPECT_EQ(ReadFile(rig.mem), joinLines(rig.server.ImageLines(), static_cast<std::size_t>(c.lines)));
    EXPECT_NE(rig.download.FailureText().find(c.failure), std::string::npos) << rig.download.FailureText();
    const auto titles = rig.prompts.titles();
    if (*c.boxTitle)
        EXPECT_NE(std::find(titles.begin(), titles.end(), c.boxTitle), titles.end());
    else
        EXPECT_TRUE(titles.empty());
    EXPECT_FALSE(rig.port.IsOpen());
    EXPECT_EQ(rig.model.transfer.PortOpenFailed, kFalse);
}

INSTANTIATE_TEST_SUITE_P(
    Controller, MainDownload,
    ::testing::Values(
        MainCase{"OneLinePerWrite", {}, kDone, 4097, "", ""},
        MainCase{"EightLinesPerWriteCompleteWithTheLast",
                 with([](auto& f) { f.linesPerWrite = 8; f.imageLines = 4060; }), kDone, 4060, "", ""},
        MainCase{"ManyLinesPerWrite", with([](auto& f) { f.linesPerWrite = 500; }), kDone, 4097, "", ""},
        MainCase{"LineSplitOverTwoWrites", with([](auto& f) { f.splitLine = 100; }), kDone, 4097, "", ""},
        MainCase{"PauseShorterThanTheTimeout",
                 with([](auto& f) { f.pauseLine = 20; f.pauseMs = 150; }), kDone, 4097, "", ""},
        MainCase{"LayoutLengthThenComplete",
                 with([](auto& f) { f.imageLines = 4058; f.linesPerWrite = 64; }), kDone, 4058, "", ""},
        MainCase{"TruncatedImage", with([](auto& f) { f.imageLines = 100; f.linesPerWrite = 7; }), kFailed,
                 100, "ended its memory image after 100 lines", download_text::kBadDataTitle},
        MainCase{"SilentMidStream", with([](auto& f) { f.silentFromLine = 50; }), kFailed, 50,
                 "stopped sending", download_text::kLineTimeoutTitle},
        MainCase{"GarbageLine", with([](auto& f) { f.garbageLine = 7; f.garbage = "hello there"; }),
                 kFailed, 7, "Line 8 from the controller (\"hello there\") is not an address",
                 download_text::kBadDataTitle},
        MainCase{"LineWithoutComma", with([](auto& f) { f.garbageLine = 3; f.garbage = "3 17"; }), kFailed,
                 3, "Line 4", download_text::kBadDataTitle},
        MainCase{"HighByte", with([](auto& f) { f.garbageLine = 5; f.garbage = "5,1\xC8"; }), kFailed, 5,
                 "is not an address", download_text::kBadDataTitle},
        MainCase{"ControlCharacter", with([](auto& f) { f.garbageLine = 5; f.garbage = "5,\x07" "1"; }),
                 kFailed, 5, "is not an address", download_text::kBadDataTitle},
        MainCase{"ValueAboveAByte", with([](auto& f) { f.garbageLine = 9; f.garbage = "9,256"; }), kFailed,
                 9, "above 255", download_text::kBadDataTitle},
        MainCase{"LostLine", with([](auto& f) { f.garbageLine = 9; f.garbage = "10,4"; }), kFailed, 9,
                 "a line was lost", download_text::kBadDataTitle},
        MainCase{"RefusedRequest", with([](auto& f) { f.refuseMain = true; }), kFailed, 0,
                 "The controller refused the download: it answered \"-\"", download_text::kBadDataTitle}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MainDownloadExchange, SendsOneOKPerReadAfterItsRequest)
{
    DownloadRig rig(with([](auto& f) { f.linesPerWrite = 100; }));
    ASSERT_EQ(rig.download.VM880Download(rig.mem), kDone);
    const std::string opening = "\rOK\r1SendEram\r";
    // Every write was read and acknowledged; the last "OK" arrives a moment after the port closed.
    const std::size_t writes = rig.sim.Writes().size();
    EXPECT_EQ(writes, 41u);
    std::string sent;
    for (int i = 0; i < 100; ++i) {
        sent = rig.sim.Received();
        if (sent.size() >= opening.size() + 3 * writes)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(sent.substr(0, opening.size()), opening);
    const std::string acks = sent.substr(opening.size());
    std::string expected;
    while (expected.size() < acks.size())
        expected += "OK\r";
    EXPECT_EQ(acks, expected);
    EXPECT_GE(acks.size(), 3 * writes);
}

TEST(MainDownloadExchange, CancelEndsWithTheCancelBoxAndClosesThePort)
{
    DownloadRig rig(with([](auto& f) { f.pauseLine = 30; f.pauseMs = 200; }));
    int yields = 0;
    rig.clock.onYield = [&] {
        if (++yields == 10)
            rig.model.transfer.CancelDownload = kTrue;
    };
    EXPECT_EQ(rig.download.VM880Download(rig.mem), kFailed);
    EXPECT_EQ(rig.prompts.titles(), std::vector<std::string>{kProgramTitle});
    EXPECT_EQ(rig.prompts.prompts().back().text, download_text::kCancelled);
    EXPECT_EQ(rig.model.transfer.CancelDownload, kFalse);
    EXPECT_FALSE(rig.port.IsOpen());
}

TEST(MainDownloadExchange, PortThatDoesNotOpenWritesNothing)
{
    DownloadRig rig;
    PtySerialPort missing("/nonexistent/tty");
    SerialLink link{rig.model, missing, rig.clock, rig.prompts};
    SerialDownload download{rig.model, rig.prompts, rig.clock, link};
    EXPECT_EQ(download.VM880Download(rig.mem), kFailed);
    EXPECT_FALSE(std::filesystem::exists(rig.mem));
    EXPECT_EQ(rig.prompts.titles(), std::vector<std::string>{kSerialPortErrorTitle});
    EXPECT_EQ(rig.model.transfer.PortOpenFailed, kFalse);
}

struct OptionCase {
    const char* name;
    bool rtc;
    SimDownloadFaults faults;
    int status;
    int requests;           // option requests the controller saw
    const char* boxTitle;
    int paceUs = 0;         // the controller's characters this far apart, as on a wire
};
void PrintTo(const OptionCase& c, std::ostream* os) { *os << c.name; }


class OptionDownload : public ::testing::TestWithParam<OptionCase> {};

TEST_P(OptionDownload, OneLinePerRecordEndedByComplete)
{
    const OptionCase& c = GetParam();
    DownloadRig rig(c.faults);
    rig.sim.SetPaceUs(c.paceUs);
    const std::string mem = rig.folder.file(c.rtc ? "rtcdownload.mem" : "apdownload.mem");
    const int status = c.rtc ? rig.download.RTCDownload(mem) : rig.download.APDownload(mem);
    EXPECT_EQ(status, c.status) << rig.download.FailureText();
    EXPECT_EQ(rig.server.Requests(), c.requests);
    const ConfigModel served = SampleControllerModel();
    const std::string expected = OptionFileText(c.rtc ? RTCRecords(served) : APRecords(served));
    // A record that arrived with its own line end leaves an empty line, which decoding skips.
    std::string written = ReadFile(mem);
    for (std::size_t at; (at = written.find("\r\n\r\n")) != std::string::npos;)
        written.erase(at, 2);
    if (status == kDone) {
        // A refused request leaves its "-" line in the clock board's file, before the records.
        ASSERT_GE(written.size(), expected.size());
        EXPECT_EQ(written.substr(written.size() - expected.size()), expected);
        // The clock board also acknowledges each refusal it wrote.
        const auto commands = rig.sim.Commands();
        const std::size_t records = (c.rtc ? RTCRecords(served) : APRecords(served)).size();
        // One acknowledgement per record.
        EXPECT_EQ(static_cast<std::size_t>(std::count(commands.begin(), commands.end(), c.rtc ? "r" : "o")),
                  records + static_cast<std::size_t>(c.requests - 1));
    }
    const auto titles = rig.prompts.titles();
    if (*c.boxTitle)
        EXPECT_EQ(titles, std::vector<std::string>{c.boxTitle});
    else
        EXPECT_TRUE(titles.empty());
    // Every ending sends the lock code and closes the port.
    EXPECT_EQ(rig.LastCommand(), served.Lock + served.Terminator);
    EXPECT_FALSE(rig.port.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Boards, OptionDownload,
    ::testing::Values(
        OptionCase{"ClockEchoMergedWithFirstRecord", true, {}, kDone, 1, ""},
        OptionCase{"ClockRecordsSplitEchoAlone",
                   true, with([](auto& f) { f.splitRecords = true; f.echoAlone = true; }), kDone, 1, ""},
        // The end marker comes only after the last record's acknowledgement.
        OptionCase{"ClockEndWithTheLastRecord", true, with([](auto& f) { f.endWithLastRecord = true; }), kFailed, 1,
                   download_text::kBadDataTitle},
        OptionCase{"ClockRefusedTwiceThenServed", true, with([](auto& f) { f.refuseOption = 2; }), kDone, 3, ""},
        OptionCase{"ClockRefusingForever", true, with([](auto& f) { f.refuseOption = 100; }), kFailed, 6,
                   download_text::kBadDataTitle},
        OptionCase{"ClockSilent", true, with([](auto& f) { f.silentOptions = true; }), kFailed, 1,
                   download_text::kLineTimeoutTitle},
        OptionCase{"ClockPacedLikeA9600BaudWire", true, {}, kDone, 1, "", 1042},
        OptionCase{"AutopatchEchoMerged", false, {}, kDone, 1, ""},
        OptionCase{"AutopatchEndSplitOverTwoWrites",
                   false, with([](auto& f) { f.splitRecords = true; f.echoAlone = true; }), kDone, 1, ""},
        OptionCase{"AutopatchEndWithTheLastRecord", false, with([](auto& f) { f.endWithLastRecord = true; }),
                   kFailed, 1, download_text::kBadDataTitle},
        OptionCase{"AutopatchRefusedIsNotAskedAgain", false, with([](auto& f) { f.refuseOption = 1; }),
                   kFailed, 1, download_text::kLineTimeoutTitle}),
    [](const auto& info) { return std::string(info.param.name); });

// The wrong device on the port: input is always waiting, once `talking` is set.
struct TalkingPort : ReplyingSerialPort {
    using ReplyingSerialPort::ReplyingSerialPort;
    std::string ReadAll() override { return ++reads, talking && left-- > 0 ? piece : ""; }
    bool WaitForInput(int ms) override { return (talking && left > 0) || ReplyingSerialPort::WaitForInput(ms); }
    bool talking = false;
    int left = 100000;
    std::string piece = "y\n";
};

// A port that never pauses holds neither the window nor the operator, before the request as in
// a record that keeps coming: window events run on every pass, and Cancel, the total time-out
// or the memory's size ends the download on the pass that sees it.
TEST(OptionDownloadExchange, PortThatNeverPausesEndsByCancelTheTotalTimeOutOrTheMemorySize)
{
    enum Ending { Cancel, TimeOut, Full };
    const std::pair<bool, Ending> rows[] = {{true, Cancel}, {true, TimeOut}, {false, Cancel}, {false, TimeOut}, {false, Full}};
    for (const auto& [rtc, ending] : rows) {
        FakeClock clock;
        TalkingPort port{clock};
        ConfigModel model;
        model.ComPort = 1;
        ScriptedPrompts prompts;
        prompts.AcceptNotices();
        SerialLink serial{model, port, clock, prompts};
        SerialDownload download{model, prompts, clock, serial, nullptr, {600000, 600000, 2000, 4000, 40, 10}};
        // The clock board's port talks from the start, the autopatch board's from its request.
        port.talking = rtc;
        port.onWrite = [&](std::string_view bytes) { port.talking = port.talking || bytes.starts_with("1Send"); };
        if (ending == Full)
            port.piece = std::string(1 << 20, 'y');
        int readsAtYield = 0, mostReadsPerYield = 0, yieldsAfterCancel = -1;
        clock.onYield = [&] {
            mostReadsPerYield = std::max(mostReadsPerYield, port.reads - readsAtYield);
            readsAtYield = port.reads;
            if (yieldsAfterCancel >= 0)
                ++yieldsAfterCancel;
            else if (ending == Cancel && port.reads > 100)
                model.transfer.CancelDownload = kTrue, yieldsAfterCancel = 0;
        };
        TempFolder folder;
        EXPECT_EQ(rtc ? download.RTCDownload(folder.file("o.mem")) : download.APDownload(folder.file("o.mem")), kFailed);
        const char* title[] = {kProgramTitle, download_text::kTotalTimeoutTitle, download_text::kBadDataTitle};
        EXPECT_EQ(prompts.titles(), std::vector<std::string>{title[ending]});
        EXPECT_LE(mostReadsPerYield, 2);
        EXPECT_LE(yieldsAfterCancel, 0);
        EXPECT_FALSE(port.IsOpen());
    }
}

TEST(VersionDownload, JoinsTheReplyUntilThePlusAndFailsSilently)
{
    for (const char* how : {"whole", "split", "silent"}) {
        DownloadRig rig(with([how](auto& f) { f.splitVersion = std::string(how) == "split"; }));
        if (std::string(how) == "silent")
            rig.sim.FaultOnPattern("1GetVersion", SimReply::Silence());
        rig.model.FirmwareVersion = "old";
        EXPECT_EQ(rig.download.VersionDownload(), std::string(how) == "silent" ? kFailed : kDone) << how;
        EXPECT_EQ(rig.model.FirmwareVersion, std::string(how) == "silent" ? "" : "6012") << how;
        EXPECT_EQ(rig.sim.Commands().front(), "1GetVersion");
        EXPECT_EQ(rig.LastCommand(), "#D");
        EXPECT_TRUE(rig.prompts.titles().empty());
    }
}

TEST(VersionDownload, ReplyKeepsOnlyPrintableTextBeforeThePlus)
{
    const std::pair<std::string, std::string> cases[] = {
        {"6012\r\n+\r\n", "6012"}, {"60.1+", "60.1"}, {"\r\n6\x01" "0\xE9x\r\n+more+", "60x"}, {"+", ""}};
    for (const auto& [reply, version] : cases)
        EXPECT_EQ(VersionFromReply(reply), version) << reply;
}

} // namespace
} // namespace vm880::test
