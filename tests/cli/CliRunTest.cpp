#include "CliFixture.h"
#include "link/DirectoryListing.h"
#include "link/VarTypes.h"
#include "LinkRig.h"
#include "PictureFile.h"
#include "RecordingMessages.h"
#include "screen/ScreenImage.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"
#include "SignallingPeer.h"
#include "transfer/ReceiveOperation.h"
#include "transfer/VariableFile.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <csignal>

namespace {

// What the window program's receive writes for the same variables, driven
// as its directory page drives it.
std::vector<uint8_t> ReceiveAsTheGui(const std::vector<VariableRef>& refs, const std::string& group)
{
    CVirtualCalculator calc;
    calc.LoadSampleContent();
    CLinkRig rig(&calc);
    CDirectoryListing listing;
    EXPECT_TRUE(listing.ReadDirectory(rig.link));
    CRecordingMessages messages;
    CTempFolder folder;
    CReceiveOperation receive(rig.link, messages, listing.m_vars);
    if (group.empty()) {
        EXPECT_TRUE(receive.ReceiveSingle(folder.Path(), refs.front()));
    } else {
        messages.AnswerText(1, group);
        EXPECT_TRUE(receive.ReceiveGroup(folder.Path(), refs));
    }
    return ReadBytes(receive.GetWrittenPath());
}

// A data section as the calculator holds the variable: four zero bytes, the
// length word big-endian, the contents.
std::vector<uint8_t> SectionOf(const SimVariable& var)
{
    std::vector<uint8_t> section{0, 0, 0, 0, static_cast<uint8_t>(var.contents.size() >> 8),
                                 static_cast<uint8_t>(var.contents.size())};
    section.insert(section.end(), var.contents.begin(), var.contents.end());
    return section;
}

size_t CountVariables(const CCalcMemory& memory)
{
    size_t count = 0;
    for (const SimFolder& folder : memory.GetFolders())
        count += folder.variables.size();
    return count;
}


} // namespace

TEST_F(CliFixture, DirListsEveryFolderAndItsVariablesInTheCalculatorsOrder)
{
    ASSERT_EQ(Run({"--simulate", "dir", "--all"}), 0) << Err();
    std::ostringstream expected;
    std::istringstream lines(Out());
    std::string line;
    for (const SimFolder& folder : m_calc.Memory().GetFolders()) {
        ASSERT_TRUE(std::getline(lines, line));
        EXPECT_EQ(line.substr(0, line.find(' ')), folder.name);
        for (const SimVariable& var : folder.variables) {
            ASSERT_TRUE(std::getline(lines, line));
            std::istringstream fields(line);
            std::string name, type;
            unsigned size = 0;
            fields >> name >> type >> size;
            EXPECT_EQ(name, var.name);
            EXPECT_EQ(type, GetTypeDisplayName(var.type));
            // The listed size counts the length word's two bytes... and the contents.
            EXPECT_EQ(size, var.contents.size() + 2);
        }
    }
    EXPECT_FALSE(std::getline(lines, line)) << line;

    // Without --all the four-digit folder is left out, as the GUI leaves it out.
    ASSERT_EQ(Run({"--simulate", "dir"}), 0);
    EXPECT_EQ(Out().find("0001"), std::string::npos);
    EXPECT_NE(Out().find("algebra"), std::string::npos);
}

TEST_F(CliFixture, DirJsonParsesAndHoldsTheWholeListing)
{
    ASSERT_EQ(Run({"--simulate", "dir", "--json", "--all"}), 0) << Err();
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(Out()), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonArray folders = doc.object().value("folders").toArray();
    const auto& memory = m_calc.Memory().GetFolders();
    ASSERT_EQ(static_cast<size_t>(folders.size()), memory.size());
    size_t vars = 0;
    for (qsizetype i = 0; i < folders.size(); ++i) {
        const QJsonObject folder = folders[i].toObject();
        EXPECT_EQ(folder.value("name").toString().toStdString(), memory[i].name);
        const QJsonArray variables = folder.value("variables").toArray();
        ASSERT_EQ(static_cast<size_t>(variables.size()), memory[i].variables.size());
        for (qsizetype j = 0; j < variables.size(); ++j) {
            const QJsonObject var = variables[j].toObject();
            EXPECT_EQ(var.value("name").toString().toStdString(), memory[i].variables[j].name);
            EXPECT_EQ(var.value("typeId").toInt(), memory[i].variables[j].type);
            ++vars;
        }
    }
    EXPECT_EQ(vars, CountVariables(m_calc.Memory()));

    // An empty calculator still gives a document.
    m_calc.Memory().Clear();
    ASSERT_EQ(Run({"--simulate", "dir", "--json"}), 0);
    EXPECT_FALSE(QJsonDocument::fromJson(QByteArray::fromStdString(Out())).isNull()) << Out();
}

TEST_F(CliFixture, GetWritesTheSameBytesAsTheGuiForEverySampleVariable)
{
    for (const SimFolder& folder : m_calc.Memory().GetFolders()) {
        for (const SimVariable& var : folder.variables) {
            const std::string arg = folder.name + "\\" + var.name;
            ASSERT_EQ(Run({"--simulate", "get", arg, "-C", m_work.Path()}), 0) << arg << Err();
            const std::string path = m_work.File(var.name + GetTypeExtension(var.type));
            EXPECT_EQ(Out(), path + "\n");
            const std::vector<uint8_t> file = ReadBytes(path);
            EXPECT_EQ(file, ReceiveAsTheGui({{folder.name, var.name}}, "")) << arg;

            // And the file holds the variable as the calculator holds it.
            const std::vector<uint8_t> section = SectionOf(var);
            ASSERT_EQ(file.size(), VARFILE_SINGLE_SECTION_OFFSET + section.size() + 2);
            EXPECT_TRUE(std::equal(section.begin(), section.end(), file.begin() + VARFILE_SINGLE_SECTION_OFFSET));
            EXPECT_EQ(DecodeNameField(file.data() + VARFILE_HEADER_SIZE + 4), var.name);
            std::filesystem::remove(path);
        }
    }
    EXPECT_NE(Err().find("The file has been received."), std::string::npos) << Err();
}

TEST_F(CliFixture, GetGroupWritesTheSameGroupFileAsTheGui)
{
    ASSERT_EQ(Run({"--simulate", "get", "main/greeting", "algebra/poly", "main/primes", "-C", m_work.Path(),
                   "--group", "lesson"}),
              0)
        << Err();
    const std::string path = m_work.File("lesson.92g");
    EXPECT_EQ(Out(), path + "\n");
    const std::vector<uint8_t> file = ReadBytes(path);
    EXPECT_EQ(file, ReceiveAsTheGui({{"main", "greeting"}, {"algebra", "poly"}, {"main", "primes"}}, "lesson"));
    ASSERT_GT(file.size(), VARFILE_COUNT_OFFSET + 1u);
    EXPECT_EQ(file[VARFILE_COUNT_OFFSET], 3);
    EXPECT_EQ(m_work.Names(), std::vector<std::string>{"lesson.92g"});
}

TEST_F(CliFixture, ACalculatorThatStopsAnsweringGivesStatusOneAndLeavesNoFile)
{
    // Measure the listing, then fall silent in the middle of the variable.
    const uint64_t before = m_calc.GetBitsMoved();
    ASSERT_EQ(Run({"--simulate", "dir"}), 0);
    const uint64_t listingBytes = (m_calc.GetBitsMoved() - before) / 8;
    m_calc.FallSilentAfterBytes(listingBytes + 40, 3);
    EXPECT_EQ(Run({"--simulate", "--timeout", "20", "get", "main/notes", "-C", m_work.Path()}), 1);
    EXPECT_TRUE(m_work.Names().empty());
    EXPECT_EQ(Out(), "");

    // A file that was there before keeps its bytes, though replacing it was allowed.
    m_calc.ClearFaults();
    WriteBytes(m_work.File("notes.92t"), {1, 2, 3});
    m_calc.FallSilentAfterBytes(listingBytes + 60);
    EXPECT_EQ(Run({"--simulate", "--timeout", "20", "get", "main/notes", "-C", m_work.Path(), "--force"}), 1);
    EXPECT_EQ(ReadBytes(m_work.File("notes.92t")), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(m_work.Names(), std::vector<std::string>{"notes.92t"});

    // Silent from the start: no screen file, and a listing that fails with its message.
    m_calc.ClearFaults();
    m_calc.FallSilentAfterBytes(0);
    EXPECT_EQ(Run({"--simulate", "--timeout", "20", "screen", m_work.File("s.png")}), 1);
    EXPECT_EQ(Run({"--simulate", "--timeout", "20", "dir"}), 1);
    EXPECT_EQ(Out(), "");
    EXPECT_EQ(m_work.Names(), std::vector<std::string>{"notes.92t"});
}

// The USB cable pulled out in the middle of a variable: the exchange ends
// saying so, a file that was there keeps its bytes, and once the cable is
// plugged back in the next run opens it again. Held by another program,
// damaged or not there at all (through the real library), it says which.
TEST_F(CliFixture, TheUsbCablePulledOutHeldElsewhereDamagedOrMissingSaysSo)
{
    CSimulatedUsbCable& usb = m_simulated.GetUsbCable();
    const std::vector<std::string> get = {"--simulate", "--cable", "usb", "get", "main/notes",
                                          "-C",         m_work.Path(), "-f"};
    WriteBytes(m_work.File("notes.92t"), {1, 2, 3});
    usb.UnplugAfterTransfers(12);
    EXPECT_EQ(Run(get), 1);
    EXPECT_NE(Err().find(ProgramText(IDS_USB_UNPLUGGED)), std::string::npos) << Err();
    EXPECT_EQ(ReadBytes(m_work.File("notes.92t")), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(m_work.Names(), std::vector<std::string>{"notes.92t"});
    m_simulated.GetCable().SetOpenFailure(false);
    EXPECT_EQ(Run(get), 0) << Err();
    EXPECT_GT(ReadBytes(m_work.File("notes.92t")).size(), 3u);

    const std::string busy = ProgramText(IDS_USB_BUSY, {"001:005"});
    usb.SetClaimedElsewhere(true);
    ASSERT_EQ(Run({"--simulate", "cables"}), 0);
    EXPECT_NE(Out().find("\nusb\t001:005\tversion 2.08\t" + busy + "\n"), std::string::npos) << Out();
    EXPECT_EQ(Run({"--simulate", "--cable", "usb", "dir"}), 1);
    EXPECT_NE(Err().find(busy), std::string::npos) << Err();
    usb.SetClaimedElsewhere(false);
    usb.SetProduct(USB_PRODUCT_DAMAGED_EEPROM);
    ASSERT_EQ(Run({"--simulate", "cables"}), 0);
    EXPECT_NE(Out().find("\nusb\t001:005\t0451:3410, damaged EEPROM\t" +
                         ProgramText(IDS_USB_DAMAGED_EEPROM, {"001:005"}) + "\n"),
              std::string::npos)
        << Out();
    usb.SetProduct(USB_PRODUCT_LINK_CABLE);
    usb.SetVersion(0x0103);
    ASSERT_EQ(Run({"--simulate", "cables"}), 0);
    EXPECT_NE(Out().find("\nusb\t001:005\tversion 1.03\n"), std::string::npos) << Out();

    // No cable on this machine: one line says so, and so does an exchange.
    ASSERT_EQ(Run({"cables"}), 0);
    const std::string none = ProgramText(IDS_USB_NONE);
    const bool unavailable = Out().find("\nusb\t-\tUSB cannot be used on this system (") != std::string::npos;
    EXPECT_TRUE(unavailable || Out().find("\nusb\t-\t" + none + "\n") != std::string::npos) << Out();
    EXPECT_EQ(Run({"--cable", "usb", "dir"}), 1);
    EXPECT_NE(Err().find(unavailable ? "USB cannot be used on this system" : none), std::string::npos) << Err();
}

TEST_F(CliFixture, ASignalStopsTheExchangeCleanlyWithStatus130)
{
    const std::vector<uint8_t> contents(4000, 0x41);
    ASSERT_TRUE(m_calc.AddVariable("main", "big", VAR_STR, 0, contents));
    std::vector<uint8_t> section{0, 0, 0, 0, 4000 >> 8, 4000 & 0xFF};
    section.insert(section.end(), contents.begin(), contents.end());
    CVarFileBuilder builder(1);
    builder.AddVariable("sent", VAR_STR, 0, section.data(), section.size());
    CTempFolder sendFolder;
    WriteBytes(sendFolder.File("sent.92s"), builder.Finish());
    WriteBytes(m_work.File("big.92s"), {1, 2, 3});

    struct Case {
        std::vector<std::string> args;
        uint64_t signalAfterBytes;
        int signal;
        unsigned times = 1;
    };
    const Case cases[] = {
        {{"--simulate", "get", "main/big", "-C", m_work.Path(), "--force"}, 2000, SIGINT},
        // The terminal closed, and a second Ctrl+C while the first is handled.
        {{"--simulate", "get", "main/big", "-C", m_work.Path(), "--force"}, 2000, SIGHUP},
        {{"--simulate", "get", "main/big", "-C", m_work.Path(), "--force"}, 2000, SIGINT, 3},
        {{"--simulate", "send", sendFolder.File("sent.92s")}, 1000, SIGTERM},
        {{"--simulate", "screen", m_work.File("s.png")}, 1000, SIGINT},
        {{"--simulate", "dir"}, 100, SIGTERM},
        {{"--simulate", "backup", m_work.File("calc.92b")}, 300, SIGINT},
    };
    for (const Case& c : cases) {
        CSignallingPeer peer(m_calc, c.signalAfterBytes, c.signal, c.times);
        m_simulated.GetCable().SetPeer(&peer);
        EXPECT_EQ(Run(c.args), 130) << c.args[1];
        m_simulated.GetCable().SetPeer(&m_calc);
        // One message says so, and no failure is reported.
        const std::string cancelled = "The exchange with the calculator was cancelled.\n";
        EXPECT_EQ(Err().find(cancelled), Err().size() - cancelled.size()) << Err();
        EXPECT_EQ(Err().find("Unable"), std::string::npos) << Err();
        EXPECT_EQ(Out(), "") << c.args[1];
        EXPECT_EQ(m_simulated.GetCable().GetDataRegister(), 3) << c.args[1];
        // The calculator gives up on the exchange it was left in.
        m_calc.ClearFaults();
    }
    EXPECT_EQ(ReadBytes(m_work.File("big.92s")), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(m_work.Names(), std::vector<std::string>{"big.92s"});
    EXPECT_EQ(m_calc.FindVariable("main", "sent"), nullptr);

    // The signals are the program's again once it is done.
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction action = {};
        sigaction(signal, nullptr, &action);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << signal;
    }
}

TEST_F(CliFixture, ASignalEndsListeningWith130BeforeAnythingCameAnd0After)
{
    const std::string saved = m_work.File("greeting.92s");
    ASSERT_TRUE(m_calc.SendVariablesFromMenu({"main\\greeting"}));
    const uint64_t before = m_calc.GetBitsMoved();
    ASSERT_EQ(Run({"--simulate", "listen", "--once", "-C", m_work.Path()}), 0) << Err();
    const uint64_t transmission = (m_calc.GetBitsMoved() - before) / 8;

    // Once the transmission has been saved, and in the middle of it.
    const std::string cancelled = "The exchange with the calculator was cancelled.\n";
    for (const uint64_t at : {transmission, transmission / 2}) {
        std::filesystem::remove(saved);
        ASSERT_TRUE(m_calc.SendVariablesFromMenu({"main\\greeting"}));
        CSignallingPeer peer(m_calc, at, SIGINT);
        m_simulated.GetCable().SetPeer(&peer);
        const bool came = at == transmission;
        EXPECT_EQ(Run({"--simulate", "listen", "-C", m_work.Path()}), came ? 0 : 130) << Err();
        m_simulated.GetCable().SetPeer(&m_calc);
        EXPECT_EQ(Out(), came ? saved + "\n" : "");
        EXPECT_EQ(std::filesystem::exists(saved), came);
        EXPECT_EQ(m_work.Names().size(), came ? 1u : 0u);
        // Said once when a transmission was cut, not at all for a wait ended.
        const size_t said = Err().find(cancelled);
        EXPECT_EQ(said, came ? std::string::npos : Err().size() - cancelled.size()) << Err();
    }
}

TEST_F(CliFixture, GetStatusTellsTheCalculatorFromTheFilesAndTheCommandLine)
{
    // An existing file is not replaced without --force, and the answer is No without a terminal.
    WriteBytes(m_work.File("greeting.92s"), {9});
    EXPECT_EQ(Run({"--simulate", "get", "main/greeting", "-C", m_work.Path()}), 5);
    EXPECT_EQ(ReadBytes(m_work.File("greeting.92s")), std::vector<uint8_t>{9});
    EXPECT_NE(Err().find("greeting.92s"), std::string::npos);
    EXPECT_NE(Err().find("vantrel92-cli: nothing was changed\n"), std::string::npos) << Err();
    // The names after a declined one are still received, and the summary says which was not.
    EXPECT_EQ(Run({"--simulate", "get", "main/greeting", "main/notes", "-C", m_work.Path()}, "n\n", true), 5);
    EXPECT_EQ(Out(), m_work.File("notes.92t") + "\n");
    EXPECT_NE(Err().find("vantrel92-cli: 1 received, 1 failed: main\\greeting (not replaced)\n"), std::string::npos)
        << Err();
    EXPECT_EQ(Err().find("nothing was changed"), std::string::npos) << Err();
    std::filesystem::remove(m_work.File("notes.92t"));
    // On a terminal the question is asked.
    EXPECT_EQ(Run({"--simulate", "get", "main/greeting", "-C", m_work.Path()}, "y\n", true), 0) << Err();
    EXPECT_GT(ReadBytes(m_work.File("greeting.92s")).size(), 1u);
    // A folder that is not there, a group name that cannot name a file.
    EXPECT_EQ(Run({"--simulate", "get", "main/greeting", "-C", m_work.File("none")}), 3);
    EXPECT_EQ(Run({"--simulate", "get", "main/greeting", "main/notes", "-C", m_work.Path(), "--group", "a/b"}), 2);
    EXPECT_EQ(Run({"--simulate", "get", "main/greeting", "main/notes", "-C", m_work.Path(), "--group", "a\\b"}), 2);
    EXPECT_EQ(m_work.Names(), std::vector<std::string>{"greeting.92s"});
}

TEST_F(CliFixture, SendPutsSingleAndGroupFilesOnTheCalculator)
{
    const std::vector<uint8_t> contents{0x00, 'h', 'i', 0x00, 0x2D};
    CVarFileBuilder builder(1);
    std::vector<uint8_t> section{0, 0, 0, 0, 0, static_cast<uint8_t>(contents.size())};
    section.insert(section.end(), contents.begin(), contents.end());
    ASSERT_TRUE(builder.AddVariable("fresh", VAR_STR, 0, section.data(), section.size()));
    WriteBytes(m_work.File("fresh.92s"), builder.Finish());

    ASSERT_EQ(Run({"--simulate", "send", m_work.File("fresh.92s"), SamplePath("group.92g")}), 0) << Err();
    const SimVariable* fresh = m_calc.FindVariable("main", "fresh");
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->contents, contents);
    EXPECT_EQ(fresh->type, VAR_STR);
    // The group's folder entry sends its variables into its folder.
    EXPECT_NE(m_calc.FindVariable("group", "X"), nullptr);
    EXPECT_NE(m_calc.FindVariable("group", "Y"), nullptr);
    // One line per file, naming it.
    EXPECT_EQ(Err(), m_work.File("fresh.92s") + ": The file has been sent successfully.\n" + SamplePath("group.92g") +
                         ": The file has been sent successfully.\nvantrel92-cli: 2 sent\n");

    // Round trip: what comes back is the file that was sent.
    const std::vector<uint8_t> sent = ReadBytes(m_work.File("fresh.92s"));
    std::filesystem::remove(m_work.File("fresh.92s"));
    ASSERT_EQ(Run({"--simulate", "get", "main/fresh", "-C", m_work.Path()}), 0) << Err();
    EXPECT_EQ(ReadBytes(m_work.File("fresh.92s")), sent);
}

TEST_F(CliFixture, GetOfNamesNotOnTheCalculatorSaysWhichAndReceivesNothing)
{
    using Args = std::vector<std::string>;
    struct Case {
        Args names;
        std::vector<std::string> missing;
    };
    const Case cases[] = {
        {{"main/nothere"}, {"main\\nothere"}},
        // Names are case-sensitive, and nothing is received before all are found.
        {{"main/greeting", "main/Greeting"}, {"main\\Greeting"}},
        {{"main/nope", "algebra/poly", "x/y", "--group", "g"}, {"main\\nope", "x\\y"}},
    };
    for (const Case& c : cases) {
        Args args{"--simulate", "get", "-C", m_work.Path()};
        args.insert(args.end(), c.names.begin(), c.names.end());
        EXPECT_EQ(Run(args), 4) << c.names.front();
        std::string expected;
        for (const std::string& name : c.missing)
            expected += "Variable " + name + " not found on the calculator.\n";
        EXPECT_EQ(Err(), expected);
        EXPECT_EQ(Out(), "");
        EXPECT_TRUE(m_work.Names().empty());
    }
}

TEST_F(CliFixture, SendRefusesFilesBeforeAnyExchangeAndSaysWhy)
{
    const std::vector<uint8_t> sample = ReadBytes(SamplePath("str.92s"));
    ASSERT_EQ(sample.size(), 96u);
    const auto changed = [&](size_t at, const std::string& bytes) {
        std::vector<uint8_t> file = sample;
        std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
        return file;
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        std::string said; // after the file's name, which it is said once
    };
    const Case cases[] = {
        {"notvar.92s", {'h', 'e', 'l', 'l', 'o'}, ": Unable to transfer the file!\nUnknown file type!"},
        {"cut.92s", std::vector<uint8_t>(sample.begin(), sample.end() - 10),
         ": Unable to send the file: the data of variable str is cut short."},
        {"many.92s", changed(58, "\xFF\xFF"), ": Unable to send the file: it announces 65535 variables, more than it holds."},
        {"folder.92s", changed(10, std::string("m\\in\0", 5)),
         ": Unable to send the file: \"m\\in\" cannot name a folder or a variable on the calculator (it is empty, or "
         "holds a backslash or a zero byte)."},
        {"zero.92s", changed(64, std::string("st\0r", 4)),
         ": Unable to send the file: \"st\\x00r\" cannot name a folder or a variable on the calculator (it is empty, "
         "or holds a backslash or a zero byte)."},
        {"backup.92b", ReadBytes(SamplePath("backup.92b")),
         " is a backup of a calculator's memory, not a variable.\nUse the restore command to put it back into the "
         "calculator. Nothing was sent."},
        {"empty.92s", changed(58, std::string("\0\0", 2)), " holds no variable: nothing was sent."},
    };
    const uint64_t before = m_calc.GetBitsMoved();
    for (const Case& c : cases) {
        WriteBytes(m_work.File(c.name), c.bytes);
        // The good file first is sent; the refused one after it is named.
        EXPECT_EQ(Run({"--simulate", "send", SamplePath("str.92s"), m_work.File(c.name)}), 3) << c.name;
        EXPECT_EQ(Err(), SamplePath("str.92s") + ": The file has been sent successfully.\n" + m_work.File(c.name) +
                             c.said + "\nvantrel92-cli: 1 sent, 1 failed: " + m_work.File(c.name) + " (refused)\n");
    }
    const uint64_t sentOnce = m_calc.GetBitsMoved() - before;
    for (const Case& c : cases)
        EXPECT_EQ(Run({"--simulate", "send", m_work.File(c.name)}), 3) << c.name;
    EXPECT_EQ(Run({"--simulate", "send", m_work.Path()}), 3);
    EXPECT_EQ(Err(), "vantrel92-cli: " + m_work.Path() + " is not a file\n");
    // Only the good files went out.
    EXPECT_EQ(m_calc.GetBitsMoved() - before, sentOnce);

    // A file that is not there does not stop the ones after it.
    const std::string missing = m_work.File("missing.92s");
    EXPECT_EQ(Run({"--simulate", "send", SamplePath("str.92s"), missing, SamplePath("group.92g")}), 3);
    EXPECT_EQ(Err(), SamplePath("str.92s") + ": The file has been sent successfully.\nvantrel92-cli: " + missing +
                         " does not exist\n" + SamplePath("group.92g") +
                         ": The file has been sent successfully.\nvantrel92-cli: 2 sent, 1 failed: " + missing +
                         " (does not exist)\n");

    // A good file to a calculator that does not answer.
    m_calc.FallSilentAfterBytes(0);
    EXPECT_EQ(Run({"--simulate", "--timeout", "20", "send", SamplePath("str.92s")}), 1);
}

TEST_F(CliFixture, TheProgressSummaryComesBeforeTheVerdict)
{
    // Paced so that the send lasts more than a second and shows its progress
    // line on the terminal.
    const std::string file = SamplePath("str.92s");
    ASSERT_EQ(Run({"--simulate", "--simulate-rate", "60", "send", file}, {}, true), 0) << Err();
    const std::string err = Err();
    const size_t summary = err.find(" bytes in ");
    const size_t verdict = err.find(file + ": The file has been sent successfully.\n");
    ASSERT_NE(summary, std::string::npos) << err;
    ASSERT_NE(verdict, std::string::npos) << err;
    EXPECT_LT(summary, verdict) << err;
}

TEST_F(CliFixture, TheCommandLineOnlyReadsTheSettings)
{
    // None stored: the defaults, and none written.
    ASSERT_EQ(Run({"--simulate", "get", "main/greeting", "-C", m_work.Path()}), 0) << Err();
    EXPECT_EQ(Err(), "The file has been received.\n");
    EXPECT_FALSE(std::filesystem::exists(m_config.File("Corvessan")));

    // Unusable ones: the defaults, and the file left as it is.
    const std::string path = m_config.File("Corvessan/Vantrel 92.conf");
    StoreSettings(0);
    std::vector<uint8_t> stored = ReadBytes(path);
    const std::string foreign = "Version=9.9";
    std::copy(foreign.begin(), foreign.end(), stored.begin() + 10);
    WriteBytes(path, stored);
    ASSERT_EQ(Run({"--simulate", "get", "main/greeting", "-C", m_work.Path(), "-f"}), 0) << Err();
    EXPECT_NE(Err().find("The file has been received."), std::string::npos) << Err();
    EXPECT_EQ(ReadBytes(path), stored);
}

TEST_F(CliFixture, ScreenImagePixelsAreTheCalculatorsScreen)
{
    for (unsigned zoom : {1u, 2u}) {
        const std::string path = m_work.File("screen" + std::to_string(zoom) + ".png");
        ASSERT_EQ(Run({"--simulate", "screen", path, "--zoom", std::to_string(zoom)}), 0) << Err();
        const PictureFile image = ReadPictureFile(path);
        ASSERT_EQ(image.width, 240 * static_cast<int>(zoom));
        ASSERT_EQ(image.height, 128 * static_cast<int>(zoom));
        int dark = 0;
        const SimScreen& screen = m_calc.Screen();
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const int sx = x / static_cast<int>(zoom);
                const int sy = y / static_cast<int>(zoom);
                const bool calcDark = (screen[sy * 30 + sx / 8] & (0x80 >> (sx % 8))) != 0;
                const bool imageDark = image.IsDark(x, y);
                ASSERT_EQ(imageDark, calcDark) << x << "," << y << " zoom " << zoom;
                dark += imageDark;
            }
        }
        EXPECT_GT(dark, 100); // the home screen shows something
    }
    // Formats follow the extension, whatever its case.
    ASSERT_EQ(Run({"--simulate", "screen", m_work.File("s.BMP")}), 0);
    const PictureFile bmp = ReadPictureFile(m_work.File("s.BMP"));
    EXPECT_EQ(bmp.width, 240);
    EXPECT_EQ(bmp.height, 128);

    EXPECT_EQ(Err(), "The calculator's screen has been saved in " + m_work.File("s.BMP") + ".\n");

    // A screen garbled on the way, or of another length whose sum agrees, is not saved.
    for (int length : {-1, 0, 100, static_cast<int>(SCREEN_BYTES) + 1}) { // -1: the sum corrupted
        if (length < 0)
            m_calc.Faults().CorruptChecksumAt(2);
        else
            m_calc.Faults().ResizeDataAt(2, static_cast<uint16_t>(length));
        EXPECT_EQ(Run({"--simulate", "screen", m_work.File("garbled.png")}), 1) << length;
        EXPECT_NE(Err().find("Unable to capture the calculator's screen!"), std::string::npos) << Err();
        EXPECT_FALSE(std::filesystem::exists(m_work.File("garbled.png")));
    }

    // A picture that cannot be written says why, naming the file once.
    const std::string nowhere = m_work.File("none/s.png");
    EXPECT_EQ(Run({"--simulate", "screen", nowhere}), 3);
    EXPECT_EQ(Err().find(nowhere), Err().rfind(nowhere)) << Err();
}

TEST_F(CliFixture, ScreenWithoutAnImageExtensionIsAUsageErrorWithoutExchange)
{
    const uint64_t before = m_calc.GetBitsMoved();
    EXPECT_EQ(Run({"--simulate", "screen", m_work.File("shot")}), 2);
    EXPECT_EQ(Run({"--simulate", "screen", m_work.File("shot.92s")}), 2);
    EXPECT_NE(Err().find("png"), std::string::npos);
    EXPECT_EQ(m_calc.GetBitsMoved(), before);
    EXPECT_TRUE(m_work.Names().empty());
}

TEST_F(CliFixture, MessagesComeFromTheStoredLanguagesLibrary)
{
    StoreSettings(0);
    ASSERT_EQ(Run({"--simulate", "get", "main/greeting", "-C", m_work.Path()}), 0) << Err();
    EXPECT_NE(Err().find("Il file \xC3\xA8 stato ricevuto."), std::string::npos) << Err();

    // A language with no library: the fixed message, and nothing is done.
    StoreSettings(2);
    const uint64_t before = m_calc.GetBitsMoved();
    EXPECT_EQ(Run({"--simulate", "dir"}), 3);
    EXPECT_NE(Err().find("Unable to find any language library"), std::string::npos);
    EXPECT_EQ(m_calc.GetBitsMoved(), before);
}

TEST_F(CliFixture, APortThatCannotBeOpenedGivesMessage123AndStatusOne)
{
    EXPECT_EQ(Run({"--port", m_work.File("parport9"), "dir"}), 1);
    // The language library's message with the reason in it.
    EXPECT_EQ(Err().rfind("Unable to open the parallel port driver!\n", 0), 0u) << Err();
    EXPECT_NE(Err().find(m_work.File("parport9") + " does not exist"), std::string::npos) << Err();
}

TEST_F(CliFixture, SimulateLoadsTheVariableFilesOfAFolder)
{
    CTempFolder content;
    std::filesystem::copy_file(SamplePath("group.92g"), content.File("group.92g"));
    std::vector<uint8_t> damaged = ReadBytes(SamplePath("str.92s"));
    ASSERT_GT(damaged.size(), 90u);
    damaged.resize(90);
    WriteBytes(content.File("cut.92s"), damaged);
    WriteBytes(content.File("notes.txt"), {'h', 'i'});
    std::filesystem::copy_file(SamplePath("backup.92b"), content.File("calc.92b"));

    ASSERT_EQ(Run({"--simulate=" + content.Path(), "dir", "--json"}), 0) << Err();
    const QJsonArray folders = QJsonDocument::fromJson(QByteArray::fromStdString(Out())).object()["folders"].toArray();
    std::vector<std::string> listed;
    for (const QJsonValue folder : folders)
        for (const QJsonValue var : folder.toObject()["variables"].toArray())
            listed.push_back(folder.toObject()["name"].toString().toStdString() + "\\" +
                             var.toObject()["name"].toString().toStdString());
    EXPECT_EQ(listed, (std::vector<std::string>{"group\\X", "group\\Y"}));
    // The damaged file is reported and passed over; the text file is not a variable file.
    EXPECT_NE(Err().find("cut.92s: damaged variable file"), std::string::npos) << Err();
    EXPECT_EQ(Err().find("notes.txt"), std::string::npos) << Err();
    EXPECT_NE(Err().find("calc.92b: a calculator backup, not loaded as variables"), std::string::npos) << Err();

    EXPECT_EQ(Run({"--simulate=" + content.File("missing"), "dir"}), 3);
    EXPECT_EQ(Err(), "vantrel92-cli: --simulate: " + content.File("missing") + " does not exist\n");
}

TEST_F(CliFixture, BackupRestoreListenAndABackupGivenToSend)
{
    const std::string file = m_work.File("calc.92b");
    ASSERT_EQ(Run({"--simulate", "backup", file}), 0) << Err();
    EXPECT_EQ(Out(), file + "\n");
    EXPECT_EQ(Run({"--simulate", "backup", file}), 5); // not replaced without --force

    // A restore needs --yes without a terminal to ask on.
    const size_t held = CountVariables(m_calc.Memory());
    m_calc.Memory().Clear();
    EXPECT_EQ(Run({"--simulate", "restore", file}), 5);
    EXPECT_EQ(Run({"--simulate", "restore", file}, "n\n", true), 5);
    EXPECT_NE(Err().find("vantrel92-cli: nothing was changed\n"), std::string::npos) << Err();
    EXPECT_EQ(CountVariables(m_calc.Memory()), 0u);
    ASSERT_EQ(Run({"--simulate", "restore", file, "--yes"}), 0) << Err();
    EXPECT_EQ(CountVariables(m_calc.Memory()), held);
    EXPECT_EQ(Run({"--simulate", "restore", SamplePath("backup.92b"), "--yes"}), 1); // another calculator's

    // Files at fault never reach the cable: a cut backup, a backup given to send.
    const uint64_t before = m_calc.GetBitsMoved();
    std::vector<uint8_t> cut = ReadBytes(file);
    cut.pop_back();
    WriteBytes(m_work.File("cut.92b"), cut);
    EXPECT_EQ(Run({"--simulate", "restore", m_work.File("cut.92b"), "--yes"}), 3);
    std::vector<uint8_t> unnamed = ReadBytes(file);
    std::fill(unnamed.begin() + 64, unnamed.begin() + 72, 0); // no ROM version
    WriteBytes(m_work.File("unnamed.92b"), unnamed);
    EXPECT_EQ(Run({"--simulate", "restore", m_work.File("unnamed.92b"), "--yes"}), 3);
    EXPECT_NE(Err().find("does not name the ROM version"), std::string::npos) << Err();
    EXPECT_EQ(Run({"--simulate", "restore", m_work.File("missing.92b"), "--yes"}), 3);
    EXPECT_EQ(Err(), "vantrel92-cli: " + m_work.File("missing.92b") + " does not exist\n");
    EXPECT_EQ(Run({"--simulate", "send", SamplePath("backup.92b")}), 3);
    EXPECT_NE(Err().find("Use the restore command"), std::string::npos) << Err();
    EXPECT_EQ(m_calc.GetBitsMoved(), before);

    ASSERT_TRUE(m_calc.SendVariablesFromMenu({"main\\greeting", "algebra\\poly"}));
    EXPECT_EQ(Run({"--simulate", "listen", "--once", "-C", m_work.Path()}), 0) << Err();
    EXPECT_EQ(Out(), m_work.File("greeting.92s") + "\n" + m_work.File("poly.92s") + "\n");
    EXPECT_EQ(ReadBytes(m_work.File("greeting.92s")), ReceiveAsTheGui({{"main", "greeting"}}, ""));

    // The simulated calculator sends by itself once the wait begins, as asked on the command line.
    std::filesystem::remove(m_work.File("greeting.92s"));
    EXPECT_EQ(Run({"--simulate", "listen", "--once", "-C", m_work.Path(), "--simulate-send", "main/greeting"}), 0)
        << Err();
    EXPECT_EQ(Out(), m_work.File("greeting.92s") + "\n");
    EXPECT_EQ(ReadBytes(m_work.File("greeting.92s")), ReceiveAsTheGui({{"main", "greeting"}}, ""));
    EXPECT_EQ(Run({"--simulate", "listen", "--once", "-C", m_work.Path(), "--simulate-send", "backup"}), 0) << Err();
    EXPECT_EQ(Out(), m_work.File("backup.92b") + "\n");
    EXPECT_EQ(Run({"--simulate", "listen", "--once", "--simulate-send", "main/nothere"}), 4);
    EXPECT_EQ(Err(), "vantrel92-cli: --simulate-send: the simulated calculator holds no main\\nothere\n");
}

// Every exchange through the black cable (the bit handshake on the modem
// lines), the gray one (bytes) and the USB link cable (bulk transfers), with
// the calculator behind the serial port or the USB cable: the files are the
// parallel cable's, byte for byte.
TEST_F(CliFixture, EveryExchangeRunsThroughEachSerialCable)
{
    ASSERT_EQ(Run({"--simulate", "dir"}), 0);
    const std::string listing = Out();
    ASSERT_EQ(Run({"--simulate", "screen", m_work.File("parallel.png")}), 0);
    ASSERT_EQ(Run({"--simulate", "backup", m_work.File("parallel.92b")}), 0);
    const struct {
        const char* cable;
        const char* port;
        const char* named; // in the message when nothing answers
    } rows[] = {
        {"black", "/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"gray", "/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"usb", "1", "USB link cable 1"},
    };
    // Some of the USB cable's reads come back empty, as the real cable's may.
    m_simulated.GetUsbCable().SetEmptyReadEvery(7);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.cable);
        CTempFolder files;
        const auto run = [&](std::vector<std::string> args) {
            args.insert(args.begin(), {"--simulate", "--cable", row.cable, "--port", row.port});
            return Run(args);
        };
        ASSERT_EQ(run({"dir"}), 0) << Err();
        EXPECT_EQ(Out(), listing);
        ASSERT_EQ(run({"get", "main/greeting", "-C", files.Path()}), 0) << Err();
        EXPECT_EQ(ReadBytes(files.File("greeting.92s")), ReceiveAsTheGui({{"main", "greeting"}}, ""));
        ASSERT_EQ(run({"screen", files.File("s.png")}), 0) << Err();
        EXPECT_EQ(ReadBytes(files.File("s.png")), ReadBytes(m_work.File("parallel.png")));
        ASSERT_EQ(run({"backup", files.File("calc.92b")}), 0) << Err();
        EXPECT_EQ(ReadBytes(files.File("calc.92b")), ReadBytes(m_work.File("parallel.92b")));
        m_calc.Memory().Clear();
        ASSERT_EQ(run({"restore", files.File("calc.92b"), "--yes"}), 0) << Err();
        ASSERT_EQ(run({"dir"}), 0) << Err();
        EXPECT_EQ(Out(), listing);

        std::vector<uint8_t> fresh = ReadBytes(files.File("greeting.92s"));
        const std::string name = "greeting";
        const auto at = std::search(fresh.begin(), fresh.end(), name.begin(), name.end());
        ASSERT_NE(at, fresh.end());
        std::copy_n("fresh\0\0\0", 8, at);
        WriteBytes(files.File("fresh.92s"), fresh);
        ASSERT_EQ(run({"send", files.File("fresh.92s")}), 0) << Err();
        ASSERT_NE(m_calc.FindVariable("main", "fresh"), nullptr);

        ASSERT_TRUE(m_calc.SendVariablesFromMenu({"main\\fresh"}));
        CTempFolder heard;
        ASSERT_EQ(run({"listen", "--once", "-C", heard.Path()}), 0) << Err();
        EXPECT_EQ(ReadBytes(heard.File("fresh.92s")), fresh);

        // A calculator that answers nothing: the exchange's message, and what to check.
        m_calc.FallSilentAfterBytes(0);
        EXPECT_EQ(run({"--timeout", "20", "dir"}), 1);
        EXPECT_NE(Err().find(std::string("Unable to read the calculator's directory!\nNothing answered on ") +
                             row.named + ": check that the calculator is on"),
                  std::string::npos)
            << Err();
        m_calc.ClearFaults();
        ASSERT_EQ(Run({"--simulate", "restore", m_work.File("parallel.92b"), "--yes"}), 0) << Err();
    }
    EXPECT_GT(m_simulated.GetUsbCable().GetEmptyReads(), 0u);
    // --port names a serial port only with a serial cable, a USB cable's place only with that cable.
    EXPECT_EQ(Run({"--simulate", "--port", "/dev/ttyS0", "dir"}), 2);
    EXPECT_NE(Err().find("give --cable black or --cable gray"), std::string::npos) << Err();
    EXPECT_EQ(Run({"--simulate", "--port", "001:005", "dir"}), 2);
    EXPECT_NE(Err().find("give --cable usb"), std::string::npos) << Err();
    EXPECT_EQ(Run({"--simulate", "--cable", "usb", "--port", "0x378", "dir"}), 2);
    EXPECT_EQ(Run({"--simulate", "--cable", "usb", "--port", "1:5", "dir"}), 0) << Err();
    EXPECT_EQ(Run({"--simulate", "--cable", "usb", "--port", "2", "dir"}), 1);
    EXPECT_NE(Err().find("There is no USB link cable 2"), std::string::npos) << Err();
    ASSERT_EQ(Run({"--simulate", "--cable", "black", "--port", "COM3", "cables", "--probe"}), 0) << Err();
    EXPECT_EQ(Out(), "parallel\t0x378\tanswered\nblack\tCOM3\tanswered\ngray\tCOM3\tanswered\n"
                     "usb\t001:005\tversion 2.08\tanswered\n");
}
