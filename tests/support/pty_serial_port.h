#pragma once
// A serial port on a pseudo-terminal, without Qt, so that core tests can talk to the simulated
// controller through the real operating-system path: whatever port number is asked for, the
// port opens `path`. A pseudo-terminal has no modem lines, so DTR and RTS are refused.

#include "interfaces/serial_port.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace vm880::test {

class PtySerialPort : public SerialPort {
public:
    explicit PtySerialPort(std::string path) : path_(std::move(path)) {}
    ~PtySerialPort() override { Close(); }

    bool Open(int, std::string& error) override
    {
        if (fd_ >= 0) {
            error = "the port is already open";
            return false;
        }
        fd_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ < 0) {
            error = lastError_ = std::strerror(errno);
            return false;
        }
        termios raw{};
        ::tcgetattr(fd_, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(fd_, TCSANOW, &raw);
        return true;
    }
    bool IsOpen() const override { return fd_ >= 0; }
    void Close() override
    {
        if (fd_ < 0)
            return;
        ::tcdrain(fd_);
        ::close(fd_);
        fd_ = -1;
    }
    bool Write(std::string_view bytes) override
    {
        while (fd_ >= 0 && !bytes.empty()) {
            const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
            if (n > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(n));
            } else if (n < 0 && errno == EAGAIN) {
                pollfd p{fd_, POLLOUT, 0};
                ::poll(&p, 1, 100);
            } else {
                return fail();
            }
        }
        return fd_ >= 0;
    }
    std::string ReadAll() override
    {
        std::string out;
        char buffer[256];
        while (fd_ >= 0) {
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n > 0)
                out.append(buffer, static_cast<std::size_t>(n));
            else if (n < 0 && errno == EAGAIN)
                break;
            else {
                fail();
                break;
            }
        }
        return out;
    }
    bool WaitForInput(int ms) override
    {
        if (fd_ < 0)
            return false;
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, ms);
        if (ready > 0 && (p.revents & (POLLERR | POLLHUP)) && !(p.revents & POLLIN)) {
            fail();
            return false;
        }
        return ready > 0;
    }
    void DiscardInput() override
    {
        if (fd_ >= 0)
            ::tcflush(fd_, TCIFLUSH);
    }
    bool SetDTR(bool) override { return false; }
    bool SetRTS(bool) override { return false; }
    std::string LastError() const override { return lastError_; }

private:
    bool fail()
    {
        lastError_ = std::strerror(errno ? errno : EIO);
        ::close(fd_);
        fd_ = -1;
        return false;
    }

    std::string path_;
    int fd_ = -1;
    std::string lastError_;
};

} // namespace vm880::test
