#include "model/settings_writer.h"

#include "model/error_report.h"
#include "model/key_access.h"
#include "interfaces/prompts.h"

#include <string>

namespace vm880 {

namespace {

std::string indexed(std::string_view name, int i)
{
    return std::string(name) + "(" + std::to_string(i) + ")";
}

std::string trimmed(const Text& text)
{
    return std::string(TrimBlanks(text));
}

// The values the file holds where they differ from the model.
std::string tailMacroInFile(const Text& v) { return v == "0" ? "90" : v; }
std::string hourInFile(const Text& v) { return v == "99" ? "0A" : v; }
std::string messageMacroInFile(const Text& v) { return v.empty() ? "NONE STORED" : v; }

} // namespace

void ForEachSettingsEntry(const ConfigModel& m, const EntrySink& put)
{
    auto arr = [&](std::string_view section, std::string_view name, const auto& array, int i) {
        put(section, indexed(name, i), array(i));
    };

    put("Version", "ZelVersion", m.ZelVersion);
    put("Version", "FirmwareVersion", trimmed(m.FirmwareVersion));
    put("Version", "HasRTC", m.HasRTC != 0 ? "1" : "0");

    for (int i = 1; i <= 3; ++i) {
        arr("Timers", "HangTime", m.HangTime, i);
        arr("Timers", "TimeOut", m.TimeOut, i);
        arr("Timers", "TOTReset", m.TOTReset, i);
        arr("Timers", "IIDTime", m.IIDTime, i);
        arr("Timers", "PIDTime", m.PIDTime, i);
        arr("Timers", "InActiveTime", m.InActiveTime, i);
        arr("Timers", "InActivityMacro", m.InActivityMacro, i);
        arr("Timers", "DTMFTime", m.DTMFTime, i);
        arr("Timers", "CTCSSTime", m.CTCSSTime, i);
        arr("Timers", "KerchunkTime", m.KerchunkTime, i);
        arr("Timers", "IDSpeakTime", m.IDSpeakTime, i);
        arr("PortSwitches", "TailMessageNum", m.TailMessageNum, i);
        arr("Timers", "AnnounceTime", m.AnnounceTime, i);
        arr("PortSwitches", "TailCounter", m.TailCounter, i);
    }
    for (int i = 1; i <= 3; ++i) {
        put("PortSwitches", indexed("P1MessageNum", i), tailMacroInFile(m.P1MessageNum(i)));
        put("PortSwitches", indexed("P2MessageNum", i), tailMacroInFile(m.P2MessageNum(i)));
        put("PortSwitches", indexed("P3MessageNum", i), tailMacroInFile(m.P3MessageNum(i)));
    }
    for (int i = 1; i <= 3; ++i)
        arr("Timers", "AuxTime", m.AuxTime, i);
    for (int i = 1; i <= 3; ++i) {
        arr("Alarms", "GeneralTimer", m.GeneralTimer, i);
        arr("Alarms", "GeneralTimerMacro", m.GeneralTimerMacro, i);
    }
    put("Timers", "FanTime", m.FanTime);
    put("Timers", "FanSelect", m.FanSelect);
    put("Timers", "XmtDelay", m.XmtDelay);
    put("Timers", "TimeoutLink", m.TimeoutLink);
    for (int i = 1; i <= 5; ++i) {
        arr("Alarms", "AlarmLowMacroNum", m.AlarmLowMacroNum, i);
        arr("Alarms", "AlarmHighMacroNum", m.AlarmHighMacroNum, i);
        arr("PortSwitches", "Alarm", m.Alarm, i);
    }

    for (int i = 1; i <= 20; ++i) {
        arr("Scheduler", "DOW", m.DOW, i);
        arr("Scheduler", "Monthly", m.Monthly, i);
        arr("Scheduler", "Week", m.Week, i);
        put("Scheduler", indexed("Hours", i), hourInFile(m.Hours(i)));
        arr("Scheduler", "Minutes", m.Minutes, i);
        arr("Scheduler", "MacroToRun", m.MacroToRun, i);
    }
    put("Scheduler", "TwentyFour", m.TwentyFour);
    put("Scheduler", "SayHour", m.SayHour);
    put("Scheduler", "SayYear", m.SayYear);
    put("Scheduler", "ClockCorrection", m.ClockCorrection);

    for (int i = 1; i <= 8; ++i) {
        arr("Analog", "Meter", m.Meter, i);
        arr("Analog", "RealLow", m.RealLow, i);
        arr("Analog", "MeterLow", m.MeterLow, i);
        arr("Analog", "RealHigh", m.RealHigh, i);
        arr("Analog", "MeterHigh", m.MeterHigh, i);
    }
    put("Analog", "Vref", m.Vref);
    for (int i = 1; i <= 8; ++i) {
        arr("Analog", "MeterAlarmType", m.MeterAlarmType, i);
        arr("Analog", "MeterNum", m.MeterNum, i);
        arr("Analog", "MeterSetPoint", m.MeterSetPoint, i);
        arr("Analog", "MeterMacro", m.MeterMacro, i);
    }

    put("Remote", "RadioType", m.RadioType);
    put("Remote", "YaesuType", m.YaesuType);
    put("Remote", "RemoteBasePrefix", m.RemoteBasePrefix);
    for (int i = 1; i <= m.RemoteBaseMemoryCount(); ++i) {
        arr("Remote", "FreqString", m.FreqString, i);
        arr("Remote", "CTCSS", m.CTCSS, i);
        arr("Remote", "CTCSSMode", m.CTCSSMode, i);
        arr("Remote", "RadioMode", m.RadioMode, i);
    }

    for (int i = 1; i <= 3; ++i) {
        arr("ID", "VoiceID1", m.VoiceID1, i);
        arr("ID", "VoiceID2", m.VoiceID2, i);
        arr("ID", "VoiceID3", m.VoiceID3, i);
        arr("ID", "CWID1", m.CWID1, i);
        arr("ID", "CWID2", m.CWID2, i);
        arr("ID", "CWSpeed", m.CWSpeed, i);
        arr("ID", "CWTone1", m.CWTone1, i);
        arr("ID", "CWTone2", m.CWTone2, i);
        arr("ID", "SpeechEnable", m.SpeechEnable, i);
        arr("IDExtras", "ID1Extras", m.ID1Extras, i);
        arr("IDExtras", "ID2Extras", m.ID2Extras, i);
        arr("IDExtras", "ID3Extras", m.ID3Extras, i);
    }

    put("Unlock", "DTMFRegenPrefix", m.DTMFRegenPrefix);
    put("Unlock", "DTMFPort", m.DTMFPort);
    put("Unlock", "DTMFSpeech", m.DTMFSpeech);

    put("Autopatch", "APPrefix", m.APPrefix);
    put("Autopatch", "AnswerCode", m.AnswerCode);
    for (int i = 1; i <= 200; ++i)
        arr("Autopatch", "AutoDial", m.AutoDial, i);
    for (int i = 1; i <= 100; ++i)
        arr("Autopatch", "TollRestrict", m.TollRestrict, i);
    put("Autopatch", "RingNumber", m.RingNumber);
    put("Autopatch", "APTimeOut", m.APTimeOut);
    put("Autopatch", "EnablePatch", m.EnablePatch);
    put("Autopatch", "PatchMute", m.PatchMute);

    put("PadTest", "DTMFTestPrefix", m.DTMFTestPrefix);
    put("PreAccess", "PreAccessPrefix", m.PreAccessPrefix);
    put("PreProgram", "PreProgramPrefix", m.PreProgramPrefix);
    put("MacroSubset", "MacroSubset", m.MacroSubset);
    put("MacroSubset", "MacroSubsetEnable", m.MacroSubsetEnable);
    put("DTMFMuteDigitSelect", "DTMFMuteDigitSelect", m.DTMFMuteDigitSelect);

    for (int i = 1; i <= 40; ++i) {
        arr("Macros", "Macro", m.Macro, i);
        arr("Macros", "MacroCode", m.MacroCode, i);
    }
    for (int i = 1; i <= 50; ++i) {
        arr("Macros", "ShortMacro", m.ShortMacro, i);
        arr("Macros", "ShortMacroCode", m.ShortMacroCode, i);
    }
    for (int i = 1; i <= 90; ++i)
        arr("Macros", "PortToAllow", m.PortToAllow, i);
    for (int i = 1; i <= m.MessageMacroCount(); ++i)
        put("MessageMacros", indexed("MessageMacro", i), messageMacroInFile(m.MessageMacro(i)));
    for (int i = 1; i <= 3; ++i) {
        arr("Macros", "RcvMacroActive", m.RcvMacroActive, i);
        arr("Macros", "RcvMacroInactive", m.RcvMacroInactive, i);
    }

    struct CourtesyArray {
        const char* name;
        const CourtesyTexts& values;
    };
    const CourtesyArray courtesy[] = {
        {"Delay1", m.Delay1}, {"Delay2", m.Delay2}, {"Delay3", m.Delay3}, {"Delay4", m.Delay4},
        {"Dur1", m.Dur1},     {"Dur2", m.Dur2},     {"Dur3", m.Dur3},     {"Dur4", m.Dur4},
        {"Tone1", m.Tone1},   {"Tone2", m.Tone2},   {"Tone3", m.Tone3},   {"Tone4", m.Tone4},
        {"Tone5", m.Tone5},   {"Tone6", m.Tone6},   {"Tone7", m.Tone7},   {"Tone8", m.Tone8},
    };
    for (int t = 1; t <= 10; ++t)
        for (int p = 1; p <= 3; ++p)
            for (const CourtesyArray& a : courtesy)
                put("Courtesy", "P" + std::to_string(p) + indexed(a.name, t), a.values(p, t));

    for (int i = 1; i <= m.DTMFMemoryCount(); ++i)
        arr("DTMF", "DTMF", m.DTMF, i);
    put("DTMF", "DTMFDur", m.DTMFDur);
    put("DTMF", "DTMFDelay", m.DTMFDelay);

    for (int i = 1; i <= 3; ++i) {
        arr("PortSwitches", "TxEnable", m.TxEnable, i);
        arr("PortSwitches", "RxEnable", m.RxEnable, i);
        arr("PortSwitches", "FDup", m.FDup, i);
        arr("PortSwitches", "SpeechOverride", m.SpeechOverride, i);
        arr("PortSwitches", "SpeechIDOverride", m.SpeechIDOverride, i);
        arr("PortSwitches", "PLAccess", m.PLAccess, i);
        arr("PortSwitches", "DTMFEnable", m.DTMFEnable, i);
        arr("PortSwitches", "DTMFNeedPL", m.DTMFNeedPL, i);
        arr("PortSwitches", "DTMFMute", m.DTMFMute, i);
        arr("PortSwitches", "DTMFCovertone", m.DTMFCovertone, i);
        arr("PortSwitches", "MonMix", m.MonMix, i);
        arr("PortSwitches", "Kerchunk", m.Kerchunk, i);
        arr("PortSwitches", "CTCSSID", m.CTCSSID, i);
        arr("PortSwitches", "CTCSSCT", m.CTCSSCT, i);
        arr("PortSwitches", "PLEncodePolarity", m.PLEncodePolarity, i);
        arr("PortSwitches", "COSClose", m.COSClose, i);
    }
    put("PortSwitches", "AllowTerminatorSpeech", m.AllowTerminatorSpeech);
    put("PortSwitches", "IDStartSelect", m.IDStartSelect);

    for (int i = 1; i <= 64; ++i)
        arr("DVR", "DVRSeconds", m.DVRSeconds, i);
    for (int i = 1; i <= 20; ++i)
        arr("DVR", "DVRTracks", m.DVRTracks, i);
    for (int i = 1; i <= 20; ++i)
        arr("DVR", "DVRRowsUsed", m.DVRRowsUsed, i);

    // New access codes are never stored: they are pending until sent.
    for (int i = 1; i <= 3; ++i) {
        arr("Unlock", "CurrentPortUnlock", m.CurrentPortUnlock, i);
        put("Unlock", indexed("NewPortUnlock", i), "");
    }
    put("Unlock", "Lock", m.Lock);
    put("Unlock", "NewLock", "");
    put("Unlock", "Terminator", m.Terminator);
    put("Unlock", "NewTerminator", "");
}

namespace {

// After a successful save the model holds what the file holds.
void takeSavedForms(ConfigModel& m)
{
    for (int i = 1; i <= 3; ++i) {
        for (auto* macros : {&m.P1MessageNum, &m.P2MessageNum, &m.P3MessageNum})
            (*macros)(i) = tailMacroInFile((*macros)(i));
        m.NewPortUnlock(i).clear();
    }
    for (int i = 1; i <= m.MessageMacroCount(); ++i)
        m.MessageMacro(i) = messageMacroInFile(m.MessageMacro(i));
    m.NewLock.clear();
    m.NewTerminator.clear();
    m.DatFileSaved = kTrue;
}

} // namespace

int FileWrite(ConfigModel& model, KeyAccess& keys, Prompts& prompts)
{
    prompts.ShowWait("Saving Database", "Please wait while your database is saved");
    int result = kDone;
    try {
        if (model.DatFilePath.empty())
            throw SystemError(error_number::BadArgument, "No settings file name was given");
        keys.Edit(model.DatFilePath, [&](IniDocument& doc) {
            ForEachSettingsEntry(model, [&](std::string_view section, std::string_view key,
                                            std::string_view value) {
                if (!IniDocument::ValidValue(value))
                    throw SystemError(error_number::BadArgument,
                                      "The value of " + std::string(key)
                                          + " holds a line break or NUL character");
                doc.Set(section, key, value);
            });
        });
        takeSavedForms(model);
    } catch (const std::exception& e) {
        result = kFailed;
        ReportSystemError(prompts, e, "Declarations", "FileWrite", "", "");
        prompts.Message(style::OkOnly + style::Critical, kSystemErrorTitle,
                        "An error occurred while writing data to dat file:\r\n\r\n"
                            + model.DatFilePath
                            + "\r\n\r\nTHE DATA IN THE dat FILE IS INCOMPLETE OR ERRONEOUS.  DO NOT "
                              "USE IT!!!\r\nPlease close the program, check your data, and the run "
                              "the program again.\r\nIf the error continues, please notify Kelvo "
                              "and make sure you give them the information above.");
    }
    prompts.HideWait();
    return result;
}

} // namespace vm880
