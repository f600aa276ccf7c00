#pragma once

#include "gui/pages/LinkPage.h"
#include "gui/pages/PcFolder.h"
#include "link/DirectoryListing.h"
#include "link/DirEntries.h"
#include "link/FolderRows.h"
#include "link/KeySender.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CLink;
class CRemoteOperation;
class IDirListView;
class IUserMessages;

// What the directory page does, whatever window shows it: the directory,
// receive and send buttons, what the calculator's folder and variable lists
// show, opening a folder, and the PC side that follows the user through the
// PC's folders. Names stay raw bytes here; the rows carry their shown form.
class CDirListLogic : public CLinkPage, private IFolderRows {
public:
    CDirListLogic(IDirListView& view, IUserMessages& messages);
    ~CDirListLogic() override;

    // The page's window is up: the PC side starts in the home folder.
    void OnInitDialog();

    // The directory button: empties both lists and reads the directory.
    void OnRefreshDirectory();
    // Empties both calculator lists and the entries of the last listing.
    void ClearCalculatorSide();
    bool ReadDirectory();
    bool AddFolderEntry(const std::string& name, uint32_t size);
    void AddVariableEntry(const VarEntry& entry);
    static std::string GetTypeExtension(uint8_t type);

    // Activating a row of the folder list shows that folder's variables.
    void OnActivateFolder(int row);
    void ShowFolderVariables(const std::string& folder);

    // The PC side: makes `path` the current PC folder (and the process's
    // current directory) and refills both lists and the path label.
    void ShowPcFolder(const std::string& path);
    // A selection change in the PC folder list moves into the entry.
    void OnSelectPcFolder();
    // Lists the current PC folder again, after a file was written there.
    void RefreshPcFiles();

    // The receive and send buttons (the variable transfer).
    void OnReceive();
    void OnSend();

    // The backup, restore and wait-for-calculator buttons; the link's
    // progress window shows each, with Cancel, while it runs.
    void OnBackup();
    void OnRestore();
    void OnListen();

    // What the calculator has no link command for, done by pressing its
    // keys: delete the selected variables (after asking), make a folder
    // (asking its name), run the selected program or function (asking its
    // arguments). Each ends with the lists showing the directory as the
    // calculator lists it afterwards.
    void OnDelete();
    void OnNewFolder();
    void OnRun();
    // Tests time the pause between keys on their own clock.
    void SetKeyClock(IClock& clock, CKeySender::SleepFunction sleep);

    // What the transfers read from the page: raw names of the selected rows.
    bool GetSelectedFolder(std::string& name) const;
    std::vector<std::string> GetSelectedVariableNames() const;
    // The PC folder that the path label shows, as raw bytes.
    const std::string& GetPcFolderPath() const { return m_pcFolder.GetPath(); }
    // The file selected in the PC file list, empty when none.
    std::string GetSelectedPcFile() const;

    // The entries of the last directory listing.
    const std::vector<FolderEntry>& GetFolders() const { return m_listing.m_folders; }
    const std::vector<VarEntry>& GetVariables() const { return m_listing.m_vars; }

private:
    bool InsertFolderRow(const std::string& name, uint32_t size) override;
    // Buttons that talk to the calculator do nothing without a link but say
    // so; no port is touched.
    CLink* CheckLink();
    // The backup file to write or to restore, empty when none was chosen.
    std::string ChooseBackupFile(bool forSaving);
    // Has `operate` press keys through a remote operation on `link`, then
    // shows the directory it read, `folder`'s variables in the list.
    void PressKeys(CLink& link, const std::string& folder, const std::function<void(CRemoteOperation&)>& operate);
    // The lists anew from `listing`, `folder`'s variables shown.
    void ShowListing(const CDirectoryListing& listing, const std::string& folder);

    // The last entry chosen in the PC folder list.
    std::string m_szPath;
    CDirectoryListing m_listing;
    IDirListView& m_view;
    IUserMessages& m_messages;
    CPcFolder m_pcFolder;
    // Raw names behind the rows of the folder list and the variable list, in
    // list order.
    std::vector<std::string> m_folderRows;
    std::vector<std::string> m_varRows;
    IClock* m_pKeyClock = nullptr;
    CKeySender::SleepFunction m_keySleep;
};
