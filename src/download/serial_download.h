#pragma once
// The serial memory download: the controller's main memory image, the memories of the
// real-time-clock and autopatch option boards, and the firmware version, read over the serial
// cable into the memory files. Talks to the serial port, a clock and a progress sink only, so
// it runs the same under the progress window and in headless tests.
//
// Reads are framed by what they contain, never by how the operating system split them: the
// main image by its line ends, an option record by the controller's pause while it waits for
// the acknowledgement, the version reply by its closing "+". An option board that does not
// wait (a record in one run with the end marker, or with the start of another record) fails
// the download: its records cannot be told apart.

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>

namespace vm880 {

struct ConfigModel;
class Clock;
class Prompts;
class SerialLink;
enum class OptionBoard;

namespace download_text {
inline constexpr const char* kMainCaption = "Downloading From VM880";
inline constexpr const char* kRTCCaption = "Downloading From RTC";
inline constexpr const char* kAPCaption = "Downloading From Autopatch";
inline constexpr const char* kCancelled = "Download Canceled. Click OK to return to Zel";
inline constexpr const char* kLineTimeoutTitle = "Serial Timeout";
inline constexpr const char* kTotalTimeoutTitle = "Serial 2 Timeout";
inline constexpr const char* kBadDataTitle = "Download Data Error";
} // namespace download_text

// Where the download shows how far it got: the progress window, or nothing in tests.
class DownloadProgress {
public:
    virtual ~DownloadProgress() = default;
    // A memory download starts: the window shows `caption` and a bar from 0 to `maximum`.
    virtual void Start(std::string_view caption, int maximum) = 0;
    virtual void SetValue(int value) = 0;
    virtual void Finish() = 0;
};

// The waits of the exchange; tests shorten them.
struct DownloadTiming {
    std::int64_t lineTimeoutMs = 5000;    // no line or record for this long
    std::int64_t mainTotalMs = 360000;    // the whole main image
    std::int64_t optionTotalMs = 180000;  // the whole memory of an option board
    std::int64_t versionTimeoutMs = 4000; // no "+" in the version reply
    // An option record ends when the input has been idle this long: the controller waits
    // for the acknowledgement after each record, far longer than any gap inside one.
    int recordGapMs = 40;
    int stepMs = 10; // longest single wait on the port before window events run again
};

// Line count of a complete main image: the download stops once this many arrived.
inline constexpr int kMainImageLines = 4097;

class SerialDownload {
public:
    SerialDownload(ConfigModel& model, Prompts& prompts, Clock& clock, SerialLink& serial,
                   DownloadProgress* progress = nullptr, DownloadTiming timing = {});

    // Each returns kDone when the memory file (or the version) is complete, kFailed
    // otherwise; every failure has been shown to the operator except the silent time-out of
    // the version query. Each leaves the port closed and `CancelDownload` and
    // `PortOpenFailed` lowered. A memory file is complete only after kDone.
    int VM880Download(const std::string& memFilePath);
    int RTCDownload(const std::string& memFilePath);
    int APDownload(const std::string& memFilePath);
    // Sets `FirmwareVersion` (empty after a failure).
    int VersionDownload();

    // What the last failure was, in one sentence ("" after success).
    const std::string& FailureText() const { return failure_; }
    // Lines written to download.mem by the last main download.
    int LinesWritten() const { return lines_; }
    // Whether the last option download failed because the board sent its records without
    // waiting for each acknowledgement: no cable fault, and the same again next time.
    bool BoardDidNotWait() const { return didNotWait_; }
    // Whether the last main or option download ended by the operator's Cancel.
    bool Cancelled() const { return cancelled_; }

private:
    class Run;
    int optionDownload(OptionBoard board, const std::string& memFilePath);
    bool openPort();
    // Opens the port and runs `transfer`; an unexpected failure is reported under
    // `procName` and ends the run (the port not opening has been told already).
    void guarded(const char* procName, const char* errorText, const std::function<void()>& transfer);
    void send(std::string_view text);
    void closeWithLock();
    // Opens (empties) the memory file and shows the progress of a download into it.
    void startMemoryFile(std::ofstream& file, const std::string& path, std::string_view caption, int maximum);

    ConfigModel& model_;
    Prompts& prompts_;
    Clock& clock_;
    SerialLink& serial_;
    DownloadProgress* progress_;
    DownloadTiming timing_;
    std::string failure_;
    int lines_ = 0;
    bool didNotWait_ = false;
    bool cancelled_ = false;
};

// The firmware version in a reply: the text before the first "+", without line ends and
// without bytes a settings file cannot hold.
std::string VersionFromReply(std::string_view reply);

} // namespace vm880
