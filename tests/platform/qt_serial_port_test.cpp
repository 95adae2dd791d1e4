// QSerialPort behind the serial port interface, and the serial command link through it,
// against the simulated controller on a pseudo-terminal.

#include "platform/qt_clock.h"
#include "platform/qt_serial_port.h"

#include "link/command_senders.h"
#include "link/serial_link.h"
#include "model/config_model.h"
#include "scripted_prompts.h"
#include "pty_serial_port.h"
#include "sim_controller.h"
#include "skipping_clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <tuple>

namespace vm880 {
namespace {

using test::ScriptedPrompts;
using test::SimController;
using test::SimReply;

constexpr int kPort = 3;
constexpr const char* kPortVariable = "VM880_PORT3";

// Points serial port `number` at `device` for the lifetime of the object.
class PortVariable {
public:
    PortVariable(const char* name, const std::string& device) : name_(name)
    {
        ::setenv(name_, device.c_str(), 1);
    }
    ~PortVariable() { ::unsetenv(name_); }

private:
    const char* name_;
};

class SimulatorTest : public ::testing::Test {
protected:
    SimulatorTest()
    {
        model.ComPort = kPort;
        model.SerialDelay = 0;
        prompts.AcceptNotices();
    }
    ~SimulatorTest() override { port.Close(); }

    // Runs the event loop for `ms`, as the window does between operations.
    void RunEvents(int ms)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    std::string OnlyBoxTitle()
    {
        EXPECT_EQ(prompts.prompts().size(), 1u);
        return prompts.prompts().empty() ? "" : prompts.prompts().front().title;
    }
    std::string OnlyBoxText()
    {
        return prompts.prompts().empty() ? "" : prompts.prompts().front().text;
    }

    SimController sim;
    PortVariable variable{kPortVariable, sim.SlavePath()};
    QtSerialPort port;
    QtClock clock;
    ConfigModel model;
    ScriptedPrompts prompts;
    // Three periods of 100 ms: the silent cases take a third of a second.
    SerialLink link{model, port, clock, prompts, ReplyTiming{100, 3, 10}};
};

TEST(SerialDeviceName, PortNumbersNameDevicesUnlessAVariableChoosesOne)
{
    ::unsetenv("VM880_PORT1");
    ::unsetenv("VM880_PORT8");
    EXPECT_EQ(SerialDeviceName(1), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(SerialDeviceName(8), QStringLiteral("/dev/ttyS7"));
    {
        PortVariable chosen("VM880_PORT8", "/dev/ttyUSB0");
        EXPECT_EQ(SerialDeviceName(8), QStringLiteral("/dev/ttyUSB0"));
        EXPECT_EQ(SerialDeviceName(1), QStringLiteral("/dev/ttyS0"));
    }
    PortVariable empty("VM880_PORT8", "");
    EXPECT_EQ(SerialDeviceName(8), QStringLiteral("/dev/ttyS7"));
}

// ---- One command, each way the controller can answer it.

enum class Outcome { Accepted, Refused, NoAnswer };

struct ExchangeCase {
    const char* name;
    SimReply reply;
    Outcome outcome;
    std::string lastResponse; // shown in the failure box
};

void PrintTo(const ExchangeCase& c, std::ostream* out)
{
    *out << c.name;
}

class ExchangeTest : public SimulatorTest, public ::testing::WithParamInterface<ExchangeCase> {};

TEST_P(ExchangeTest, CommandIsAnsweredOrFails)
{
    const ExchangeCase& c = GetParam();
    sim.FaultOnLine(1, c.reply);
    link.OpenSerialPort();
    ASSERT_EQ(model.transfer.PortOpenFailed, kFalse) << OnlyBoxText();
    link.SendStr("2*1000123\r");
    link.CheckInput("hang time 2");

    switch (c.outcome) {
    case Outcome::Accepted:
        EXPECT_EQ(model.transfer.UploadError, kFalse) << OnlyBoxText();
        EXPECT_TRUE(prompts.prompts().empty());
        break;
    case Outcome::Refused:
        EXPECT_EQ(model.transfer.UploadError, kTrue);
        EXPECT_EQ(OnlyBoxTitle(), kCommunicationsErrorTitle);
        EXPECT_EQ(OnlyBoxText(), CommunicationsErrorText(reply_reason::Refused, "hang time 2",
                                                         c.lastResponse, "CheckInput",
                                                         "Check for NACK"));
        break;
    case Outcome::NoAnswer:
        EXPECT_EQ(model.transfer.UploadError, kTrue);
        EXPECT_EQ(OnlyBoxTitle(), kCommunicationsErrorTitle);
        EXPECT_EQ(OnlyBoxText(), CommunicationsErrorText(reply_reason::NoAnswer, "hang time 2",
                                                         c.lastResponse, "CheckInput",
                                                         "Check ErrorCounter"));
        break;
    }
    EXPECT_EQ(sim.Received(), "\r2*1000123\r");
    EXPECT_TRUE(port.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Simulator, ExchangeTest,
    ::testing::Values(
        ExchangeCase{"Ack", SimReply::Ack(), Outcome::Accepted, ""},
        ExchangeCase{"AckAfterDelay", SimReply::Ack(60), Outcome::Accepted, ""},
        ExchangeCase{"PlusThenLineEnd", SimReply::Bytes("+").Then("\r\n", 40), Outcome::Accepted,
                     ""},
        ExchangeCase{"LineEndThenPlus", SimReply::Bytes("\r\n").Then("+\r\n", 40),
                     Outcome::Accepted, ""},
        ExchangeCase{"NulThenPlus", SimReply::Bytes(std::string("\0", 1)).Then("+\r\n", 20),
                     Outcome::Accepted, ""},
        ExchangeCase{"Nack", SimReply::Nack(), Outcome::Refused, "-\r\n"},
        ExchangeCase{"Silence", SimReply::Silence(), Outcome::NoAnswer, ""},
        ExchangeCase{"Garbage", SimReply::Bytes("?\r\n"), Outcome::NoAnswer, "?\r\n"},
        ExchangeCase{"Echo", SimReply::Echo(), Outcome::NoAnswer, "2*1000123\r"},
        ExchangeCase{"AckAfterTheTimeOut", SimReply::Ack(450), Outcome::NoAnswer, ""}),
    [](const ::testing::TestParamInfo<ExchangeCase>& info) { return std::string(info.param.name); });

TEST_F(SimulatorTest, LateReplyIsDroppedBeforeTheNextCommand)
{
    sim.FaultOnLine(1, SimReply::Ack(400)); // after the 300 ms time-out
    sim.FaultOnLine(2, SimReply::Nack(30));
    link.OpenSerialPort();
    link.SendStr("2*1000123\r");
    link.CheckInput("first");
    ASSERT_EQ(model.transfer.UploadError, kTrue);
    ASSERT_TRUE(sim.WaitForWrites(1, 2000));
    RunEvents(20); // the late "+" is now in the port

    link.SendStr("2*1001456\r");
    link.CheckInput("second");
    EXPECT_EQ(model.transfer.UploadError, kTrue);
    ASSERT_EQ(prompts.prompts().size(), 2u);
    EXPECT_EQ(prompts.prompts()[1].text,
              CommunicationsErrorText(reply_reason::Refused, "second", "-\r\n", "CheckInput",
                                      "Check for NACK"));
}

TEST_F(SimulatorTest, AnswerIsTakenAsSoonAsItArrives)
{
    link.SetTiming({3000, 3, 10});
    sim.SetReplyDelay(150);
    link.OpenSerialPort();
    QElapsedTimer t;
    t.start();
    link.SendStr("2*1000123\r");
    link.CheckInput("hang time 2");
    const qint64 took = t.elapsed();
    EXPECT_EQ(model.transfer.UploadError, kFalse);
    EXPECT_GE(took, 150);
    EXPECT_LT(took, 400); // far from the whole seconds of a timer-tick wait
}

// ---- The far end goes away.

TEST_F(SimulatorTest, HangUpDuringTheWaitFailsAtOnceAndClosesThePort)
{
    link.SetTiming({3000, 3, 10}); // the failure must not be the time-out
    sim.FaultOnLine(1, SimReply::HangUp(30));
    link.OpenSerialPort();
    QElapsedTimer t;
    t.start();
    link.SendStr("2*1000123\r");
    link.CheckInput("hang time 2");
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_EQ(model.transfer.UploadError, kTrue);
    EXPECT_EQ(OnlyBoxTitle(), kCommunicationsErrorTitle);
    EXPECT_EQ(OnlyBoxText().rfind(reply_reason::ClosedDuringWait, 0), 0u) << OnlyBoxText();
    EXPECT_NE(OnlyBoxText().find("Get InputBuffer"), std::string::npos);
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(SimulatorTest, HangUpBetweenCommandsFailsTheNextSend)
{
    sim.FaultOnLine(1, SimReply::Ack().Then("", 30).ThenHangUp());
    link.OpenSerialPort();
    link.SendStr("2*1000123\r");
    link.CheckInput("hang time 2");
    EXPECT_EQ(model.transfer.UploadError, kFalse);
    ASSERT_TRUE(sim.WaitForLines(2, 1000));
    while (!sim.HungUp())
        RunEvents(5);

    link.SendStr("2*1001456\r");
    link.CheckInput("hang time 3");
    EXPECT_EQ(model.transfer.UploadError, kTrue);
    EXPECT_EQ(OnlyBoxTitle(), kCommunicationsErrorTitle);
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(SimulatorTest, IdlePortWhoseFarEndVanishesIsClosed)
{
    std::string error;
    ASSERT_TRUE(port.Open(kPort, error)) << error;
    sim.HangUp();
    RunEvents(100);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.LastError().empty());
    EXPECT_FALSE(port.WaitForInput(10));
    EXPECT_FALSE(port.Write("1*21999\r"));
}

// ---- Opening, the wire, closing.

TEST_F(SimulatorTest, PortThatDoesNotExistShowsTheSerialPortError)
{
    PortVariable missing("VM880_PORT7", "/nonexistent/vm880-port");
    model.ComPort = 7;
    link.OpenSerialPort();
    EXPECT_EQ(model.transfer.PortOpenFailed, kTrue);
    EXPECT_EQ(OnlyBoxTitle(), kSerialPortErrorTitle);
    EXPECT_EQ(OnlyBoxText().rfind("COM7 could not be opened\r\n/nonexistent/vm880-port: ", 0), 0u)
        << OnlyBoxText();
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(SimulatorTest, OpeningAnOpenPortSendsOnlyTheCarriageReturn)
{
    link.OpenSerialPort();
    link.OpenSerialPort();
    EXPECT_EQ(model.transfer.PortOpenFailed, kFalse);
    ASSERT_TRUE(sim.WaitForLines(2, 1000));
    EXPECT_EQ(sim.Received(), "\r\r");
    EXPECT_TRUE(prompts.prompts().empty());
}

TEST_F(SimulatorTest, LastCommandBeforeClosingReachesTheController)
{
    link.OpenSerialPort();
    link.SendStr("2*1000123\r");
    link.CheckInput("hang time 2");
    link.SendStr("1*21999\r"); // the reset: nobody waits for its answer
    port.Close();
    ASSERT_TRUE(sim.WaitForLines(3, 1000));
    EXPECT_EQ(sim.Received(), "\r2*1000123\r1*21999\r");
    EXPECT_EQ(sim.Commands(), (std::vector<std::string>{"2*1000123", "1*21999"}));
}

TEST_F(SimulatorTest, RefusedModemLinesLeaveThePortWorking)
{
    std::string error;
    ASSERT_TRUE(port.Open(kPort, error)) << error;
    // A pseudo-terminal has no DTR or RTS.
    EXPECT_FALSE(port.SetDTR(true));
    EXPECT_FALSE(port.LastError().empty());
    EXPECT_FALSE(port.SetRTS(true));
    RunEvents(20);
    ASSERT_TRUE(port.IsOpen());
    EXPECT_FALSE(port.Open(kPort, error)); // open already

    link.SendStr("2*1000123\r");
    link.CheckInput("hang time 2");
    EXPECT_EQ(model.transfer.UploadError, kFalse) << OnlyBoxText();
}

TEST_F(SimulatorTest, PortReopensAfterClosing)
{
    for (int round = 0; round < 3; ++round) {
        link.OpenSerialPort();
        link.SendStr("1*2001\r");
        link.CheckInput("fan");
        EXPECT_EQ(model.transfer.UploadError, kFalse) << "round " << round;
        port.Close();
    }
    EXPECT_EQ(sim.Commands().size(), 3u);
}

// ---- Reply scripts: a few commands against a controller (or an adapter) that answers in
// its own way, through the pseudo-terminal test port and through QSerialPort alike. None
// may end in an acceptance the controller did not give.

enum class Via { TestPort, QtPort };

void PrintTo(Via via, std::ostream* out)
{
    *out << (via == Via::QtPort ? "QSerialPort" : "test port");
}

struct ReplyScript {
    const char* name;
    std::optional<SimReply> toOpening; // answer to the opening's lone carriage return
    std::vector<SimReply> replies;     // to commands 1, 2, ...; the rest get "+" at once
    int commands;                      // how many are sent, unless one fails
    Outcome outcome;                   // of the last command sent
    int sent;                          // commands on the wire when the sequence ends
    int runs = 1;                      // races are tried again
};

void PrintTo(const ReplyScript& s, std::ostream* out)
{
    *out << s.name;
}

class ReplyScriptTest
    : public ::testing::TestWithParam<std::tuple<ReplyScript, Via>> {};

TEST_P(ReplyScriptTest, EndsAsTheControllerAnswered)
{
    const auto& [s, via] = GetParam();
    std::vector<SerialLine> lines;
    for (int k = 1; k <= s.commands; ++k)
        lines.push_back({"2*100012" + std::to_string(k), "command " + std::to_string(k)});
    std::string wire = "\r";
    for (int k = 0; k < s.sent; ++k)
        wire += lines[static_cast<std::size_t>(k)].text + "\r";

    for (int run = 0; run < s.runs; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        SimController sim;
        if (s.toOpening)
            sim.SetPolicy([answer = *s.toOpening](const test::SimLine& line) {
                return line.number == 0 ? answer : SimReply::Ack();
            });
        for (std::size_t k = 0; k < s.replies.size(); ++k)
            sim.FaultOnLine(static_cast<int>(k) + 1, s.replies[k]);
        PortVariable variable{kPortVariable, sim.SlavePath()};
        std::unique_ptr<SerialPort> port;
        std::unique_ptr<Clock> clock;
        if (via == Via::QtPort) {
            port = std::make_unique<QtSerialPort>();
            clock = std::make_unique<QtClock>();
        } else {
            port = std::make_unique<test::PtySerialPort>(sim.SlavePath());
            clock = std::make_unique<test::SkippingClock>();
        }
        ConfigModel model;
        model.ComPort = kPort;
        model.SerialDelay = 0;
        ScriptedPrompts prompts;
        prompts.AcceptNotices();
        SerialLink link{model, *port, *clock, prompts, ReplyTiming{100, 3, 10}};

        link.OpenSerialPort();
        ASSERT_EQ(model.transfer.PortOpenFailed, kFalse);
        const bool accepted = SendSerialLines(link, model, lines);

        EXPECT_EQ(accepted, s.outcome == Outcome::Accepted);
        EXPECT_EQ(model.transfer.UploadError, accepted ? kFalse : kTrue);
        EXPECT_EQ(model.transfer.PortOpenFailed, kFalse);
        ASSERT_TRUE(sim.WaitForLines(static_cast<std::size_t>(s.sent) + 1, 1000));
        EXPECT_EQ(sim.Received(), wire);
        if (accepted) {
            EXPECT_TRUE(prompts.prompts().empty());
        } else {
            ASSERT_EQ(prompts.prompts().size(), 1u);
            const std::string& text = prompts.prompts().front().text;
            const bool refused = s.outcome == Outcome::Refused;
            EXPECT_EQ(text.rfind(refused ? reply_reason::Refused : reply_reason::NoAnswer, 0), 0u)
                << text;
            EXPECT_NE(text.find("\r\ncommand " + std::to_string(s.sent) + "\r\n"),
                      std::string::npos)
                << text;
            EXPECT_NE(text.find(refused ? "CheckInput: Check for NACK"
                                        : "CheckInput: Check ErrorCounter"),
                      std::string::npos)
                << text;
        }
        port->Close();
    }
}

std::string withNul(std::string_view text)
{
    return std::string(text).insert(2, 1, '\0');
}

INSTANTIATE_TEST_SUITE_P(
    Simulator, ReplyScriptTest,
    ::testing::Combine(
        ::testing::Values(
            ReplyScript{"EchoThenAck", {}, {SimReply::Echo().Then("+\r\n", 5)}, 2,
                        Outcome::Accepted, 2},
            ReplyScript{"EchoAndAckInOneWrite", {}, {SimReply::Bytes("2*1000121\r+\r\n")}, 2,
                        Outcome::Accepted, 2},
            ReplyScript{"QueryLineThenAck", {}, {SimReply::Bytes("?\r\n").Then("+\r\n", 5)}, 2,
                        Outcome::Accepted, 2},
            // Without a line end the "+" belongs to the noise.
            ReplyScript{"QueryRunningIntoAck", {}, {SimReply::Bytes("?").Then("+\r\n", 5)}, 2,
                        Outcome::NoAnswer, 1},
            ReplyScript{"AckSplitFromItsLineEnd", {}, {SimReply::Bytes("+").Then("\r\n", 40)},
                        2, Outcome::Accepted, 2},
            ReplyScript{"LineEndsAndNulThenAck", {},
                        {SimReply::Bytes(withNul("\r\n")).Then("+\r\n", 10)}, 2,
                        Outcome::Accepted, 2},
            ReplyScript{"EchoThenNack", {}, {SimReply::Ack(), SimReply::Echo().Then("-\r\n", 5)},
                        3, Outcome::Refused, 2},
            ReplyScript{"AckToTheOpeningThenNack", SimReply::Bytes("+\r\n", 2),
                        {SimReply::Nack(20)}, 2, Outcome::Refused, 1, 15},
            // Only a repeat that comes before the next command is written can be told apart.
            ReplyScript{"DuplicateAckThenNack", {},
                        {SimReply::Bytes("+\r\n+\r\n"), SimReply::Nack(20)}, 3,
                        Outcome::Refused, 2, 15},
            ReplyScript{"AckAfterTheDeadline", {}, {SimReply::Ack(450)}, 2, Outcome::NoAnswer,
                        1}),
        ::testing::Values(Via::TestPort, Via::QtPort)),
    [](const ::testing::TestParamInfo<std::tuple<ReplyScript, Via>>& info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) == Via::QtPort ? "_Qt" : "_TestPort");
    });

// ---- The clock keeps the window alive.

TEST(QtClock, SleepAndYieldRunPendingEvents)
{
    QtClock clock;
    bool fired = false;
    QTimer::singleShot(10, [&] { fired = true; });
    const std::int64_t start = clock.NowMs();
    clock.SleepMs(60);
    EXPECT_TRUE(fired);
    EXPECT_GE(clock.NowMs() - start, 60);

    bool posted = false;
    QTimer::singleShot(0, [&] { posted = true; });
    clock.Yield();
    EXPECT_TRUE(posted);
}

} // namespace
} // namespace vm880
