#pragma once

#include "FakePageViews.h"
#include "gui/pages/DirListLogic.h"
#include "LinkRig.h"
#include "RecordingMessages.h"
#include "sim/VirtualCalculator.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

// The directory page's logic with a recording window, linked to the
// virtual calculator with its sample content, and an empty PC folder. The
// process's current directory is restored afterwards.
class CDirListLogicRig : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = std::filesystem::current_path();
        calc.LoadSampleContent();
        sheet.link = &rig.link;
        logic.SetSheet(&sheet);
    }
    void TearDown() override { std::filesystem::current_path(m_previous); }

    // Activates the folder row of `folder`, selected as a click leaves it.
    void Activate(const std::string& folder)
    {
        const int row = CFakeDirListView::RowOf(CFakeDirListView::Texts(view.folderRows), folder);
        ASSERT_GE(row, 0) << folder;
        view.selectedFolder = row;
        logic.OnActivateFolder(row);
    }
    // Selects the variable rows of `names`, leaving them in list order.
    void SelectVariables(const std::vector<std::string>& names)
    {
        view.selectedVars.clear();
        const std::vector<std::string> shown = CFakeDirListView::Texts(view.varRows);
        for (size_t row = 0; row < shown.size(); ++row)
            for (const std::string& name : names)
                if (shown[row] == name)
                    view.selectedVars.push_back(static_cast<int>(row));
        ASSERT_EQ(view.selectedVars.size(), names.size());
    }

    CVirtualCalculator calc;
    CLinkRig rig{&calc};
    CFakeSheet sheet;
    CFakeDirListView view;
    CRecordingMessages messages;
    CDirListLogic logic{view, messages};
    CTempFolder pc;

private:
    std::filesystem::path m_previous;
};
