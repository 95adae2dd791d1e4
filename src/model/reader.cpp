#include "model/reader.h"

#include "model/atomic_file.h"
#include "model/error_report.h"
#include "model/key_access.h"
#include "model/reader_rules.h"
#include "interfaces/file_viewer.h"
#include "interfaces/prompts.h"
#include "model/settings_writer.h"
#include "tables/macro_functions.h"

#include <algorithm>
#include <ctime>
#include <vector>

namespace vm880 {

namespace {

constexpr std::string_view kVersion = "Version";
constexpr const char* kVersionTitle = "VERSION DIFFERENCE";

std::string localTimestamp()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d %H%M", &local);
    return text;
}

// Settles FirmwareVersion; false when the operator declined a version difference.
bool settleFirmwareVersion(ReaderContext& ctx, KeyAccess& keys)
{
    ConfigModel& m = ctx.model;
    m.FirmwareVersion = ctx.Read(kVersion, "FirmwareVersion");
    if (!ReaderContext::Savable(m.FirmwareVersion)) {
        ctx.Log("Version: Firmware Version not valid -- DAT item: FirmwareVersion\r\nValue received "
                "is '" + ReaderContext::Shown(m.FirmwareVersion)
                    + "'\r\nValue has been defaulted to ''",
                1);
        m.FirmwareVersion.clear();
    }
    for (;;) {
        if (!m.FirmwareVersion.empty()) {
            if (m.FirmwareVersion.rfind(m.ProgramVersion, 0) == 0)
                return true;
            const Answer answer = ctx.prompts.Message(
                style::YesNo + style::Critical + style::DefaultButton2, kVersionTitle,
                "This version of Zel is for use with Firmware version " + m.ProgramVersion
                    + "xx\r\nThis DAT file is for Firmware version " + m.FirmwareVersion
                    + "\r\n\r\nThis version of the Zel is NOT consistent with the Firmware version "
                      "of the DAT file\r\nEditing the DAT file with this version of the Zel could "
                      "create errors in your data\r\n\r\nDo you wish to continue editing this DAT "
                      "file?");
            return answer == Answer::Yes;
        }
        const Answer enter = ctx.prompts.Message(
            style::YesNo + style::Question, kVersionTitle,
            "This DAT file does not have a Firmware version\r\n\r\nWould you like to enter the "
            "version manually now?");
        if (enter != Answer::Yes) {
            ctx.prompts.Message(style::OkOnly + style::Critical, kVersionTitle,
                                "Editing a DAT file for one version of the firmware with Zel for a "
                                "different version can create errors in your data\r\n\r\nThis Zel "
                                "is for Firmware version: "
                                    + m.ProgramVersion + "xx");
            return true;
        }
        std::string answer = ctx.prompts
                                 .Input("Enter Firmware Version for this DAT file in format mnn "
                                        "where m is major version and nn is minor version (e.g., "
                                        "528)",
                                        "Enter Firmware Version", "")
                                 .value_or("");
        answer.erase(std::remove(answer.begin(), answer.end(), '.'), answer.end());
        m.FirmwareVersion = Text(TrimBlanks(answer));
        keys.WriteSetting(kVersion, "FirmwareVersion", m.FirmwareVersion, m.DatFilePath);
    }
}

void settleRTC(ReaderContext& ctx, FileLoadResult& result)
{
    ConfigModel& m = ctx.model;
    const Text value = ctx.Read(kVersion, "HasRTC");
    if (value == "1" || value == "0") {
        m.HasRTC = value == "1" ? kTrue : kFalse;
    } else {
        ctx.prompts.Beep();
        const Answer answer = ctx.prompts.Message(
            style::YesNo + style::Question, "RTC Installed?",
            "Is this file for a controller with an RTC installed?");
        m.HasRTC = answer == Answer::Yes ? kTrue : kFalse;
        ctx.keys.WriteSetting(kVersion, "HasRTC", m.HasRTC ? "1" : "0", m.DatFilePath);
    }
    result.rtcYes = m.HasRTC != 0;
    result.rtcNo = m.HasRTC == 0;
}

void settleDVR(ReaderContext& ctx, FileLoadResult& result)
{
    const Text value = ctx.Read(kVersion, "DVRWrite");
    result.dvrWrite = value == "1";
    result.dvrNoWrite = value == "0";
    // The complete upload does what the menu shows.
    ctx.model.DVRWrite = result.dvrWrite ? kTrue : kFalse;
}

void offerReport(ReaderContext& ctx, FileViewer& viewer)
{
    const ConfigModel& m = ctx.model;
    const Answer answer = ctx.prompts.Message(
        style::YesNo + style::Exclamation, "DAT File Errors",
        "There were errors and/or warnings in your dat file and default values have been "
        "assigned.\r\n\r\nThe error log is located at \r\n"
            + m.ErrorLogPath
            + "\r\n\r\nDo you want to view the error log now?\r\n  YES to view error log\r\n  NO "
              "to bypass viewing for now\r\n  (you can always view it later by clicking "
              "File|View Error Log\r\n   or by opening it with Notepad or some other text editor)");
    if (answer == Answer::Yes && !viewer.Open(m.ErrorLogPath))
        ctx.prompts.Message(style::OkOnly + style::Exclamation, "View Error Log",
                            "No text viewer could be started for the error log:\r\n\r\n"
                                + m.ErrorLogPath
                                + "\r\n\r\nPlease open it with a text editor of your choice.");
}

// Room for the edits of a session (editors keep values short); a file loaded with this room
// saves and reopens.
constexpr std::size_t kEditRoom = 64 * 1024;

// Whether the file as it stands leaves room for a session's edits; asked before the model is
// read, so a file refused for its size is refused before any question.
bool leavesEditRoom(const ConfigModel& m, KeyAccess& keys)
{
    const IniDocument* doc = keys.Document(m.DatFilePath);
    return !doc || doc->SerializedSize() + kEditRoom <= kMaxSettingsFileSize;
}

// Whether saving the loaded model into the file keeps it within the size every read accepts.
bool savableWithinLimit(const ConfigModel& m, KeyAccess& keys)
{
    const IniDocument* doc = keys.Document(m.DatFilePath);
    if (!doc)
        return true; // a missing file: a save writes the model alone
    auto size = static_cast<std::ptrdiff_t>(doc->SerializedSize());
    std::vector<std::string> newSections;
    ForEachSettingsEntry(m, [&](std::string_view section, std::string_view key, std::string_view value) {
        size += doc->GrowthOfSet(section, key, value, newSections);
    });
    return static_cast<std::uintmax_t>(size) + kEditRoom <= kMaxSettingsFileSize;
}

FileLoadResult refuseTooLarge(ConfigModel& m, Prompts& prompts, FileLoadResult& result)
{
    m.ClearAllData();
    prompts.Message(style::OkOnly + style::Critical, "File Open Error",
                    "The file is too large to be saved again:\r\n\r\n" + m.DatFilePath
                        + "\r\n\r\nNothing was loaded. A settings file needs far less than "
                        + std::to_string(kMaxSettingsFileSize / (1024 * 1024))
                        + " MB; please remove what does not belong in it.");
    result.outcome = FileLoadResult::Unreadable;
    return result;
}

} // namespace

void TellUnusableSettingsFile(Prompts& prompts, FileStatus status, const std::string& problem)
{
    prompts.Beep();
    prompts.Message(style::OkOnly + style::Exclamation, "File Open Error",
                    problem
                        + (status == FileStatus::Utf16
                               ? "\r\n\r\nThe program reads settings files saved as plain text only. Please "
                                 "save it as plain text (ANSI) in your text editor and open it again."
                                 "\r\n\r\nNothing was loaded and the file was not changed."
                               : "\r\n\r\nNothing was loaded. Please check that the file is a dat file and "
                                 "that you may read it."));
}

std::string ErrorLogHeader(const ConfigModel& m, const std::string& timestamp)
{
    return "RESULTS OF dat EDIT/VALIDATION\r\n"
        + std::string(m.LoadFromDownload ? "Download from controller into file: "
                                         : "Load of file: ")
        + m.DatFilePath + "\r\nInitiated at: " + timestamp + "\r\n";
}

FileLoadResult FileLoad(FileLoadServices& services)
{
    ConfigModel& m = services.model;
    ReaderContext ctx(m, services.keys, services.prompts);
    FileLoadResult result;
    std::string step;
    try {
        m.ClearAllData();
        m.DatHasErrors = kFalse;
        m.DatHasWarnings = kFalse;

        // A file we cannot read must not turn into a configuration of defaults. The file was
        // read just before by whoever chose it (or written by us), so the parse kept is used.
        std::string problem;
        if (const FileStatus status = services.keys.Status(m.DatFilePath, &problem);
            status == FileStatus::Unreadable || status == FileStatus::Utf16) {
            TellUnusableSettingsFile(services.prompts, status, problem);
            result.outcome = FileLoadResult::Unreadable;
            return result;
        }

        // Refused before any question: the answers would be written into a file that is
        // then not loaded.
        if (!leavesEditRoom(m, services.keys))
            return refuseTooLarge(m, services.prompts, result);

        step = "Firmware Version";
        if (!settleFirmwareVersion(ctx, services.keys)) {
            result.outcome = FileLoadResult::VersionDeclined;
            return result;
        }

        step = "Open Error File";
        m.ErrorLogPath = services.programFolder + "/error.log";
        const std::string header =
            ErrorLogHeader(m, services.timestamp ? services.timestamp() : localTimestamp());

        step = "Determine RTC";
        settleRTC(ctx, result);
        step = "Determine DVR Write";
        settleDVR(ctx, result);
        CopyMacroFunctionTable();
        step.clear();

        for (auto passes : {TimerAndMeterPasses(), RemoteIdentificationAndCodePasses(),
                            AutopatchAndMacroPasses(), CourtesyDtmfSwitchAndDvrPasses()})
            ctx.Run(passes);
        if (!savableWithinLimit(m, services.keys))
            return refuseTooLarge(m, services.prompts, result);
        m.DatHasErrors = ctx.hasErrors ? kTrue : kFalse;
        m.DatHasWarnings = ctx.hasWarnings ? kTrue : kFalse;

        // The report is written in one go, so a failed write never leaves half of it.
        bool reportWritten = true;
        try {
            WriteFileAtomically(m.ErrorLogPath, header + ctx.report);
        } catch (const SystemError& e) {
            reportWritten = false;
            services.prompts.Message(
                style::OkOnly + style::Exclamation, "Error Log",
                "The error log could not be written:\r\n\r\n" + m.ErrorLogPath + "\r\n" + e.what()
                    + "\r\n\r\nThe dat file was loaded. "
                    + (ctx.entries ? std::to_string(ctx.entries)
                                         + " value(s) were not valid and have been replaced by "
                                           "default values, but they cannot be listed."
                                   : std::string("All values were valid.")));
        }
        if (reportWritten && (m.DatHasErrors || m.DatHasWarnings))
            offerReport(ctx, services.viewer);

        m.DatHasErrors = kFalse;
        m.DatHasWarnings = kFalse;
        m.DatFileLoaded = kTrue;
        result.outcome = FileLoadResult::Loaded;
    } catch (const std::exception& e) {
        ReportSystemError(services.prompts, e, "Declarations", "FileLoad", step,
                          "An error occurred while loading from dat file:\r\n\r\n" + m.DatFilePath
                              + "\r\n\r\nTHE DATA FROM THE dat FILE IS INCOMPLETE OR ERRONEOUS.  "
                                "DO NOT USE IT!!!\r\nThe program will now terminate.  Please "
                                "check the dat file for errors, and the run the program again.\r\n"
                                "If the error continues, please notify Kelvo and make sure you "
                                "give them the information above.");
        m.DatFileLoaded = kFalse;
        result = FileLoadResult{};
        result.outcome = FileLoadResult::Fatal;
    }
    return result;
}

} // namespace vm880
