#include "FakePageViews.h"
#include "gui/pages/ConfigLogic.h"
#include "MemorySettingsStore.h"
#include "RecordingMessages.h"
#include "text/StringIds.h"

#include <gtest/gtest.h>

namespace {

using Strings = std::vector<std::string>;

// The configuration page's logic on a settings store in memory, with a
// recording window.
class ConfigLogicTest : public ::testing::Test {
protected:
    CConfigLogic& Build()
    {
        m_logic = std::make_unique<CConfigLogic>(store, messages);
        m_logic->SetView(&view);
        return *m_logic;
    }

    CMemorySettingsStore store;
    CRecordingMessages messages;
    CFakeConfigView view;

private:
    std::unique_ptr<CConfigLogic> m_logic;
};

} // namespace

TEST_F(ConfigLogicTest, FirstRunStoresAndShowsTheDefaults)
{
    CConfigLogic& config = Build();
    EXPECT_EQ(store.saves, 1); // while the page was built
    EXPECT_EQ(std::get<std::string>(store.values.at("Port_LPT")), "0x378");
    config.OnInitDialog();
    EXPECT_EQ(view.ports, (Strings{"0x278", "0x378"}));
    EXPECT_EQ(view.languages, (Strings{"Italiano", "English"}));
    // A longer text would not be read back at the next start.
    EXPECT_EQ(view.portMaxChars, 19u);
    EXPECT_EQ(view.shown, (std::vector<ConfigValues>{{"0x378", 1, "1000"}}));
    EXPECT_EQ(store.saves, 1);
    EXPECT_TRUE(messages.GetShown().empty());
}

TEST_F(ConfigLogicTest, ThePageShowsWhatIsStoredWhenFirstShown)
{
    store.Store("0x378", 1, 1000);
    CConfigLogic& config = Build();
    // Stored after start-up but before the page was first shown; a language
    // the boxes do not offer selects none.
    store.Store("0x3 78", 0, 2500);
    config.OnInitDialog();
    store.Store("0x278", 2, 40);
    config.OnInitDialog();
    EXPECT_EQ(view.shown, (std::vector<ConfigValues>{{"0x3 78", 0, "2500"}, {"0x278", -1, "40"}}));
    EXPECT_EQ(store.saves, 0);
}

TEST_F(ConfigLogicTest, SavingChecksTheTimeOutFirstAndStoresWhatWasTyped)
{
    store.Store("0x378", 1, 1000);
    CConfigLogic& config = Build();
    config.OnInitDialog();
    const std::string range = "Please enter an integer between 1 and 10000.";
    const struct {
        const char* text;
        std::string message;
    } refused[] = {{"0", range}, {"10001", range}, {"", TEXT_ENTER_POSITIVE_INTEGER}, {"ten", TEXT_ENTER_POSITIVE_INTEGER}};
    for (const auto& r : refused) {
        messages.Clear();
        view.typed = {"0x278", 0, r.text};
        config.OnSaveSettings();
        EXPECT_EQ(messages.GetTexts(), Strings{r.message}) << r.text;
    }
    EXPECT_EQ(view.focusTimeout, 4);
    EXPECT_EQ(store.saves, 0);
    EXPECT_EQ(config.m_uTimeout, 1000u);

    messages.Clear();
    for (const auto& [text, timeout] : {std::pair{"1", 1u}, std::pair{"10000", 10000u}}) {
        view.typed = {"0x3BC", 0, text};
        config.OnSaveSettings();
        EXPECT_EQ(std::get<uint32_t>(store.values.at("Timeout")), timeout);
    }
    EXPECT_EQ(std::get<std::string>(store.values.at("Port_LPT")), "0x3BC");
    EXPECT_EQ(std::get<uint32_t>(store.values.at("Language")), 0u);
    EXPECT_EQ(config.GetPortBase(), 0x3BCu);
    EXPECT_EQ(store.saves, 2);
    EXPECT_TRUE(messages.GetShown().empty());
}

TEST_F(ConfigLogicTest, SavingWithoutRightsSaysSo)
{
    store.writable = false;
    CConfigLogic& config = Build(); // no key, and none can be made
    config.OnInitDialog();
    view.typed = {"0x278", 0, "500"};
    config.OnSaveSettings();
    EXPECT_EQ(messages.GetTexts(), Strings(3, TEXT_KEY_CREATION_FAILED));
    EXPECT_EQ(config.m_uTimeout, 500u); // the program runs on with the values on the page
}

TEST_F(ConfigLogicTest, TheCableChoiceShowsItsPortAndIsSavedWithIt)
{
    CConfigLogic& config = Build();
    config.SetSerialPortLister([] { return Strings{"/dev/ttyS0", "/dev/ttyUSB0"}; });
    store.values["Port_Serial"] = std::string("/dev/ttyACM3");
    store.values["Cable"] = uint32_t{1};
    config.OnInitDialog();
    EXPECT_EQ(view.cableNameIds, (std::vector<int>{IDS_CABLE_PARALLEL, IDS_CABLE_BLACK, IDS_CABLE_GRAY, IDS_CABLE_USB}));
    // The stored port is offered even when it is not plugged in now.
    EXPECT_EQ(view.serialPorts, (Strings{"/dev/ttyACM3", "/dev/ttyS0", "/dev/ttyUSB0"}));
    EXPECT_EQ(view.cablesShown.back(), (CableValues{1, "/dev/ttyACM3"}));
    EXPECT_TRUE(view.bSerialPortShown);

    const struct {
        int cable;
        const char* typed;
        bool bSerialShown;
        uint32_t storedCable;
        const char* storedPort;
    } rows[] = {
        {0, "/dev/ttyUSB0", false, 0, "/dev/ttyUSB0"},
        {2, "COM12", true, 2, "COM12"},
        {3, "  ", false, 3, "COM12"}, // an emptied box keeps the port
        {-1, "/dev/ttyS0", false, 3, "/dev/ttyS0"},
    };
    for (const auto& row : rows) {
        view.cableTyped = {row.cable, row.typed};
        config.OnCableChanged();
        EXPECT_EQ(view.bSerialPortShown, row.bSerialShown) << row.cable;
        view.typed = {"0x378", 1, "1000"};
        config.OnSaveSettings();
        EXPECT_EQ(std::get<uint32_t>(store.values.at("Cable")), row.storedCable);
        EXPECT_EQ(std::get<std::string>(store.values.at("Port_Serial")), row.storedPort);
    }
}
