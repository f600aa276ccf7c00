#pragma once

// Windows of the pages as their logic sees them, recording what the logic
// asked them to show and answering with what a test set.

#include "gui/pages/ConfigView.h"
#include "gui/pages/DirListView.h"
#include "gui/pages/GrabScreenView.h"
#include "gui/pages/LinkSource.h"
#include "screen/PictureWriter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

// A sheet whose link is open while `link` is set.
struct CFakeSheet final : ILinkSource {
    CLink* link = nullptr;
    CLink* GetOpenLink() override { return link; }
};

struct CFakeDirListView final : IDirListView {
    // Shown, top first.
    std::vector<ListRow> folderRows;
    std::vector<ListRow> varRows;
    std::string pcPath;
    std::vector<std::string> pcFolders;
    std::vector<std::string> pcFiles;
    // Set by the test.
    int selectedFolder = -1;
    std::vector<int> selectedVars;
    int selectedPcFolder = -1;
    int selectedPcFile = -1;
    size_t varRowsTaken = std::numeric_limits<size_t>::max();
    // The backup file dialog: what it was opened on, and the answer.
    std::vector<std::string> backupDialogs;
    std::string backupFile;

    void ClearCalculatorLists() override
    {
        folderRows.clear();
        varRows.clear();
    }
    bool InsertFolderRow(const ListRow& row) override
    {
        folderRows.insert(folderRows.begin(), row);
        return true;
    }
    size_t ShowVariableRows(const std::vector<ListRow>& rows) override
    {
        varRows.assign(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(std::min(rows.size(), varRowsTaken)));
        return varRows.size();
    }
    int GetSelectedFolderRow() const override { return selectedFolder; }
    std::vector<int> GetSelectedVariableRows() const override { return selectedVars; }
    void ShowPcFolder(const std::string& path, const std::vector<std::string>& folders,
                      const std::vector<std::string>& files) override
    {
        pcPath = path;
        pcFolders = folders;
        pcFiles = files;
    }
    int GetSelectedPcFolderRow() const override { return selectedPcFolder; }
    int GetSelectedPcFileRow() const override { return selectedPcFile; }
    std::string AskBackupFile(bool forSaving, const std::string& start) override
    {
        backupDialogs.push_back((forSaving ? "save " : "open ") + start);
        return backupFile;
    }

    // The first column's texts of a list.
    static std::vector<std::string> Texts(const std::vector<ListRow>& rows, size_t column = 0)
    {
        std::vector<std::string> texts;
        for (const ListRow& row : rows)
            texts.push_back(column == 0 ? row.text : row.cells.at(column - 1));
        return texts;
    }
    // The row of `text` in `list`, -1 when none.
    static int RowOf(const std::vector<std::string>& list, const std::string& text)
    {
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i] == text)
                return static_cast<int>(i);
        return -1;
    }
};

struct CFakeGrabScreenView final : IGrabScreenView {
    struct Picture {
        std::vector<uint8_t> bits;
        unsigned zoom;
    };
    std::vector<Picture> shown;
    bool zoomChecked = false;
    std::vector<bool> busy;
    bool refusePictures = false;
    std::string pathAnswer;

    bool ShowPicture(const std::vector<uint8_t>& bits, unsigned zoom) override
    {
        if (refusePictures)
            return false;
        shown.push_back({bits, zoom});
        return true;
    }
    bool IsZoomChecked() const override { return zoomChecked; }
    void ShowBusy(bool on) override { busy.push_back(on); }
    std::string AskPicturePath() override { return pathAnswer; }
    bool ShowRemoteWindow(CLink& link) override
    {
        remoteWindows.push_back(&link);
        return true;
    }
    std::vector<CLink*> remoteWindows;
};

struct CFakePictureWriter final : IPictureWriter {
    struct Write {
        std::vector<uint8_t> bits;
        unsigned zoom;
        std::string path;
        std::string format;
    };
    std::vector<Write> writes;
    std::string failure; // a reason makes every write fail

    std::vector<std::string> GetFormats() const override { return {"bmp", "png"}; }
    bool WritePicture(const std::vector<uint8_t>& bits, unsigned zoom, const std::string& path,
                      const std::string& format, std::string& reason) override
    {
        writes.push_back({bits, zoom, path, format});
        reason = failure;
        return failure.empty();
    }
};

struct CFakeConfigView final : IConfigView {
    std::vector<std::string> ports;
    std::vector<std::string> languages;
    size_t portMaxChars = 0;
    std::vector<ConfigValues> shown;
    ConfigValues typed;
    int focusTimeout = 0;

    void FillChoices(const std::vector<std::string>& portItems, const std::vector<std::string>& languageItems,
                     size_t maxChars) override
    {
        ports = portItems;
        languages = languageItems;
        portMaxChars = maxChars;
    }
    void ShowValues(const ConfigValues& values) override { shown.push_back(values); }
    ConfigValues ReadValues() const override { return typed; }
    void FocusTimeout() override { ++focusTimeout; }

    std::vector<int> cableNameIds;
    std::vector<std::string> serialPorts;
    size_t serialMaxChars = 0;
    std::vector<CableValues> cablesShown;
    CableValues cableTyped{0, "/dev/ttyS0"};
    bool bSerialPortShown = false;

    void FillCableChoices(const std::vector<int>& ids, const std::vector<std::string>& ports, size_t maxChars) override
    {
        cableNameIds = ids;
        serialPorts = ports;
        serialMaxChars = maxChars;
    }
    void ShowCable(const CableValues& values) override
    {
        cablesShown.push_back(values);
        cableTyped = values;
    }
    CableValues ReadCable() const override { return cableTyped; }
    void ShowSerialPortChoice(bool serial) override { bSerialPortShown = serial; }
};
