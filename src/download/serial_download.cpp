#include "download/serial_download.h"

#include "base/program_title.h"
#include "download/decode_notes.h"
#include "download/memory_layout.h"
#include "download/option_decoder.h"
#include "link/serial_link.h"
#include "model/config_model.h"
#include "model/error_report.h"
#include "interfaces/clock.h"
#include "interfaces/prompts.h"
#include "interfaces/serial_port.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace vm880 {

namespace {

constexpr const char* kModule = "ZelMain";

// A memory line is "address,value"; anything this long without a line end is not one.
constexpr std::size_t kMaxMainLine = 64;
// The version reply is a few characters; anything this long is not one.
constexpr std::size_t kMaxVersionReply = 4096;
// A board that keeps refusing the request is not going to send its memory.
constexpr int kMaxRefusals = 5;

struct BoardText {
    const char* caption;
    int maximum;
    const char* request;
    const char* ack;
    const char* echoPrefix; // the board's acknowledgement of the request, never a record
    const char* timeoutText;
    const char* procName;
    const char* errorText;
    const char* name;
};

constexpr BoardText kRTC{download_text::kRTCCaption, 50, "1SendRTCEram", "r", "+SendR",
                         "Data from the RTC did not successfully download. Please try again. "
                         "Press OK to continue.",
                         "RTCDownload", "Error in downloading RTC data from controller", "RTC option"};
constexpr BoardText kAP{download_text::kAPCaption, 10, "1SendAPEram", "o", "+SendA",
                        "Data from the QX4 did not successfully download. Please try again. "
                        "Press OK to continue.",
                        "APDownload", "Error in downloading Autopatch data from controller",
                        "autopatch option"};
constexpr const char* kMainTimeoutText =
    "Data from the VM880 did not successfully download. Please try again. Press OK to continue.";

bool contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

bool lineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Drops a leading acknowledgement of the request ("+SendR..." up to its line end) that the
// board sent in one piece with its first record.
std::string_view withoutEcho(std::string_view record, std::string_view echoPrefix)
{
    if (!startsWith(record, echoPrefix))
        return record;
    std::size_t end = record.find_first_of("\r\n");
    if (end == std::string_view::npos)
        return {};
    while (end < record.size() && lineEnd(record[end]))
        ++end;
    return record.substr(end);
}

// A record worth writing holds more than line ends.
bool hasContent(std::string_view record)
{
    for (char c : record)
        if (!lineEnd(c))
            return true;
    return false;
}

std::optional<long> decimal(std::string_view text)
{
    text = trimBlanks(text);
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

} // namespace

std::string VersionFromReply(std::string_view reply)
{
    const std::string_view before = reply.substr(0, reply.find('+'));
    std::string version;
    for (char c : before) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 32 && byte < 127)
            version += c;
    }
    return version;
}

SerialDownload::SerialDownload(ConfigModel& model, Prompts& prompts, Clock& clock, SerialLink& serial,
                               DownloadProgress* progress, DownloadTiming timing)
    : model_(model), prompts_(prompts), clock_(clock), serial_(serial), progress_(progress), timing_(timing)
{
}

bool SerialDownload::openPort()
{
    model_.transfer.PortOpenFailed = kFalse;
    if (!serial_.Port().IsOpen())
        serial_.OpenSerialPort();
    if (model_.transfer.PortOpenFailed != kFalse) {
        failure_ = "The serial port could not be opened.";
        return false;
    }
    return true;
}

void SerialDownload::send(std::string_view text)
{
    std::string line(text);
    line += '\r';
    if (!serial_.Port().Write(line))
        throw SystemError(error_number::FileAccess,
                          "The serial port failed while sending \"" + std::string(text)
                              + "\": " + serial_.Port().LastError());
}

void SerialDownload::guarded(const char* procName, const char* errorText, const std::function<void()>& transfer)
{
    try {
        if (openPort())
            transfer();
    } catch (const std::exception& e) {
        ReportSystemError(prompts_, e, kModule, procName, "", errorText);
        failure_ = e.what();
    }
}

void SerialDownload::startMemoryFile(std::ofstream& file, const std::string& path, std::string_view caption,
                                     int maximum)
{
    file.open(path, std::ios::binary | std::ios::trunc);
    if (!file)
        throw SystemError(error_number::FileAccess, "Cannot write the memory file " + path);
    if (progress_)
        progress_->Start(caption, maximum);
    clock_.Yield();
}

void SerialDownload::closeWithLock()
{
    try {
        if (serial_.Port().IsOpen())
            send(model_.Lock + model_.Terminator);
    } catch (const std::exception&) {
        // The port is closed below whatever happened.
    }
    serial_.Port().Close();
}

// One memory download from its first byte to its closing sequence: the timers, the cancel
// flag and the failure that ends it.
class SerialDownload::Run {
public:
    Run(SerialDownload& d, std::int64_t totalMs, const char* timeoutText)
        : d_(d), totalMs_(totalMs), timeoutText_(timeoutText)
    {
        start_ = lastData_ = d_.clock_.NowMs();
    }

    void DataArrived() { lastData_ = d_.clock_.NowMs(); }

    // Lets window events run, then tells whether the run must stop: cancelled, or one of the
    // time-outs passed, or the port is gone. Each is shown to the operator.
    bool MustStop()
    {
        d_.clock_.Yield();
        const std::int64_t now = d_.clock_.NowMs();
        if (d_.model_.transfer.CancelDownload != kFalse) {
            d_.clock_.SleepMs(100);
            d_.prompts_.Message(style::OkOnly, kProgramTitle, download_text::kCancelled);
            d_.model_.transfer.CancelDownload = kFalse;
            d_.failure_ = "The download was cancelled.";
            d_.cancelled_ = true;
            return true;
        }
        if (now - lastData_ >= d_.timing_.lineTimeoutMs) {
            d_.prompts_.Message(style::OkOnly, download_text::kLineTimeoutTitle, timeoutText_);
            d_.failure_ = "The controller stopped sending.";
            return true;
        }
        if (now - start_ > totalMs_) {
            d_.prompts_.Message(style::OkOnly, download_text::kTotalTimeoutTitle, timeoutText_);
            d_.failure_ = "The download took longer than it may.";
            return true;
        }
        if (!d_.serial_.Port().IsOpen()) {
            BadData("The serial port closed during the download: " + d_.serial_.Port().LastError());
            return true;
        }
        return false;
    }

    void BadData(const std::string& text)
    {
        d_.failure_ = text;
        d_.prompts_.Message(style::OkOnly + style::Exclamation, download_text::kBadDataTitle, text);
    }

    // What arrived within `waitMs` (empty when nothing did).
    std::string Read(int waitMs)
    {
        SerialPort& port = d_.serial_.Port();
        if (!port.WaitForInput(waitMs))
            return {};
        return port.ReadAll();
    }

private:
    SerialDownload& d_;
    std::int64_t totalMs_;
    const char* timeoutText_;
    std::int64_t start_ = 0;
    std::int64_t lastData_ = 0;
};

namespace {

// Takes the complete lines out of the main image's receive buffer and writes them.
class MainImageLines {
public:
    enum class State { More, Ended, Full, Bad };

    explicit MainImageLines(std::ofstream& file) : file_(file) {}

    // Processes every complete line of `buffer` and removes it; tests what is left for the
    // end marker. `written` counts the lines written so far.
    State Take(std::string& buffer)
    {
        std::size_t pos = 0;
        State state = State::More;
        while (state == State::More) {
            const std::size_t end = buffer.find_first_of("\r\n", pos);
            if (end == std::string::npos)
                break;
            std::size_t next = end + 1;
            if (buffer[end] == '\r') {
                if (next == buffer.size())
                    break; // its line feed may still be on the way
                if (buffer[next] == '\n')
                    ++next;
            }
            state = line(std::string_view(buffer).substr(pos, end - pos));
            pos = next;
        }
        buffer.erase(0, pos);
        if (state != State::More)
            return state;
        if (contains(buffer, "Complete") || contains(buffer, "+"))
            return State::Ended;
        if (buffer.size() > kMaxMainLine) {
            problem_ = "The controller sent " + std::to_string(buffer.size())
                + " characters without a line end after line " + std::to_string(written_)
                + ": \"" + Printable(buffer) + "\"";
            return State::Bad;
        }
        return State::More;
    }

    int Written() const { return written_; }
    const std::string& Problem() const { return problem_; }

private:
    State line(std::string_view text)
    {
        if (contains(text, "Complete") || contains(text, "+"))
            return State::Ended;
        if (text.empty())
            return State::More;
        if (written_ == 0 && trimBlanks(text) == "-") {
            problem_ = "The controller refused the download: it answered \"-\" to the request for its "
                       "memory.";
            return State::Bad;
        }
        const std::string name = "Line " + std::to_string(written_ + 1) + " from the controller (\""
            + Printable(text) + "\")";
        const std::size_t comma = text.find(',');
        const auto address = decimal(text.substr(0, comma));
        const auto value = comma == std::string_view::npos ? std::nullopt : decimal(text.substr(comma + 1));
        if (!address || !value) {
            problem_ = name + " is not an address and a value.";
            return State::Bad;
        }
        if (*value > 255) {
            problem_ = name + " holds a value above 255.";
            return State::Bad;
        }
        if (lastAddress_ >= 0 && *address != lastAddress_ + 1) {
            problem_ = name + " has address " + std::to_string(*address) + " where "
                + std::to_string(lastAddress_ + 1) + " was due: a line was lost.";
            return State::Bad;
        }
        lastAddress_ = *address;
        file_ << text << "\r\n";
        ++written_;
        return written_ >= kMainImageLines ? State::Full : State::More;
    }

    std::ofstream& file_;
    int written_ = 0;
    long lastAddress_ = -1;
    std::string problem_;
};

} // namespace

int SerialDownload::VM880Download(const std::string& memFilePath)
{
    failure_.clear();
    cancelled_ = false;
    lines_ = 0;
    int status = kFailed;
    std::ofstream file;
    // The port did not open: the operator has been told.
    auto transfer = [&] {
        startMemoryFile(file, memFilePath, download_text::kMainCaption, kMainImageLines - 1);

        send("OK");
        clock_.SleepMs(50);
        serial_.Port().ReadAll();
        send("1SendEram");
        clock_.SleepMs(100);

        Run run(*this, timing_.mainTotalMs, kMainTimeoutText);
        MainImageLines lines(file);
        std::string buffer;
        for (;;) {
            const std::string text = run.Read(timing_.stepMs);
            if (!text.empty()) {
                buffer += text;
                // One acknowledgement per read: what the controller paces itself on.
                send("OK");
            }
            const int before = lines.Written();
            const auto state = lines.Take(buffer);
            lines_ = lines.Written();
            if (lines_ != before) {
                run.DataArrived();
                if (progress_)
                    progress_->SetValue(std::min(lines_ - 1, kMainImageLines - 1));
            }
            if (state == MainImageLines::State::Bad) {
                run.BadData(lines.Problem());
                break;
            }
            if (state == MainImageLines::State::Full) {
                status = kDone;
                break;
            }
            if (state == MainImageLines::State::Ended) {
                if (lines_ >= kMemoryImageSize) {
                    status = kDone;
                } else {
                    run.BadData("The controller ended its memory image after " + std::to_string(lines_)
                                + " lines; a complete image has " + std::to_string(kMemoryImageSize)
                                + " or more.");
                }
                break;
            }
            if (run.MustStop())
                break;
        }
    };
    guarded("VM880Download", "Error downloading settings from controller:", transfer);
    file.close();
    if (status == kDone && !file)
        status = kFailed;
    if (progress_)
        progress_->Finish();
    serial_.Port().Close();
    model_.transfer.PortOpenFailed = kFalse;
    model_.transfer.CancelDownload = kFalse;
    if (status == kDone)
        failure_.clear();
    return status;
}

int SerialDownload::RTCDownload(const std::string& memFilePath)
{
    return optionDownload(OptionBoard::RTC, memFilePath);
}

int SerialDownload::APDownload(const std::string& memFilePath)
{
    return optionDownload(OptionBoard::AP, memFilePath);
}

int SerialDownload::optionDownload(OptionBoard board, const std::string& memFilePath)
{
    const BoardText& b = board == OptionBoard::RTC ? kRTC : kAP;
    failure_.clear();
    cancelled_ = false;
    didNotWait_ = false;
    int status = kFailed;
    std::ofstream file;
    auto transfer = [&] {
        startMemoryFile(file, memFilePath, b.caption, b.maximum);

        Run run(*this, timing_.optionTotalMs, b.timeoutText);
        // Whatever is still waiting belongs to an earlier exchange, never to this one; a port
        // that never stops talking is cancelled or timed out here like anywhere else.
        serial_.Port().ReadAll();
        while (serial_.Port().WaitForInput(0)) {
            serial_.Port().ReadAll();
            if (run.MustStop())
                return;
        }
        send(b.request);
        if (board == OptionBoard::AP)
            clock_.SleepMs(100);

        std::size_t fileSize = 0;
        int records = 0;
        int refusals = 0;
        auto didNotWait = [&](std::string_view text) {
            didNotWait_ = true;
            run.BadData("The " + std::string(b.name) + " sent its records without waiting for each "
                        "acknowledgement (\"" + Printable(text) + "\"): what it sent cannot be told apart "
                        "into its records.");
        };
        auto write = [&](std::string_view record) {
            const std::string line = std::string(record) + "\r\n";
            // Read back as the decoder splits the file: two records run together in one line
            // come from a board that did not wait.
            for (std::string_view part : MemoryFileLines(line))
                if (SecondRecordAt(board, part) != std::string_view::npos) {
                    didNotWait(record);
                    return false;
                }
            file << line;
            fileSize += line.size();
            run.DataArrived();
            ++records;
            if (progress_)
                progress_->SetValue(std::min(records, b.maximum));
            return true;
        };
        // One record, whole; false when the download ends with it.
        auto take = [&](std::string_view text) {
            const std::string_view record = withoutEcho(text, b.echoPrefix);
            const std::string_view end = board == OptionBoard::RTC ? "Complete" : "RICom";
            if (const std::size_t at = record.find(end); at != std::string_view::npos) {
                // The board ends only after the acknowledgement of its last record: a record
                // in the same run as the end marker was sent without waiting for it.
                const std::string_view last = record.substr(0, at);
                if (hasContent(last) && !startsWith(last, "-") && !startsWith(last, "T3C")) {
                    didNotWait(record);
                    return false;
                }
                if (board == OptionBoard::RTC)
                    clock_.SleepMs(100);
                file << "Complete\r\n";
                status = kDone;
                return false;
            }
            if (hasContent(record)) {
                const bool refused = startsWith(record, "-") || record == "Timeout";
                const bool written = board == OptionBoard::RTC ? !startsWith(record, "T3C") : !refused;
                if (written) {
                    if (!write(record))
                        return false;
                    send(b.ack);
                }
                if (refused && ++refusals > kMaxRefusals) {
                    run.BadData("The " + std::string(b.name) + " refused the download "
                                + std::to_string(refusals) + " times (\"" + Printable(record) + "\").");
                    return false;
                }
                if (refused && board == OptionBoard::RTC)
                    send(b.request);
            }
            return true;
        };

        // A record is everything up to the board's pause for the acknowledgement. The pause is
        // watched pass by pass, so a record that keeps coming lets window events run and is
        // cancelled or timed out like any other wait.
        std::string text;
        std::int64_t lastPiece = 0;
        for (;;) {
            if (std::string piece = run.Read(timing_.stepMs); !piece.empty()) {
                text += piece;
                lastPiece = clock_.NowMs();
                if (fileSize + text.size() > kMaxOptionFileBytes) {
                    run.BadData("The " + std::string(b.name) + " sent more than its memory can hold (\""
                                + Printable(text) + "\").");
                    break;
                }
            } else if (!text.empty() && clock_.NowMs() - lastPiece >= timing_.recordGapMs) {
                if (!take(text))
                    break;
                text.clear();
            }
            if (run.MustStop())
                break;
        }
    };
    guarded(b.procName, b.errorText, transfer);
    closeWithLock();
    file.close();
    if (status == kDone && !file)
        status = kFailed;
    if (progress_)
        progress_->Finish();
    model_.transfer.PortOpenFailed = kFalse;
    model_.transfer.CancelDownload = kFalse;
    if (status == kDone)
        failure_.clear();
    return status;
}

int SerialDownload::VersionDownload()
{
    failure_.clear();
    model_.FirmwareVersion.clear();
    int status = kFailed;
    // True when the reply came; a silent controller is no error to show.
    auto query = [&] {
        serial_.Port().ReadAll();
        send("1GetVersion");
        clock_.SleepMs(100);
        const std::int64_t start = clock_.NowMs();
        std::string reply;
        for (;;) {
            // Joined until the "+": a reply split over reads is still one reply.
            if (serial_.Port().WaitForInput(timing_.stepMs))
                reply += serial_.Port().ReadAll();
            if (contains(reply, "+"))
                break;
            if (reply.size() > kMaxVersionReply)
                throw SystemError(error_number::BadArgument, "The version reply is too long: \""
                                                                 + Printable(reply) + "\"");
            clock_.Yield();
            if (clock_.NowMs() - start >= timing_.versionTimeoutMs || !serial_.Port().IsOpen())
                return false;
            send("OK");
            clock_.SleepMs(100);
        }
        clock_.SleepMs(100);
        model_.FirmwareVersion = VersionFromReply(reply);
        return true;
    };
    guarded("VersionDownload", "Error in downloading version number", [&] {
        if (query())
            status = kDone;
        else
            failure_ = "The controller did not tell its firmware version.";
    });
    closeWithLock();
    model_.transfer.PortOpenFailed = kFalse;
    return status;
}

} // namespace vm880
