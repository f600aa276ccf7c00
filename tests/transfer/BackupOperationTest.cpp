#include "CancellingProgress.h"
#include "link/DirectoryListing.h"
#include "link/Packets.h"
#include "LinkRig.h"
#include "RecordingMessages.h"
#include "sim/CalcBackupImage.h"
#include "sim/VirtualCalculator.h"
#include "TempFolder.h"
#include "text/StringIds.h"
#include "transfer/BackupFile.h"
#include "transfer/BackupOperation.h"
#include "transfer/ExchangeOpening.h"
#include "transfer/ListenOperation.h"
#include "transfer/ReceiveOperation.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Contents(size_t count)
{
    Bytes contents(count);
    for (size_t i = 0; i < count; ++i)
        contents[i] = static_cast<uint8_t>(1 + i * 7);
    return contents;
}

// The virtual calculator with its sample content, a folder for files, and
// a progress on the link that cancels when told to.
struct SimRig {
    CVirtualCalculator calc;
    CLinkRig rig{&calc};
    CRecordingMessages messages;
    CTempFolder folder;
    CCancellingProgress progress;

    SimRig()
    {
        calc.LoadSampleContent();
        rig.link.SetProgress(&progress);
    }
    // Both ends idle again after whatever the last exchange left behind.
    void Restart(uint64_t cancelAfterBytes = UINT64_MAX, uint64_t cancelAtQuestion = UINT64_MAX)
    {
        rig.link.ReleaseLines();
        calc.ClearFaults();
        rig.link.ReleaseLines();
        messages.Clear();
        progress = CCancellingProgress(cancelAfterBytes);
        progress.cancelAtQuestion = cancelAtQuestion;
    }
    bool Listen(bool once = true)
    {
        CListenOperation listen(rig.link, messages);
        const bool ok = listen.Listen(folder.Path(), once);
        return ok && !listen.WasCancelled();
    }
};

} // namespace

TEST(BackupFile, ADamagedBackupIsRefusedWithItsReasonAndNothingOnTheCable)
{
    SimRig r;
    const Bytes good = BuildBackupFile({"1.11", Contents(40)});
    const std::string path = r.folder.File("b.92b");
    CBackupOperation operation(r.rig.link, r.messages);
    for (size_t length = 0; length < good.size(); ++length) {
        WriteBytes(path, Bytes(good.begin(), good.begin() + length));
        r.messages.Clear();
        EXPECT_FALSE(operation.Restore(path, true));
        const int expected = length < 8 ? IDS_NOT_A_BACKUP : IDS_BACKUP_WRONG_LENGTH;
        EXPECT_EQ(r.messages.GetMessageIds(), std::vector<int>{expected}) << length;
    }
    struct Damage {
        size_t offset;
        uint8_t value;
        int message;
    } const damages[] = {
        {82 + 5, 0x77, IDS_BACKUP_BAD_CHECKSUM}, // a data byte
        {good.size() - 1, 0x77, IDS_BACKUP_BAD_CHECKSUM},
        {72, 0x12, IDS_BACKUP_HOLDS_VARIABLES}, // the entry's type
        {58, 2, IDS_BACKUP_HOLDS_VARIABLES},    // the entry count
        {60, 0x53, IDS_BACKUP_BAD_LAYOUT},      // the data offset
        {76, 0x00, IDS_BACKUP_WRONG_LENGTH},    // the size field
        {64, 0x00, IDS_BACKUP_NO_ROM_VERSION},  // the ROM version, empty
    };
    for (const Damage& d : damages) {
        Bytes bad = good;
        bad[d.offset] = d.value;
        WriteBytes(path, bad);
        r.messages.Clear();
        EXPECT_FALSE(operation.Restore(path, true));
        EXPECT_EQ(r.messages.GetMessageIds(), std::vector<int>{d.message}) << d.offset;
        EXPECT_EQ(r.messages.GetShown().front().text, path);
    }
    EXPECT_FALSE(operation.Restore(r.folder.Path(), true));
    EXPECT_EQ(r.rig.cable.GetWriteCount(), 0u);
}

TEST(BackupOperation, ABackupRestoredGivesBackTheMemoryAndForeignOnesAreRefused)
{
    SimRig r;
    const std::string path = r.folder.File("calc.92b");
    const CCalcMemory original = r.calc.Memory();
    CBackupOperation operation(r.rig.link, r.messages);
    ASSERT_TRUE(operation.Backup(path));
    BackupImage image;
    ASSERT_EQ(LoadBackupFile(path, image), BackupFileCheck::Ok);
    EXPECT_EQ(image.romVersion, SIM_ROM_VERSION);
    EXPECT_EQ(image.data, MakeBackupImage(original));

    // Declined: nothing goes out; confirmed: the memory is the backup's.
    r.calc.Memory().Clear();
    r.rig.cable.ResetCounts();
    EXPECT_FALSE(operation.Restore(path, false));
    EXPECT_EQ(r.rig.cable.GetWriteCount(), 0u);
    r.messages.AnswerYesNo(true);
    EXPECT_TRUE(operation.Restore(path, false));
    EXPECT_EQ(MakeBackupImage(r.calc.Memory()), MakeBackupImage(original));
    EXPECT_EQ(r.messages.GetMessageIds(), (std::vector<int>{IDS_BACKUP_SAVED, IDS_RESTORE_CONFIRM,
                                                             IDS_RESTORE_CONFIRM, IDS_RESTORE_DONE}));

    // Another calculator's backup, and one of its own ROM that it cannot read.
    const std::string unreadable = r.folder.File("junk.92b");
    WriteBytes(unreadable, BuildBackupFile({SIM_ROM_VERSION, Contents(3000)}));
    struct Case {
        std::string path;
        int message;
    } const cases[] = {{SamplePath("backup.92b"), IDS_RESTORE_REFUSED}, {unreadable, IDS_RESTORE_HALF_WAY}};
    for (const Case& c : cases) {
        r.messages.Clear();
        EXPECT_FALSE(operation.Restore(c.path, true));
        EXPECT_EQ(r.messages.GetMessageIds(), std::vector<int>{c.message}) << c.path;
        EXPECT_EQ(MakeBackupImage(r.calc.Memory()), MakeBackupImage(original));
    }
}

TEST(BackupOperation, SilenceOrCancelAtAnyPointLeavesTheOldFile)
{
    SimRig r;
    const std::string path = r.folder.File("calc.92b");
    WriteBytes(path, {1, 2, 3});
    for (uint64_t bytes = 0;; bytes += 61) {
        r.Restart();
        r.calc.FallSilentAfterBytes(bytes);
        r.messages.AnswerYesNo(true);
        CBackupOperation operation(r.rig.link, r.messages);
        if (operation.Backup(path))
            break;
        ASSERT_LT(bytes, 20000u);
        EXPECT_EQ(ReadBytes(path), Bytes({1, 2, 3})) << bytes;
        EXPECT_EQ(r.folder.Names().size(), 1u);
        const int said = r.messages.GetMessageIds().back();
        EXPECT_TRUE(said == IDS_NOT_READY || said == IDS_BACKUP_FAILED) << bytes;
    }
    // A cancel stops it at the next byte, lets go of the lines and says so once.
    for (uint64_t bytes = 0;; bytes += 61) {
        r.Restart(bytes);
        WriteBytes(path, {1, 2, 3});
        r.messages.AnswerYesNo(true);
        CBackupOperation operation(r.rig.link, r.messages);
        if (operation.Backup(path))
            break;
        EXPECT_EQ(operation.GetLastResult(), ExchangeResult::Cancelled);
        EXPECT_EQ(r.progress.done, bytes);
        EXPECT_EQ(r.rig.cable.GetDataRegister(), 3) << bytes;
        EXPECT_EQ(r.messages.GetMessageIds(), (std::vector<int>{IDS_OVERWRITE_FILE, IDS_EXCHANGE_CANCELLED}));
        EXPECT_EQ(ReadBytes(path), Bytes({1, 2, 3})) << bytes;
        EXPECT_EQ(r.folder.Names().size(), 1u);
    }
    EXPECT_EQ(r.progress.textId, IDS_PROGRESS_BACKUP);
    EXPECT_EQ(r.progress.text, "calc.92b");
}

TEST(BackupOperation, ARestoreCancelledAtAByteSaysOnceWhatTheCancelMayHaveCost)
{
    SimRig r;
    const std::string path = r.folder.File("calc.92b");
    ASSERT_TRUE(CBackupOperation(r.rig.link, r.messages).Backup(path));
    // The progress knows beforehand what a restore moves.
    r.Restart();
    ASSERT_TRUE(CBackupOperation(r.rig.link, r.messages).Restore(path, true));
    EXPECT_EQ(r.progress.textId, IDS_PROGRESS_RESTORE);
    EXPECT_EQ(r.progress.done, r.progress.expectedBytes);
    const uint64_t total = r.progress.done;

    // Until the first header is out whole the calculator's memory is as it
    // was; from then on, even before it answers, it may not be.
    const uint64_t header = BuildNamedHeaderPacket(CMD_VAR, SIM_ROM_VERSION, VAR_BACKUP, 0).size() - 1;
    const CCalcMemory before = r.calc.Memory();
    struct Case {
        uint64_t at;
        int message;
    } const cases[] = {{0, IDS_EXCHANGE_CANCELLED},
                       {header - 1, IDS_EXCHANGE_CANCELLED},
                       {header, IDS_RESTORE_CANCELLED},
                       {total / 2, IDS_RESTORE_CANCELLED},
                       {total - 1, IDS_RESTORE_CANCELLED}};
    for (const Case& c : cases) {
        r.Restart(c.at);
        CBackupOperation operation(r.rig.link, r.messages);
        EXPECT_FALSE(operation.Restore(path, true)) << c.at;
        EXPECT_EQ(operation.GetLastResult(), ExchangeResult::Cancelled) << c.at;
        EXPECT_EQ(r.messages.GetMessageIds(), std::vector<int>{c.message}) << c.at;
        EXPECT_EQ(r.progress.done, c.at);
        EXPECT_EQ(r.rig.cable.GetDataRegister(), 3) << c.at;
        if (c.message == IDS_EXCHANGE_CANCELLED) {
            EXPECT_EQ(MakeBackupImage(r.calc.Memory()), MakeBackupImage(before)) << c.at;
        }
    }
}

TEST(ListenOperation, VariablesAndABackupSentFromTheCalculatorAreSavedAsReceivingSavesThem)
{
    SimRig r;
    ASSERT_TRUE(r.calc.SendVariablesFromMenu({"main\\greeting", "main\\notes", "algebra\\poly"}));
    ASSERT_TRUE(r.Listen());
    ASSERT_TRUE(r.calc.SendBackupFromMenu());
    ASSERT_TRUE(r.Listen());
    EXPECT_EQ(r.calc.GetErrorsAnswered(), 0u);

    // The same files as the receive button writes for those variables.
    CTempFolder received;
    CDirectoryListing listing;
    ASSERT_TRUE(listing.ReadDirectory(r.rig.link));
    CReceiveOperation receive(r.rig.link, r.messages, listing.m_vars);
    for (const auto& [folder, name, file] : {std::tuple{"main", "greeting", "greeting.92s"},
                                             std::tuple{"main", "notes", "notes.92t"},
                                             std::tuple{"algebra", "poly", "poly.92s"}}) {
        ASSERT_TRUE(receive.ReceiveSingle(received.Path(), {folder, name}));
        EXPECT_EQ(ReadBytes(r.folder.File(file)), ReadBytes(received.File(file))) << file;
    }
    EXPECT_EQ(ReadBytes(r.folder.File("backup.92b")),
              BuildBackupFile({SIM_ROM_VERSION, MakeBackupImage(r.calc.Memory())}));
    EXPECT_EQ(r.folder.Names().size(), 4u);

    // A type without an extension of its own is named by its code, as the
    // receive button names it, and the user is told.
    ASSERT_TRUE(r.calc.AddVariable("main", "odd", 0x1C, 0, Contents(5)));
    ASSERT_TRUE(r.calc.SendVariablesFromMenu({"main\\odd"}));
    r.messages.Clear();
    ASSERT_TRUE(r.Listen());
    EXPECT_EQ(r.messages.GetMessageIds(), std::vector<int>{IDS_SAVED_UNDER_TYPE_CODE});
    EXPECT_EQ(r.messages.GetShown().front().text, r.folder.File("odd.0x1C"));
    ASSERT_TRUE(listing.ReadDirectory(r.rig.link));
    CReceiveOperation again(r.rig.link, r.messages, listing.m_vars);
    ASSERT_TRUE(again.ReceiveSingle(received.Path(), {"main", "odd"}));
    EXPECT_EQ(ReadBytes(r.folder.File("odd.0x1C")), ReadBytes(received.File("odd.0x1C")));
}

TEST(ListenOperation, SilenceOrCancelAtAnyPointLeavesNoFileAndTheOldOneUntouched)
{
    SimRig r;
    const std::string path = r.folder.File("year.92e");
    for (uint64_t bytes = 0;; ++bytes) {
        // A calculator silent from the start keeps the wait going until a cancel.
        r.Restart(UINT64_MAX, bytes == 0 ? 50 : UINT64_MAX);
        WriteBytes(path, {1, 2, 3});
        ASSERT_TRUE(r.calc.SendVariablesFromMenu({"main\\year"}));
        r.calc.FallSilentAfterBytes(bytes);
        r.messages.AnswerYesNo(true);
        if (r.Listen())
            break;
        ASSERT_LT(bytes, 200u);
        EXPECT_EQ(ReadBytes(path), Bytes({1, 2, 3})) << bytes;
        EXPECT_EQ(r.folder.Names().size(), 1u) << bytes;
        const std::vector<int> said = r.messages.GetMessageIds();
        EXPECT_EQ(said, bytes == 0 ? std::vector<int>{} : std::vector<int>{IDS_LISTEN_FAILED}) << bytes;
    }
    EXPECT_NE(ReadBytes(path), Bytes({1, 2, 3}));
    EXPECT_EQ(r.progress.textId, IDS_PROGRESS_LISTENING);

    // A cancel in the middle of a backup the calculator sends: nothing of it
    // is saved, the lines are let go, and it is said once.
    for (uint64_t bytes = 1;; bytes += 97) {
        r.Restart(bytes);
        ASSERT_TRUE(r.calc.SendBackupFromMenu());
        if (r.Listen())
            break;
        EXPECT_EQ(r.progress.done, bytes);
        EXPECT_EQ(r.rig.cable.GetDataRegister(), 3) << bytes;
        EXPECT_EQ(r.folder.Names(), std::vector<std::string>{"year.92e"}) << bytes;
        EXPECT_EQ(r.messages.GetMessageIds(), std::vector<int>{IDS_EXCHANGE_CANCELLED}) << bytes;
    }
    EXPECT_EQ(r.folder.Names().size(), 2u);
}

TEST(BackupOperation, ABlockThatLiesAboutItsLengthSavesNothingInBackupOrListen)
{
    SimRig r;
    const std::string backup = r.folder.File("calc.92b");
    const std::string listened = r.folder.File(CListenOperation::BACKUP_FILE_NAME);
    // The first block's data packet, cut short or filled up, its sum agreeing.
    struct Case {
        bool listen;
        unsigned nth; // the calculator's packets: [ACK,] header, ACK, data
        uint16_t length;
    } const cases[] = {{false, 4, 4 + 1000}, {false, 4, 4 + 1100}, {true, 3, 4 + 1000}, {true, 3, 4 + 1023}};
    for (const Case& c : cases) {
        r.Restart();
        WriteBytes(backup, {1, 2, 3});
        WriteBytes(listened, {1, 2, 3});
        r.messages.AnswerYesNo(true);
        r.calc.Faults().ResizeDataAt(c.nth, c.length);
        if (c.listen) {
            ASSERT_TRUE(r.calc.SendBackupFromMenu());
            EXPECT_FALSE(r.Listen()) << c.length;
            EXPECT_EQ(r.messages.GetMessageIds(), std::vector<int>{IDS_LISTEN_FAILED});
        } else {
            EXPECT_FALSE(CBackupOperation(r.rig.link, r.messages).Backup(backup)) << c.length;
            EXPECT_EQ(r.messages.GetMessageIds(), (std::vector<int>{IDS_OVERWRITE_FILE, IDS_BACKUP_FAILED}));
        }
        EXPECT_EQ(ReadBytes(backup), Bytes({1, 2, 3})) << c.length;
        EXPECT_EQ(ReadBytes(listened), Bytes({1, 2, 3})) << c.length;
        EXPECT_EQ(r.folder.Names().size(), 2u);
    }
}
