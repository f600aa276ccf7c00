#pragma once

#include "ProgramFolderFixture.h"

#include "gui/qt/Sheet.h"

#include <QTemporaryDir>

#include <filesystem>
#include <memory>

class CSimulatedCable;
class CVirtualCalculator;

// The whole program on the simulated calculator: an English language
// library in a program folder of its own, fresh settings, an empty home
// folder (which the directory page makes the current directory when the
// sheet opens), and every message recorded.
class CSimulatedSheetFixture : public CProgramFolderFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds and shows the sheet; with `portOpens` false the port refuses to
    // open, as with no cable driver.
    void OpenSheet(bool portOpens = true);

    CVirtualCalculator& Calc();
    CSimulatedCable& Cable();

    std::unique_ptr<CSheet> m_pSheet;
    // The home folder, with every link resolved.
    std::filesystem::path m_home;

private:
    QTemporaryDir m_homeDir;
    std::filesystem::path m_previousDir;
};
