#include "link/DirectoryListing.h"
#include "link/VarTypes.h"
#include "LinkRig.h"
#include "sim/VirtualCalculator.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

struct CRowNames final : IFolderRows {
    bool InsertFolderRow(const std::string& name, uint32_t) override
    {
        names.insert(names.begin(), name);
        return true;
    }
    std::vector<std::string> names;
};

// The calculator sends, for entry k (from 1) of a listing, its entry as
// packet 3k + 2 and the closing CONT or EOT as packet 3k + 3.
unsigned EntryPacket(unsigned k) { return 3 * k + 2; }
unsigned ClosingPacket(unsigned k) { return 3 * k + 3; }

} // namespace

TEST(DirectoryWithCalculator, ListsTheSampleCalculator)
{
    CVirtualCalculator calc;
    calc.LoadSampleContent();
    CLinkRig rig(&calc);
    CRowNames rows;
    CDirectoryListing listing(&rows);

    ASSERT_TRUE(listing.ReadDirectory(rig.link));
    EXPECT_TRUE(calc.IsIdle());
    EXPECT_EQ(calc.GetErrorsAnswered(), 0u);

    // Every folder and variable arrives, in the calculator's order.
    size_t entries = 0;
    std::map<std::string, std::vector<std::string>> byFolder;
    for (const VarEntry& v : listing.m_vars)
        byFolder[v.folder].push_back(v.name);
    ASSERT_EQ(listing.m_folders.size(), calc.Memory().GetFolders().size());
    for (size_t f = 0; f < listing.m_folders.size(); ++f) {
        const SimFolder& expected = calc.Memory().GetFolders()[f];
        EXPECT_EQ(listing.m_folders[f].name, expected.name);
        ASSERT_EQ(byFolder[expected.name].size(), expected.variables.size()) << expected.name;
        for (size_t i = 0; i < expected.variables.size(); ++i)
            EXPECT_EQ(byFolder[expected.name][i], expected.variables[i].name);
        entries += 1 + expected.variables.size();
    }
    EXPECT_EQ(entries, calc.Memory().CountEntries());

    // The four-digit folder is listed but has no row; the last one is on top.
    EXPECT_EQ(rows.names, (std::vector<std::string>{"algebra", "main"}));
    const SimVariable* answer = calc.FindVariable("algebra", "answer");
    ASSERT_NE(answer, nullptr);
    for (const VarEntry& v : listing.m_vars) {
        if (v.name == "answer") {
            EXPECT_EQ(v.type, VAR_EXPR);
            EXPECT_EQ(v.attributes, answer->attribute);
            EXPECT_EQ(v.size, answer->contents.size() + 2);
        }
    }
}

TEST(DirectoryWithCalculator, EntryFaultsEndTheListingAndKeepEarlierEntries)
{
    struct Fault {
        const char* what;
        void (*plan)(CCalcFaults&);
    };
    const Fault faults[] = {
        {"bad checksum", [](CCalcFaults& f) { f.CorruptChecksumAt(EntryPacket(3)); }},
        {"17 bytes", [](CCalcFaults& f) { f.ResizeDataAt(EntryPacket(3), 17); }},
        {"300 bytes", [](CCalcFaults& f) { f.ResizeDataAt(EntryPacket(3), 300); }},
        {"65535 bytes", [](CCalcFaults& f) { f.ResizeDataAt(EntryPacket(3), 65535); }},
        {"error instead of entry", [](CCalcFaults& f) { f.AnswerErrorAt(EntryPacket(3)); }},
        {"closing ACK", [](CCalcFaults& f) { f.ReplaceCommandAt(ClosingPacket(3), 0x56); }},
    };
    for (const Fault& fault : faults) {
        CVirtualCalculator calc;
        calc.LoadSampleContent();
        fault.plan(calc.Faults());
        CLinkRig rig(&calc);
        CDirectoryListing listing;

        EXPECT_FALSE(listing.ReadDirectory(rig.link)) << fault.what;
        // main, greeting, and for the closing fault the third entry too.
        const size_t kept = listing.m_folders.size() + listing.m_vars.size();
        EXPECT_EQ(kept, std::string(fault.what) == "closing ACK" ? 3u : 2u) << fault.what;
        EXPECT_EQ(listing.m_folders[0].name, "main");

        // The calculator gets over it: the next listing is whole.
        calc.ClearFaults();
        listing.Clear();
        EXPECT_TRUE(listing.ReadDirectory(rig.link)) << fault.what;
        EXPECT_EQ(listing.m_folders.size() + listing.m_vars.size(), calc.Memory().CountEntries());
    }
}

TEST(DirectoryWithCalculator, SilenceAtAnyByteFailsTheListing)
{
    const auto makeCalc = [](CVirtualCalculator& calc) {
        ASSERT_TRUE(calc.AddVariable("main", "x", VAR_EXPR, 0, {0x05, 0x01, 0x1F}));
    };
    CVirtualCalculator whole;
    makeCalc(whole);
    CLinkRig wholeRig(&whole);
    CDirectoryListing wholeListing;
    ASSERT_TRUE(wholeListing.ReadDirectory(wholeRig.link));
    const uint64_t totalBytes = whole.GetBitsMoved() / 8;
    ASSERT_GT(totalBytes, 60u);

    // Silent before a byte, or three bits into it, wherever it falls.
    for (uint64_t bytes = 0; bytes < totalBytes; ++bytes) {
        for (unsigned extraBits : {0u, 3u}) {
            CVirtualCalculator calc;
            makeCalc(calc);
            calc.FallSilentAfterBytes(bytes, extraBits);
            CLinkRig rig(&calc);
            CDirectoryListing listing;
            EXPECT_FALSE(listing.ReadDirectory(rig.link)) << bytes << "+" << extraBits;
        }
    }
}

TEST(DirectoryWithCalculator, AThousandEntryListing)
{
    CVirtualCalculator calc;
    for (int i = 0; i < 999; ++i) {
        std::string name = "v";
        name += std::to_string(i);
        ASSERT_TRUE(calc.AddVariable("big", name, VAR_STR, 0, {0, 'a', 0, 0x2D}));
    }
    CLinkRig rig(&calc);
    CDirectoryListing listing;
    ASSERT_TRUE(listing.ReadDirectory(rig.link));
    EXPECT_EQ(listing.m_vars.size(), 999u);
    EXPECT_EQ(listing.m_vars.back().name, "v998");
    EXPECT_EQ(listing.m_vars.back().folder, "big");
    EXPECT_EQ(listing.m_vars.back().size, 6u);
}
