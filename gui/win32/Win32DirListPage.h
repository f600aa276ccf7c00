#pragma once

#include "gui/pages/DirListLogic.h"
#include "gui/pages/DirListView.h"
#include "gui/win32/Win32Page.h"
#include "resources/ControlIds.h"

class IUserMessages;

// The directory page in a Win32 sheet: template IDD_DIRLIST of the language
// library with its two report-style list views (columns and list icons), the
// PC folder and file lists and the path label. What the page does is
// CDirListLogic's; this draws it and passes the user's actions on.
class CWin32DirListPage final : public CWin32Page, private IDirListView {
public:
    static constexpr int IDD = IDD_DIRLIST;

    explicit CWin32DirListPage(IUserMessages& messages);
    ~CWin32DirListPage() override;

    CDirListLogic& Logic() { return m_logic; }

protected:
    void OnInitDialog() override;
    void OnCommand(int id, int code) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    void OnDestroy() override;

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

    void InsertColumns();
    void LoadIcons();
    // The four lists keep Enter from the dialog manager; OnListEnter does
    // what it means in list `id`.
    static LRESULT CALLBACK ListProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnListEnter(int id);

    CDirListLogic m_logic;
    HIMAGELIST m_imageList = nullptr;
    // While the page refills the PC lists, their selection changes are its
    // own, not the user's.
    bool m_bFillingPcLists = false;
};
