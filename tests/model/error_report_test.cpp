#include "model/error_report.h"
#include "scripted_prompts.h"

#include <gtest/gtest.h>

using namespace vm880;

TEST(ErrorReport, TextLayout)
{
    EXPECT_EQ(SystemErrorText(75, "Path/File access error", "Declarations", "FileLoad",
                              "Determine RTC", "extra"),
              "Error Number = 75\r\nError = Path/File access error\r\n"
              "Location = Declarations: FileLoad: Determine RTC\r\n\r\nextra\r\n\r\n"
              "Please save this information for support assistance");
    // No step label: no trailing ": "; no extra text: three empty lines.
    EXPECT_EQ(SystemErrorText(5, "x", "ZelMain", "MDIForm_Load", "", ""),
              "Error Number = 5\r\nError = x\r\nLocation = ZelMain: MDIForm_Load\r\n\r\n\r\n\r\n"
              "Please save this information for support assistance");
}

TEST(ErrorReport, ShowsCriticalBoxWithTheFailuresNumber)
{
    test::ScriptedPrompts prompts;
    prompts.Answer(Answer::Ok, kSystemErrorTitle).Answer(Answer::Ok).Answer(Answer::Ok);
    ReportSystemError(prompts, SystemError(61, "Disk full"), "M", "P", "", "");
    ReportSystemError(prompts, std::out_of_range("index"), "M", "P", "", "");
    ReportSystemError(prompts, std::runtime_error("boom"), "M", "P", "", "");
    ASSERT_EQ(prompts.prompts().size(), 3u);
    EXPECT_EQ(prompts.prompts()[0].style, style::Critical);
    EXPECT_NE(prompts.prompts()[0].text.find("Error Number = 61\r\nError = Disk full"), std::string::npos);
    EXPECT_NE(prompts.prompts()[1].text.find("Error Number = 9\r\n"), std::string::npos);
    EXPECT_NE(prompts.prompts()[2].text.find("Error Number = 51\r\n"), std::string::npos);
}
