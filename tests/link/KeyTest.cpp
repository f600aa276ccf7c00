#include "CancellingProgress.h"
#include "link/KeyPacket.h"
#include "link/KeySender.h"
#include "link/KeyTable.h"
#include "LinkRig.h"
#include "sim/VirtualCalculator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// When each byte of the exchange moved, on the rig's clock.
class CByteTimes final : public ILinkProgress {
public:
    explicit CByteTimes(CFakeClock& clock) : m_clock(clock) {}
    void ExchangeStarted(int, const std::string&, uint64_t) override {}
    void BytesMoved(uint64_t) override { times.push_back(m_clock.Peek()); }
    bool IsCancelRequested() override { return false; }
    void ExchangeEnded() override {}
    std::vector<uint64_t> times;

private:
    CFakeClock& m_clock;
};

struct KeyRig {
    KeyRig() { sender.SetClock(rig.clock, [this](uint64_t ms) { rig.clock.Advance(ms), slept += ms; }); }
    CVirtualCalculator calc;
    CLinkRig rig{&calc};
    CKeySender sender{rig.link};
    uint64_t slept = 0;
};

} // namespace

TEST(KeyNames, CombinationsAliasesAndRefusals)
{
    // The calculator's own names are the modifier combinations they stand for.
    EXPECT_EQ(ParseKeyName("HOME"), ParseKeyName("DIAMOND+Q"));
    EXPECT_EQ(ParseKeyName("QUIT"), ParseKeyName("2ND+ESC"));
    EXPECT_EQ(ParseKeyName("HOME"), std::optional<uint16_t>(8273));
    EXPECT_EQ(ParseKeyName("2ND+DIAMOND+F1"), std::optional<uint16_t>(KEY_F1 + 4096 + 8192));
    EXPECT_EQ(ParseKeyName("SHIFT+UP"), std::optional<uint16_t>(KEY_UP + 16384));
    // A letter alone types its small letter, with shift its capital.
    EXPECT_EQ(ParseKeyName("Q"), std::optional<uint16_t>('q'));
    EXPECT_EQ(ParseKeyName("SHIFT+Q"), std::optional<uint16_t>('Q'));
    EXPECT_EQ(ParseKeyName("SHIFT++"), std::optional<uint16_t>('+' + 16384));
    for (const char* refused : {"HOMEE", "enter", "2ND", "2ND+", "SHIFT+SHIFT+UP", "DIAMOND+HOME", "F9", ""})
        EXPECT_FALSE(ParseKeyName(refused)) << refused;

    // What looks like a key name is refused when unknown, not typed.
    for (const char* name : {"HOMEE", "F9", "X2", "2ND+Z"})
        EXPECT_TRUE(LooksLikeKeyName(name)) << name;
    for (const char* text : {"2+3", "x", "X", "main\\prog(1,2)", "Hello"})
        EXPECT_FALSE(LooksLikeKeyName(text)) << text;
}

TEST(KeyNames, EveryKeyAndCombinationIsNamedAsItParses)
{
    // The names shown in the remote window's queue read back as the same key.
    for (const CalcKey& key : GetCalcKeys()) {
        if (key.modifier != 0)
            continue;
        for (int modifiers : {0, 4096, 8192, 16384, 4096 | 16384}) {
            const uint16_t code = key.CodeWith(static_cast<uint16_t>(modifiers));
            const std::string name = KeyCodeName(code);
            const bool character = name.size() == 1;
            const std::optional<uint16_t> parsed =
                character ? std::optional<uint16_t>(KeyCodeForCharacter(static_cast<unsigned char>(name[0])))
                          : ParseKeyName(name);
            EXPECT_EQ(parsed, std::optional<uint16_t>(code)) << key.name << " + " << modifiers << " named " << name;
        }
    }
}

TEST(KeyLayout, KeysLieApartOnTheFaceAndAreFoundWhereDrawn)
{
    const auto keys = GetCalcKeys();
    const FaceRect screen = SCREEN_FACE_RECT;
    for (size_t i = 0; i < keys.size(); ++i) {
        const CalcKey& a = keys[i];
        EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.x + a.width <= FACE_WIDTH && a.y + a.height <= FACE_HEIGHT) << a.name;
        const bool overScreen = a.x < screen.x + screen.width && screen.x < a.x + a.width &&
                                a.y < screen.y + screen.height && screen.y < a.y + a.height;
        EXPECT_FALSE(overScreen) << a.name;
        for (size_t j = i + 1; j < keys.size(); ++j) {
            const CalcKey& b = keys[j];
            const bool overlap = a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
            EXPECT_FALSE(overlap) << a.name << " and " << b.name;
        }
        EXPECT_EQ(FindKeyAt(a.x + a.width / 2, a.y + a.height / 2), &a) << a.name;
    }
    EXPECT_EQ(FindKeyAt(screen.x + 10, screen.y + 10), nullptr);
}

TEST(KeyText, TypesPrintableAsciiAndTheCalculatorsSignsOnly)
{
    std::vector<uint16_t> codes;
    std::string refused;
    ASSERT_TRUE(KeyCodesForText("x\xCE\xB8\xE2\x86\x92" "2*\xC3\xB7", codes, refused)); // xθ→2*÷
    EXPECT_EQ(codes, (std::vector<uint16_t>{'x', 136, KEY_STO, '2', '*', '/'}));
    for (const std::string& text : {std::string("caf\xC3\xA9"), std::string("a\nb"), std::string("\xFF")}) {
        codes.clear();
        EXPECT_FALSE(KeyCodesForText(text, codes, refused)) << text;
        EXPECT_TRUE(codes.empty()) << "nothing is typed of a text that cannot be typed whole";
    }
}

TEST(KeySender, KeysReachTheCalculatorAPauseApartAndAsOneExchange)
{
    KeyRig k;
    CByteTimes times(k.rig.clock);
    k.rig.link.SetProgress(&times);
    EXPECT_EQ(MakeKeyPacket(KEY_HOME), (std::array<uint8_t, 5>{4, 0x09, 0x87, 0x51, 0x20}));

    ASSERT_TRUE(k.sender.Press({'2', '+', '3', KEY_ENTER}, 0));
    ASSERT_EQ(k.calc.Home().GetHistory().size(), 1u);
    EXPECT_EQ(k.calc.Home().GetHistory()[0], (std::pair<std::string, std::string>{"2+3", "5"}));
    EXPECT_EQ(k.calc.GetErrorsAnswered(), 0u);

    // Each key is its packet and the acknowledgement; the next key's first
    // byte waits for the pause after the last acknowledgement.
    ASSERT_EQ(times.times.size(), 4u * 8);
    for (size_t key = 1; key < 4; ++key)
        EXPECT_GE(times.times[key * 8] - times.times[key * 8 - 1], CKeySender::KEY_GAP_MS) << key;
    EXPECT_GT(k.slept, 0u);

    // The pause also holds from one sequence to the next.
    times.times.clear();
    ASSERT_TRUE(k.sender.Press({KEY_CLEAR}, 0));
    EXPECT_GE(k.slept, 3 * CKeySender::KEY_GAP_MS);
}

TEST(KeySender, StopsAtAKeyNotAcknowledgedOrCancelled)
{
    {
        KeyRig k;
        // Silent after the first key and its acknowledgement.
        k.calc.FallSilentAfterBytes(8);
        EXPECT_FALSE(k.sender.Press({'1', '2', '3'}, 0));
        EXPECT_EQ(k.sender.GetFailedKey(), '2');
        EXPECT_EQ(k.calc.Home().GetEntry(), "1");
    }
    {
        KeyRig k;
        CCancellingProgress cancel(8);
        k.rig.link.SetProgress(&cancel);
        EXPECT_FALSE(k.sender.Press({'1', '2', '3'}, 0));
        EXPECT_TRUE(k.rig.link.WasCancelled());
        EXPECT_EQ(k.sender.GetFailedKey(), '2');
        EXPECT_EQ(k.calc.Home().GetEntry(), "1") << "nothing after the cancel reached the calculator";
    }
}
