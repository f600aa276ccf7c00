#pragma once

#include "cli/CliApp.h"
#include "language/ProgramFolder.h"
#include "sim/BuiltInCalculator.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

// One run of the command-line program after another, in this process,
// against a simulated calculator that the test holds: its own settings
// folder, the language libraries of the build, a fresh folder for files.
class CliFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
        SetProgramFolder(VANTREL_TEST_PROGRAM_FOLDER);
    }
    void TearDown() override { SetProgramFolder(""); }

    int Run(const std::vector<std::string>& args, const std::string& typed = {}, bool terminal = false)
    {
        m_out.str("");
        m_err.str("");
        std::istringstream in(typed);
        const CCliStreams streams{m_out, m_err, in, terminal, terminal};
        return RunCli(args, streams, &m_simulated);
    }

    // Writes the settings file as the window program would have saved it.
    void StoreSettings(int language, const std::string& port = "0x378", unsigned timeout = 1000)
    {
        std::filesystem::create_directories(m_config.File("Corvessan"));
        std::ofstream out(m_config.File("Corvessan/Vantrel 92.conf"));
        char numbers[64];
        std::snprintf(numbers, sizeof numbers, "Language=dword:%08x\nTimeout=dword:%08x\n",
                      static_cast<unsigned>(language), timeout);
        out << "[General]\nVersion=1.0\nPort_LPT=" << port << "\n" << numbers;
    }

    std::string Out() const { return m_out.str(); }
    std::string Err() const { return m_err.str(); }

    CTempFolder m_config;
    CTempFolder m_work;
    CBuiltInCalculator m_simulated{0x378}; // holds the sample content
    CVirtualCalculator& m_calc = m_simulated.GetCalculator();
    std::ostringstream m_out;
    std::ostringstream m_err;
};
