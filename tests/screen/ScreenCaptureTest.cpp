#include "link/Packets.h"
#include "LinkRig.h"
#include "screen/ScreenCapture.h"
#include "sim/CalcLinkEnd.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using Screen = std::array<uint8_t, SCREEN_BYTES>;

const std::vector<uint8_t> CALC_ACK = {0x89, 0x56, 0x00, 0x00};

// The calculator's answer: its acknowledgement, then one packet, normally
// of data.
std::vector<uint8_t> ScreenAnswer(const std::vector<uint8_t>& data, uint16_t length, uint16_t checksum,
                                  uint8_t command = CMD_DATA)
{
    std::vector<uint8_t> bytes = CALC_ACK;
    bytes.insert(bytes.end(), {0x89, command});
    AppendLittleEndian16(bytes, length);
    bytes.insert(bytes.end(), data.begin(), data.end());
    AppendLittleEndian16(bytes, checksum);
    return bytes;
}

std::vector<uint8_t> ScreenAnswer(const std::vector<uint8_t>& data)
{
    return ScreenAnswer(data, static_cast<uint16_t>(data.size()), MakeChecksum(data.data(), data.size()));
}

std::vector<uint8_t> Pattern(size_t count, uint8_t seed)
{
    std::vector<uint8_t> data(count);
    for (size_t i = 0; i < count; ++i)
        data[i] = static_cast<uint8_t>(i * 7 + seed);
    return data;
}

Screen Filled(uint8_t value)
{
    Screen screen;
    screen.fill(value);
    return screen;
}

constexpr uint64_t REQUEST_BITS = 4 * 8;

// A calculator end that answers once the PC's four request bytes are in.
// It waits a few port accesses first, so that the PC has seen the last bit's
// acknowledgement end before the answer's first bit pulls a line.
class CAnsweringCalc final : public CCalcLinkEnd {
public:
    void Answer(const std::vector<uint8_t>& bytes) { m_answer = bytes; }
    const std::vector<uint8_t>& Heard() const { return m_heard; }

    void Step(CSimulatedCable& cable) override
    {
        if (m_nDelay > 0 && --m_nDelay == 0)
            QueueBytes(m_answer);
        CCalcLinkEnd::Step(cable);
    }

protected:
    void OnByteReceived(uint8_t value) override
    {
        m_heard.push_back(value);
        if (m_heard.size() == 4)
            m_nDelay = 3;
    }

private:
    std::vector<uint8_t> m_answer;
    std::vector<uint8_t> m_heard;
    int m_nDelay = 0;
};

} // namespace

TEST(ScreenCapture, FullScreenIsStoredComplementedAfterTheRequest)
{
    CAnsweringCalc calc;
    CLinkRig rig(&calc);
    std::vector<uint8_t> data = Pattern(SCREEN_BYTES, 3);
    data[0] = 0x00;
    data[1] = 0xFF;
    calc.Answer(ScreenAnswer(data));

    Screen screen = Filled(0x5A);
    ASSERT_TRUE(ReceiveScreen(rig.link, screen));

    // The request alone went out: no ready check before, no acknowledgement after.
    EXPECT_EQ(calc.Heard(), (std::vector<uint8_t>{0x09, 0x6D, 0x00, 0x00}));
    EXPECT_FALSE(calc.HasPendingOutput());
    EXPECT_EQ(screen[0], 0xFF);
    EXPECT_EQ(screen[1], 0x00);
    for (size_t i = 0; i < SCREEN_BYTES; ++i)
        ASSERT_EQ(screen[i], static_cast<uint8_t>(~data[i])) << i;
}

TEST(ScreenCapture, AnAcknowledgementDifferingInAnyByteStopsRightAfterIt)
{
    const std::vector<uint8_t> data = Pattern(SCREEN_BYTES, 1);
    for (size_t bad = 0; bad < CALC_ACK.size(); ++bad) {
        for (uint8_t wrong : {uint8_t(CALC_ACK[bad] ^ 0x01), uint8_t{0x5A}}) {
            CAnsweringCalc calc;
            CLinkRig rig(&calc);
            std::vector<uint8_t> answer = ScreenAnswer(data);
            answer[bad] = wrong;
            calc.Answer(answer);

            Screen screen = Filled(0x33);
            EXPECT_FALSE(ReceiveScreen(rig.link, screen)) << bad;
            EXPECT_EQ(calc.GetBitsMoved(), REQUEST_BITS + 8 * (bad + 1)) << "read past byte " << bad;
            EXPECT_EQ(screen, Filled(0x33)) << bad;
        }
    }
}

TEST(ScreenCapture, WhatIsNotTheScreenIsRefusedAndLeavesTheBufferAsItWas)
{
    const std::vector<uint8_t> data = Pattern(SCREEN_BYTES, 2);
    const uint16_t sum = MakeChecksum(data.data(), data.size());
    const std::vector<uint8_t> header(17, 0x41);
    std::vector<uint8_t> extraAck = CALC_ACK;
    const std::vector<uint8_t> screen = ScreenAnswer(data);
    extraAck.insert(extraAck.end(), screen.begin(), screen.end());
    std::vector<uint8_t> flipped = screen;
    flipped[8 + 1234] ^= 0x10;
    struct Case {
        const char* what;
        std::vector<uint8_t> answer;
        bool readToItsEnd = false;
    };
    const Case cases[] = {
        {"an acknowledgement twice", extraAck},
        {"17 bytes of another packet", ScreenAnswer(header, 17, MakeChecksum(header.data(), 17), CMD_VAR)},
        {"a packet without data", ScreenAnswer({}, 0, 0, CMD_EOT)},
        {"noise with a wrong checksum", ScreenAnswer(data, SCREEN_BYTES, static_cast<uint16_t>(sum + 1))},
        {"a bit flipped on the way", flipped},
        // Length and sum agree, but it is not one whole screen; the packet is
        // still read to its end.
        {"no data", ScreenAnswer({}), true},
        {"one byte", ScreenAnswer(Pattern(1, 9)), true},
        {"a byte short", ScreenAnswer(Pattern(SCREEN_BYTES - 1, 9)), true},
        {"a byte over", ScreenAnswer(Pattern(SCREEN_BYTES + 1, 5)), true},
        {"the longest packet", ScreenAnswer(Pattern(65535, 5)), true},
    };
    for (const Case& c : cases) {
        CAnsweringCalc calc;
        CLinkRig rig(&calc);
        calc.Answer(c.answer);
        Screen before = Filled(0x3C);
        EXPECT_FALSE(ReceiveScreen(rig.link, before)) << c.what;
        EXPECT_EQ(before, Filled(0x3C)) << c.what;
        if (c.readToItsEnd) {
            EXPECT_FALSE(calc.HasPendingOutput()) << c.what;
        }
    }
}

TEST(ScreenCapture, ASilentCalculatorFailsAtEveryStageAndKeepsWhatWasStored)
{
    const std::vector<uint8_t> data = Pattern(SCREEN_BYTES, 4);
    struct Case {
        const char* stage;
        uint64_t bytesAnswered;
    };
    const Case cases[] = {
        {"before the acknowledgement", 0},
        {"in the header", 6},
        {"mid-data", 8 + 1000},
        {"in the checksum", 8 + SCREEN_BYTES + 1},
    };
    for (const Case& c : cases) {
        CAnsweringCalc calc;
        CLinkRig rig(&calc);
        calc.Answer(ScreenAnswer(data));
        // Falls silent three bits into the next byte, holding the lines as they are.
        calc.GoSilentAfterBits(REQUEST_BITS + 8 * c.bytesAnswered + 3);

        Screen screen = Filled(0x77);
        EXPECT_FALSE(ReceiveScreen(rig.link, screen)) << c.stage;
        const size_t stored = c.bytesAnswered > 8 ? std::min<size_t>(c.bytesAnswered - 8, SCREEN_BYTES) : 0;
        for (size_t i = 0; i < SCREEN_BYTES; ++i)
            ASSERT_EQ(screen[i], i < stored ? static_cast<uint8_t>(~data[i]) : 0x77) << c.stage << " at " << i;
    }
}

TEST(ScreenCapture, ARequestThatCannotBeSentFails)
{
    CAnsweringCalc calc;
    CLinkRig rig(&calc);
    calc.GoSilentAfterBits(10);

    Screen screen = Filled(0x12);
    EXPECT_FALSE(ReceiveScreen(rig.link, screen));
    EXPECT_EQ(screen, Filled(0x12));
}
