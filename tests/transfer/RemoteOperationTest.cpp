#include "link/KeyTable.h"
#include "link/LinkProgress.h"
#include "LinkRig.h"
#include "link/VarTypes.h"
#include "RecordingMessages.h"
#include "sim/VirtualCalculator.h"
#include "text/StringIds.h"
#include "transfer/RemoteOperation.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Failure = CRemoteOperation::Failure;

// In exchange number `exchange` (from 1), once `bytes` have moved in it,
// does `what` once; cancels from then on when it returned true.
class CAtByte final : public ILinkProgress {
public:
    CAtByte(int exchange, uint64_t bytes, std::function<bool()> what)
        : m_nExchange(exchange), m_nBytes(bytes), m_what(std::move(what))
    {
    }
    void ExchangeStarted(int, const std::string&, uint64_t) override { ++m_nStarted, m_nDone = 0; }
    void BytesMoved(uint64_t done) override { m_nDone = done; }
    bool IsCancelRequested() override
    {
        if (!m_bDone && m_nStarted == m_nExchange && m_nDone >= m_nBytes) {
            m_bDone = true;
            m_bCancel = m_what();
        }
        return m_bCancel;
    }
    void ExchangeEnded() override {}

private:
    int m_nExchange;
    uint64_t m_nBytes;
    std::function<bool()> m_what;
    int m_nStarted = 0;
    uint64_t m_nDone = 0;
    bool m_bDone = false;
    bool m_bCancel = false;
};

// The sample calculator with a program and a function besides, and the
// operation on a link to it, its pauses on the rig's clock.
struct RemoteRig {
    RemoteRig()
    {
        calc.LoadSampleContent();
        calc.AddVariable("main", "hello", VAR_PRG, 0, {0x00, 0xE9});
        calc.AddVariable("algebra", "twice", VAR_FUNC, 0, {0x00, 0xE9});
        operation.SetClock(rig.clock, [this](uint64_t ms) { rig.clock.Advance(ms); });
    }
    // The entries the home screen ran, in order.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> entries;
        for (const auto& [entry, answer] : calc.Home().GetHistory())
            entries.push_back(entry);
        return entries;
    }
    CVirtualCalculator calc;
    CLinkRig rig{&calc};
    CRecordingMessages messages;
    CRemoteOperation operation{rig.link, messages};
};

} // namespace

TEST(RemoteOperation, DeletesAfterAskingAndConfirmsFromTheDirectory)
{
    RemoteRig r;
    r.messages.AnswerYesNo(true);
    ASSERT_TRUE(r.operation.Delete({{"main", "year"}, {"algebra", "poly"}}, false));
    EXPECT_EQ(r.calc.FindVariable("main", "year"), nullptr);
    EXPECT_EQ(r.calc.FindVariable("algebra", "poly"), nullptr);
    EXPECT_NE(r.calc.FindVariable("main", "primes"), nullptr);
    EXPECT_EQ(r.Entries(), (std::vector<std::string>{"delvar main\\year", "delvar algebra\\poly"}));
    EXPECT_EQ(r.messages.GetMessageIds(), (std::vector<int>{IDS_DELETE_CONFIRM, IDS_DELETE_DONE}));
    EXPECT_EQ(r.messages.GetShown()[0].text, "main\\year, algebra\\poly");
    // The page shows the directory as it is now.
    ASSERT_TRUE(r.operation.HasListing());
    EXPECT_EQ(r.operation.GetListing().m_vars.size() + r.operation.GetListing().m_folders.size(),
              r.calc.Memory().CountEntries());
}

TEST(RemoteOperation, SendsNothingForWhatItRefusesOrTheUserDeclines)
{
    struct Row {
        const char* what;
        std::function<bool(CRemoteOperation&)> run;
        Failure failure;
        int message;
    };
    const Row rows[] = {
        {"declined", [](CRemoteOperation& o) { return o.Delete({{"main", "year"}}, false); }, Failure::Declined,
         IDS_DELETE_CONFIRM},
        {"delete missing", [](CRemoteOperation& o) { return o.Delete({{"main", "year"}, {"main", "gone"}}, true); },
         Failure::NotFound, IDS_REMOTE_NOT_ON_CALCULATOR},
        {"delete other case", [](CRemoteOperation& o) { return o.Delete({{"MAIN", "year"}}, true); },
         Failure::NotFound, IDS_REMOTE_NOT_ON_CALCULATOR},
        {"run missing", [](CRemoteOperation& o) { return o.Run({"main", "nothere"}, ""); }, Failure::NotFound,
         IDS_REMOTE_NOT_ON_CALCULATOR},
        {"run a list", [](CRemoteOperation& o) { return o.Run({"main", "primes"}, ""); }, Failure::Refused,
         IDS_RUN_NOT_PROGRAM},
        {"run untypeable", [](CRemoteOperation& o) { return o.Run({"main", "hello"}, "caf\xC3\xA9"); },
         Failure::Refused, IDS_CANNOT_TYPE},
        {"folder exists", [](CRemoteOperation& o) { return o.MakeFolder("Algebra"); }, Failure::NotFound,
         IDS_FOLDER_EXISTS},
        {"folder empty", [](CRemoteOperation& o) { return o.MakeFolder(""); }, Failure::Refused, IDS_NAME_EMPTY},
        {"folder long", [](CRemoteOperation& o) { return o.MakeFolder("ninechars"); }, Failure::Refused,
         IDS_NAME_TOO_LONG},
        {"folder digit", [](CRemoteOperation& o) { return o.MakeFolder("2d"); }, Failure::Refused,
         IDS_NAME_FIRST_CHARACTER},
        {"folder sign", [](CRemoteOperation& o) { return o.MakeFolder("a-b"); }, Failure::Refused,
         IDS_NAME_BAD_CHARACTER},
    };
    for (const Row& row : rows) {
        RemoteRig r;
        const size_t entries = r.calc.Memory().CountEntries();
        EXPECT_FALSE(row.run(r.operation)) << row.what;
        EXPECT_EQ(r.operation.GetFailure(), row.failure) << row.what;
        EXPECT_EQ(r.messages.GetMessageIds().back(), row.message) << row.what;
        EXPECT_FALSE(r.calc.Home().IsInUse()) << row.what << ": no key was sent";
        EXPECT_EQ(r.calc.Memory().CountEntries(), entries) << row.what;
    }
}

TEST(RemoteOperation, RunsAProgramFromTheHomeScreen)
{
    RemoteRig r;
    // Whatever was on the entry line goes.
    ASSERT_TRUE(r.operation.PressKeys({'1', '2', KEY_LEFT}, "1 2 LEFT"));
    ASSERT_TRUE(r.operation.Run({"main", "hello"}, "1,2"));
    EXPECT_EQ(r.Entries(), (std::vector<std::string>{"main\\hello(1,2)"}));
    EXPECT_EQ(r.calc.Home().GetHistory().back().second, "Done");
    ASSERT_TRUE(r.operation.Run({"algebra", "twice"}, ""));
    EXPECT_EQ(r.Entries().back(), "algebra\\twice()");
    EXPECT_EQ(r.messages.GetMessageIds(), (std::vector<int>{IDS_RUN_DONE, IDS_RUN_DONE}));
}

TEST(RemoteOperation, MakesAFolderAndRemovesWhatMadeIt)
{
    RemoteRig r;
    ASSERT_TRUE(r.operation.MakeFolder("Games"));
    EXPECT_TRUE(r.calc.Memory().HasFolder("games"));
    EXPECT_EQ(r.calc.FindVariable("games", CRemoteOperation::FOLDER_MAKER_NAME), nullptr);
    EXPECT_EQ(r.messages.GetMessageIds(), (std::vector<int>{IDS_FOLDER_MADE}));
    EXPECT_EQ(r.calc.GetErrorsAnswered(), 0u);
}

TEST(RemoteOperation, SaysWhichKeyWasNotAcknowledgedOrThatItWasCancelled)
{
    // The first exchange reads the directory, the second presses the keys
    // (ON, ESC, ESC, ESC, QUIT...): after three of them the calculator falls
    // silent, or the user cancels.
    for (const bool cancel : {false, true}) {
        RemoteRig r;
        CAtByte atFourthKey(2, 3 * 8, [&] {
            if (!cancel)
                r.calc.FallSilentAfterBytes(0);
            return cancel;
        });
        r.rig.link.SetProgress(&atFourthKey);
        EXPECT_FALSE(r.operation.Delete({{"main", "year"}}, true));
        EXPECT_EQ(r.operation.GetFailure(), Failure::Link);
        ASSERT_FALSE(r.messages.GetShown().empty());
        EXPECT_EQ(r.messages.GetShown().back().id, cancel ? IDS_EXCHANGE_CANCELLED : IDS_KEY_NOT_ACKNOWLEDGED);
        EXPECT_EQ(r.messages.GetShown().back().text, cancel ? "" : "ESC");
        EXPECT_NE(r.calc.FindVariable("main", "year"), nullptr);
        EXPECT_TRUE(r.Entries().empty()) << "ENTER never came";
    }
}
