#pragma once
// A serial port that records what is done to it (open, close, DTR and RTS) on a shared
// timeline, so transmitter keying can be tested without modem lines (a pseudo-terminal
// has none). Failures can be injected.

#include "interfaces/serial_port.h"
#include "recording_timeline.h"

#include <stdexcept>

namespace vm880::test {

class RecordingSerialPort : public SerialPort {
public:
    explicit RecordingSerialPort(RecordingTimeline& timeline) : timeline_(timeline) {}

    bool Open(int number, std::string& error) override
    {
        if (open_) {
            error = "the port is already open";
            return false;
        }
        if (throwOnOpen)
            throw std::runtime_error("device vanished");
        if (failOpen) {
            error = "no such port";
            lastError_ = error;
            timeline_.Add("open " + std::to_string(number) + " failed");
            return false;
        }
        open_ = true;
        // Opening raises both modem lines, as the operating system does.
        dtr_ = rts_ = true;
        timeline_.Add("open " + std::to_string(number));
        return true;
    }
    bool IsOpen() const override { return open_; }
    void Close() override
    {
        if (!open_)
            return;
        open_ = false;
        dtr_ = rts_ = false;
        timeline_.Add("close");
    }
    bool Write(std::string_view bytes) override
    {
        if (!open_)
            return false;
        written += bytes;
        return true;
    }
    std::string ReadAll() override { return {}; }
    bool WaitForInput(int) override { return false; }
    void DiscardInput() override {}
    bool SetDTR(bool on) override { return SetLine("DTR", dtr_, on, failDTR); }
    bool SetRTS(bool on) override { return SetLine("RTS", rts_, on, failRTS); }
    std::string LastError() const override { return lastError_; }

    // The adapter pulled: the port closes by itself, as the Qt port does once events ran.
    void Drop() { open_ = false; lastError_ = "unplugged"; timeline_.Add("lost"); }

    bool dtr() const { return open_ && dtr_; }
    bool rts() const { return open_ && rts_; }
    // The transmitter is on the air while the keying line is up on an open port.
    bool keyedBy(bool byDTR) const { return byDTR ? dtr() : rts(); }

    bool failOpen = false;
    bool throwOnOpen = false;
    bool failDTR = false;
    bool failRTS = false;
    std::string written;

private:
    bool SetLine(const char* name, bool& line, bool on, bool fail)
    {
        if (!open_ || fail) {
            lastError_ = "the device refused the line change";
            timeline_.Add(std::string(name) + (on ? " on" : " off") + " refused");
            return false;
        }
        line = on;
        timeline_.Add(std::string(name) + (on ? " on" : " off"));
        return true;
    }

    RecordingTimeline& timeline_;
    bool open_ = false;
    bool dtr_ = false;
    bool rts_ = false;
    std::string lastError_;
};

} // namespace vm880::test
