// The serial command link on a fake port whose far end answers on a fake clock, so that
// the 9-second time-out and split or late replies are exact and take no real time.

#include "link/serial_link.h"

#include "fake_clock.h"
#include "model/config_model.h"
#include "replying_serial_port.h"
#include "scripted_prompts.h"

#include <gtest/gtest.h>

namespace vm880 {
namespace {

using test::FakeClock;
using test::ReplyingSerialPort;
using test::ScriptedPrompts;

class SerialLinkTest : public ::testing::Test {
protected:
    SerialLinkTest()
    {
        model.ComPort = 2;
        model.SerialDelay = 1;
        prompts.AcceptNotices();
    }

    void OpenPort()
    {
        std::string error;
        ASSERT_TRUE(port.Open(2, error));
    }

    // The only box shown so far.
    const test::RecordedPrompt& OnlyBox()
    {
        EXPECT_EQ(prompts.prompts().size(), 1u);
        static const test::RecordedPrompt none{};
        return prompts.prompts().empty() ? none : prompts.prompts().front();
    }

    FakeClock clock;
    ReplyingSerialPort port{clock};
    ConfigModel model;
    ScriptedPrompts prompts;
    SerialLink link{model, port, clock, prompts};
};

// ---- The reply wait, one command each: how the controller answers and what the link makes of it.

struct Arrival {
    std::int64_t atMs;
    std::string bytes;
};

enum class Outcome { Accepted, Refused, NoAnswer };

struct ReplyCase {
    const char* name;
    std::vector<Arrival> arrivals;
    Outcome outcome;
    std::int64_t endsAtMs; // fake time (since the send) when the wait has to be over
};

void PrintTo(const ReplyCase& c, std::ostream* out)
{
    *out << c.name;
}

std::string nul(std::string_view text)
{
    return std::string(1, '\0') + std::string(text);
}

class ReplyWaitTest : public SerialLinkTest, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(ReplyWaitTest, JudgesEachLineByItsFirstCharacterAcrossReads)
{
    const ReplyCase& c = GetParam();
    OpenPort();
    port.onWrite = [&](std::string_view) {
        for (const Arrival& a : c.arrivals)
            port.Arrive(a.bytes, a.atMs);
    };
    model.transfer.UploadError = kTrue; // a wait starts afresh
    const std::int64_t start = clock.NowMs();
    link.SendStr("2*1000123\r");
    link.CheckInput("hang time 2");
    const std::int64_t took = clock.NowMs() - start;

    std::string received;
    for (const Arrival& a : c.arrivals)
        if (a.atMs <= took)
            received += a.bytes;

    switch (c.outcome) {
    case Outcome::Accepted:
        EXPECT_EQ(model.transfer.UploadError, kFalse);
        EXPECT_TRUE(prompts.prompts().empty());
        // Taken as soon as it is there: no whole-second sleeps, no timer ticks.
        EXPECT_LE(took, c.endsAtMs + 2);
        break;
    case Outcome::Refused:
        EXPECT_EQ(model.transfer.UploadError, kTrue);
        EXPECT_EQ(OnlyBox().title, kCommunicationsErrorTitle);
        EXPECT_EQ(OnlyBox().text, CommunicationsErrorText(reply_reason::Refused, "hang time 2",
                                                          received, "CheckInput",
                                                          "Check for NACK"));
        EXPECT_LE(took, c.endsAtMs + 2);
        break;
    case Outcome::NoAnswer:
        EXPECT_EQ(model.transfer.UploadError, kTrue);
        EXPECT_EQ(OnlyBox().title, kCommunicationsErrorTitle);
        EXPECT_EQ(OnlyBox().text, CommunicationsErrorText(reply_reason::NoAnswer, "hang time 2",
                                                          received, "CheckInput",
                                                          "Check ErrorCounter"));
        EXPECT_GE(took, 9000);
        EXPECT_LE(took, 9000 + 11);
        break;
    }
    EXPECT_EQ(link.LastReply(), received);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyWaitTest,
    ::testing::Values(
        ReplyCase{"AckWithLineEnd", {{0, "+\r\n"}}, Outcome::Accepted, 1},
        ReplyCase{"AckAfterAWhile", {{250, "+\r\n"}}, Outcome::Accepted, 250},
        ReplyCase{"AckThenLineEndLater", {{0, "+"}, {40, "\r\n"}}, Outcome::Accepted, 1},
        ReplyCase{"LineEndThenAckLater", {{0, "\r\n"}, {40, "+\r\n"}}, Outcome::Accepted, 40},
        ReplyCase{"NulBeforeAck", {{0, nul("+\r\n")}}, Outcome::Accepted, 1},
        ReplyCase{"AckJustInTime", {{8990, "+"}}, Outcome::Accepted, 8990},
        ReplyCase{"Nack", {{3, "-\r\n"}}, Outcome::Refused, 3},
        ReplyCase{"LineEndThenNack", {{0, "\r\n"}, {20, "-"}}, Outcome::Refused, 20},
        ReplyCase{"Silence", {}, Outcome::NoAnswer, 9000},
        ReplyCase{"LineEndsOnly", {{0, "\r\n"}, {10, "\r\n"}}, Outcome::NoAnswer, 9000},
        ReplyCase{"NulOnly", {{0, nul("")}}, Outcome::NoAnswer, 9000},
        ReplyCase{"Garbage", {{0, "?\r\n"}}, Outcome::NoAnswer, 9000},
        ReplyCase{"GarbageLineThenAck", {{0, "?\r\n"}, {10, "+\r\n"}}, Outcome::Accepted, 10},
        ReplyCase{"GarbageLineThenNack", {{0, "?\r"}, {10, "-\r\n"}}, Outcome::Refused, 10},
        // No line end: the "+" is part of the noise, whatever the reads.
        ReplyCase{"GarbageRunningIntoAck", {{0, "?"}, {10, "+\r\n"}}, Outcome::NoAnswer, 9000},
        ReplyCase{"Echo", {{0, "2*1000123\r"}}, Outcome::NoAnswer, 9000},
        ReplyCase{"EchoThenAck", {{0, "2*1000123\r"}, {6, "+\r\n"}}, Outcome::Accepted, 6},
        ReplyCase{"EchoInPiecesThenAck", {{0, "2*10"}, {2, "00123\r"}, {6, "+\r\n"}},
                  Outcome::Accepted, 6},
        ReplyCase{"EchoAndAckInOneRead", {{0, "2*1000123\r+\r\n"}}, Outcome::Accepted, 1},
        ReplyCase{"EchoThenNack", {{0, "2*1000123\r\n"}, {6, "-\r\n"}}, Outcome::Refused, 6},
        ReplyCase{"AckAfterTheTimeOut", {{9500, "+\r\n"}}, Outcome::NoAnswer, 9000}),
    [](const ::testing::TestParamInfo<ReplyCase>& info) { return std::string(info.param.name); });

TEST_F(SerialLinkTest, RefusalBoxReadsAsTheOperatorSeesIt)
{
    OpenPort();
    port.onWrite = [&](std::string_view) { port.Arrive("-\r\n"); };
    link.SendStr("1*2001\r");
    link.CheckInput("Fan timer");
    EXPECT_EQ(OnlyBox().style, style::OkOnly + style::Exclamation);
    EXPECT_EQ(OnlyBox().text,
              "Zel receive a NACK from the VM880 after sending it a command string\r\n\r\n"
              "The command string send was: \r\nFan timer\r\n\r\n"
              "The last response from the VM880 was: \r\n-\r\n\r\n\r\n"
              "Location = Declarations: CheckInput: Check for NACK\r\n\r\n"
              "Update will terminate");
}

TEST_F(SerialLinkTest, TimeOutIsThreePeriodsAndCanBeShortened)
{
    OpenPort();
    link.SetTiming({100, 3, 10});
    link.SendStr("1*2001\r");
    const std::int64_t start = clock.NowMs();
    link.CheckInput("x");
    EXPECT_EQ(model.transfer.UploadError, kTrue);
    EXPECT_GE(clock.NowMs() - start, 300);
    EXPECT_LE(clock.NowMs() - start, 310);
    // The wait yields to the window between short waits on the port.
    EXPECT_GE(clock.yields, 25);
}

TEST_F(SerialLinkTest, LateReplyIsNotTakenAsTheNextCommandsAnswer)
{
    OpenPort();
    int sent = 0;
    port.onWrite = [&](std::string_view) {
        if (++sent == 1)
            port.Arrive("+\r\n", 9500); // too late for the first command
        else
            port.Arrive("-\r\n", 5);
    };
    link.SendStr("2*1000123\r");
    link.CheckInput("first");
    ASSERT_EQ(model.transfer.UploadError, kTrue);
    clock.Advance(1000); // the late "+" is now waiting in the port

    link.SendStr("2*1001456\r");
    link.CheckInput("second");
    EXPECT_EQ(model.transfer.UploadError, kTrue);
    ASSERT_EQ(prompts.prompts().size(), 2u);
    EXPECT_EQ(prompts.prompts()[1].text,
              CommunicationsErrorText(reply_reason::Refused, "second", "-\r\n", "CheckInput",
                                      "Check for NACK"));
}

// ---- Closed and failing ports are communications failures, shown once.

TEST_F(SerialLinkTest, SendOnAClosedPortFailsOnceAndWritesNothing)
{
    link.SendStr("2*1000123\r");
    EXPECT_EQ(model.transfer.UploadError, kTrue);
    link.CheckInput("hang time 2");
    EXPECT_EQ(model.transfer.UploadError, kTrue);
    EXPECT_EQ(OnlyBox().title, kCommunicationsErrorTitle);
    EXPECT_EQ(OnlyBox().text, CommunicationsErrorText(reply_reason::ClosedBeforeSend,
                                                      "2*1000123", "", "SendStr", "Write"));
    EXPECT_TRUE(port.wire.empty());

    // The next command on an open port is judged on its own.
    OpenPort();
    port.onWrite = [&](std::string_view) { port.Arrive("+\r\n"); };
    link.SendStr("2*1000123\r");
    link.CheckInput("hang time 2");
    EXPECT_EQ(model.transfer.UploadError, kFalse);
    EXPECT_EQ(prompts.prompts().size(), 1u);
}

TEST_F(SerialLinkTest, WaitOnAPortThatClosesFailsAtOnce)
{
    OpenPort();
    port.onWrite = [&](std::string_view) { port.HangUpAfter(50); };
    link.SendStr("2*1000123\r");
    const std::int64_t start = clock.NowMs();
    link.CheckInput("hang time 2");
    EXPECT_EQ(model.transfer.UploadError, kTrue);
    EXPECT_LE(clock.NowMs() - start, 60);
    EXPECT_EQ(OnlyBox().text,
              CommunicationsErrorText(std::string(reply_reason::ClosedDuringWait) +
                                          " (Input/output error)",
                                      "hang time 2", "", "CheckInput", "Get InputBuffer"));
}

TEST_F(SerialLinkTest, AnswerThatArrivedBeforeTheHangUpCounts)
{
    OpenPort();
    port.onWrite = [&](std::string_view) {
        port.Arrive("+\r\n", 20);
        port.HangUpAfter(20);
    };
    link.SendStr("2*1000123\r");
    link.CheckInput("hang time 2");
    EXPECT_EQ(model.transfer.UploadError, kFalse);
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(SerialLinkTest, WriteFailureIsACommunicationsFailure)
{
    OpenPort();
    port.writeError = "Input/output error";
    link.SendStr("2*1000123\r");
    link.CheckInput("hang time 2");
    EXPECT_EQ(model.transfer.UploadError, kTrue);
    EXPECT_EQ(OnlyBox().text,
              CommunicationsErrorText(std::string(reply_reason::SendFailed) +
                                          " (Input/output error)",
                                      "2*1000123", "", "SendStr", "Write"));
}

// ---- Opening and sending.

TEST_F(SerialLinkTest, OpeningSendsALoneCarriageReturnEachTime)
{
    model.ComPort = 3;
    model.transfer.PortOpenFailed = kTrue;
    link.OpenSerialPort();
    EXPECT_EQ(model.transfer.PortOpenFailed, kFalse);
    EXPECT_EQ(port.opened, std::vector<int>{3});
    EXPECT_EQ(port.wire, "\r");

    // Open already: no second opening, only the carriage return.
    link.OpenSerialPort();
    EXPECT_EQ(port.opened, std::vector<int>{3});
    EXPECT_EQ(port.wire, "\r\r");
    EXPECT_EQ(clock.sleeps, (std::vector<std::int64_t>{1, 1}));
    EXPECT_TRUE(prompts.prompts().empty());
}

// An answer to the opening's carriage return, even one that comes after the opening has
// slept `SerialDelay`, is not taken for the first command's.
TEST_F(SerialLinkTest, AnswerToTheOpeningIsDropped)
{
    for (const std::int64_t late : {0, 3, 25}) {
        SCOPED_TRACE(late);
        ReplyingSerialPort wire{clock};
        ScriptedPrompts boxes;
        boxes.AcceptNotices();
        SerialLink opened{model, wire, clock, boxes};
        wire.onWrite = [&](std::string_view bytes) {
            wire.Arrive(bytes == "\r" ? "+\r\n" : "-\r\n", bytes == "\r" ? late : 20);
        };
        const std::int64_t start = clock.NowMs();
        opened.OpenSerialPort();
        EXPECT_EQ(model.transfer.PortOpenFailed, kFalse);
        EXPECT_GE(clock.NowMs() - start, 1 + opened.Timing().settleMs);
        EXPECT_LE(clock.NowMs() - start, 1 + opened.Timing().settleMs + 2);
        opened.SendStr("2*1000123\r");
        opened.CheckInput("hang time 2");
        EXPECT_EQ(model.transfer.UploadError, kTrue);
        ASSERT_EQ(boxes.prompts().size(), 1u);
        EXPECT_EQ(boxes.prompts()[0].text,
                  CommunicationsErrorText(reply_reason::Refused, "hang time 2", "-\r\n",
                                          "CheckInput", "Check for NACK"));
        EXPECT_EQ(wire.wire, "\r2*1000123\r");
    }
}

struct OpenFailureCase {
    const char* name;
    int comPort;
    std::string detail;
};

void PrintTo(const OpenFailureCase& c, std::ostream* out)
{
    *out << c.name;
}

class OpenFailureTest : public SerialLinkTest,
                        public ::testing::WithParamInterface<OpenFailureCase> {};

TEST_P(OpenFailureTest, ShowsTheSerialPortErrorNamingThePort)
{
    port.existing = {1};
    model.ComPort = GetParam().comPort;
    link.OpenSerialPort();
    EXPECT_EQ(model.transfer.PortOpenFailed, kTrue);
    EXPECT_EQ(OnlyBox().title, kSerialPortErrorTitle);
    EXPECT_EQ(OnlyBox().style, style::OkOnly + style::Exclamation);
    EXPECT_EQ(OnlyBox().text, SerialPortErrorText(GetParam().comPort, GetParam().detail));
    EXPECT_TRUE(port.wire.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Ports, OpenFailureTest,
    ::testing::Values(OpenFailureCase{"Missing", 4, "No such file or directory"},
                      OpenFailureCase{"NoneChosen", 0,
                                      "No serial port is chosen for the command link"}),
    [](const ::testing::TestParamInfo<OpenFailureCase>& info) {
        return std::string(info.param.name);
    });

TEST_F(SerialLinkTest, SerialPortErrorText)
{
    EXPECT_EQ(SerialPortErrorText(4, "/dev/ttyS3: No such file or directory"),
              "COM4 could not be opened\r\n/dev/ttyS3: No such file or directory\r\n\r\n"
              "This is most likely caused by one of the following reasons:\r\n"
              "1. Your serial cable (or USB cable) is not connected to the computer\r\n"
              "2. You have configured Zel with the wrong serial port (Configure Zel --> Use "
              "Serial Port --> Com#)\r\n"
              "3. You are using a USB cable and have not loaded the drivers for the "
              "USB-to-serial adapter\r\n"
              "4. You do not have power to the VM-880\r\n"
              "5. Your USB-to-serial adapter is not working properly (often happens with less "
              "expensive adapters based on the 'Prolific' adapter chip)\r\n"
              "6. The serial port is in use by another program\r\n\r\n"
              "Please check your connections and try again");
    EXPECT_EQ(SerialPortErrorText(1, "").substr(0, 28), "COM1 could not be opened\r\n\r\n");
}

TEST_F(SerialLinkTest, SessionPutsExactlyTheCommandsOnTheWire)
{
    port.onWrite = [&](std::string_view bytes) {
        if (bytes != "\r")
            port.Arrive("+\r\n", 2);
    };
    link.OpenSerialPort();
    link.SendStr("2*1000123\r");
    link.CheckInput("hang time 2");
    link.SendStr("1*21999\r"); // the reset is not waited for
    EXPECT_EQ(port.wire, "\r2*1000123\r1*21999\r");
    EXPECT_EQ(port.writes, (std::vector<std::string>{"\r", "2*1000123\r", "1*21999\r"}));
    EXPECT_EQ(model.transfer.UploadError, kFalse);
    // Pending input is dropped before each command, and each send is paced by SerialDelay.
    EXPECT_EQ(port.discards, 2);
    EXPECT_EQ(clock.sleeps, (std::vector<std::int64_t>{1, 1, 1}));
}

TEST(JudgeReply, FirstLineThatBeginsWithAnAnswerDecides)
{
    EXPECT_EQ(JudgeReply(""), ReplyVerdict::Pending);
    EXPECT_EQ(JudgeReply(std::string("\r\n\0\r", 4)), ReplyVerdict::Pending);
    EXPECT_EQ(JudgeReply("\r\n+"), ReplyVerdict::Accepted);
    EXPECT_EQ(JudgeReply("+-"), ReplyVerdict::Accepted);
    EXPECT_EQ(JudgeReply("\n-+"), ReplyVerdict::Refused);
    // Text before the answer is passed over up to its line end, answers inside it too.
    EXPECT_EQ(JudgeReply(" +"), ReplyVerdict::Pending);
    EXPECT_EQ(JudgeReply(std::string("?\0+-", 4)), ReplyVerdict::Pending);
    EXPECT_EQ(JudgeReply("1*2001\r+"), ReplyVerdict::Accepted);
    EXPECT_EQ(JudgeReply("?\n\n-\r\n+"), ReplyVerdict::Refused);
    EXPECT_EQ(JudgeReply(std::string("ok\r\0+", 5)), ReplyVerdict::Accepted);
}

} // namespace
} // namespace vm880
