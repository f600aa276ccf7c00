#include "cli/CliOptions.h"

#include <gtest/gtest.h>

namespace {

struct Parsed {
    bool ok;
    CCliOptions options;
    std::string error;
};

Parsed Parse(std::vector<std::string> args)
{
    Parsed p;
    p.ok = ParseCommandLine(args, p.options, p.error);
    return p;
}

} // namespace

TEST(CliOptions, GlobalOptionsGoBeforeOrAfterTheCommand)
{
    const Parsed before = Parse({"--port", "0x278", "--timeout", "250", "dir", "--json"});
    ASSERT_TRUE(before.ok) << before.error;
    EXPECT_EQ(before.options.command, CliCommand::Dir);
    EXPECT_EQ(before.options.portBase, uint16_t{0x278});
    EXPECT_EQ(before.options.timeout, 250u);
    EXPECT_TRUE(before.options.bJson);

    const Parsed after = Parse({"dir", "--timeout=10000", "--port=378"});
    ASSERT_TRUE(after.ok) << after.error;
    EXPECT_EQ(after.options.portBase, uint16_t{0x378});
    EXPECT_EQ(after.options.timeout, 10000u);

    const Parsed paced = Parse({"dir", "--simulate", "--simulate-rate=2000"});
    ASSERT_TRUE(paced.ok) << paced.error;
    EXPECT_EQ(paced.options.nSimulateRate, 2000u);

    // A serial port takes its cable from --cable, or later from the settings.
    for (const auto& [args, serial] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--port", "/dev/ttyUSB0", "dir"}, "/dev/ttyUSB0"},
             {{"--port=COM12", "--cable", "gray", "dir"}, "COM12"},
             {{"--cable", "black", "--port", "/tmp/anything", "dir"}, "/tmp/anything"}}) {
        const Parsed p = Parse(args);
        EXPECT_TRUE(p.ok) << p.error;
        EXPECT_EQ(p.options.strSerialPort, serial);
        EXPECT_FALSE(p.options.portBase);
    }
    EXPECT_EQ(Parse({"--cable", "gray", "cables", "--probe"}).options.cable, CableKind::GraySerial);

    const Parsed device = Parse({"--port", "/dev/parport1", "dir"});
    ASSERT_TRUE(device.ok);
    EXPECT_EQ(device.options.strPortDevice, "/dev/parport1");
    EXPECT_FALSE(device.options.portBase);
}

TEST(CliOptions, SimulateTakesAFolderOnlyWhereItCannotBeTheCommand)
{
    Parsed p = Parse({"--simulate", "dir"});
    ASSERT_TRUE(p.ok);
    EXPECT_TRUE(p.options.bSimulate);
    EXPECT_EQ(p.options.strSimulateDir, "");
    EXPECT_EQ(p.options.command, CliCommand::Dir);

    p = Parse({"--simulate", "vars", "get", "main\\x"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.options.strSimulateDir, "vars");

    // After the command a bare word is the command's own argument.
    p = Parse({"send", "--simulate", "x.92e"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.options.strSimulateDir, "");
    EXPECT_EQ(p.options.files, std::vector<std::string>{"x.92e"});

    p = Parse({"send", "--simulate=vars", "x.92e"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.options.strSimulateDir, "vars");

    // With no command after it, the word is a misspelt command, not a folder.
    p = Parse({"--simulate", "dri"});
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.error.rfind("unknown command 'dri'", 0), 0u) << p.error;

    // What the simulated calculator sends by itself, with the calculator's separator.
    p = Parse({"--simulate", "listen", "--simulate-send", "main/x", "--simulate-send=backup"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.simulateSend, (std::vector<std::string>{"main\\x", "backup"}));
    EXPECT_TRUE(p.options.vars.empty());
}

TEST(CliOptions, ABackupFileNameGetsItsExtensionAsAGroupFileDoes)
{
    for (const auto& [given, used] : {std::pair{"b2", "b2.92b"}, std::pair{"b2.92b", "b2.92b"},
                                      std::pair{"B.92B", "B.92B"}, std::pair{"b.bak", "b.bak.92b"}}) {
        const Parsed p = Parse({"backup", given});
        ASSERT_TRUE(p.ok) << p.error;
        EXPECT_EQ(p.options.files.front(), used);
    }
    // A restore reads the file named, as it is named.
    EXPECT_EQ(Parse({"restore", "b2"}).options.files.front(), "b2");
}

TEST(CliOptions, GetSplitsFolderAndNameAtEitherSeparator)
{
    const Parsed p = Parse({"get", "main\\str", "abc/x", "-C", "out", "--group", "pair.92g", "-f"});
    ASSERT_TRUE(p.ok) << p.error;
    ASSERT_EQ(p.options.vars.size(), 2u);
    EXPECT_EQ(p.options.vars[0].folder, "main");
    EXPECT_EQ(p.options.vars[0].name, "str");
    EXPECT_EQ(p.options.vars[1].folder, "abc");
    EXPECT_EQ(p.options.vars[1].name, "x");
    EXPECT_EQ(p.options.strDirectory, "out");
    // The extension is added by the receive, as for a name typed in the GUI.
    EXPECT_EQ(p.options.group, std::string("pair"));
    EXPECT_TRUE(p.options.bForce);

    const Parsed eight = Parse({"get", "abcdefgh\\12345678", "-Cout"});
    ASSERT_TRUE(eight.ok) << eight.error;
    EXPECT_EQ(eight.options.strDirectory, "out");
}

TEST(CliOptions, ScreenTakesOneFileAndAZoomOfOneOrTwo)
{
    Parsed p = Parse({"screen", "shot.png", "--zoom", "2"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.options.zoom, 2u);
    EXPECT_EQ(p.options.files, std::vector<std::string>{"shot.png"});

    // "--" lets a file name start with a dash.
    p = Parse({"screen", "--", "-shot.png"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.options.files, std::vector<std::string>{"-shot.png"});
}

TEST(CliOptions, HelpAndVersionNeedNoCommand)
{
    EXPECT_TRUE(Parse({"--help"}).options.bHelp);
    EXPECT_TRUE(Parse({"-h"}).ok);
    EXPECT_TRUE(Parse({"--version"}).options.bVersion);
    EXPECT_EQ(GetVersionText(), "vantrel92-cli 1.2.0.0\n");
    EXPECT_NE(GetUsageText().find("--simulate"), std::string::npos);

    // A command's help is that command's, before or after the option.
    for (const auto& args : {std::vector<std::string>{"dir", "--help"}, std::vector<std::string>{"--help", "dir"}}) {
        const Parsed p = Parse(args);
        ASSERT_TRUE(p.ok && p.options.bHelp) << p.error;
        EXPECT_EQ(p.options.command, CliCommand::Dir);
    }
    const std::string dir = GetUsageText(CliCommand::Dir);
    EXPECT_NE(dir.find("--json"), std::string::npos) << dir;
    EXPECT_NE(dir.find("--port"), std::string::npos) << dir;
    EXPECT_EQ(dir.find("--zoom"), std::string::npos) << dir;
    EXPECT_EQ(dir.find("restore FILE"), std::string::npos) << dir;
    EXPECT_NE(GetUsageText().find("restore FILE"), std::string::npos);
}

TEST(CliOptions, UsageErrorsSayWhatIsWrongOnOneLine)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "no command"},
        {{"list"}, "unknown command 'list'"},
        {{"dir", "--bogus"}, "unknown option --bogus"},
        {{"dir", "extra"}, "dir takes no arguments"},
        {{"--port", "0x3BC", "dir"}, "--port takes"},
        {{"--port"}, "--port needs a value"},
        {{"--timeout", "0", "dir"}, "--timeout takes"},
        {{"--timeout", "10001", "dir"}, "--timeout takes"},
        {{"--timeout", "1e3", "dir"}, "--timeout takes"},
        {{"--timeout", "-5", "dir"}, "--timeout takes"},
        {{"get"}, "get needs"},
        {{"get", "str"}, "names no folder"},
        {{"get", "main\\"}, "is not FOLDER\\NAME"},
        {{"get", "\\x"}, "is not FOLDER\\NAME"},
        {{"get", "main\\a\\b"}, "is not FOLDER\\NAME"},
        {{"get", "main\\abcdefghi"}, "at most 8"},
        {{"get", "main\\x", "--group", ".92g"}, "--group needs"},
        {{"send"}, "send needs"},
        {{"screen"}, "exactly one"},
        {{"screen", "a.png", "b.png"}, "exactly one"},
        {{"screen", "a.png", "--zoom", "3"}, "--zoom takes 1 or 2"},
        {{"dir", "--zoom", "2"}, "--zoom applies to screen only"},
        {{"send", "x.92e", "--force"}, "--force applies to get, screen, backup and listen only"},
        {{"backup"}, "exactly one backup file"},
        {{"restore", "a.92b", "b.92b"}, "exactly one backup file"},
        {{"backup", "a.92b", "--yes"}, "--yes applies to restore and delete only"},
        {{"listen", "x"}, "listen takes no arguments"},
        {{"get", "main\\x", "--once"}, "--once applies to listen only"},
        {{"screen", "a.png", "--json"}, "--json applies to dir only"},
        {{"dir", "--json=yes"}, "--json takes no value"},
        {{"--simulate", "--simulate-rate", "0", "dir"}, "--simulate-rate takes"},
        {{"--simulate", "--simulate-rate=fast", "dir"}, "--simulate-rate takes"},
        {{"--simulate-rate", "500", "dir"}, "--simulate-rate applies to --simulate only"},
        {{"listen", "--simulate-send", "main\\x"}, "--simulate-send applies to --simulate only"},
        {{"--simulate", "dir", "--simulate-send", "main\\x"}, "--simulate-send applies to listen only"},
        {{"--simulate", "listen", "--simulate-send", "x"}, "names no folder"},
        {{"--cable", "serial", "dir"}, "--cable takes parallel, black, gray or usb"},
        {{"--cable", "black", "--port", "0x378", "dir"}, "--port takes a serial port such as"},
        {{"--cable", "parallel", "--port", "/dev/ttyUSB0", "dir"}, "is no parallel port"},
        {{"--port", "ttyS0", "dir"}, "--port takes"},
        {{"cables", "x"}, "cables takes no arguments"},
        {{"dir", "--probe"}, "--probe applies to cables only"},
    };
    for (const auto& [args, expected] : cases) {
        const Parsed p = Parse(args);
        EXPECT_FALSE(p.ok) << expected;
        EXPECT_NE(p.error.find(expected), std::string::npos) << "got: " << p.error;
        EXPECT_EQ(p.error.find('\n'), std::string::npos) << p.error;
    }
}
