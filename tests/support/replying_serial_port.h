#pragma once
// A serial port whose far end answers on a fake clock: each write may schedule replies a
// given number of milliseconds later, and waiting for input moves the clock to the next
// reply (or by the whole wait). Records what went out, so tests can check the exact bytes.

#include "fake_clock.h"
#include "interfaces/serial_port.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vm880::test {

class ReplyingSerialPort : public SerialPort {
public:
    explicit ReplyingSerialPort(FakeClock& clock) : clock_(clock) {}

    // Called with every write; schedule replies from here with Arrive().
    std::function<void(std::string_view written)> onWrite;
    // Port numbers that open; the others fail with `openError`.
    std::vector<int> existing = {1, 2, 3, 4, 5, 6, 7, 8};
    std::string openError = "No such file or directory";
    // When set, every write fails with this reason and closes the port.
    std::string writeError;

    // `bytes` arrive `delayMs` from now.
    void Arrive(std::string bytes, std::int64_t delayMs = 0)
    {
        incoming_.emplace(clock_.NowMs() + delayMs, std::move(bytes));
    }
    // The far end goes away `delayMs` from now: the port fails and closes.
    void HangUpAfter(std::int64_t delayMs) { hangUpAt_ = clock_.NowMs() + delayMs; }

    bool Open(int number, std::string& error) override
    {
        if (open_) {
            error = "open already";
            return false;
        }
        for (int n : existing)
            if (n == number) {
                open_ = true;
                opened.push_back(number);
                return true;
            }
        error = openError;
        return false;
    }
    bool IsOpen() const override { return open_; }
    void Close() override
    {
        if (open_)
            ++closes;
        open_ = false;
    }
    bool Write(std::string_view bytes) override
    {
        if (!open_)
            return false;
        if (!writeError.empty()) {
            lastError_ = writeError;
            open_ = false;
            return false;
        }
        wire += bytes;
        writes.emplace_back(bytes);
        if (onWrite)
            onWrite(bytes);
        return true;
    }
    std::string ReadAll() override
    {
        checkHangUp();
        std::string out;
        while (!incoming_.empty() && incoming_.begin()->first <= clock_.NowMs()) {
            out += incoming_.begin()->second;
            incoming_.erase(incoming_.begin());
        }
        ++reads;
        return out;
    }
    bool WaitForInput(int ms) override
    {
        checkHangUp();
        if (!open_)
            return false;
        const std::int64_t until = clock_.NowMs() + ms;
        std::int64_t next = until;
        if (!incoming_.empty())
            next = std::min(next, incoming_.begin()->first);
        if (hangUpAt_ >= 0)
            next = std::min(next, hangUpAt_);
        if (next > clock_.NowMs())
            clock_.Advance(next - clock_.NowMs());
        checkHangUp();
        return !incoming_.empty() && incoming_.begin()->first <= clock_.NowMs();
    }
    void DiscardInput() override
    {
        ++discards;
        while (!incoming_.empty() && incoming_.begin()->first <= clock_.NowMs())
            incoming_.erase(incoming_.begin());
    }
    bool SetDTR(bool) override { return open_; }
    bool SetRTS(bool) override { return open_; }
    std::string LastError() const override { return lastError_; }

    std::string wire;                // every byte written, in order
    std::vector<std::string> writes; // one entry per Write
    std::vector<int> opened;         // port numbers opened
    int closes = 0;
    int reads = 0;
    int discards = 0;

private:
    void checkHangUp()
    {
        if (hangUpAt_ >= 0 && clock_.NowMs() >= hangUpAt_ && open_) {
            open_ = false;
            lastError_ = "Input/output error";
            hangUpAt_ = -1;
        }
    }

    FakeClock& clock_;
    std::multimap<std::int64_t, std::string> incoming_;
    std::int64_t hangUpAt_ = -1;
    bool open_ = false;
    std::string lastError_;
};

} // namespace vm880::test
