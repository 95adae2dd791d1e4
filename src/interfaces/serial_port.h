#pragma once
// The serial port the main window owns (one instance), shared by the serial command link,
// the transmitter keying and the downloads. The Qt implementation uses QSerialPort; tests
// use a pseudo-terminal or a recording fake.

#include <string>
#include <string_view>

namespace vm880 {

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens port `number` (1..8) at 9600,N,8,1 with no handshaking. On failure returns false
    // and `error` says why; the port stays closed. Opening an open port fails.
    virtual bool Open(int number, std::string& error) = 0;
    virtual bool IsOpen() const = 0;
    // Drains what was written, drops DTR and RTS, then closes. Closing a closed port does nothing.
    virtual void Close() = 0;

    // Writes and waits until the bytes are handed to the device; false when the port failed
    // (it is then closed and `LastError` says why).
    virtual bool Write(std::string_view bytes) = 0;
    // Everything received so far (removed from the buffer); empty when nothing came. After
    // the port failed and was closed, still returns what had arrived before the failure.
    virtual std::string ReadAll() = 0;
    // Waits up to `ms` milliseconds for input not yet read; returns at once when some is
    // waiting. False on time-out or failure (a failing port is closed).
    virtual bool WaitForInput(int ms) = 0;
    // Discards anything received and not yet read.
    virtual void DiscardInput() = 0;

    // The modal lines that key a transmitter; false when the device refused.
    virtual bool SetDTR(bool on) = 0;
    virtual bool SetRTS(bool on) = 0;

    // Why the last operation failed ("" when it did not).
    virtual std::string LastError() const = 0;
};

} // namespace vm880
