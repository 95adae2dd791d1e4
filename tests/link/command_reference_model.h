#pragma once
// A fully set configuration for the upload transcripts. Values are small patterns that can be
// checked against a transcript by eye (port p's hang timer is "50", "120", "170"; courtesy
// segment s of tone t has delay s0 and duration 10t ...), with the awkward values an upload
// must get right placed among them: empty and "NONE STORED" entries, a remote-base memory out
// of use, scheduler "every hour" codes, a second CW tone of 0, logic alarm macros "0" and a
// remote-base model below "2".

#include "model/config_model.h"

#include <string>

namespace vm880::test {

inline std::string Zeros(int value, int width)
{
    std::string text = std::to_string(value);
    while (static_cast<int>(text.size()) < width)
        text.insert(0, "0");
    return text;
}

inline ConfigModel ReferenceModel(bool hasRTC)
{
    ConfigModel m;
    m.HasRTC = hasRTC ? kTrue : kFalse;
    m.DVRWrite = kTrue;
    m.Terminator = "D";
    m.NewTerminator = "";
    m.Lock = "#";
    m.NewLock = "45";
    for (int p = 1; p <= 3; ++p) {
        m.CurrentPortUnlock(p) = std::to_string(p) + "7306";
        m.NewPortUnlock(p) = p == 2 ? "" : std::to_string(p) + "1234";
    }

    const char* hang[] = {"50", "120", "170"};
    for (int p = 1; p <= 3; ++p) {
        const std::string d = std::to_string(p);
        m.HangTime(p) = hang[p - 1];
        m.TimeOut(p) = "18" + d;
        m.TOTReset(p) = std::to_string(p - 1);
        m.IIDTime(p) = "1" + d;
        m.PIDTime(p) = "2" + d;
        m.InActiveTime(p) = "3" + d;
        m.InActivityMacro(p) = "4" + d;
        m.DTMFTime(p) = "5" + d;
        m.CTCSSTime(p) = "6" + d;
        m.KerchunkTime(p) = "7" + d;
        m.IDSpeakTime(p) = "8" + d;
        m.AnnounceTime(p) = "9" + d;

        m.TxEnable(p) = "1";
        m.RxEnable(p) = "1";
        m.FDup(p) = p == 3 ? "0" : "1";
        m.PLAccess(p) = std::to_string(p - 1);
        m.DTMFEnable(p) = "1";
        m.DTMFNeedPL(p) = "0";
        m.DTMFCovertone(p) = "1";
        m.MonMix(p) = "0";
        m.Kerchunk(p) = "1";
        m.SpeechOverride(p) = "0";
        m.SpeechIDOverride(p) = "1";
        m.CTCSSCT(p) = "1";
        m.CTCSSID(p) = "0";
        m.DTMFMute(p) = "1";
        m.TailMessageNum(p) = d;
        m.TailCounter(p) = "2" + d;
        m.PLEncodePolarity(p) = "0";
        m.COSClose(p) = p == 2 ? "1" : "0";

        m.VoiceID1(p) = "W " + std::string(p == 1 ? "ONE" : p == 2 ? "TWO" : "THREE") + " X";
        m.VoiceID2(p) = "REPEATER";
        m.VoiceID3(p) = "";
        m.CWID1(p) = "W " + d + " X";
        m.CWID2(p) = "W " + d + " X / R";
        m.CWSpeed(p) = "2" + d;
        m.SpeechEnable(p) = "1";
        m.ID1Extras(p) = "0";
        m.ID2Extras(p) = d;
        m.ID3Extras(p) = "1" + d;
        m.RcvMacroActive(p) = "6" + d;
        m.RcvMacroInactive(p) = "7" + d;
    }
    // Port 1: tones 800 and 0 (one tone); port 2: 800 and 1200; port 3: " 600" and "1000".
    m.CWTone1(1) = "800";
    m.CWTone2(1) = "0";
    m.CWTone1(2) = "800";
    m.CWTone2(2) = "1200";
    m.CWTone1(3) = " 600";
    m.CWTone2(3) = "1000";
    // Tail message m of port p uses macro "p m" as two digits.
    for (int k = 1; k <= 3; ++k) {
        m.P1MessageNum(k) = "1" + std::to_string(k);
        m.P2MessageNum(k) = "2" + std::to_string(k);
        m.P3MessageNum(k) = "3" + std::to_string(k);
    }

    for (int n = 1; n <= 3; ++n) {
        m.AuxTime(n) = std::to_string(n) + "0";
        m.GeneralTimer(n) = std::to_string(n * 60);
        m.GeneralTimerMacro(n) = "2" + std::to_string(n);
    }
    m.FanTime = "5";
    m.FanSelect = "1";
    m.XmtDelay = "3";
    m.TimeoutLink = "0";

    for (int p = 1; p <= 3; ++p) {
        for (int t = 1; t <= 10; ++t) {
            const std::string dur = std::to_string(10 * t);
            m.Delay1(p, t) = "10";
            m.Delay2(p, t) = "20";
            m.Delay3(p, t) = "30";
            m.Delay4(p, t) = "40";
            m.Dur1(p, t) = dur;
            m.Dur2(p, t) = dur;
            m.Dur3(p, t) = dur;
            m.Dur4(p, t) = dur;
            // Tone pairs: 1000 + 100 p + segment, and 0 for the second tone of segment 4.
            m.Tone1(p, t) = std::to_string(1001 + 100 * p);
            m.Tone2(p, t) = std::to_string(1011 + 100 * p);
            m.Tone3(p, t) = std::to_string(1002 + 100 * p);
            m.Tone4(p, t) = std::to_string(1012 + 100 * p);
            m.Tone5(p, t) = std::to_string(1003 + 100 * p);
            m.Tone6(p, t) = std::to_string(1013 + 100 * p);
            m.Tone7(p, t) = std::to_string(1004 + 100 * p);
            m.Tone8(p, t) = "0";
        }
    }

    // Short macros: every third one empty; the others "nnn 200" (n = controller macro).
    for (int i = 1; i <= 50; ++i) {
        m.ShortMacro(i) = i % 3 == 0 ? "NONE STORED" : Zeros(40 + i, 3) + " 200";
        m.ShortMacroCode(i) = "5000" + std::to_string(40 + i);
    }
    // Long macros: every fourth one empty; the others three codes.
    for (int i = 1; i <= 40; ++i) {
        m.Macro(i) = i % 4 == 0 ? "NONE STORED" : Zeros(i, 3) + " 100 255 007";
        m.MacroCode(i) = "5000" + std::to_string(i);
    }
    for (int i = 1; i <= 90; ++i)
        m.PortToAllow(i) = i % 3 == 1 ? "123" : i % 3 == 2 ? "1" : "23";

    // Scheduler: set point n runs macro n on minute 2n; set point 3 every hour ("99"), 4 with
    // "0A", 5 with "254", the rest at hour n - 1; every fifth runs monthly in week 2.
    for (int n = 1; n <= 20; ++n) {
        m.DOW(n) = std::to_string(n % 8);
        m.Monthly(n) = n % 5 == 0 ? "1" : "0";
        m.Week(n) = "2";
        m.Hours(n) = n == 3 ? "99" : n == 4 ? "0A" : n == 5 ? "254" : Zeros(n - 1, 2);
        m.Minutes(n) = Zeros(2 * n, 2);
        m.MacroToRun(n) = Zeros(n, 2);
    }
    m.SayYear = "1";
    m.TwentyFour = "0";
    m.SayHour = "1";
    m.ClockCorrection = "-5";

    // Meters n: type n - 1; alarms: meter n, type n % 3 (so 0 disables), set point 10n.
    for (int n = 1; n <= 8; ++n) {
        m.Meter(n) = std::to_string((n - 1) % 7);
        m.RealLow(n) = "0";
        m.MeterLow(n) = "0";
        m.RealHigh(n) = std::to_string(100 * n);
        m.MeterHigh(n) = "255";
        m.MeterNum(n) = std::to_string(n);
        m.MeterAlarmType(n) = std::to_string(n % 3);
        m.MeterSetPoint(n) = std::to_string(10 * n);
        m.MeterMacro(n) = Zeros(30 + n, 2);
    }
    m.Vref = "500";

    // Remote base: radio 3 with model "1" (below "2"), memory 3 out of use ("NONE").
    m.RadioType = "3";
    m.YaesuType = "1";
    m.RemoteBasePrefix = "C1";
    for (int n = 1; n <= 40; ++n) {
        m.FreqString(n) = std::to_string(146000 + 20 * n);
        m.CTCSS(n) = Zeros(n % 50, 2);
        m.CTCSSMode(n) = std::to_string(n % 3);
        m.RadioMode(n) = std::to_string(n % 4);
    }
    m.RadioMode(3) = "NONE";

    // Logic alarms: macros "0" for alarm 2 (low) and 4 (high) are not sent.
    for (int n = 1; n <= 5; ++n) {
        m.Alarm(n) = n % 2 == 1 ? "1" : "0";
        m.AlarmLowMacroNum(n) = n == 2 ? "0" : "5" + std::to_string(n);
        m.AlarmHighMacroNum(n) = n == 4 ? "0" : "6" + std::to_string(n);
    }

    // Message macros: words; every seventh "NONE STORED".
    for (int n = 1; n <= 70; ++n)
        m.MessageMacro(n) =
            n % 7 == 0 ? "NONE STORED" : "TIME IS " + std::string(n % 2 ? "A" : "B");

    // DTMF memories: "1 2 n"; every sixth "NONE STORED".
    for (int n = 1; n <= 50; ++n)
        m.DTMF(n) = n % 6 == 0 ? "NONE STORED" : "1 2 " + std::string(n % 2 ? "A" : "#");
    m.DTMFDur = "6";
    m.DTMFDelay = "7";

    m.DTMFRegenPrefix = "B1";
    m.DTMFPort = "2";
    m.DTMFSpeech = "1";
    m.APPrefix = "A1";
    m.AnswerCode = "A2";
    // Autodial: entries 1 to 4 and 10 set, the rest empty; toll restrictions 1 and 2 set.
    for (int n = 1; n <= 200; ++n)
        m.AutoDial(n) = n <= 4 || n == 10 ? "555010" + std::to_string(n % 10) : "";
    for (int n = 1; n <= 100; ++n)
        m.TollRestrict(n) = n <= 2 ? "90" + std::to_string(n) : "";
    m.RingNumber = "4";
    m.APTimeOut = "180";
    m.EnablePatch = "12";
    m.PatchMute = "1";
    m.DTMFTestPrefix = "99";
    m.PreAccessPrefix = "8";
    m.PreProgramPrefix = "";
    m.MacroSubset = "0140";
    m.MacroSubsetEnable = "1";
    m.DTMFMuteDigitSelect = "2";
    m.AllowTerminatorSpeech = "1";
    m.IDStartSelect = "0";

    for (int n = 1; n <= 64; ++n)
        m.DVRSeconds(n) = std::to_string(n % 10);
    for (int n = 1; n <= 20; ++n) {
        m.DVRTracks(n) = std::to_string(n % 5);
        m.DVRRowsUsed(n) = std::to_string(n % 4);
    }
    return m;
}

} // namespace vm880::test
