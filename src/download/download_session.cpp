#include "download/download_session.h"

#include "download/decode_notes.h"
#include "download/eram_decoder.h"
#include "download/memory_file_kind.h"
#include "download/option_decoder.h"
#include "download/serial_download.h"
#include "base/file_kind.h"
#include "model/atomic_file.h"
#include "model/config_model.h"
#include "model/error_report.h"
#include "model/key_access.h"
#include "model/settings_writer.h"
#include "interfaces/file_dialogs.h"
#include "interfaces/prompts.h"

#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace vm880 {

namespace {

constexpr const char* kBr = "\r\n";
constexpr const char* kPara = "\r\n\r\n";
constexpr const char* kNothingSaved = "The download is not complete and is not useable: nothing was saved.";
constexpr const char* kImportUnchanged = "Nothing was loaded; the open file is unchanged.";
// A memory image is about 40 KB: anything far larger is not one.
constexpr std::size_t kMaxMemoryFile = 1 << 20;

bool exists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

// The option that the operator says is fitted.
struct Option {
    const char* question;      // download question
    const char* importName;    // "RTC" or "AP" in the import's texts
    const char* downloadName;  // "RTC Option" or "Autopatch Option"
    const char* decodeName;    // "RTC" or "autopatch"
    const char* dialogTitle;
    const char* title;
    std::string MemoryFiles::*file;
    int (SerialDownload::*download)(const std::string&);
    int (*decode)(ConfigModel&, Prompts&, const std::string&);
    MemoryFileKind kind;
    void (*records)(std::string_view, ConfigModel&, DecodeNotes&);
    int (*decodeText)(ConfigModel&, Prompts&, std::string_view);
};

const Option kRTCOption{"Download Complete! Do you have the RTC (Real Time Clock) Option installed?", "RTC",
                        "RTC Option", "RTC", session_text::kRTCDialogTitle, session_text::kRTCTitle,
                        &MemoryFiles::rtc, &SerialDownload::RTCDownload, LoadRTCEram,
                        MemoryFileKind::RTCRecords, DecodeRTCRecords, LoadRTCEramText};
const Option kAPOption{"Download Complete! Do you have the QX4 (Autopatch) Option installed?", "AP",
                       "Autopatch Option", "autopatch", session_text::kAPDialogTitle, session_text::kAPTitle,
                       &MemoryFiles::ap, &SerialDownload::APDownload, LoadAPEram,
                       MemoryFileKind::APRecords, DecodeAPRecords, LoadAPEramText};

// The import asks without the download's "Download Complete! ".
std::string importQuestion(const Option& option)
{
    return std::string(option.question).substr(std::string("Download Complete! ").size());
}

// A board that does not wait does the same every time: only leaving it out helps.
std::string didNotWaitAdvice(const Option& option)
{
    const std::string name = option.downloadName;
    return "The " + name + " sent its records without waiting for each acknowledgement; this is not a cable fault."
        + kPara + "To download everything else, download again and answer No to \"" + importQuestion(option)
        + "\". The saved file then holds none of the " + name + " settings.";
}

bool askFitted(Prompts& prompts, const Option& option, const std::string& question)
{
    return prompts.Message(style::YesNo + style::Question + style::DefaultButton2, option.title, question)
        == Answer::Yes;
}

// After any failure: nothing of the run stays in the model.
int fail(SessionContext& c)
{
    c.model.ClearAllData();
    c.model.LoadFromDownload = kFalse;
    return kFailed;
}

void tellFailed(Prompts& prompts, const std::string& title, const std::string& what, const std::string& advice)
{
    prompts.Message(style::OkOnly + style::Exclamation, title, what + kPara + advice);
}

// Steps shared by both: `m` saved under the new file's name, and the operator told. kFailed
// after the writer's report.
int saveNewFile(SessionContext& c, ConfigModel& m, const std::string& stamp)
{
    m.DatFilePath = NewDownloadPath(c.programFolder, stamp);
    if (FileWrite(m, c.keys, c.prompts) != kDone)
        return kFailed;
    c.prompts.Message(style::OkOnly + style::Information, session_text::kSavedTitle,
                      "Your data has been downloaded and saved to file: " + std::string(kBr) + m.DatFilePath
                          + kPara + "where " + stamp
                          + " is the date/time of the download in year month day hour minute "
                            "(yyyymmdd_hhmm) format"
                          + kPara + "The data will now be loaded into Zel");
    return kDone;
}

void clearModel(SessionContext& c)
{
    if (c.clearView)
        c.clearView();
    c.model.ClearAllData();
    c.model.transfer.CancelDownload = kFalse;
}

// Whether the main image went into the cleared model `m`; false after telling the operator.
bool mainDecoded(Prompts& prompts, ConfigModel& m, int decoded)
{
    if (decoded != kDone) {
        tellFailed(prompts, session_text::kDecodeErrorTitle, "An error occurred while decoding the download",
                   "The data is not complete and is not useable" + std::string(kPara)
                       + "Please try the download again");
        return false;
    }
    m.LoadFromDownload = kTrue;
    return true;
}

std::string eraFile(const SessionContext& c)
{
    return c.programFolder + "/download.era";
}

// Tells that `chosen` is a file of another kind than the one asked for.
void refuseKind(Prompts& prompts, const std::string& chosen, MemoryFileKind kind, MemoryFileKind expected)
{
    tellFailed(prompts, session_text::kImportErrorTitle,
               chosen + kPara + "is " + MemoryFileKindName(kind) + "," + kBr + "but "
                   + MemoryFileKindName(expected) + " was expected here.",
               kImportUnchanged);
}

// The main file the operator chose, read whole and checked: its image, or nothing after
// telling why it cannot be used.
std::optional<std::vector<std::uint8_t>> mainFileImage(Prompts& prompts, const std::string& mainFile)
{
    InputFile file(mainFile);
    std::string text;
    if (!file.Read(kMaxMemoryFile + 1, text)) {
        tellFailed(prompts, session_text::kImportErrorTitle, file.Refusal(), kImportUnchanged);
        return std::nullopt;
    }
    try {
        if (text.size() > kMaxMemoryFile)
            throw SystemError(error_number::FileAccess, "the file is larger than a memory file can be");
        if (const MemoryFileKind kind = KindOfMemoryFile(text);
            kind != MemoryFileKind::MainImage && kind != MemoryFileKind::Unknown) {
            refuseKind(prompts, mainFile, kind, MemoryFileKind::MainImage);
            return std::nullopt;
        }
        return ParseMemoryImage(text);
    } catch (const std::exception& e) {
        tellFailed(prompts, session_text::kImportErrorTitle,
                   mainFile + kPara + "is not a VM880 memory download file that can be used:" + kBr + e.what(),
                   kImportUnchanged);
        return std::nullopt;
    }
}

// A copy of the open option file with CR LF line ends written beside it, and its text;
// nothing after the error report.
std::optional<std::string> convertLinuxFile(Prompts& prompts, const std::string& fileName, InputFile& file)
{
    try {
        std::string text;
        if (!file.Read(kMaxOptionFileBytes + 1, text))
            throw SystemError(error_number::FileAccess, file.Refusal());
        if (text.empty())
            throw SystemError(error_number::FileAccess, fileName + " is empty");
        if (text.size() > kMaxOptionFileBytes)
            throw SystemError(error_number::FileAccess, fileName + " is larger than a memory file can be");
        std::string converted;
        if (text.find('\r') == std::string::npos) {
            for (char ch : text) {
                if (ch == '\n')
                    converted += '\r';
                converted += ch;
            }
        } else {
            converted = text;
        }
        if (converted.back() != '\n' && converted.back() != '\r')
            converted += kBr;
        WriteFileAtomically(fileName + ".win", converted);
        return converted;
    } catch (const std::exception& e) {
        ReportSystemError(prompts, e, "ZelMain", "convert_Linux", "",
                          "Error while converting file " + fileName + " from Linux to Windows");
        return std::nullopt;
    }
}

// The option file the operator picks for `option`, converted and checked through its last
// record: the converted text, which is what the import then loads, or nothing after telling
// why it cannot be used.
std::optional<std::string> pickOptionFile(Prompts& prompts, FileDialogs& dialogs, const Option& option)
{
    const std::string name = option.importName;
    const std::string chosen = dialogs.OpenFile(session_text::kMemFilter, option.dialogTitle);
    if (chosen.empty()) {
        tellFailed(prompts, session_text::kImportErrorTitle, "The Linux " + name + " mem file was not selected",
                   kImportUnchanged);
        return std::nullopt;
    }
    InputFile file(chosen);
    if (!file.IsOpen()) {
        tellFailed(prompts, session_text::kImportErrorTitle, file.Refusal(), kImportUnchanged);
        return std::nullopt;
    }
    std::optional<std::string> text = convertLinuxFile(prompts, chosen, file);
    if (!text) {
        tellFailed(prompts, session_text::kImportErrorTitle, "The Linux " + name + " mem file was not found",
                   kImportUnchanged);
        return std::nullopt;
    }
    try {
        if (const MemoryFileKind kind = KindOfMemoryFile(*text);
            kind != option.kind && kind != MemoryFileKind::NoRecords) {
            refuseKind(prompts, chosen, kind, option.kind);
            return std::nullopt;
        }
        // Every record decoded once into a scratch model: a bad record stops the import
        // before the loaded configuration is cleared.
        ConfigModel scratch;
        DecodeNotes notes;
        option.records(*text, scratch, notes);
    } catch (const std::exception& e) {
        tellFailed(prompts, session_text::kImportErrorTitle,
                   chosen + kPara + "cannot be used as the " + name + " mem file:" + kBr + e.what(),
                   kImportUnchanged);
        return std::nullopt;
    }
    return text;
}

} // namespace

std::string DownloadTimeStamp(std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d_%H%M", &local);
    return text;
}

std::string NewDownloadPath(const std::string& folder, const std::string& stamp)
{
    const std::string base = folder + "/Dwnld_" + stamp;
    std::string path = base + ".dat";
    for (int n = 2; exists(path); ++n)
        path = base + "_" + std::to_string(n) + ".dat";
    return path;
}

MemoryFiles MemoryFilesIn(const std::string& folder)
{
    return {folder + "/download.mem", folder + "/rtcdownload.mem", folder + "/apdownload.mem"};
}

int DownloadToSettingsFile(SessionContext& c, SerialDownload& download)
{
    ConfigModel& m = c.model;
    Prompts& prompts = c.prompts;
    clearModel(c);
    const MemoryFiles files = MemoryFilesIn(c.programFolder);
    const std::string stamp = DownloadTimeStamp(c.now);
    // What to do next fits why it failed: the operator's own Cancel needs no advice.
    auto advice = [&](std::string text) {
        return download.Cancelled() ? std::string() : kPara + std::move(text);
    };
    const std::string checkCables = "Please check your cables and connection to the controller and try again";

    if (download.VM880Download(files.main) != kDone) {
        tellFailed(prompts, session_text::kDownloadErrorTitle, "An error occurred during the download",
                   "The download is not complete and is not useable" + advice(checkCables));
        return fail(c);
    }
    c.keys.WriteSetting("Main", "MemFile", files.main, c.zelIniPath);
    if (!mainDecoded(prompts, m, DecodeEram(m, prompts, files.main, eraFile(c))))
        return fail(c);

    for (const Option* option : {&kRTCOption, &kAPOption}) {
        const bool fitted = askFitted(prompts, *option, option->question);
        if (option == &kRTCOption)
            m.HasRTC = fitted ? kTrue : kFalse;
        if (!fitted)
            continue;
        // An option that did not arrive whole would be saved as empty settings, which a later
        // complete upload would write over the option's real memory: the run stops instead.
        const std::string& file = files.*(option->file);
        if ((download.*(option->download))(file) != kDone) {
            tellFailed(prompts, session_text::kDownloadErrorTitle,
                       "The " + std::string(option->downloadName) + " data could NOT be downloaded",
                       kNothingSaved
                           + advice(download.BoardDidNotWait() ? didNotWaitAdvice(*option) : checkCables));
            return fail(c);
        }
        if (option->decode(m, prompts, file) != kDone) {
            tellFailed(prompts, session_text::kDownloadErrorTitle,
                       "An error occurred while decoding the " + std::string(option->decodeName) + " data",
                       kNothingSaved + std::string(kPara) + "Please try the download again");
            return fail(c);
        }
    }

    // A controller that does not tell its version leaves it empty; the load then asks.
    download.VersionDownload();
    return saveNewFile(c, m, stamp) == kDone ? kDone : fail(c);
}

std::string ConvertLinuxFile(Prompts& prompts, const std::string& fileName)
{
    InputFile file(fileName);
    return convertLinuxFile(prompts, fileName, file) ? fileName + ".win" : std::string();
}

int ImportToSettingsFile(SessionContext& c, FileDialogs& dialogs, const std::string& mainFile)
{
    ConfigModel& m = c.model;
    Prompts& prompts = c.prompts;
    // Every file is read once and checked before the loaded configuration is touched, and
    // what was checked is what is loaded: a refused import leaves the open file as it was.
    const std::optional<std::vector<std::uint8_t>> image = mainFileImage(prompts, mainFile);
    if (!image)
        return kFailed;
    bool hasRTC = false;
    std::vector<std::pair<const Option*, std::string>> options;
    for (const Option* option : {&kRTCOption, &kAPOption}) {
        const bool fitted = askFitted(prompts, *option, importQuestion(*option));
        if (option == &kRTCOption)
            hasRTC = fitted;
        if (!fitted)
            continue;
        std::optional<std::string> text = pickOptionFile(prompts, dialogs, *option);
        if (!text)
            return kFailed;
        options.emplace_back(option, std::move(*text));
    }

    // Decoded into a scratch model and saved from it: the open configuration is let go only
    // once the new settings file is written, so a failure up to then leaves it as it was.
    ConfigModel scratch = m;
    scratch.ClearAllData();
    if (!mainDecoded(prompts, scratch, DecodeEramImage(scratch, prompts, *image, eraFile(c))))
        return kFailed;
    scratch.HasRTC = hasRTC ? kTrue : kFalse;
    for (const auto& [option, text] : options)
        if (option->decodeText(scratch, prompts, text) != kDone) {
            tellFailed(prompts, session_text::kImportErrorTitle,
                       "An error occurred while decoding the " + std::string(option->importName) + " data",
                       kImportUnchanged);
            return kFailed;
        }
    if (saveNewFile(c, scratch, DownloadTimeStamp(c.now)) != kDone)
        return kFailed;
    clearModel(c);
    m.DatFilePath = scratch.DatFilePath;
    m.HasRTC = scratch.HasRTC;
    m.LoadFromDownload = kTrue;
    return kDone;
}

} // namespace vm880
