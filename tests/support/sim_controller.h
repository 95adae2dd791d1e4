#pragma once
// A simulated controller on the far end of a pseudo-terminal pair. The program under test
// opens the slave side (`SlavePath()`) as its serial port; a responder thread on the master
// side records every line (commands end with a carriage return; line feeds are dropped),
// answers each command "+\r\n" after a configurable delay, and can be told to misbehave for
// a given command number or for commands containing a given text.
//
// How a line is answered is a policy (a callback per received line), so later tools can
// add the memory download and access codes without changing the transport.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vm880::test {

using SimTime = std::chrono::steady_clock::time_point;

// One line received from the program.
struct SimLine {
    int number = 0;   // 1 for the first command (non-empty line), 2 for the next...; 0 for an empty line
    std::string text; // without its carriage return; NUL bytes and the rest kept as received
    SimTime at;       // when its carriage return arrived
};

// One write of the simulator to the program.
struct SimWrite {
    std::string bytes;
    SimTime at;
};

// What the simulator does with one line: write `chunks` in order, each `delayMs` after the
// previous one (the first after the line arrived), then hang up when asked.
struct SimReply {
    struct Chunk {
        std::string bytes;
        int delayMs = 0;
    };
    std::vector<Chunk> chunks;
    bool echo = false;   // first send the line back as received (text and carriage return)
    bool hangUp = false; // close the master side after the chunks: the cable is pulled

    static SimReply Ack(int delayMs = 0) { return Bytes("+\r\n", delayMs); }
    static SimReply Nack(int delayMs = 0) { return Bytes("-\r\n", delayMs); }
    static SimReply Silence() { return {}; }
    static SimReply Bytes(std::string bytes, int delayMs = 0)
    {
        SimReply reply;
        reply.chunks.push_back({std::move(bytes), delayMs});
        return reply;
    }
    static SimReply Echo()
    {
        SimReply reply;
        reply.echo = true;
        return reply;
    }
    static SimReply HangUp(int delayMs = 0)
    {
        SimReply reply;
        reply.hangUp = true;
        reply.chunks.push_back({"", delayMs});
        return reply;
    }
    // Adds a write `delayMs` after the previous one.
    SimReply& Then(std::string bytes, int delayMs = 0)
    {
        chunks.push_back({std::move(bytes), delayMs});
        return *this;
    }
    SimReply& ThenHangUp()
    {
        hangUp = true;
        return *this;
    }
};

class SimController {
public:
    using Policy = std::function<SimReply(const SimLine&)>;

    // Opens the pseudo-terminal pair and starts answering. Throws std::runtime_error when
    // the system has no pseudo-terminals to give.
    SimController();
    ~SimController();
    SimController(const SimController&) = delete;
    SimController& operator=(const SimController&) = delete;

    // The device the program should open (/dev/pts/N).
    const std::string& SlavePath() const { return slavePath_; }

    // Delay of the default answer to every command.
    void SetReplyDelay(int ms);
    // Sends what it writes one character at a time, `us` microseconds apart, as a serial wire
    // does (1042 at 9600 baud): a reply starts only when the wire is free, and a reply's pause
    // counts from its previous write's last character. 0 (the default) writes each at once.
    void SetPaceUs(int us);
    // Replaces the default answer ("+" to every command, nothing to an empty line) for lines
    // that no fault below matches. Called on the responder thread.
    void SetPolicy(Policy policy);
    // Answers command `number` (see SimLine) with `reply` instead.
    void FaultOnLine(int number, SimReply reply);
    // Answers every command containing `text` with `reply` instead.
    void FaultOnPattern(std::string text, SimReply reply);

    // Closes the master side now, as a pulled cable would.
    void HangUp();
    bool HungUp() const;

    // What came in and went out so far.
    std::vector<SimLine> Lines() const;     // every line, empty ones included
    std::vector<std::string> Commands() const; // texts of the non-empty lines
    std::string Received() const;           // every byte received, exactly
    std::vector<SimWrite> Writes() const;
    SimTime Started() const { return started_; }

    // Wait (up to `timeoutMs`) until that many lines came in or writes went out.
    bool WaitForLines(std::size_t count, int timeoutMs) const;
    bool WaitForWrites(std::size_t count, int timeoutMs) const;

private:
    struct Scheduled {
        std::string bytes;
        bool hangUp = false;
    };

    void run();
    void receive(const char* data, std::size_t size, SimTime now);
    void answer(const SimLine& line);
    SimTime place(SimTime due, const std::string& bytes);
    void writeDue(SimTime now);
    void closeMaster();
    void wake();

    int master_ = -1;
    int slave_ = -1; // held open so the master never sees a hang-up between the program's opens
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::string slavePath_;
    SimTime started_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool stop_ = false;
    bool hangUpRequested_ = false;
    bool hungUp_ = false;
    int replyDelayMs_ = 0;
    int paceUs_ = 0;
    SimTime wireFree_; // when the last paced character is out
    Policy policy_;
    std::map<int, SimReply> lineFaults_;
    std::vector<std::pair<std::string, SimReply>> patternFaults_;
    std::vector<SimLine> lines_;
    std::vector<SimWrite> writes_;
    std::string received_;
    std::string partial_;
    int commandCount_ = 0;
    // Due writes in time order; equal times keep their order.
    std::multimap<SimTime, Scheduled> schedule_;

    std::thread thread_;
};

} // namespace vm880::test
