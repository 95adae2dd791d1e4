#include "platform/qt_serial_port.h"

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QtGlobal>

#if defined(Q_OS_UNIX)
#include <termios.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace vm880 {

namespace {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 8;

std::string toText(const QString& text)
{
    return text.toLatin1().toStdString();
}

// Time allowed to hand `size` bytes to the device: at 9600 baud a byte takes about 1 ms.
int writeAllowanceMs(qint64 size)
{
    return 2000 + static_cast<int>(size) * 2;
}

// Why a port that was working failed. After a hang-up Qt's own text carries whatever
// errno was left over, so the usual cases get words of their own.
std::string failureText(QSerialPort::SerialPortError error, const QString& qtText)
{
    switch (error) {
    case QSerialPort::ReadError:
    case QSerialPort::ResourceError:
        return "the serial device stopped working or was unplugged";
    case QSerialPort::WriteError:
        return "the serial device could not be written to; it may have been unplugged";
    default:
        return toText(qtText);
    }
}

} // namespace

QString SerialDeviceName(int number)
{
    const QString variable = QStringLiteral("VM880_PORT%1").arg(number);
    const QString chosen = qEnvironmentVariable(variable.toLatin1().constData());
    if (!chosen.isEmpty())
        return chosen;
#if defined(Q_OS_WIN)
    return QStringLiteral("COM%1").arg(number);
#else
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

QtSerialPort::QtSerialPort()
{
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError error) { onError(error); });
}

QtSerialPort::~QtSerialPort()
{
    Close();
}

bool QtSerialPort::Open(int number, std::string& error)
{
    lastError_.clear();
    pending_.clear();
    failed_ = false;
    if (port_.isOpen()) {
        error = lastError_ = "The serial port is open already";
        return false;
    }
    if (number < kFirstPort || number > kLastPort) {
        error = lastError_ = "There is no serial port " + std::to_string(number);
        return false;
    }
    const QString device = SerialDeviceName(number);
    port_.setPortName(device);
    port_.setBaudRate(QSerialPort::Baud9600);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) {
        error = lastError_ = toText(device + QStringLiteral(": ") + port_.errorString());
        port_.clearError();
        return false;
    }
    // The system raises both lines on opening; a keyer raises the one it wants.
    setLine(true, false);
    setLine(false, false);
    lastError_.clear();
    port_.clearError();
    return true;
}

bool QtSerialPort::IsOpen() const
{
    return port_.isOpen();
}

void QtSerialPort::Close()
{
    if (!port_.isOpen())
        return;
    if (!failed_) {
        // A command written just before closing (the reset) must reach the wire.
        QDeadlineTimer deadline(writeAllowanceMs(port_.bytesToWrite()));
        while (port_.bytesToWrite() > 0 && !failed_
               && port_.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
        }
#if defined(Q_OS_UNIX)
        if (!failed_)
            ::tcdrain(static_cast<int>(port_.handle()));
#elif defined(Q_OS_WIN)
        if (!failed_)
            ::FlushFileBuffers(port_.handle());
#endif
        setLine(true, false);
        setLine(false, false);
    }
    port_.close();
    failed_ = false;
}

bool QtSerialPort::Write(std::string_view bytes)
{
    lastError_.clear();
    if (failed_)
        closeAfterFailure();
    if (!port_.isOpen()) {
        lastError_ = "The serial port is closed";
        return false;
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (port_.write(bytes.data(), size) != size) {
        if (!failed_)
            lastError_ = toText(port_.errorString());
        closeAfterFailure();
        return false;
    }
    QDeadlineTimer deadline(writeAllowanceMs(size));
    while (port_.bytesToWrite() > 0 && !failed_ && !deadline.hasExpired()) {
        port_.waitForBytesWritten(static_cast<int>(deadline.remainingTime()));
    }
    if (failed_) {
        closeAfterFailure();
        return false;
    }
    if (port_.bytesToWrite() > 0) {
        lastError_ = "The serial port did not take the data in time";
        closeAfterFailure();
        return false;
    }
    return true;
}

std::string QtSerialPort::ReadAll()
{
    std::string received = std::move(pending_);
    pending_.clear();
    if (port_.isOpen()) {
        const QByteArray data = port_.readAll();
        received.append(data.constData(), static_cast<std::size_t>(data.size()));
    }
    if (failed_)
        closeAfterFailure();
    return received;
}

bool QtSerialPort::WaitForInput(int ms)
{
    if (!pending_.empty())
        return true;
    if (failed_)
        closeAfterFailure();
    if (!port_.isOpen())
        return false;
    if (port_.bytesAvailable() > 0)
        return true;
    const bool arrived = port_.waitForReadyRead(ms);
    if (failed_) {
        closeAfterFailure();
        return !pending_.empty();
    }
    return arrived;
}

void QtSerialPort::DiscardInput()
{
    pending_.clear();
    if (!port_.isOpen())
        return;
    port_.clear(QSerialPort::Input);
    port_.readAll();
}

bool QtSerialPort::SetDTR(bool on)
{
    lastError_.clear();
    return setLine(true, on);
}

bool QtSerialPort::SetRTS(bool on)
{
    lastError_.clear();
    return setLine(false, on);
}

std::string QtSerialPort::LastError() const
{
    return lastError_;
}

bool QtSerialPort::setLine(bool dtr, bool on)
{
    if (!port_.isOpen()) {
        lastError_ = "The serial port is closed";
        return false;
    }
    lineControl_ = true;
    const bool done = dtr ? port_.setDataTerminalReady(on) : port_.setRequestToSend(on);
    lineControl_ = false;
    if (!done) {
        lastError_ = toText(port_.errorString());
        port_.clearError();
    }
    return done;
}

void QtSerialPort::onError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError)
        return;
    // A pseudo-terminal has no modem lines; the port itself still works.
    if (lineControl_ && error == QSerialPort::UnsupportedOperationError)
        return;
    // Failures while opening are reported by Open itself.
    if (!port_.isOpen() || failed_)
        return;
    // Once the far end is gone the port reports errors without end: stop using it.
    failed_ = true;
    lastError_ = failureText(error, port_.errorString());
    if (!closePosted_) {
        // Closing inside the port's own notification is unsafe; close on the next pass of
        // the event loop, or sooner when the link touches the port again.
        closePosted_ = true;
        QMetaObject::invokeMethod(
            &port_,
            [this] {
                closePosted_ = false;
                if (failed_)
                    closeAfterFailure();
            },
            Qt::QueuedConnection);
    }
}

void QtSerialPort::closeAfterFailure()
{
    if (!port_.isOpen())
        return;
    const QByteArray data = port_.readAll();
    pending_.append(data.constData(), static_cast<std::size_t>(data.size()));
    port_.close();
}

} // namespace vm880
