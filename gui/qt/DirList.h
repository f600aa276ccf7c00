#pragma once

#include "gui/pages/DirListLogic.h"
#include "gui/pages/DirListView.h"
#include "gui/pages/SheetLogic.h"
#include "gui/qt/QtPropertyPage.h"
#include "link/VarTypes.h"

#include <QIcon>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QTreeWidget;

// The directory page's window: the calculator's folder and variable lists,
// the PC folder list, path label and file list, and the directory, receive
// and send buttons. Its template (IDD_DIRLIST) comes from the language library. It
// draws what its logic says and passes the user's actions on to it.
class CDirList : public CQtPropertyPage, private IDirListView {
    Q_OBJECT
public:
    static constexpr int IDD = IDD_DIRLIST;

    CDirList();
    ~CDirList() override;

    CDirListLogic& Logic() { return m_logic; }

    // Tests put their own choice of backup file in place of the dialog.
    std::function<std::string(bool forSaving)> m_chooseBackupFile;

protected:
    bool OnInitDialog() override;
    // Enter in a list does the list's own action and nothing else: it must
    // not reach the sheet's default button, which would close the program.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ClearCalculatorLists() override;
    bool InsertFolderRow(const ListRow& row) override;
    size_t ShowVariableRows(const std::vector<ListRow>& rows) override;
    int GetSelectedFolderRow() const override;
    std::vector<int> GetSelectedVariableRows() const override;
    void ShowPcFolder(const std::string& path, const std::vector<std::string>& folders,
                      const std::vector<std::string>& files) override;
    int GetSelectedPcFolderRow() const override;
    int GetSelectedPcFileRow() const override;
    std::string AskBackupFile(bool forSaving, const std::string& start) override;

    void DoDataExchange();
    void InsertColumns();
    void LoadIcons();
    void ConnectControls();
    const QIcon& Icon(int index) const;

    std::array<QIcon, ICON_COUNT> m_imageList;
    QTreeWidget* m_listFolders = nullptr;
    QTreeWidget* m_listVars = nullptr;
    QListWidget* m_listPcFolders = nullptr;
    QListWidget* m_listPcFiles = nullptr;
    QLabel* m_labelPcPath = nullptr;
    CDirListLogic m_logic;
};
