#include "model/config_model.h"

#include <gtest/gtest.h>

using namespace vm880;

TEST(ConfigModel, ArraysAreOneBasedAndChecked)
{
    ConfigModel m;
    m.HangTime(1) = "a";
    m.HangTime(3) = "c";
    EXPECT_EQ(m.HangTime(1), "a");
    EXPECT_EQ(m.HangTime(3), "c");
    EXPECT_THROW(m.HangTime(0), std::out_of_range);
    EXPECT_THROW(m.HangTime(4), std::out_of_range);
    m.Tone8(3, 10) = "x";
    EXPECT_EQ(m.Tone8(3, 10), "x");
    EXPECT_THROW(m.Tone8(3, 11), std::out_of_range);
    EXPECT_EQ(m.MeterChanged.size(), 9); // element 9 belongs to Vref
}

TEST(ConfigModel, ClearAllDataEmptiesSettingsAndResetsFileState)
{
    ConfigModel m;
    m.HasRTC = kTrue;
    m.HangTime(2) = "50";
    m.HangTimeChanged(2) = kTrue;
    m.FreqString(40) = "146520";
    m.MessageMacro(70) = "HELLO";
    m.DTMF(50) = "1 2 3";
    m.P2MessageNum(1) = "5";
    m.MessageNumChanged(2) = kTrue;
    m.Delay4(3, 10) = "9";
    m.CTSeg4Changed(3, 10) = kTrue;
    m.FirmwareVersion = "60x";
    m.giTimersUnapplied = 3;
    m.giPortSwitchesUnapplied = 0;
    m.DatFileLoaded = kTrue;
    m.DatFileSaved = kFalse;
    m.DTMFMuteSelectChanged = kTrue;
    m.Vref = "5";
    m.AllowTerminatorSpeech = "1";

    m.ClearAllData();

    EXPECT_EQ(m.HangTime(2), "");
    EXPECT_EQ(m.HangTimeChanged(2), kFalse);
    EXPECT_EQ(m.FreqString(40), "");
    EXPECT_EQ(m.MessageMacro(70), "");
    EXPECT_EQ(m.DTMF(50), "");
    EXPECT_EQ(m.P2MessageNum(1), "");
    EXPECT_EQ(m.MessageNumChanged(2), kFalse);
    EXPECT_EQ(m.Delay4(3, 10), "");
    EXPECT_EQ(m.CTSeg4Changed(3, 10), kFalse);
    EXPECT_EQ(m.FirmwareVersion, "");
    EXPECT_EQ(m.giTimersUnapplied, -1);
    EXPECT_EQ(m.giPortSwitchesUnapplied, -1);
    EXPECT_EQ(m.DatFileLoaded, kFalse);
    EXPECT_EQ(m.DatFileSaved, kTrue);
    EXPECT_EQ(m.DTMFMuteSelectChanged, kFalse);
    EXPECT_EQ(m.Vref, "");
    EXPECT_EQ(m.AllowTerminatorSpeech, "");
    EXPECT_EQ(m.HasRTC, kTrue);
}

TEST(ConfigModel, ClearAllDataKeepsWhatAReloadMustNotLose)
{
    ConfigModel m;
    m.TOTReset(1) = "2";
    m.TOTResetChanged(1) = kTrue;
    m.DVRSeconds(64) = "12";
    m.DVRWrite = kTrue;
    m.IDStartSelect = "1";
    m.IDStartSelectChanged = kTrue;
    m.DTMFTestPrefixChanged = kTrue;
    m.PreAccessPrefixChanged = kTrue;
    m.PreProgramPrefixChanged = kTrue;
    m.MacroSubsetRangeChanged = kTrue;
    m.MacroSubsetEnableChanged = kTrue;
    m.TimersChanged = kTrue;
    m.SpecialCodesChanged = kTrue;
    m.DatFilePath = "/x/y.dat";
    m.LoadFromDownload = kTrue;
    m.LockEqualsTerminator = kTrue;
    m.ComPort = 3;
    m.transfer.UploadError = kTrue;

    m.ClearAllData();

    EXPECT_EQ(m.TOTReset(1), "2");
    EXPECT_EQ(m.TOTResetChanged(1), kFalse);
    EXPECT_EQ(m.DVRSeconds(64), "12");
    EXPECT_EQ(m.DVRWrite, kTrue);
    EXPECT_EQ(m.IDStartSelect, "1");
    EXPECT_EQ(m.IDStartSelectChanged, kTrue);
    EXPECT_EQ(m.DTMFTestPrefixChanged, kTrue);
    EXPECT_EQ(m.PreAccessPrefixChanged, kTrue);
    EXPECT_EQ(m.PreProgramPrefixChanged, kTrue);
    EXPECT_EQ(m.MacroSubsetRangeChanged, kTrue);
    EXPECT_EQ(m.MacroSubsetEnableChanged, kTrue);
    EXPECT_EQ(m.TimersChanged, kTrue);
    EXPECT_EQ(m.SpecialCodesChanged, kTrue);
    EXPECT_EQ(m.DatFilePath, "/x/y.dat");
    EXPECT_EQ(m.LoadFromDownload, kTrue);
    EXPECT_EQ(m.LockEqualsTerminator, kTrue);
    EXPECT_EQ(m.ComPort, 3);
    EXPECT_EQ(m.transfer.UploadError, kTrue);
}

TEST(ConfigModel, TableSizesFollowHasRTCExactlyTrue)
{
    ConfigModel m;
    m.HasRTC = kFalse;
    EXPECT_EQ(m.RemoteBaseMemoryCount(), 10);
    EXPECT_EQ(m.MessageMacroCount(), 40);
    EXPECT_EQ(m.DTMFMemoryCount(), 20);
    m.HasRTC = 1; // non-zero but not true: still the small tables
    EXPECT_EQ(m.RemoteBaseMemoryCount(), 10);
    m.HasRTC = kTrue;
    EXPECT_EQ(m.RemoteBaseMemoryCount(), 40);
    EXPECT_EQ(m.MessageMacroCount(), 70);
    EXPECT_EQ(m.DTMFMemoryCount(), 50);
}
