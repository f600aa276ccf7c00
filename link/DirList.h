#pragma once

#include "link/DirEntries.h"
#include "link/DirectoryListing.h"
#include "link/FolderRows.h"
#include "link/PcFolder.h"
#include "shell/PropertyPage.h"

#include <QIcon>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CLink;
class CSheet;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The directory page: the calculator's folders and the variables of the
// folder the user opens, beside a small PC file browser, with the directory,
// receive and send buttons. Its template (106) comes from the language
// library. Calculator and file names are kept as raw bytes in the rows
// (Qt::UserRole); only their shown text is made readable.
class CDirList : public CPropertyPage, private IFolderRows {
    Q_OBJECT
public:
    static constexpr int IDD = 106;

    CDirList();
    ~CDirList() override;

    // The sheet whose link the page uses; set when the port has opened, so
    // a page without it has no link.
    void SetSheet(CSheet* pSheet) { m_pSheet = pSheet; }
    // The link, or null while the page has none.
    CLink* GetLink() const;

    // The directory button: empties both lists and reads the directory.
    void OnRefreshDirectory();
    bool ReadDirectory();
    bool AddFolderEntry(const std::string& name, uint32_t size);
    void AddVariableEntry(const VarEntry& entry);
    static std::string GetTypeExtension(uint8_t type);

    // The calculator's folder list: activating a row shows its variables.
    void OnActivateFolder(QTreeWidgetItem* item);
    void ShowFolderVariables(const std::string& folder);

    // The PC side: makes `path` the current PC folder (and the process's
    // current directory) and refills both lists and the path label.
    void ShowPcFolder(const std::string& path);
    void OnSelectPcFolder();
    // Lists the current PC folder again, after a file was written there.
    void RefreshPcFiles();

    // The receive and send buttons (the variable transfer).
    void OnReceive();
    void OnSend();

    // The backup, restore and wait-for-calculator buttons, each with a
    // window and Cancel while it runs.
    void OnBackup();
    void OnRestore();
    void OnListen();
    // The backup file to write or to restore, empty when none was chosen.
    // Tests put their own choice in place of the file dialog.
    std::string ChooseBackupFile(bool forSaving);
    std::function<std::string(bool forSaving)> m_chooseBackupFile;

    // What the transfers read from the page.
    bool GetSelectedFolder(std::string& name) const;
    std::vector<std::string> GetSelectedVariableNames() const;
    // The PC folder that the path label shows, as raw bytes.
    const std::string& GetPcFolderPath() const { return m_pcFolder.GetPath(); }
    // The file selected in the PC file list, empty when none.
    std::string GetSelectedPcFile() const;
    const std::vector<VarEntry>& GetVars() const { return m_listing.m_vars; }

    CSheet* m_pSheet = nullptr;
    // The last entry chosen in the PC folder list.
    std::string m_szPath;
    CDirectoryListing m_listing;
    std::vector<FolderEntry>& m_folders = m_listing.m_folders;
    std::vector<VarEntry>& m_vars = m_listing.m_vars;
    std::string& m_strCurFolder = m_listing.m_strCurFolder;

protected:
    bool OnInitDialog() override;

private:
    bool InsertFolderRow(const std::string& name, uint32_t size) override;
    void DoDataExchange();
    void InsertColumns();
    void LoadIcons();
    void ConnectControls();
    // Buttons that talk to the calculator do nothing without a link but say
    // so.
    bool CheckLink();
    static std::string ListenBackupName();

    std::array<QIcon, 14> m_imageList;
    QTreeWidget* m_listFolders = nullptr;
    QTreeWidget* m_listVars = nullptr;
    QListWidget* m_listPcFolders = nullptr;
    QListWidget* m_listPcFiles = nullptr;
    QLabel* m_labelPcPath = nullptr;
    CPcFolder m_pcFolder;
};
