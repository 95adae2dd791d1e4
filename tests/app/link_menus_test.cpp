// The "Configure Zel" menu: the port choices with their ticks and the pauses of both links,
// each written to zel.ini at once.

#include "main_window_fixture.h"

#include "app/link_menus.h"

namespace vm880::test {
namespace {

class LinkMenusTest : public MainWindowTest {
protected:
    void SetUp() override { Start(); }

    std::vector<int> Ticked(const std::array<QAction*, 8>& items) const
    {
        std::vector<int> ticked;
        for (int i = 1; i <= 8; ++i)
            if (items[static_cast<std::size_t>(i - 1)]->isChecked())
                ticked.push_back(i);
        return ticked;
    }
    std::vector<int> SerialTicks() const { return Ticked(window->menus().com); }
    std::vector<int> KeyingTicks() const { return Ticked(window->menus().dtmfCom); }
    const RecordedPrompt& LastInput() const
    {
        for (auto p = prompts.prompts().rbegin(); p != prompts.prompts().rend(); ++p)
            if (p->kind == RecordedPrompt::Input)
                return *p;
        static const RecordedPrompt none{RecordedPrompt::Input, 0, {}, {}, {}};
        ADD_FAILURE() << "no input box";
        return none;
    }
};

TEST_F(LinkMenusTest, PortChoicesSwitchTheLinkAndItsTicks)
{
    const MainMenus& m = window->menus();
    m.com[2]->trigger();
    EXPECT_EQ(model.ComPort, 3);
    EXPECT_EQ(model.DTMFComPort, 0);
    EXPECT_EQ(SerialTicks(), std::vector<int>{3});
    EXPECT_TRUE(KeyingTicks().empty());
    EXPECT_EQ(Key("ComPort"), "3");
    EXPECT_EQ(Key("DTMFComPort"), "0");
    EXPECT_EQ(port.opened, std::vector<int>{3}); // probed, and closed again
    EXPECT_FALSE(port.open);

    m.dtmfCom[4]->trigger();
    EXPECT_EQ(model.ComPort, 0);
    EXPECT_EQ(model.DTMFComPort, 5);
    EXPECT_TRUE(SerialTicks().empty());
    EXPECT_EQ(KeyingTicks(), std::vector<int>{5});
    EXPECT_EQ(Key("ComPort"), "0");
    EXPECT_EQ(Key("DTMFComPort"), "5");
    EXPECT_EQ(port.opened, (std::vector<int>{3, 5}));

    // Choosing the ticked item again keeps it ticked.
    m.dtmfCom[4]->trigger();
    EXPECT_EQ(KeyingTicks(), std::vector<int>{5});

    m.useDTR->trigger();
    m.com[0]->trigger(); // the cable: the keying line is not in use any more
    EXPECT_EQ(SerialTicks(), std::vector<int>{1});
    EXPECT_TRUE(KeyingTicks().empty());
    EXPECT_FALSE(m.useDTR->isChecked());
    EXPECT_FALSE(m.useRTS->isChecked());
    EXPECT_TRUE(prompts.prompts().empty());
}

TEST_F(LinkMenusTest, KeyingLineChoosesTheRadioLinkWithoutAProbe)
{
    const MainMenus& m = window->menus();
    m.dtmfCom[3]->trigger();
    m.com[1]->trigger();
    ASSERT_EQ(SerialTicks(), std::vector<int>{2});
    port.opened.clear();

    m.useRTS->trigger();
    EXPECT_EQ(model.WhichSend, 2);
    EXPECT_EQ(model.ComPort, 0);
    EXPECT_EQ(model.DTMFComPort, 0); // unchanged by the line choice
    EXPECT_TRUE(SerialTicks().empty());
    EXPECT_TRUE(m.useRTS->isChecked());
    EXPECT_FALSE(m.useDTR->isChecked());
    EXPECT_EQ(Key("WhichSend"), "2");
    EXPECT_EQ(Key("ComPort"), "0");
    EXPECT_EQ(Key("DTMFComPort"), "0");
    EXPECT_TRUE(port.opened.empty());

    m.useDTR->trigger();
    EXPECT_EQ(model.WhichSend, 1);
    EXPECT_TRUE(m.useDTR->isChecked());
    EXPECT_FALSE(m.useRTS->isChecked());
    EXPECT_EQ(Key("WhichSend"), "1");
}

TEST_F(LinkMenusTest, AMissingPortIsReportedAndTheChoiceStands)
{
    port.missing = {4};
    prompts.Answer(Answer::Ok, "Com Port");
    window->menus().dtmfCom[3]->trigger();
    ASSERT_EQ(prompts.prompts().size(), 1u);
    EXPECT_EQ(prompts.prompts()[0].style, 64);
    EXPECT_EQ(prompts.prompts()[0].text,
              "ComPort 4 does not currently exist on this system.\r\n\r\nThis is normal in Windows if you "
              "are using a USB cable and you do not currently have the cable plugged into the "
              "computer.");
    EXPECT_EQ(model.DTMFComPort, 4);
    EXPECT_EQ(KeyingTicks(), std::vector<int>{4});
    EXPECT_EQ(Key("DTMFComPort"), "4");
    EXPECT_FALSE(port.open);

    // A port the program holds open is not probed.
    port.open = true;
    window->menus().com[3]->trigger();
    EXPECT_EQ(port.opened, std::vector<int>{4});
    EXPECT_EQ(Key("ComPort"), "4");
}

TEST_F(LinkMenusTest, SerialDelayTakesOnlyZeroOrOne)
{
    model.SerialDelay = 1;
    const char* title = "Serial Port Delay";
    prompts.Type("250", title).Answer(Answer::Ok, title);
    prompts.Type("-1", title).Answer(Answer::Ok, title);
    prompts.Type("abc", title).Answer(Answer::Ok, title);
    prompts.Type(" 0 ", title);
    window->menus().serialDelay->trigger();
    EXPECT_EQ(prompts.pending(), 0u);
    const auto& p = prompts.prompts();
    ASSERT_EQ(p.size(), 7u);
    EXPECT_EQ(p[0].text, "Enter the delay time in milliseconds (1ms max)");
    EXPECT_EQ(p[0].defaultText, "1");
    EXPECT_EQ(p[1].text, "Value may be no greater than 1");
    EXPECT_EQ(p[1].style, 0);
    EXPECT_EQ(p[2].defaultText, "250"); // the last answer comes back
    EXPECT_EQ(p[3].text, "The delay must be a whole number of milliseconds: 0 or 1");
    EXPECT_EQ(p[5].text, "The delay must be a whole number of milliseconds: 0 or 1");
    EXPECT_EQ(model.SerialDelay, 0);
    EXPECT_EQ(Key("SerialDelay"), "0");

    prompts.Type("1", title);
    window->menus().serialDelay->trigger();
    EXPECT_EQ(LastInput().defaultText, "0");
    EXPECT_EQ(model.SerialDelay, 1);
    EXPECT_EQ(Key("SerialDelay"), "1");

    prompts.Type("7", title).Answer(Answer::Ok, title).Type(std::nullopt, title);
    window->menus().serialDelay->trigger();
    EXPECT_EQ(model.SerialDelay, 1); // cancelled: as it was
    EXPECT_EQ(Key("SerialDelay"), "1");
    EXPECT_EQ(model.ComPort, 0);
}

struct ToneDelayCase {
    const char* name;
    QAction* MainMenus::*item;
    const char* key;
    long ConfigModel::*delay;
    std::string& (ZelMain::*text)();
};

void PrintTo(const ToneDelayCase& c, std::ostream* os)
{
    *os << c.name;
}

class ToneDelay : public LinkMenusTest, public ::testing::WithParamInterface<ToneDelayCase> {};

// The delays change the delay only: the link in use stays what the ticks and zel.ini show.
TEST_P(ToneDelay, IsTakenAsTypedAndLeavesTheLinkAlone)
{
    const ToneDelayCase& c = GetParam();
    QAction* item = window->menus().*(c.item);
    window->menus().com[0]->trigger();
    keys.WriteSetting("Main", c.key, "40", Ini());

    prompts.Type("120ms", "DTMF Interdigit Delay");
    item->trigger();
    EXPECT_EQ(LastInput().text, "Enter the delay time in milliseconds");
    EXPECT_EQ(LastInput().defaultText, "40"); // what zel.ini holds
    EXPECT_EQ(model.*(c.delay), 120);
    EXPECT_EQ(Key(c.key), "120ms");
    EXPECT_EQ((*window.*(c.text))(), "120ms");
    EXPECT_EQ(model.ComPort, 1);
    EXPECT_EQ(Key("ComPort"), "1");
    EXPECT_EQ(SerialTicks(), std::vector<int>{1});

    prompts.Type(std::nullopt, "DTMF Interdigit Delay");
    item->trigger();
    EXPECT_EQ(LastInput().defaultText, "120ms");
    EXPECT_EQ(model.*(c.delay), 120);
    EXPECT_EQ(Key(c.key), "120ms");

    prompts.Type("", "DTMF Interdigit Delay");
    item->trigger();
    EXPECT_EQ(model.*(c.delay), 0);
    EXPECT_EQ(Key(c.key), "");
    EXPECT_EQ(prompts.pending(), 0u);

    // A delay the transmitter would sit keyed through for hours is refused until it fits.
    const std::string title = "DTMF Interdigit Delay";
    prompts.Type("99999999", title).Answer(Answer::Ok, title).Type("-5", title).Answer(Answer::Ok, title);
    prompts.Type("10000", title);
    item->trigger();
    EXPECT_EQ(prompts.pending(), 0u);
    EXPECT_EQ(prompts.prompts()[prompts.prompts().size() - 4].text,
              "The delay must be 0 to 10000 milliseconds");
    EXPECT_EQ(LastInput().defaultText, "-5"); // asked again with the last answer
    EXPECT_EQ(model.*(c.delay), 10000);
    EXPECT_EQ(Key(c.key), "10000");
}

INSTANTIATE_TEST_SUITE_P(
    Delays, ToneDelay,
    ::testing::Values(
        ToneDelayCase{"Interdigit", &MainMenus::dtmfDelay, "DTMFDelay", &ConfigModel::DTMFToneDelay,
                      &ZelMain::dtmfDelayText},
        ToneDelayCase{"KeyUp", &MainMenus::txDelay, "TxTemp", &ConfigModel::TxTemp, &ZelMain::txTempText}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LinkMenusTest, TheNextStartRestoresTheChoices)
{
    const MainMenus& m = window->menus();
    m.dtmfCom[6]->trigger();
    m.useRTS->trigger();
    prompts.Type("1", "Serial Port Delay").Type("75", "DTMF Interdigit Delay").Type("300", "DTMF Interdigit Delay");
    m.serialDelay->trigger();
    m.dtmfDelay->trigger();
    m.txDelay->trigger();
    window->menus().fileExit->trigger();

    ConfigModel restarted;
    ScriptedPrompts quiet;
    KeyAccess k(quiet);
    FakeEditorServices fakes2{quiet};
    AppContext context{restarted, quiet, k, home.path().string()};
    context.links = &fakes2;
    context.busy = &fakes2.busy;
    context.player = &fakes2.player;
    context.clock = &fakes2.clock;
    context.dialogs = &fakes2.dialogs;
    ZelMain again(std::move(context));
    again.Load();
    EXPECT_EQ(restarted.ComPort, 0);
    EXPECT_EQ(restarted.DTMFComPort, 7);
    EXPECT_EQ(restarted.WhichSend, 2);
    EXPECT_EQ(restarted.SerialDelay, 1);
    EXPECT_EQ(restarted.DTMFToneDelay, 75);
    EXPECT_EQ(restarted.TxTemp, 300);
    EXPECT_TRUE(again.menus().dtmfCom[6]->isChecked());
}

} // namespace
} // namespace vm880::test
