#include "link/DirList.h"

#include "link/DisplayText.h"
#include "link/LinkProgress.h"
#include "link/VarTypes.h"
#include "shell/LanguageLibrary.h"
#include "shell/MessageBoxes.h"
#include "shell/Sheet.h"
#include "shell/StringIds.h"

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include <memory>
#include <utility>

namespace {

// Where each row keeps its raw name.
constexpr int kRawNameRole = Qt::UserRole;

// The list icons in image-list order: folder, spare, then the types.
constexpr const char* kIconFiles[ICON_COUNT] = {
    ":/icons/list/00-folder.png", ":/icons/list/01-unknown.png", ":/icons/list/02-expr.png",
    ":/icons/list/03-list.png",   ":/icons/list/04-mat.png",     ":/icons/list/05-dat.png",
    ":/icons/list/06-text.png",   ":/icons/list/07-str.png",     ":/icons/list/08-gfx.png",
    ":/icons/list/09-fig.png",    ":/icons/list/10-pic.png",     ":/icons/list/11-prg.png",
    ":/icons/list/12-func.png",   ":/icons/list/13-macr.png",
};

constexpr QSize kIconSize(19, 17);

struct Column {
    int headingId;
    Qt::Alignment alignment;
    int width;
};

constexpr Column kFolderColumns[] = {
    {IDS_HEAD_FOLDER, Qt::AlignLeft, 100},
    {IDS_HEAD_FOLDER_SIZE, Qt::AlignLeft, 70},
};
constexpr Column kVarColumns[] = {
    {IDS_HEAD_VAR, Qt::AlignLeft, 100},
    {IDS_HEAD_TYPE, Qt::AlignHCenter, 70},
    {IDS_HEAD_VAR_SIZE, Qt::AlignHCenter, 70},
};

QString Heading(int id)
{
    std::unique_ptr<char[]> text(static_cast<char*>(LoadLanguageResource(id, RT_STRING)));
    return text ? QString::fromUtf8(text.get()) : QString();
}

template <size_t N>
void InsertColumnsInto(QTreeWidget* list, const Column (&columns)[N])
{
    if (list == nullptr)
        return;
    list->setColumnCount(static_cast<int>(N));
    // Columns keep their widths, as in a report-style list view.
    list->header()->setStretchLastSection(false);
    QTreeWidgetItem* header = list->headerItem();
    for (size_t i = 0; i < N; ++i) {
        const int col = static_cast<int>(i);
        header->setText(col, Heading(columns[i].headingId));
        header->setTextAlignment(col, columns[i].alignment | Qt::AlignVCenter);
        list->setColumnWidth(col, columns[i].width);
    }
}

QString SizeText(uint32_t size)
{
    return QString::number(size); // "%u"
}

std::string RawName(const QTreeWidgetItem* item)
{
    const QByteArray raw = item->data(0, kRawNameRole).toByteArray();
    return std::string(raw.constData(), static_cast<size_t>(raw.size()));
}

QByteArray ToBytes(const std::string& s)
{
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

CDirList::CDirList() : CPropertyPage(IDD)
{
    Q_INIT_RESOURCE(list_icons);
    m_listing.SetFolderRows(this);
}

CDirList::~CDirList()
{
    m_listing.SetFolderRows(nullptr);
    m_listing.Clear();
}

CLink* CDirList::GetLink() const
{
    return m_pSheet && m_pSheet->HasLink() ? &m_pSheet->GetLink() : nullptr;
}

bool CDirList::OnInitDialog()
{
    DoDataExchange();
    InsertColumns();
    LoadIcons();
    ConnectControls();
    ShowPcFolder(CPcFolder::HomeFolder());
    return true;
}

void CDirList::DoDataExchange()
{
    m_listFolders = GetControl<QTreeWidget>("IDC_FOLDER_LIST");
    m_listVars = GetControl<QTreeWidget>("IDC_VAR_LIST");
    m_listPcFolders = GetControl<QListWidget>("IDC_PC_FOLDERS");
    m_listPcFiles = GetControl<QListWidget>("IDC_PC_FILES");
    m_labelPcPath = GetControl<QLabel>("IDC_PC_PATH");
}

void CDirList::InsertColumns()
{
    InsertColumnsInto(m_listFolders, kFolderColumns);
    InsertColumnsInto(m_listVars, kVarColumns);
}

void CDirList::LoadIcons()
{
    for (int i = 0; i < ICON_COUNT; ++i)
        m_imageList[static_cast<size_t>(i)] = QIcon(QString::fromLatin1(kIconFiles[i]));
    for (QTreeWidget* list : {m_listFolders, m_listVars})
        if (list)
            list->setIconSize(kIconSize);
}

void CDirList::ConnectControls()
{
    if (m_listFolders)
        connect(m_listFolders, &QTreeWidget::itemActivated, this,
                [this](QTreeWidgetItem* item) { OnActivateFolder(item); });
    // Moving into a folder refills the list whose selection just changed, so
    // it happens once the list has finished handling the click or key.
    if (m_listPcFolders)
        connect(m_listPcFolders, &QListWidget::itemSelectionChanged, this, &CDirList::OnSelectPcFolder,
                Qt::QueuedConnection);
    if (auto* send = GetControl<QPushButton>("IDC_SEND"))
        connect(send, &QPushButton::clicked, this, [this] {
            if (CheckLink())
                OnSend();
        });
    if (auto* directory = GetControl<QPushButton>("IDC_DIRECTORY"))
        connect(directory, &QPushButton::clicked, this, &CDirList::OnRefreshDirectory);
    if (auto* receive = GetControl<QPushButton>("IDC_RECEIVE"))
        connect(receive, &QPushButton::clicked, this, [this] {
            if (CheckLink())
                OnReceive();
        });
    const std::pair<const char*, void (CDirList::*)()> linkButtons[] = {
        {"IDC_BACKUP", &CDirList::OnBackup}, {"IDC_RESTORE", &CDirList::OnRestore}, {"IDC_LISTEN", &CDirList::OnListen}};
    for (const auto& [name, handler] : linkButtons)
        if (auto* button = GetControl<QPushButton>(name))
            connect(button, &QPushButton::clicked, this, [this, handler = handler] {
                if (CheckLink())
                    (this->*handler)();
            });
}

bool CDirList::CheckLink()
{
    if (GetLink() != nullptr)
        return true;
    UserMessages().ShowMessage(IDS_PORT_NOT_OPENED);
    return false;
}

std::string CDirList::GetTypeExtension(uint8_t type)
{
    return ::GetTypeExtension(type);
}

// ---- calculator side -------------------------------------------------------

void CDirList::OnRefreshDirectory()
{
    if (!CheckLink())
        return;
    for (QTreeWidget* list : {m_listFolders, m_listVars})
        if (list)
            list->clear();
    m_listing.Clear();
    for (QTreeWidget* list : {m_listFolders, m_listVars})
        if (list)
            list->viewport()->update();
    if (!ReadDirectory())
        UserMessages().ShowMessage(ExchangeFailureMessage(*GetLink(), IDS_DIRECTORY_FAILED));
}

bool CDirList::ReadDirectory()
{
    CLink* link = GetLink();
    return link != nullptr && m_listing.ReadDirectory(*link);
}

bool CDirList::AddFolderEntry(const std::string& name, uint32_t size)
{
    return m_listing.AddFolderEntry(name, size);
}

void CDirList::AddVariableEntry(const VarEntry& entry)
{
    m_listing.AddVariableEntry(entry);
}

bool CDirList::InsertFolderRow(const std::string& name, uint32_t size)
{
    if (m_listFolders == nullptr)
        return false;
    auto* item = new QTreeWidgetItem;
    item->setText(0, QString::fromStdString(CalcNameToDisplay(name)));
    item->setData(0, kRawNameRole, ToBytes(name));
    item->setIcon(0, m_imageList[ICON_FOLDER]);
    item->setText(1, SizeText(size));
    m_listFolders->insertTopLevelItem(0, item);
    return true;
}

void CDirList::OnActivateFolder(QTreeWidgetItem* item)
{
    if (item != nullptr)
        ShowFolderVariables(RawName(item));
}

void CDirList::ShowFolderVariables(const std::string& folder)
{
    if (m_listVars == nullptr)
        return;
    m_listVars->clear();
    // Each row goes in ahead of the ones before it, so the list shows the
    // folder's variables in the reverse of their arrival order. Built in one
    // batch, which shows the same rows as inserting them one by one.
    QList<QTreeWidgetItem*> rows;
    for (auto it = m_listing.m_vars.rbegin(); it != m_listing.m_vars.rend(); ++it) {
        if (it->folder != folder)
            continue;
        auto* item = new QTreeWidgetItem;
        item->setText(0, QString::fromStdString(CalcNameToDisplay(it->name)));
        item->setData(0, kRawNameRole, ToBytes(it->name));
        item->setIcon(0, m_imageList[static_cast<size_t>(GetTypeIconIndex(it->type))]);
        item->setText(1, QString::fromStdString(GetTypeDisplayName(it->type)));
        item->setTextAlignment(1, Qt::AlignCenter);
        item->setText(2, SizeText(it->size));
        item->setTextAlignment(2, Qt::AlignCenter);
        rows.append(item);
    }
    m_listVars->insertTopLevelItems(0, rows);
}

bool CDirList::GetSelectedFolder(std::string& name) const
{
    if (m_listFolders == nullptr)
        return false;
    const QList<QTreeWidgetItem*> selected = m_listFolders->selectedItems();
    if (selected.isEmpty())
        return false;
    name = RawName(selected.front());
    return true;
}

std::vector<std::string> CDirList::GetSelectedVariableNames() const
{
    std::vector<std::string> names;
    if (m_listVars == nullptr)
        return names;
    // In list order, whatever the order of selecting.
    for (int i = 0; i < m_listVars->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_listVars->topLevelItem(i);
        if (item->isSelected())
            names.push_back(RawName(item));
    }
    return names;
}

// ---- PC side ---------------------------------------------------------------

void CDirList::ShowPcFolder(const std::string& path)
{
    // A folder that cannot be entered or listed leaves everything as it was.
    if (!m_pcFolder.Show(path))
        return;
    if (m_labelPcPath)
        m_labelPcPath->setText(QString::fromStdString(FileNameToDisplay(m_pcFolder.GetPath())));
    if (m_listPcFolders) {
        const QSignalBlocker block(m_listPcFolders);
        m_listPcFolders->clear();
        for (const CPcFolder::Item& entry : m_pcFolder.GetFolders()) {
            auto* item = new QListWidgetItem(QString::fromStdString(entry.label));
            item->setData(kRawNameRole, ToBytes(entry.target));
            m_listPcFolders->addItem(item);
        }
    }
    if (m_listPcFiles) {
        m_listPcFiles->clear();
        for (const std::string& name : m_pcFolder.GetFiles()) {
            auto* item = new QListWidgetItem(QString::fromStdString(FileNameToDisplay(name)));
            item->setData(kRawNameRole, ToBytes(name));
            m_listPcFiles->addItem(item);
        }
    }
}

void CDirList::OnSelectPcFolder()
{
    if (m_listPcFolders == nullptr)
        return;
    const QList<QListWidgetItem*> selected = m_listPcFolders->selectedItems();
    if (selected.isEmpty())
        return;
    const QByteArray target = selected.front()->data(kRawNameRole).toByteArray();
    m_szPath.assign(target.constData(), static_cast<size_t>(target.size()));
    ShowPcFolder(m_szPath);
}

void CDirList::RefreshPcFiles()
{
    if (!m_pcFolder.GetPath().empty())
        ShowPcFolder(m_pcFolder.GetPath());
}

std::string CDirList::GetSelectedPcFile() const
{
    if (m_listPcFiles == nullptr)
        return {};
    const QList<QListWidgetItem*> selected = m_listPcFiles->selectedItems();
    if (selected.isEmpty())
        return {};
    const QByteArray raw = selected.front()->data(kRawNameRole).toByteArray();
    return std::string(raw.constData(), static_cast<size_t>(raw.size()));
}
