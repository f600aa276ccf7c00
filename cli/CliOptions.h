#pragma once

#include "text/CableKind.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What one run of the command-line program was asked to do.
enum class CliCommand { None, Dir, Get, Send, Screen, Backup, Restore, Listen, Cables, Keys, Run, Delete, Mkdir };

struct CCliOptions {
    CliCommand command = CliCommand::None;
    bool bHelp = false;
    bool bVersion = false;

    // The link; what is not given comes from the stored settings.
    std::optional<CableKind> cable;   // --cable
    std::optional<uint16_t> portBase; // 0x378 or 0x278
    std::string strPortDevice;        // a /dev/parportN path instead of a base
    std::string strSerialPort;        // a serial device or COMn, for the serial cables
    std::string strUsbPort;           // the USB link cable: bus:address, or its number in cables
    std::optional<uint32_t> timeout;  // milliseconds, 1..10000
    bool bSimulate = false;
    std::string strSimulateDir;       // empty: the built-in content
    uint32_t nSimulateRate = 0;       // bytes a second of the simulated cable; 0: at once
    // listen: what the simulated calculator sends by itself, "folder\name"
    // each, or "backup" for its whole memory
    std::vector<std::string> simulateSend;

    // dir
    bool bJson = false;
    bool bAll = false;
    // get, delete, run: "FOLDER\NAME" (or "FOLDER/NAME") split in two
    struct VarName {
        std::string folder;
        std::string name;
    };
    std::vector<VarName> vars;
    std::string strDirectory; // -C DIR (get, listen)
    std::optional<std::string> group;
    // get, screen, backup and listen: replace an existing file without asking
    bool bForce = false;
    // send: the files; screen: the one image file; backup, restore: the backup
    std::vector<std::string> files;
    unsigned zoom = 1;
    // restore, delete: the user agrees to lose what is on the calculator
    bool bYes = false;
    // listen: stop after the first transmission
    bool bOnce = false;
    // cables: send each cable a ready check
    bool bProbe = false;
    // keys: the key codes, and the arguments as given, for the progress
    std::vector<uint16_t> keys;
    std::string strKeysText;
    // run: the arguments between the brackets
    std::string strArguments;
    // mkdir: the folder to make
    std::string strFolder;
};

// Reads the arguments after the program name. On a usage error returns
// false and puts one line, without the program name, in `error`.
bool ParseCommandLine(const std::vector<std::string>& args, CCliOptions& options,
                      std::string& error);

// The cable of the run: --cable, or the stored one. False, with one line in
// `error`, when --port names a port of another kind of cable.
bool ResolveCable(const CCliOptions& options, CableKind stored, CableKind& cable, std::string& error);

// "0x378", "378", "0x278" or "278"; anything else is not a port base.
std::optional<uint16_t> ParsePortBase(const std::string& text);

// The text of --help: the whole of it, or what concerns one command (for
// "COMMAND --help").
std::string GetUsageText(CliCommand command = CliCommand::None);
// The text of --version.
std::string GetVersionText();
