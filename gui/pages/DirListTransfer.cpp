// The receive and send buttons of the directory page: the page gathers the
// selection and the shown PC folder, the transfer operations do the rest.
#include "gui/pages/DirListLogic.h"

#include "transfer/ReceiveOperation.h"
#include "transfer/SendOperation.h"

#include <filesystem>

void CDirListLogic::OnReceive()
{
    CLink* link = CheckLink();
    if (link == nullptr)
        return;
    std::string folder;
    const bool hasFolder = GetSelectedFolder(folder);
    const std::vector<std::string> names = GetSelectedVariableNames();
    CReceiveOperation operation(*link, m_messages, m_vars);
    if (operation.OnReceive(GetPcFolderPath(), hasFolder ? &folder : nullptr, names))
        RefreshPcFiles();
}

void CDirListLogic::OnSend()
{
    CLink* link = CheckLink();
    if (link == nullptr)
        return;
    m_szPath = GetSelectedPcFile();
    const std::string path = m_szPath.empty() ? std::string()
                                              : (std::filesystem::path(GetPcFolderPath()) / m_szPath).string();
    CSendOperation(*link, m_messages).SendFile(path);
}
