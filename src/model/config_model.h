#pragma once
// The one in-memory copy of the controller's configuration, with its change flags,
// the editors' pending states, the state of the current settings file, the version
// texts, the link settings and the transfer state. Every setting is named after its
// settings-file key; arrays are 1-based with fixed sizes.

#include "base/types.h"
#include "model/transfer_state.h"

namespace vm880 {

struct ConfigModel {
    // ---- Version and options (section Version)
    Text FirmwareVersion;
    Flag HasRTC = kFalse;
    // The clock board's memory was decoded into the model (not a settings-file key).
    Flag RTCDataLoaded = kFalse;
    Flag DVRWrite = kFalse;

    // ---- Timers (section Timers), per port, each with a parallel flag array
    PortTexts HangTime, TimeOut, TOTReset, IIDTime, PIDTime, InActiveTime, InActivityMacro,
        DTMFTime, CTCSSTime, KerchunkTime, IDSpeakTime, AnnounceTime;
    PortFlags HangTimeChanged, TimeOutChanged, TOTResetChanged, IIDTimeChanged, PIDTimeChanged,
        InActiveTimeChanged, InActivityMacroChanged, DTMFTimeChanged, CTCSSTimeChanged,
        KerchunkTimeChanged, IDSpeakTimeChanged, AnnounceTimeChanged;

    // ---- Timers that belong to no port
    PortTexts AuxTime;
    PortFlags AuxTimeChanged;
    Text FanTime, FanSelect, XmtDelay, TimeoutLink;
    Flag FanTimeChanged = kFalse, FanSelectChanged = kFalse, XmtDelayChanged = kFalse,
         TimeoutLinkChanged = kFalse;
    PortTexts GeneralTimer, GeneralTimerMacro; // stored in section Alarms
    PortFlags GeneralTimerChanged;             // one per timer for both fields

    // ---- Port switches (section PortSwitches), per port, each with a parallel flag array
    PortTexts TxEnable, RxEnable, FDup, PLAccess, DTMFEnable, DTMFNeedPL, DTMFMute, DTMFCovertone,
        MonMix, Kerchunk, SpeechOverride, SpeechIDOverride, CTCSSCT, CTCSSID, PLEncodePolarity,
        COSClose;
    PortFlags TxEnableChanged, RxEnableChanged, FDupChanged, PLAccessChanged, DTMFEnableChanged,
        DTMFNeedPLChanged, DTMFMuteChanged, DTMFCovertoneChanged, MonMixChanged, KerchunkChanged,
        SpeechOverrideChanged, SpeechIDOverrideChanged, CTCSSCTChanged, CTCSSIDChanged,
        PLEncodePolarityChanged, COSCloseChanged;

    // ---- Tail messages and other port-switch items
    PortTexts TailMessageNum, TailCounter;
    PortFlags TailMessageNumChanged, TailCounterChanged;
    // Element m: macro of tail message m of port 1, 2, 3 respectively.
    PortTexts P1MessageNum, P2MessageNum, P3MessageNum;
    // Element p is raised when any of the three tail-message macros of port p changed.
    PortFlags MessageNumChanged;
    Text AllowTerminatorSpeech, IDStartSelect;
    Flag AllowTerminatorSpeechChanged = kFalse, IDStartSelectChanged = kFalse;

    // ---- Logic alarms
    TextArray<5> Alarm, AlarmLowMacroNum, AlarmHighMacroNum;
    FlagArray<5> AlarmChanged, AlarmLowMacroNumChanged, AlarmHighMacroNumChanged;

    // ---- Scheduler and clock (section Scheduler)
    TextArray<20> DOW, Monthly, Week, Hours, Minutes, MacroToRun;
    FlagArray<20> SetPointChanged;
    Text TwentyFour, SayHour, SayYear, ClockCorrection;
    Flag TwentyFourChanged = kFalse, SayHourChanged = kFalse, SayYearChanged = kFalse,
         ClockCorrectionChanged = kFalse;

    // ---- Analog meters (section Analog)
    TextArray<8> Meter, RealLow, MeterLow, RealHigh, MeterHigh;
    Text Vref;
    FlagArray<9> MeterChanged; // element 9 is the flag of Vref
    TextArray<8> MeterAlarmType, MeterNum, MeterSetPoint, MeterMacro;
    FlagArray<8> MeterAlarmChanged;

    // ---- Remote base (section Remote)
    Text RadioType, YaesuType, RemoteBasePrefix;
    TextArray<40> FreqString, CTCSS, CTCSSMode, RadioMode;
    Flag RadioTypeChanged = kFalse, RemoteBasePrefixChanged = kFalse,
         RemoteBaseMemoriesChanged = kFalse;

    // ---- Identification (sections ID and IDExtras), per port
    PortTexts VoiceID1, VoiceID2, VoiceID3, CWID1, CWID2, CWSpeed, CWTone1, CWTone2, SpeechEnable,
        ID1Extras, ID2Extras, ID3Extras;
    PortFlags VoiceID1Changed, VoiceID2Changed, VoiceID3Changed, CWID1Changed, CWID2Changed,
        CWSpeedChanged, CWTone1Changed, CWTone2Changed, SpeechEnableChanged, ID1ExtrasChanged,
        ID2ExtrasChanged, ID3ExtrasChanged;
    // Working values of the memory-image decoder; never stored in the file.
    PortTexts VoiceID1WordCount, VoiceID2WordCount, VoiceID3WordCount, CWID1CharCount,
        CWID2CharCount;

    // ---- Access codes (section Unlock)
    PortTexts CurrentPortUnlock, NewPortUnlock;
    PortFlags PortUnlockChanged;
    Text Lock, NewLock, Terminator, NewTerminator;
    Flag LockChanged = kFalse, TerminatorChanged = kFalse;
    Text DTMFRegenPrefix, DTMFPort, DTMFSpeech;
    Flag DTMFRegenChanged = kFalse; // one flag for the three

    // ---- Autopatch and special codes
    Text APPrefix, AnswerCode, RingNumber, APTimeOut, EnablePatch, PatchMute;
    Flag APPrefixChanged = kFalse, AnswerCodeChanged = kFalse, RingNumberChanged = kFalse,
         APTimeOutChanged = kFalse, EnablePatchChanged = kFalse, PatchMuteChanged = kFalse;
    TextArray<200> AutoDial;
    FlagArray<200> AutoDialChanged;
    TextArray<100> TollRestrict;
    FlagArray<100> TollRestrictChanged;
    Text DTMFTestPrefix, PreAccessPrefix, PreProgramPrefix, MacroSubset, MacroSubsetEnable,
        DTMFMuteDigitSelect;
    Flag DTMFTestPrefixChanged = kFalse, PreAccessPrefixChanged = kFalse,
         PreProgramPrefixChanged = kFalse, MacroSubsetRangeChanged = kFalse,
         MacroSubsetEnableChanged = kFalse, DTMFMuteDigitSelectChanged = kFalse;

    // ---- Macros (section Macros)
    TextArray<40> Macro, MacroCode;
    FlagArray<40> MacroChanged, MacroCodeChanged;
    TextArray<50> ShortMacro, ShortMacroCode; // entry i is macro 40 + i
    FlagArray<50> ShortMacroChanged, ShortMacroCodeChanged;
    TextArray<90> PortToAllow;
    FlagArray<90> PortToAllowChanged;
    PortTexts RcvMacroActive, RcvMacroInactive;
    PortFlags RcvMacroActiveChanged, RcvMacroInactiveChanged;

    // ---- Message macros (section MessageMacros)
    TextArray<70> MessageMacro;
    FlagArray<70> MessageMacroChanged;

    // ---- Courtesy tones (section Courtesy), indexed (port, tone)
    CourtesyTexts Delay1, Delay2, Delay3, Delay4, Dur1, Dur2, Dur3, Dur4;
    CourtesyTexts Tone1, Tone2, Tone3, Tone4, Tone5, Tone6, Tone7, Tone8;
    // The flag of segment s covers Delay s, Dur s and tones 2s-1 and 2s.
    CourtesyFlags CTSeg1Changed, CTSeg2Changed, CTSeg3Changed, CTSeg4Changed;

    // ---- DTMF memories (section DTMF)
    TextArray<50> DTMF;
    FlagArray<50> DTMFChangedItem;
    Text DTMFDur, DTMFDelay;
    Flag DTMFDurChanged = kFalse, DTMFDelayChanged = kFalse;

    // ---- DVR track tables (section DVR), no flags
    TextArray<64> DVRSeconds;
    TextArray<20> DVRTracks, DVRRowsUsed;

    // ---- Area flags: raised by Apply and by the reader, never lowered (but DTMFMuteSelectChanged)
    Flag TimersChanged = kFalse, MacrosChanged = kFalse, IDsChanged = kFalse,
         IDExtrasChanged = kFalse, MessageMacrosChanged = kFalse, AnalogChanged = kFalse,
         AlarmsChanged = kFalse, CourtesyChanged = kFalse, SchedulerChanged = kFalse,
         RemoteBaseChanged = kFalse, SpecialCodesChanged = kFalse, DTMFChanged = kFalse,
         PortSwitchesChanged = kFalse, MacroPortsChanged = kFalse, MacroSubsetChanged = kFalse,
         DTMFMuteSelectChanged = kFalse;

    // ---- Editor pending states: -1 nothing unapplied, 0 a list or switch, k text field k
    int giTimersUnapplied = -1, giCourtesyUnapplied = -1, giMacrosUnapplied = -1,
        giAnalogUnapplied = -1, giIDUnapplied = -1, giMessageMacrosUnapplied = -1,
        giSchedulerUnapplied = -1, giDTMFUnapplied = -1, giAlarmsRemoteUnapplied = -1,
        giSpecialCodesUnapplied = -1, giPortSwitchesUnapplied = -1;

    // ---- State of the current settings file
    Text DatFilePath;
    Flag DatFileSaved = kTrue;
    Flag DatFileLoaded = kFalse;
    Flag LoadFromDownload = kFalse;
    Flag LockEqualsTerminator = kFalse;
    Text ErrorLogPath;
    Flag DatHasErrors = kFalse, DatHasWarnings = kFalse;

    // ---- Version texts, set once at start-up
    Text ZelVersion = "6.00";
    Text ProgramVersion = "60";

    // ---- Link settings (zel.ini)
    int ComPort = 0;        // 1..8 serial cable, 0 radio link
    int DTMFComPort = 0;    // keying port 1..8
    int WhichSend = 1;      // 1 = key with DTR, otherwise RTS
    long TxTemp = 0;        // ms waited after keying
    long DTMFToneDelay = 0; // ms before each DTMF tone (zel.ini key "DTMFDelay")
    long SerialDelay = 0;   // ms slept after each serial send

    // ---- The exchange with the controller in progress
    TransferState transfer;

    // Table sizes in use, chosen by HasRTC being exactly true.
    int RemoteBaseMemoryCount() const { return HasRTC == kTrue ? 40 : 10; }
    int MessageMacroCount() const { return HasRTC == kTrue ? 70 : 40; }
    int DTMFMemoryCount() const { return HasRTC == kTrue ? 50 : 20; }

    // Resets the model to an empty configuration; keeps what a reload must not lose
    // (TOTReset, DVR tables, IDStartSelect, a few special-code flags, area flags, HasRTC,
    // the version texts, the file path, the link settings and the transfer state).
    void ClearAllData();
};

} // namespace vm880
