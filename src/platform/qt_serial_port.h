#pragma once
// The serial port on QSerialPort. Port numbers 1 to 8 name a device: the environment
// variable VM880_PORTn when set (a USB adapter, a pseudo-terminal in tests), otherwise
// "COMn" on Windows and /dev/ttyS(n-1) elsewhere.

#include "interfaces/serial_port.h"

#include <QSerialPort>
#include <QString>

namespace vm880 {

// The device that port `number` names.
QString SerialDeviceName(int number);

class QtSerialPort : public SerialPort {
public:
    QtSerialPort();
    ~QtSerialPort() override;
    QtSerialPort(const QtSerialPort&) = delete;
    QtSerialPort& operator=(const QtSerialPort&) = delete;

    bool Open(int number, std::string& error) override;
    bool IsOpen() const override;
    void Close() override;
    bool Write(std::string_view bytes) override;
    std::string ReadAll() override;
    bool WaitForInput(int ms) override;
    void DiscardInput() override;
    bool SetDTR(bool on) override;
    bool SetRTS(bool on) override;
    std::string LastError() const override;

    // The device of the port last opened.
    QString DeviceName() const { return port_.portName(); }

private:
    void onError(QSerialPort::SerialPortError error);
    // Closes a port that reported a failure, keeping what it had received.
    void closeAfterFailure();
    bool setLine(bool dtr, bool on);

    QSerialPort port_;
    std::string lastError_;
    std::string pending_;       // received before a failure closed the port
    bool failed_ = false;
    bool closePosted_ = false;
    bool lineControl_ = false;  // a DTR/RTS change is under way; a pty refuses those
};

} // namespace vm880
