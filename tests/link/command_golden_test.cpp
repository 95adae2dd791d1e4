// What a complete upload puts on each link for a fully set configuration, compared with
// transcripts that were checked by hand: every serial line with the text its reply wait
// reports, and every radio-link command as the keys a listener hears, with the port each
// group unlocks and where the lock falls. Regenerate with VM880_UPDATE_GOLDEN=1 only after
// checking the difference.

#include "link/command_catalogue.h"

#include "command_reference_model.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vm880 {
namespace {

std::string Label(const Step& step)
{
    std::string label(step.item->name);
    switch (step.block->over) {
    case Over::Once: break;
    case Over::EachPort: label += "(" + std::to_string(step.ref.port) + ")"; break;
    case Over::EachIndex: label += "(" + std::to_string(step.ref.index) + ")"; break;
    case Over::EachPortAndTone:
        label += "(" + std::to_string(step.ref.port) + "," + std::to_string(step.ref.index) + ")";
        break;
    }
    return label;
}

std::string GroupHeader(const Group& group)
{
    return "[" + std::to_string(group.number) + " " + std::string(group.title) + "]\n";
}

std::string SerialTranscript(const ConfigModel& model)
{
    std::ostringstream out;
    const Group* group = nullptr;
    for (const Step& step : UploadOrder(model)) {
        if (step.group != group) {
            group = step.group;
            out << GroupHeader(*group);
        }
        const auto lines = SerialLines(*step.item, model, step.ref);
        if (lines.empty())
            out << Label(step) << "\t(not sent)\n";
        for (const SerialLine& line : lines)
            out << Label(step) << "\t" << line.text << "\t" << line.reported << "\n";
    }
    return out.str();
}

std::string ToneTranscript(const ConfigModel& model)
{
    std::ostringstream out;
    const Group* group = nullptr;
    for (const Step& step : UploadOrder(model)) {
        if (step.group != group) {
            group = step.group;
            out << GroupHeader(*group);
        }
        out << Label(step) << "\tport " << step.ref.port << "\t";
        if (step.item->tone == ToneForm::None) {
            out << "(serial only)";
        } else {
            const auto commands = ToneCommands(*step.item, model, step.ref);
            if (commands.empty())
                out << "(not sent)";
            for (std::size_t i = 0; i < commands.size(); ++i)
                out << (i ? " " : "") << HeardKeys(commands[i]);
        }
        out << "\n";
        if (step.group->framing == Framing::EachItemFramed)
            out << "\tits own unlock of port " << step.ref.port << " before, lock after\n";
        if (step.end == FrameEnd::Lock)
            out << "\tlock\n";
        else if (step.end == FrameEnd::ForgetUnlock)
            out << "\tunlock forgotten, no lock\n";
    }
    return out.str();
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void CompareWithGolden(const std::string& text, const std::string& name)
{
    const std::string path = std::string(VM880_TEST_DATA_DIR) + "/" + name;
    if (std::getenv("VM880_UPDATE_GOLDEN"))
        std::ofstream(path, std::ios::binary) << text;
    const std::string golden = ReadFile(path);
    ASSERT_FALSE(golden.empty()) << path;
    // Line by line, so a failure names the first row that differs.
    std::istringstream want(golden), got(text);
    std::string wantLine, gotLine;
    int row = 0;
    while (true) {
        const bool moreWant = static_cast<bool>(std::getline(want, wantLine));
        const bool moreGot = static_cast<bool>(std::getline(got, gotLine));
        ++row;
        if (!moreWant && !moreGot)
            break;
        ASSERT_EQ(gotLine, wantLine) << name << " row " << row
                                     << ": regenerate only after checking the difference";
    }
}

TEST(CommandGolden, SerialLinesWithClock)
{
    CompareWithGolden(SerialTranscript(test::ReferenceModel(true)), "upload_serial_rtc.txt");
}

TEST(CommandGolden, SerialLinesWithoutClock)
{
    CompareWithGolden(SerialTranscript(test::ReferenceModel(false)), "upload_serial_no_rtc.txt");
}

TEST(CommandGolden, RadioKeysWithClock)
{
    CompareWithGolden(ToneTranscript(test::ReferenceModel(true)), "upload_tones_rtc.txt");
}

TEST(CommandGolden, RadioKeysWithoutClock)
{
    CompareWithGolden(ToneTranscript(test::ReferenceModel(false)), "upload_tones_no_rtc.txt");
}

} // namespace
} // namespace vm880
