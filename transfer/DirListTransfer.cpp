// The receive and send buttons of the directory page: the page gathers the
// selection and the shown PC folder, the transfer operations do the rest.
#include "link/DirList.h"

#include "shell/MessageBoxes.h"
#include "transfer/ReceiveOperation.h"
#include "transfer/SendOperation.h"

#include <filesystem>

void CDirList::OnReceive()
{
    if (!CheckLink())
        return;
    std::string folder;
    const bool hasFolder = GetSelectedFolder(folder);
    CReceiveOperation operation(*GetLink(), UserMessages(), m_vars);
    if (operation.OnReceive(GetPcFolderPath(), hasFolder ? &folder : nullptr, GetSelectedVariableNames()))
        RefreshPcFiles();
}

void CDirList::OnSend()
{
    if (!CheckLink())
        return;
    m_szPath = GetSelectedPcFile();
    const std::string path = m_szPath.empty() ? std::string()
                                              : (std::filesystem::path(GetPcFolderPath()) / m_szPath).string();
    CSendOperation(*GetLink(), UserMessages()).SendFile(path);
}
