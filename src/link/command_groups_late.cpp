// The upload's later groups: remote base, macros and port access, receiver macros, logic
// alarm macros, ID extras, message macros, short macro codes, DTMF memories, the access
// codes, special codes and autopatch, port switches, logic alarms, the DVR tables and the
// CW IDs. Where the radio link takes an item in another form than the serial link, the item
// declares its own tone commands, next to its lines.

#include "link/command_parts.h"

#include "tables/sequence_text.h"

namespace vm880::catalogue {

namespace {

// ---- Skip rules: the item is not sent, and its flag stays raised.

template <auto Member>
bool IsZero(const ConfigModel& m, const ItemRef& ref)
{
    return At<Member>(m, ref) == "0";
}

template <auto Member>
bool IsNoneStored(const ConfigModel& m, const ItemRef& ref)
{
    return At<Member>(m, ref) == kNoneStored;
}

// A remote-base memory with any field "NONE" is not in use.
bool RemoteMemoryUnused(const ConfigModel& m, const ItemRef& ref)
{
    const int n = ref.index;
    // A frequency applied without its offset digit keeps "NONE" in the offset's place.
    return m.FreqString(n).find("NONE") != Text::npos || m.CTCSS(n) == "NONE" || m.CTCSSMode(n) == "NONE" ||
           m.RadioMode(n) == "NONE";
}

// ---- Values built from the model

// A message macro "NONE STORED" goes out empty; the upload also empties it in the model.
Text MessageMacroCodes(const ConfigModel& m, const ItemRef& ref)
{
    const Text& text = m.MessageMacro(ref.index);
    return text == kNoneStored ? Text() : ConvertVoiceIDText(text);
}

void EmptyNoneStoredMessage(ConfigModel& m, const ItemRef& ref)
{
    if (m.MessageMacro(ref.index) == kNoneStored)
        m.MessageMacro(ref.index).clear();
}

// The macro of tail message K of the step's port.
template <int K>
Text TailMessageMacro(const ConfigModel& m, const ItemRef& ref)
{
    switch (ref.port) {
    case 1: return m.P1MessageNum(K);
    case 2: return m.P2MessageNum(K);
    default: return m.P3MessageNum(K);
    }
}

// ---- Access codes: the new code when there is one, else the current one.

Text UnlockToSend(const ConfigModel& m, const ItemRef& ref)
{
    if (!ref.given.empty())
        return Text(ref.given);
    const Text& next = m.NewPortUnlock(ref.port);
    return next.empty() ? m.CurrentPortUnlock(ref.port) : next;
}

Text LockToSend(const ConfigModel& m, const ItemRef& ref)
{
    if (!ref.given.empty())
        return Text(ref.given);
    return m.NewLock.empty() ? m.Lock : m.NewLock;
}

Text& CurrentUnlock(ConfigModel& m, const ItemRef& ref)
{
    return m.CurrentPortUnlock(ref.port);
}
Text& NewUnlock(ConfigModel& m, const ItemRef& ref)
{
    return m.NewPortUnlock(ref.port);
}
std::string CurrentUnlockKey(const ItemRef& ref)
{
    return "CurrentPortUnlock(" + std::to_string(ref.port) + ")";
}
std::string NewUnlockKey(const ItemRef& ref)
{
    return "NewPortUnlock(" + std::to_string(ref.port) + ")";
}
const AccessCode kUnlockCode{&CurrentUnlock, &NewUnlock, &CurrentUnlockKey, &NewUnlockKey};

Text& CurrentLock(ConfigModel& m, const ItemRef&)
{
    return m.Lock;
}
Text& NewLock(ConfigModel& m, const ItemRef&)
{
    return m.NewLock;
}
std::string LockKey(const ItemRef&)
{
    return "Lock";
}
std::string NewLockKey(const ItemRef&)
{
    return "NewLock";
}
const AccessCode kLockCode{&CurrentLock, &NewLock, &LockKey, &NewLockKey};

// A port switch: the port digit again, the switch's two-digit number and its value.
Item PortSwitch(std::string_view name, std::string_view sender, std::string_view number,
                Part value, FlagFn flag)
{
    return Row(name, sender, ByPort, {PortKey(), Lit(number), value}, LineText, flag);
}

} // namespace

std::vector<Group> GroupsFromRemoteBase()
{
    std::vector<Group> groups;

    // ---- 9: remote base, macros, macro codes and port access. The group ends without a lock.
    {
        // By radio the radio type is one key, and a remote-base model that sorts before "2"
        // is played as "2".
        Item radio;
        radio.name = "RadioType";
        radio.senders = {"SendRadioType", "SendYaesuType"};
        radio.lines = {
            {{Lit("*2083"), Val<&M::RadioType>()}, LineText},
            {{Lit("*2084"), Val<&M::YaesuType>()}, LineText},
        };
        radio.tone = ToneForm::Own;
        radio.toneCommands = {
            {Lit("*2083"), Key<&M::RadioType>()},
            {Lit("*2084"), KeyOf(&Conv<&At<&M::YaesuType>, YaesuModelKey>)},
        };
        radio.chosenBy = radio.clears = {&FlagOf<&M::RadioTypeChanged>};

        // By radio the access prefix is played without blanks around it.
        Item prefix = Row("RemoteBasePrefix", "SendRemoteBasePrefix", NoPort,
                          {Lit("*2060"), Val<&M::RemoteBasePrefix>()}, CmdText,
                          &FlagOf<&M::RemoteBasePrefixChanged>);
        prefix.tone = ToneForm::Own;
        prefix.toneCommands = {
            {Lit("*2060"), ValueOf(&Conv<&At<&M::RemoteBasePrefix>, TrimmedText>)}};

        // A memory is four commands. Over the serial link the first three go through "**"
        // and report without the "1**"; by radio they start with the access prefix itself.
        // One flag covers the table and is lowered after it.
        Item memory;
        memory.name = "RemoteBaseMemory";
        memory.senders = {"SendRemoteBaseMemory"};
        memory.lines = {
            {{Lit("**"), Val<&M::RemoteBasePrefix>(), Lit("1"), Val<&M::FreqString>()},
             Reported::AfterStars},
            {{Lit("**"), Val<&M::RemoteBasePrefix>(), Lit("2"), Val<&M::CTCSS>(),
              Val<&M::CTCSSMode>()},
             Reported::AfterStars},
            {{Lit("**"), Val<&M::RemoteBasePrefix>(), Lit("3"), Val<&M::RadioMode>()},
             Reported::AfterStars},
            {{Lit("*2086"), Num()}, CmdText},
        };
        memory.tone = ToneForm::Own;
        memory.toneCommands = {
            {Val<&M::RemoteBasePrefix>(), Lit("1"), Val<&M::FreqString>()},
            {Val<&M::RemoteBasePrefix>(), Lit("2"), Val<&M::CTCSS>(), Val<&M::CTCSSMode>()},
            {Val<&M::RemoteBasePrefix>(), Lit("3"), Val<&M::RadioMode>()},
            {Lit("*2086"), Num()},
        };
        memory.skip = &RemoteMemoryUnused;
        memory.chosenBy = memory.clears = {&FlagOf<&M::RemoteBaseMemoriesChanged>};
        memory.clearWhen = ClearWhen::AfterTable;

        Item macro = Row("Macro", "SendMacro", NoPort,
                         {Lit("*4002"), Num(2), ValueOf(&Conv<&At<&M::Macro>, RemoveBlanks>)},
                         CmdText, &FlagOf<&M::MacroChanged>);
        macro.noneStoredField = &At<&M::Macro>;
        macro.noneStoredLines = {{{Lit("*4003"), Num(2)}, CmdText}};

        groups.push_back({9, "remote base, macros and port access", Scope::Always,
                          Framing::EndWithoutLock, true, {
            {Over::Once, 0, TableSize::Fixed, {radio, prefix}},
            {Over::EachIndex, 0, TableSize::RemoteBaseMemories, {memory}},
            {Over::EachIndex, 40, TableSize::Fixed, {macro}},
            {Over::EachIndex, 40, TableSize::Fixed, {
                Row("MacroCode", "SendMacroCode", NoPort,
                    {Lit("*2050"), Num(2), Val<&M::MacroCode>()}, CmdText,
                    &FlagOf<&M::MacroCodeChanged>),
            }},
            {Over::EachIndex, 90, TableSize::Fixed, {
                Row("PortToAllow", "SendPortToAllow", NoPort,
                    {Lit("*4005"), Num(2), Val<&M::PortToAllow>()}, CmdText,
                    &FlagOf<&M::PortToAllowChanged>),
            }},
        }});
    }

    // ---- 10: receiver macros, active and inactive in one item; either flag takes it.
    {
        Item receiver;
        receiver.name = "RcvMacros";
        receiver.senders = {"SendReceiverMacros"};
        receiver.prefix = ByPort;
        receiver.lines = {
            {{Lit("*2113"), Lit("1"), Val<&M::RcvMacroActive>()}, LineText},
            {{Lit("*2113"), Lit("0"), Val<&M::RcvMacroInactive>()}, LineText},
        };
        receiver.chosenBy = receiver.clears = {&FlagOf<&M::RcvMacroActiveChanged>,
                                               &FlagOf<&M::RcvMacroInactiveChanged>};
        receiver.choose = Choose::AnyFlagRaised;
        groups.push_back({10, "receiver macros", Scope::Always, Framing::LockAfterEachPort,
                          true, {{Over::EachPort, 0, TableSize::Fixed, {receiver}}}});
    }

    // ---- 11: logic alarm macros, low-to-high then high-to-low for each alarm; macro "0"
    // is not sent.
    {
        Item low = Row("AlarmLowMacroNum", "SendAlarmLowMacro", NoPort,
                       {Lit("*2101"), NumKey(), Val<&M::AlarmLowMacroNum>()}, CmdText,
                       &FlagOf<&M::AlarmLowMacroNumChanged>);
        low.skip = &IsZero<&M::AlarmLowMacroNum>;
        Item high = Row("AlarmHighMacroNum", "SendAlarmHighMacro", NoPort,
                        {Lit("*2102"), NumKey(), Val<&M::AlarmHighMacroNum>()}, CmdText,
                        &FlagOf<&M::AlarmHighMacroNumChanged>);
        high.skip = &IsZero<&M::AlarmHighMacroNum>;
        groups.push_back({11, "logic alarm macros", Scope::Always, Framing::LockAfterGroup,
                          true, {{Over::EachIndex, 5, TableSize::Fixed, {low, high}}}});
    }

    // ---- 12: ID extras. The serial line names the ID (1 to 3) on the port's line; by radio
    // the extras are numbered across the ports: port p's IDs are p, p + 3 and p + 6.
    {
        auto extras = [](std::string_view name, std::string_view sender,
                         std::string_view command, int radioOffset, Part value, FlagFn flag) {
            Item item = Row(name, sender, ByPort, {Lit(command), value}, LineText, flag);
            item.tone = ToneForm::Own;
            item.toneCommands = {{Lit("*8007"), PortKey(radioOffset), value}};
            return item;
        };
        groups.push_back({12, "ID extras", Scope::Always, Framing::LockAfterEachPort, true,
            {{Over::EachPort, 0, TableSize::Fixed, {
                extras("ID1Extras", "SendID1Extras", "*80071", 0, Val<&M::ID1Extras>(),
                       &FlagOf<&M::ID1ExtrasChanged>),
                extras("ID2Extras", "SendID2Extras", "*80072", 3, Val<&M::ID2Extras>(),
                       &FlagOf<&M::ID2ExtrasChanged>),
                extras("ID3Extras", "SendID3Extras", "*80073", 6, Val<&M::ID3Extras>(),
                       &FlagOf<&M::ID3ExtrasChanged>),
                Row("SpeechEnable", "SendSpeechEnable", ByPort,
                    {Lit("*8008"), Val<&M::SpeechEnable>()}, LineText,
                    &FlagOf<&M::SpeechEnableChanged>),
            }}}});
    }

    // ---- 13: message macros; an entry "NONE STORED" is emptied in the model and sent empty.
    {
        Item message = Row("MessageMacro", "SendMessageMacro", NoPort,
                           {Lit("*2103"), Num(2), ValueOf(&MessageMacroCodes)}, CmdText,
                           &FlagOf<&M::MessageMacroChanged>);
        message.prepare = &EmptyNoneStoredMessage;
        groups.push_back({13, "message macros", Scope::Always, Framing::LockAfterGroup, true,
                          {{Over::EachIndex, 0, TableSize::MessageMacros, {message}}}});
    }

    // ---- 14: short macro codes, for controller macros 41 to 90.
    groups.push_back({14, "short macro codes", Scope::Always, Framing::LockAfterGroup, true,
        {{Over::EachIndex, 50, TableSize::Fixed, {
            Row("ShortMacroCode", "SendShortMacroCode", NoPort,
                {Lit("*2050"), Num(2, 40), Val<&M::ShortMacroCode>()}, CmdText,
                &FlagOf<&M::ShortMacroCodeChanged>),
        }}}});

    // ---- 15: DTMF memories ("NONE STORED" is not sent) and the DTMF timing.
    {
        Item memory = Row("DTMF", "SendDTMFMemory", NoPort,
                          {Lit("*2105"), Num(2), ValueOf(&Conv<&At<&M::DTMF>, RemoveBlanks>)},
                          CmdText, &FlagOf<&M::DTMFChangedItem>);
        memory.skip = &IsNoneStored<&M::DTMF>;
        groups.push_back({15, "DTMF memories", Scope::Always, Framing::LockAfterGroup, true, {
            {Over::EachIndex, 0, TableSize::DTMFMemories, {memory}},
            {Over::Once, 0, TableSize::Fixed, {
                Row("DTMFDur", "SendDTMFDur", NoPort, {Lit("*2106"), Val<&M::DTMFDur>()},
                    CmdText, &FlagOf<&M::DTMFDurChanged>),
                Row("DTMFDelay", "SendDTMFDelay", NoPort, {Lit("*2107"), Val<&M::DTMFDelay>()},
                    CmdText, &FlagOf<&M::DTMFDelayChanged>),
            }},
        }});
    }

    // ---- 16: the ports' unlock codes, then the lock code (complete upload only).
    {
        Item unlock = Row("PortUnlock", "SendNewUnlockCode", ByPort,
                          {Lit("*9000"), ValueOf(&UnlockToSend)}, LineText,
                          &FlagOf<&M::PortUnlockChanged>);
        unlock.access = &kUnlockCode;
        Item lock = Row("Lock", "SendNewLockCode", NoPort, {Lit("*9010"), ValueOf(&LockToSend)},
                        LineText, &FlagOf<&M::LockChanged>);
        lock.access = &kLockCode;
        groups.push_back({16, "access codes", Scope::CompleteOnly, Framing::EachItemFramed,
                          false, {
            {Over::EachPort, 0, TableSize::Fixed, {unlock}},
            {Over::Once, 0, TableSize::Fixed, {lock}},
        }});
    }

    // ---- 17: special codes and autopatch. Empty autodial and toll entries go out as "0";
    // the serial link pauses after each toll restriction.
    {
        Item regen;
        regen.name = "DTMFRegen";
        regen.senders = {"SendDTMFRegenPrefix", "SendDTMFPort", "SendDTMFSpeech"};
        regen.lines = {
            {{Lit("*2104"), Val<&M::DTMFRegenPrefix>()}, CmdText},
            {{Lit("*2117"), Val<&M::DTMFPort>()}, LineText},
            {{Lit("*2118"), Val<&M::DTMFSpeech>()}, LineText},
        };
        regen.chosenBy = regen.clears = {&FlagOf<&M::DTMFRegenChanged>};

        Item toll = Row("TollRestrict", "SendTollRestrict", NoPort,
                        {Lit("*2062"), Num(3),
                         ValueOf(&Conv<&At<&M::TollRestrict>, ZeroWhenBlank>)},
                        CmdText, &FlagOf<&M::TollRestrictChanged>);
        toll.pauseMs = 100;
        toll.pauseSerialOnly = true;

        groups.push_back({17, "special codes and autopatch", Scope::Always,
                          Framing::LockAfterGroup, true, {
            {Over::Once, 0, TableSize::Fixed, {
                regen,
                Row("APPrefix", "SendAPPrefix", NoPort, {Lit("*2061"), Val<&M::APPrefix>()},
                    CmdText, &FlagOf<&M::APPrefixChanged>),
                Row("AnswerCode", "SendAnswerCode", NoPort,
                    {Lit("*2063"), Val<&M::AnswerCode>()}, CmdText,
                    &FlagOf<&M::AnswerCodeChanged>),
            }},
            {Over::EachIndex, 200, TableSize::Fixed, {
                Row("AutoDial", "SendAutoDial", NoPort,
                    {Lit("*2115"), Num(3), ValueOf(&Conv<&At<&M::AutoDial>, ZeroWhenBlank>)},
                    CmdText, &FlagOf<&M::AutoDialChanged>),
            }},
            {Over::EachIndex, 100, TableSize::Fixed, {toll}},
            {Over::Once, 0, TableSize::Fixed, {
                Row("RingNumber", "SendRingNumber", NoPort,
                    {Lit("*1025"), Val<&M::RingNumber>()}, CmdText,
                    &FlagOf<&M::RingNumberChanged>),
                Row("APTimeOut", "SendAPTimeOut", NoPort, {Lit("*1024"), Val<&M::APTimeOut>()},
                    CmdText, &FlagOf<&M::APTimeOutChanged>),
                Row("EnablePatch", "SendEnablePatch", NoPort,
                    {Lit("*2116"), Val<&M::EnablePatch>()}, CmdText,
                    &FlagOf<&M::EnablePatchChanged>),
                Row("PatchMute", "SendPatchMute", NoPort, {Lit("270"), Val<&M::PatchMute>()},
                    LineText, &FlagOf<&M::PatchMuteChanged>),
                Row("DTMFTestPrefix", "SendPadTest", NoPort,
                    {Lit("*2093"), Val<&M::DTMFTestPrefix>()}, CmdText,
                    &FlagOf<&M::DTMFTestPrefixChanged>),
                Row("PreAccessPrefix", "SendPreAccess", NoPort,
                    {Lit("*2108"), Val<&M::PreAccessPrefix>()}, CmdText,
                    &FlagOf<&M::PreAccessPrefixChanged>),
                Row("PreProgramPrefix", "SendPreProgram", NoPort,
                    {Lit("*2109"), Val<&M::PreProgramPrefix>()}, CmdText,
                    &FlagOf<&M::PreProgramPrefixChanged>),
                Row("MacroSubset", "SendMacroSubset", NoPort,
                    {Lit("*4009"), Val<&M::MacroSubset>()}, CmdText,
                    &FlagOf<&M::MacroSubsetRangeChanged>),
                Row("MacroSubsetEnable", "SendMacroSubset2", NoPort,
                    {Lit("280"), Val<&M::MacroSubsetEnable>()}, LineText,
                    &FlagOf<&M::MacroSubsetEnableChanged>),
                Row("DTMFMuteDigitSelect", "SendDTMFMuteDigitSelect", NoPort,
                    {Lit("*2090"), Val<&M::DTMFMuteDigitSelect>()}, CmdText,
                    &FlagOf<&M::DTMFMuteDigitSelectChanged>),
            }},
        }});
    }

    // ---- 18: the kerchunk timer, the port switches and the tail messages of each port.
    {
        // The three macros of the port's tail messages, one command each. The radio link
        // plays the same three commands: a single command made of the selected tail message
        // and element p of every port's macros would give port p the macros of the other
        // ports.
        Item tailMacros;
        tailMacros.name = "MessageNum";
        tailMacros.senders = {"SendPortMessageNums"};
        tailMacros.prefix = ByPort;
        tailMacros.lines = {
            {{Lit("*2110"), Lit("1"), ValueOf(&TailMessageMacro<1>)}, LineText},
            {{Lit("*2110"), Lit("2"), ValueOf(&TailMessageMacro<2>)}, LineText},
            {{Lit("*2110"), Lit("3"), ValueOf(&TailMessageMacro<3>)}, LineText},
        };
        tailMacros.chosenBy = tailMacros.clears = {&FlagOf<&M::MessageNumChanged>};

        groups.push_back({18, "port switches", Scope::Always, Framing::LockAfterEachPort, true,
            {{Over::EachPort, 0, TableSize::Fixed, {
                Row("KerchunkTime", "SendKerchunkTime", ByPort,
                    {Lit("*1018"), Val<&M::KerchunkTime>()}, LineText,
                    &FlagOf<&M::KerchunkTimeChanged>),
                PortSwitch("TxEnable", "SendTxEnable", "11", Key<&M::TxEnable>(),
                           &FlagOf<&M::TxEnableChanged>),
                PortSwitch("RxEnable", "SendRxEnable", "10", Key<&M::RxEnable>(),
                           &FlagOf<&M::RxEnableChanged>),
                PortSwitch("FDup", "SendFDup", "14", Key<&M::FDup>(), &FlagOf<&M::FDupChanged>),
                PortSwitch("PLAccess", "SendPLAccess", "12", Key<&M::PLAccess>(),
                           &FlagOf<&M::PLAccessChanged>),
                PortSwitch("DTMFEnable", "SendDTMFEnable", "16", Key<&M::DTMFEnable>(),
                           &FlagOf<&M::DTMFEnableChanged>),
                PortSwitch("DTMFNeedPL", "SendDTMFNeedPL", "17", Key<&M::DTMFNeedPL>(),
                           &FlagOf<&M::DTMFNeedPLChanged>),
                PortSwitch("DTMFCovertone", "SendDTMFCovertone", "13", Key<&M::DTMFCovertone>(),
                           &FlagOf<&M::DTMFCovertoneChanged>),
                PortSwitch("MonMix", "SendMonMix", "19", Key<&M::MonMix>(),
                           &FlagOf<&M::MonMixChanged>),
                PortSwitch("Kerchunk", "SendKerchunk", "15", Key<&M::Kerchunk>(),
                           &FlagOf<&M::KerchunkChanged>),
                PortSwitch("SpeechOverride", "SendSpeechOverride", "20",
                           Key<&M::SpeechOverride>(), &FlagOf<&M::SpeechOverrideChanged>),
                PortSwitch("SpeechIDOverride", "SendSpeechIDOverride", "18",
                           Key<&M::SpeechIDOverride>(), &FlagOf<&M::SpeechIDOverrideChanged>),
                Row("CTCSSCT", "SendCTCSSCT", ByPort, {Lit("*2088"), Key<&M::CTCSSCT>()},
                    LineText, &FlagOf<&M::CTCSSCTChanged>),
                Row("CTCSSID", "SendCTCSSID", ByPort, {Lit("*2089"), Key<&M::CTCSSID>()},
                    LineText, &FlagOf<&M::CTCSSIDChanged>),
                PortSwitch("DTMFMute", "SendDTMFMute", "21", Key<&M::DTMFMute>(),
                           &FlagOf<&M::DTMFMuteChanged>),
                Row("TailMessageNum", "SendTailMessageNum", ByPort,
                    {Lit("*2111"), Key<&M::TailMessageNum>()}, LineText,
                    &FlagOf<&M::TailMessageNumChanged>),
                tailMacros,
                Row("TailCounter", "SendTailCounter", ByPort,
                    {Lit("*2112"), Val<&M::TailCounter>()}, LineText,
                    &FlagOf<&M::TailCounterChanged>),
                Row("PLEncodePolarity", "SendPLEncodePolarity", ByPort,
                    {Lit("*1021"), Val<&M::PLEncodePolarity>()}, LineText,
                    &FlagOf<&M::PLEncodePolarityChanged>),
                PortSwitch("COSClose", "SendCOSClose", "22", Key<&M::COSClose>(),
                           &FlagOf<&M::COSCloseChanged>),
            }}}});
    }

    // ---- 19: logic alarms and two single switches. Over the serial link an alarm is
    // "n91" and its value; by radio it is "19", n and the value. Port 1 stays unlocked into
    // the CW IDs.
    {
        Item alarm = Row("Alarm", "SendAlarm", NoPort, {Num(), Lit("91"), Val<&M::Alarm>()},
                         CmdText, &FlagOf<&M::AlarmChanged>);
        alarm.tone = ToneForm::Own;
        alarm.toneCommands = {{Lit("19"), NumKey(), Key<&M::Alarm>()}};
        groups.push_back({19, "logic alarms and single switches", Scope::Always,
                          Framing::StayUnlocked, true, {
            {Over::EachIndex, 5, TableSize::Fixed, {alarm}},
            {Over::Once, 0, TableSize::Fixed, {
                Row("AllowTerminatorSpeech", "SendAllowTerminatorSpeech", NoPort,
                    {Lit("*2091"), Key<&M::AllowTerminatorSpeech>()}, CmdText,
                    &FlagOf<&M::AllowTerminatorSpeechChanged>),
                Row("IDStartSelect", "SendIDStartSelect", NoPort,
                    {Lit("*2121"), Key<&M::IDStartSelect>()}, CmdText,
                    &FlagOf<&M::IDStartSelectChanged>),
            }},
        }});
    }

    // ---- 20: DVR track tables, serial lines only, no flags; one progress position per table.
    {
        auto table = [](std::string_view name, std::string_view command, Part value, int count) {
            Item item;
            item.name = name;
            item.lines = {{{Lit(command), Num(2), value}, LineText}};
            item.tone = ToneForm::None;
            return Block{Over::EachIndex, count, TableSize::Fixed, {item}, true};
        };
        groups.push_back({20, "DVR tables", Scope::CompleteWithDVRWrite, Framing::SerialOnly,
                          true, {
            table("DVRSeconds", "*9091", Val<&M::DVRSeconds>(), 64),
            table("DVRTracks", "*9092", Val<&M::DVRTracks>(), 20),
            table("DVRRowsUsed", "*9093", Val<&M::DVRRowsUsed>(), 20),
        }});
    }

    // ---- 21: CW IDs.
    groups.push_back({21, "CW identification", Scope::Always, Framing::LockAfterEachPort, true,
        {{Over::EachPort, 0, TableSize::Fixed, {
            Row("CWID1", "SendCWID1", ByPort,
                {Lit("*8002"), ValueOf(&Conv<&At<&M::CWID1>, ConvertCWIDText>)}, LineText,
                &FlagOf<&M::CWID1Changed>),
            Row("CWID2", "SendCWID2", ByPort,
                {Lit("*8003"), ValueOf(&Conv<&At<&M::CWID2>, ConvertCWIDText>)}, LineText,
                &FlagOf<&M::CWID2Changed>),
        }}}});

    return groups;
}

} // namespace vm880::catalogue
