// The catalogue as the upload walks it: the order and size of the groups, the progress
// positions, where the radio link locks, which flags choose and lower each item, and the rule
// that the serial and radio renderings of an item carry the same command.

#include "link/command_catalogue.h"

#include "command_reference_model.h"
#include "link/dtmf_link.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace vm880 {
namespace {

std::map<int, int> PositionsByGroup(const ConfigModel& model)
{
    std::map<int, int> positions;
    for (const Step& step : UploadOrder(model))
        positions[step.group->number] += step.progress;
    return positions;
}

TEST(CommandOrder, GroupsAndTheirPositions)
{
    // group -> positions with and without the clock option
    const std::map<int, std::pair<int, int>> expected = {
        {0, {1, 1}},     {1, {33, 33}},   {2, {3, 3}},     {3, {7, 7}},   {4, {120, 120}},
        {5, {50, 50}},   {6, {15, 15}},   {7, {24, 24}},   {8, {25, 25}}, {9, {212, 182}},
        {10, {3, 3}},    {11, {10, 10}},  {12, {12, 12}},  {13, {70, 40}}, {14, {50, 50}},
        {15, {52, 22}},  {16, {4, 4}},    {17, {313, 313}}, {18, {60, 60}}, {19, {7, 7}},
        {20, {3, 3}},    {21, {6, 6}},
    };
    ConfigModel model;
    model.HasRTC = kTrue;
    const auto withClock = PositionsByGroup(model);
    model.HasRTC = kFalse;
    const auto withoutClock = PositionsByGroup(model);
    ASSERT_EQ(withClock.size(), expected.size());
    for (const auto& [group, counts] : expected) {
        EXPECT_EQ(withClock.at(group), counts.first) << "group " << group;
        EXPECT_EQ(withoutClock.at(group), counts.second) << "group " << group;
    }
    int previous = -1;
    for (const Group& group : UploadGroups()) {
        EXPECT_EQ(group.number, previous + 1);
        previous = group.number;
    }
}

TEST(CommandOrder, ProgressPositionsFollowClockAndDVROptions)
{
    struct Case {
        Flag hasRTC, dvrWrite;
        int positions;
    };
    // HasRTC "1" from an old file is not exactly true: the small tables apply.
    for (const Case& c : {Case{kTrue, kTrue, 1080}, Case{kFalse, kTrue, 990},
                          Case{kTrue, kFalse, 1077}, Case{kFalse, kFalse, 987},
                          Case{1, kFalse, 987}}) {
        ConfigModel model;
        model.HasRTC = c.hasRTC;
        model.DVRWrite = c.dvrWrite;
        EXPECT_EQ(ProgressPositions(model), c.positions) << c.hasRTC << " " << c.dvrWrite;
    }
}

TEST(CommandOrder, EverySenderIsThere)
{
    const char* senders[] = {
        "SendHangTime", "SendTimeOut", "SendTOTReset", "SendIIDTime", "SendPIDTime",
        "SendInActiveTime", "SendInActivityMacro", "SendDTMFTime", "SendCTCSSTime",
        "SendKerchunkTime", "SendIDSpeakTime", "SendAnnounceTime", "SendCourtesySegment1",
        "SendCourtesySegment2", "SendCourtesySegment3", "SendCourtesySegment4", "SendVoiceID1",
        "SendVoiceID2", "SendVoiceID3", "SendCWID1", "SendCWID2", "SendCWSpeed", "SendCWTones",
        "SendID1Extras", "SendID2Extras", "SendID3Extras", "SendSpeechEnable",
        "SendReceiverMacros", "SendCTCSSCT", "SendCTCSSID", "SendTailMessageNum",
        "SendPortMessageNums", "SendTailCounter", "SendPLEncodePolarity", "SendTxEnable",
        "SendRxEnable", "SendPLAccess", "SendDTMFCovertone", "SendFDup", "SendKerchunk",
        "SendDTMFEnable", "SendDTMFNeedPL", "SendSpeechIDOverride", "SendMonMix",
        "SendSpeechOverride", "SendDTMFMute", "SendCOSClose", "SendAuxTime", "SendFanTime",
        "SendFanSelect", "SendXmtDelay", "SendGeneralTimer", "SendGeneralTimerMacro",
        "SendTimeoutLink", "SendSchedulerEvent", "SendSayYear", "SendTwentyFour", "SendSayHour",
        "SendClockCorrection", "SendMeter", "SendVref", "SendMeterAlarm",
        "SendMeterAlarmEnable", "SendRadioType", "SendYaesuType", "SendRemoteBasePrefix",
        "SendRemoteBaseMemory", "SendMacro", "SendShortMacro", "SendPortToAllow",
        "SendMacroCode", "SendShortMacroCode", "SendEraseMacros", "SendEraseShortMacros",
        "SendAlarmLowMacro", "SendAlarmHighMacro", "SendAlarm", "SendMessageMacro",
        "SendDTMFMemory", "SendDTMFDur", "SendDTMFDelay", "SendDTMFRegenPrefix",
        "SendDTMFPort", "SendDTMFSpeech", "SendAPPrefix", "SendAnswerCode", "SendEnablePatch",
        "SendRingNumber", "SendAPTimeOut", "SendPatchMute", "SendPadTest", "SendPreAccess",
        "SendPreProgram", "SendMacroSubset", "SendMacroSubset2", "SendDTMFMuteDigitSelect",
        "SendAutoDial", "SendTollRestrict", "SendAllowTerminatorSpeech", "SendIDStartSelect",
        "SendNewUnlockCode", "SendNewLockCode", "SendNewTerminator", "SendResetCommand",
    };
    std::set<std::string> seen;
    for (const char* sender : senders) {
        const Item* item = ItemBySender(sender);
        ASSERT_NE(item, nullptr) << sender;
        EXPECT_NE(item->tone, ToneForm::None) << sender;
        EXPECT_TRUE(seen.insert(sender).second) << sender;
    }
    // Every radio form of the upload has a sender named in the list.
    for (const Group& group : UploadGroups()) {
        for (const Block& block : group.blocks) {
            for (const Item& item : block.items) {
                if (item.tone == ToneForm::None)
                    continue;
                for (std::string_view sender : item.senders)
                    EXPECT_TRUE(seen.count(std::string(sender))) << sender;
            }
        }
    }
}

TEST(CommandOrder, WhereTheRadioLinkLocks)
{
    ConfigModel model;
    model.HasRTC = kTrue;
    std::map<int, std::vector<std::string>> ends; // group -> "port:end" per step with an end
    for (const Step& step : UploadOrder(model)) {
        if (step.end == FrameEnd::None)
            continue;
        ends[step.group->number].push_back(std::to_string(step.ref.port) +
                                           (step.end == FrameEnd::Lock ? " lock" : " forget"));
    }
    const std::vector<std::string> eachPort = {"1 lock", "2 lock", "3 lock"};
    const std::vector<std::string> once = {"1 lock"};
    for (int group : {1, 4, 6, 10, 12, 18, 21})
        EXPECT_EQ(ends[group], eachPort) << group;
    for (int group : {3, 5, 7, 8, 11, 13, 14, 15, 17})
        EXPECT_EQ(ends[group], once) << group;
    EXPECT_EQ(ends[2], (std::vector<std::string>{"1 lock", "1 lock", "1 lock"}));
    EXPECT_EQ(ends[9], (std::vector<std::string>{"1 forget"}));
    for (int group : {0, 16, 19, 20})
        EXPECT_TRUE(ends[group].empty()) << group;
}

TEST(CommandOrder, EachFlagIsLoweredByOneItemAndChoosesWhatLowersIt)
{
    ConfigModel model;
    model.HasRTC = kTrue;
    std::map<const Flag*, std::vector<std::string>> lowered;
    std::set<const Flag*> choosing;
    for (const Step& step : UploadOrder(model)) {
        const std::string where = std::string(step.item->name) + "(" +
                                  std::to_string(step.ref.port) + "," +
                                  std::to_string(step.ref.index) + ")";
        for (FlagFn flag : step.item->chosenBy)
            choosing.insert(&flag(model, step.ref));
        if (step.item->clearWhen == ClearWhen::AfterTable && !step.endsBlock)
            continue; // a table's flag is lowered once, after the table
        for (FlagFn flag : step.item->clears)
            lowered[&flag(model, step.ref)].push_back(where);
    }
    for (const auto& [flag, items] : lowered)
        EXPECT_EQ(items.size(), 1u) << "one flag lowered by " << items.front() << " and "
                                    << items.back();
    for (const Flag* flag : choosing)
        EXPECT_TRUE(lowered.count(flag)) << "a flag that chooses an item is never lowered";
    // The reference voltage has element 9 of the meters' flags.
    EXPECT_TRUE(lowered.count(&model.MeterChanged(9)));
    EXPECT_EQ(lowered[&model.MeterChanged(9)], (std::vector<std::string>{"Vref(1,0)"}));
    EXPECT_EQ(lowered[&model.MeterAlarmChanged(5)],
              (std::vector<std::string>{"MeterAlarmEnable(1,5)"}));
    EXPECT_EQ(lowered[&model.CTSeg3Changed(2, 7)], (std::vector<std::string>{"CTSeg3(2,7)"}));
}

TEST(CommandOrder, ChoosingByFlags)
{
    ConfigModel model;
    auto chosen = [&](const char* sender, ItemRef ref) {
        return IsChosen(*ItemBySender(sender), model, ref);
    };
    // A flag chooses when it is true (-1) exactly ...
    model.HangTimeChanged(2) = 1;
    EXPECT_FALSE(chosen("SendHangTime", {2, 2}));
    model.HangTimeChanged(2) = kTrue;
    EXPECT_TRUE(chosen("SendHangTime", {2, 2}));
    EXPECT_FALSE(chosen("SendHangTime", {3, 3}));
    // ... but either tone of the CW pair, or either receiver macro, when it is not 0.
    model.CWTone2Changed(1) = 1;
    EXPECT_TRUE(chosen("SendCWTones", {1, 1}));
    model.RcvMacroInactiveChanged(3) = kTrue;
    EXPECT_TRUE(chosen("SendReceiverMacros", {3, 3}));
    // The meter alarm row is chosen by the alarm's flag but leaves it to the enable row.
    model.MeterAlarmChanged(4) = kTrue;
    const Item& alarm = *ItemBySender("SendMeterAlarm");
    EXPECT_TRUE(IsChosen(alarm, model, {1, 4}));
    ClearFlags(alarm, model, {1, 4});
    EXPECT_EQ(model.MeterAlarmChanged(4), kTrue);
    ClearFlags(*ItemBySender("SendMeterAlarmEnable"), model, {1, 4});
    EXPECT_EQ(model.MeterAlarmChanged(4), kFalse);
    // Both flags of the CW pair are lowered together.
    model.CWTone1Changed(1) = kTrue;
    ClearFlags(*ItemBySender("SendCWTones"), model, {1, 1});
    EXPECT_EQ(model.CWTone1Changed(1), kFalse);
    EXPECT_EQ(model.CWTone2Changed(1), kFalse);
}

TEST(CommandOrder, AccessCodesNameTheirSettingsAndModelFields)
{
    ConfigModel model;
    std::vector<std::string> keys;
    for (const Step& step : UploadOrder(model)) {
        const AccessCode* code = step.item->access;
        if (!code)
            continue;
        EXPECT_EQ(step.group->scope, Scope::CompleteOnly);
        keys.push_back(code->currentKey(step.ref) + " " + code->newKey(step.ref));
        code->next(model, step.ref) = "N" + keys.back();
        code->current(model, step.ref) = "C" + keys.back();
    }
    EXPECT_EQ(keys, (std::vector<std::string>{
                        "Terminator NewTerminator", "CurrentPortUnlock(1) NewPortUnlock(1)",
                        "CurrentPortUnlock(2) NewPortUnlock(2)",
                        "CurrentPortUnlock(3) NewPortUnlock(3)", "Lock NewLock"}));
    EXPECT_EQ(model.NewTerminator, "NTerminator NewTerminator");
    EXPECT_EQ(model.CurrentPortUnlock(2), "CCurrentPortUnlock(2) NewPortUnlock(2)");
    EXPECT_EQ(model.NewPortUnlock(3), "NCurrentPortUnlock(3) NewPortUnlock(3)");
    EXPECT_EQ(model.Lock, "CLock NewLock");
}

// The keys a serial command should sound like on the radio link: every character that is a
// key as itself (capitals), any other in brackets, and the terminator.
std::string ExpectedKeys(std::string_view command, const std::string& terminator)
{
    std::string keys;
    for (char ch : command) {
        const char up = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        if (DTMFTonePairOf(std::string(1, up)))
            keys += up;
        else
            keys += "(" + std::string(1, ch) + ")";
    }
    return keys + terminator;
}

TEST(CommandOrder, SerialLinesAndRadioCommandsAgree)
{
    for (const bool hasRTC : {true, false}) {
        const ConfigModel model = test::ReferenceModel(hasRTC);
        for (const Step& step : UploadOrder(model)) {
            const Item& item = *step.item;
            const auto lines = SerialLines(item, model, step.ref);
            const auto tones = ToneCommands(item, model, step.ref);
            for (const SerialLine& line : lines) {
                ASSERT_GE(line.text.size(), 2u) << item.name;
                const char port = item.prefix == Prefix::Port
                                      ? static_cast<char>('0' + step.ref.port)
                                      : '1';
                EXPECT_EQ(line.text.front(), port) << line.text;
                EXPECT_EQ(line.text.find_first_of(" \r\n"), std::string::npos) << line.text;
                EXPECT_TRUE(line.text.ends_with(line.reported)) << line.text;
            }
            for (const ToneCommand& tone : tones)
                EXPECT_EQ(tone.back(), model.Terminator) << item.name;
            if (item.tone != ToneForm::Serial)
                continue;
            ASSERT_EQ(tones.size(), lines.size()) << item.name;
            for (std::size_t i = 0; i < lines.size(); ++i)
                EXPECT_EQ(HeardKeys(tones[i]),
                          ExpectedKeys(std::string_view(lines[i].text).substr(1), "D"))
                    << lines[i].text;
        }
    }
}

} // namespace
} // namespace vm880
