#include "model/config_model.h"

namespace vm880 {

namespace {

template <typename... Arrays>
void clearAll(Arrays&... arrays)
{
    (arrays.fill({}), ...);
}

void clearTexts(std::initializer_list<Text*> texts)
{
    for (Text* t : texts)
        t->clear();
}

void clearFlags(std::initializer_list<Flag*> flags)
{
    for (Flag* f : flags)
        *f = kFalse;
}

} // namespace

void ConfigModel::ClearAllData()
{
    auto resetPending = [this] {
        for (int* state : {&giTimersUnapplied, &giCourtesyUnapplied, &giMacrosUnapplied,
                           &giAnalogUnapplied, &giIDUnapplied, &giMessageMacrosUnapplied,
                           &giSchedulerUnapplied, &giDTMFUnapplied, &giAlarmsRemoteUnapplied,
                           &giSpecialCodesUnapplied, &giPortSwitchesUnapplied})
            *state = -1;
    };
    resetPending();

    // Scheduler and clock
    clearAll(DOW, Hours, Minutes, MacroToRun, Monthly, Week, SetPointChanged);
    clearTexts({&SayYear, &TwentyFour, &SayHour, &ClockCorrection});
    clearFlags({&SayYearChanged, &TwentyFourChanged, &SayHourChanged, &ClockCorrectionChanged});

    // Timers: TOTReset keeps its values, its flags are cleared.
    clearAll(HangTime, TimeOut, IIDTime, PIDTime, InActiveTime, InActivityMacro, DTMFTime,
             CTCSSTime, KerchunkTime, IDSpeakTime, AnnounceTime);
    clearAll(HangTimeChanged, TimeOutChanged, TOTResetChanged, IIDTimeChanged, PIDTimeChanged,
             InActiveTimeChanged, InActivityMacroChanged, DTMFTimeChanged, CTCSSTimeChanged,
             KerchunkTimeChanged, IDSpeakTimeChanged, AnnounceTimeChanged);
    clearTexts({&FanTime, &FanSelect, &XmtDelay, &TimeoutLink});
    clearFlags({&FanTimeChanged, &FanSelectChanged, &XmtDelayChanged, &TimeoutLinkChanged});
    clearAll(AuxTime, AuxTimeChanged, GeneralTimer, GeneralTimerMacro, GeneralTimerChanged);

    // Remote base
    clearAll(FreqString, CTCSS, CTCSSMode, RadioMode);
    clearTexts({&RadioType, &YaesuType, &RemoteBasePrefix});
    clearFlags({&RadioTypeChanged, &RemoteBaseMemoriesChanged, &RemoteBasePrefixChanged});

    // Analog meters and meter alarms
    clearAll(Meter, RealLow, MeterLow, RealHigh, MeterHigh, MeterChanged);
    clearAll(MeterAlarmType, MeterNum, MeterSetPoint, MeterMacro, MeterAlarmChanged);
    Vref.clear();

    // Courtesy tones
    clearAll(Delay1, Delay2, Delay3, Delay4, Dur1, Dur2, Dur3, Dur4);
    clearAll(Tone1, Tone2, Tone3, Tone4, Tone5, Tone6, Tone7, Tone8);
    clearAll(CTSeg1Changed, CTSeg2Changed, CTSeg3Changed, CTSeg4Changed);

    // Identification
    clearAll(VoiceID1WordCount, VoiceID2WordCount, VoiceID3WordCount, CWID1CharCount,
             CWID2CharCount);
    clearAll(VoiceID1, VoiceID2, VoiceID3, CWID1, CWID2, CWSpeed, CWTone1, CWTone2, SpeechEnable,
             ID1Extras, ID2Extras, ID3Extras);
    clearAll(VoiceID1Changed, VoiceID2Changed, VoiceID3Changed, CWID1Changed, CWID2Changed,
             CWSpeedChanged, CWTone1Changed, CWTone2Changed, SpeechEnableChanged,
             ID1ExtrasChanged, ID2ExtrasChanged, ID3ExtrasChanged);

    // Macros
    clearAll(Macro, MacroCode, MacroChanged, MacroCodeChanged);
    clearAll(ShortMacro, ShortMacroCode, ShortMacroChanged, ShortMacroCodeChanged);
    clearAll(PortToAllow, PortToAllowChanged);

    // Access codes, autopatch and special codes
    clearAll(CurrentPortUnlock, NewPortUnlock, PortUnlockChanged);
    clearTexts({&Lock, &NewLock, &Terminator, &NewTerminator, &DTMFRegenPrefix, &DTMFPort,
                &DTMFSpeech, &APPrefix, &AnswerCode, &RingNumber, &APTimeOut,
                &AllowTerminatorSpeech, &EnablePatch, &PatchMute, &DTMFTestPrefix,
                &PreAccessPrefix, &PreProgramPrefix, &MacroSubset, &MacroSubsetEnable,
                &DTMFMuteDigitSelect});
    clearFlags({&DTMFMuteDigitSelectChanged, &DTMFMuteSelectChanged, &LockChanged,
                &TerminatorChanged, &DTMFRegenChanged, &APPrefixChanged, &AnswerCodeChanged,
                &RingNumberChanged, &APTimeOutChanged, &AllowTerminatorSpeechChanged,
                &EnablePatchChanged, &PatchMuteChanged});
    clearAll(TollRestrict, TollRestrictChanged, AutoDial, AutoDialChanged);

    // Logic alarms, message macros, DTMF memories
    clearAll(Alarm, AlarmLowMacroNum, AlarmHighMacroNum);
    clearAll(AlarmChanged, AlarmLowMacroNumChanged, AlarmHighMacroNumChanged);
    clearAll(MessageMacro, MessageMacroChanged);
    clearAll(DTMF, DTMFChangedItem);
    clearTexts({&DTMFDur, &DTMFDelay});
    clearFlags({&DTMFDurChanged, &DTMFDelayChanged});

    // Port switches and tail messages
    clearAll(TxEnable, RxEnable, FDup, PLAccess, DTMFEnable, DTMFNeedPL, DTMFMute, DTMFCovertone,
             MonMix, Kerchunk, SpeechOverride, SpeechIDOverride, CTCSSCT, CTCSSID,
             PLEncodePolarity, COSClose);
    clearAll(TxEnableChanged, RxEnableChanged, FDupChanged, PLAccessChanged, DTMFEnableChanged,
             DTMFNeedPLChanged, DTMFMuteChanged, DTMFCovertoneChanged, MonMixChanged,
             KerchunkChanged, SpeechOverrideChanged, SpeechIDOverrideChanged, CTCSSCTChanged,
             CTCSSIDChanged, PLEncodePolarityChanged, COSCloseChanged);
    clearAll(TailMessageNum, P1MessageNum, P2MessageNum, P3MessageNum, TailCounter);
    clearAll(TailMessageNumChanged, MessageNumChanged, TailCounterChanged);

    // Receiver macros
    clearAll(RcvMacroActive, RcvMacroInactive, RcvMacroActiveChanged, RcvMacroInactiveChanged);

    resetPending();
    FirmwareVersion.clear();
    RTCDataLoaded = kFalse;
    DatFileLoaded = kFalse;
    DatFileSaved = kTrue;
}

} // namespace vm880
