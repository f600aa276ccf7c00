#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>


// One row of a calculator list as the window shows it: the first column's
// text with its icon (an index of the list icons), then the other columns.
struct ListRow {
    std::string text;
    int icon = -1;
    std::vector<std::string> cells;

    bool operator==(const ListRow&) const = default;
};

// The directory page's window as its logic sees it: two calculator lists,
// the PC folder list, the path label and the PC file list. The logic says
// what the lists show and keeps what each row stands for; the window only
// draws rows and reports which ones are selected, by row index from the top.
class IDirListView {
public:
    virtual ~IDirListView() = default;

    // Empties the folder list and the variable list and redraws both.
    virtual void ClearCalculatorLists() = 0;
    // A row at the top of the folder list; false when the list refused it.
    virtual bool InsertFolderRow(const ListRow& row) = 0;
    // Replaces the variable list by `rows`, top first. Returns how many of
    // them, from the top, the list could take.
    virtual size_t ShowVariableRows(const std::vector<ListRow>& rows) = 0;
    // The first selected row of the folder list, -1 when none.
    virtual int GetSelectedFolderRow() const = 0;
    // The selected rows of the variable list, in list order.
    virtual std::vector<int> GetSelectedVariableRows() const = 0;

    // The PC side: the path label, the folder list's entries and the file
    // list's names, all as shown. Refilling reports no selection change.
    virtual void ShowPcFolder(const std::string& path, const std::vector<std::string>& folders,
                              const std::vector<std::string>& files) = 0;
    virtual int GetSelectedPcFolderRow() const = 0;
    virtual int GetSelectedPcFileRow() const = 0;

    // The file dialog of the backup buttons: where to save a backup
    // (`forSaving`) or which one to restore, opening on `start`. Empty when
    // the user cancelled.
    virtual std::string AskBackupFile(bool forSaving, const std::string& start) = 0;
};
