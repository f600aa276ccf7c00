#include "gui/qt/DirList.h"

#include "gui/pages/DirListColumns.h"
#include "gui/qt/QtMessageBoxes.h"
#include "language/LanguageLibrary.h"

#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

// The list icons in image-list order: folder, spare, then the types.
constexpr const char* ICON_FILES[ICON_COUNT] = {
    ":/icons/list/00-folder.png", ":/icons/list/01-unknown.png", ":/icons/list/02-expr.png",
    ":/icons/list/03-list.png",   ":/icons/list/04-mat.png",     ":/icons/list/05-dat.png",
    ":/icons/list/06-text.png",   ":/icons/list/07-str.png",     ":/icons/list/08-gfx.png",
    ":/icons/list/09-fig.png",    ":/icons/list/10-pic.png",     ":/icons/list/11-prg.png",
    ":/icons/list/12-func.png",   ":/icons/list/13-macr.png",
};

constexpr QSize ICON_SIZE(19, 17);

QString Heading(int id)
{
    std::unique_ptr<char[]> text(static_cast<char*>(LoadLanguageResource(id, RT_STRING)));
    return text ? QString::fromUtf8(text.get()) : QString();
}

Qt::Alignment AlignmentOf(ColumnAlign align)
{
    return align == ColumnAlign::Centre ? Qt::AlignHCenter : Qt::AlignLeft;
}

template <size_t N>
void InsertColumnsInto(QTreeWidget* list, const ListColumn (&columns)[N])
{
    if (list == nullptr)
        return;
    list->setColumnCount(static_cast<int>(N));
    // Columns keep their widths, as in a report-style list view.
    QHeaderView* header = list->header();
    header->setStretchLastSection(false);
    QTreeWidgetItem* headings = list->headerItem();
    for (size_t i = 0; i < N; ++i) {
        const int col = static_cast<int>(i);
        headings->setText(col, Heading(columns[i].headingId));
        headings->setTextAlignment(col, AlignmentOf(columns[i].align) | Qt::AlignVCenter);
    }
    // Wide enough for its heading in the font and language at hand, and the
    // list wide enough to show its columns without scrolling, as it does
    // with the shortest headings.
    int total = 0;
    for (size_t i = 0; i < N; ++i) {
        const int col = static_cast<int>(i);
        list->setColumnWidth(col, std::max(columns[i].minWidth, header->sectionSizeHint(col)));
        total += list->columnWidth(col);
    }
    list->setMinimumWidth(std::max(list->minimumWidth(), total + 2 * list->frameWidth()));
}

template <size_t N>
QTreeWidgetItem* MakeItem(const ListRow& row, const QIcon& icon, const ListColumn (&columns)[N])
{
    auto* item = new QTreeWidgetItem;
    item->setText(0, QString::fromStdString(row.text));
    item->setIcon(0, icon);
    for (size_t i = 0; i < row.cells.size() && i + 1 < N; ++i) {
        const int col = static_cast<int>(i + 1);
        item->setText(col, QString::fromStdString(row.cells[i]));
        if (columns[i + 1].align == ColumnAlign::Centre)
            item->setTextAlignment(col, Qt::AlignCenter);
    }
    return item;
}

int FirstSelectedRow(const QListWidget* list)
{
    if (list == nullptr)
        return -1;
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
}

void FillList(QListWidget* list, const std::vector<std::string>& texts)
{
    if (list == nullptr)
        return;
    const QSignalBlocker block(list);
    list->clear();
    for (const std::string& text : texts)
        list->addItem(QString::fromStdString(text));
}

bool IsEnterKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

CDirList::CDirList() : CQtPropertyPage(IDD), m_logic(*this, CurrentUserMessages())
{
    Q_INIT_RESOURCE(list_icons);
}

CDirList::~CDirList() = default;

bool CDirList::OnInitDialog()
{
    DoDataExchange();
    InsertColumns();
    LoadIcons();
    ConnectControls();
    m_logic.OnInitDialog();
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
    InsertColumnsInto(m_listFolders, FOLDER_LIST_COLUMNS);
    InsertColumnsInto(m_listVars, VAR_LIST_COLUMNS);
}

void CDirList::LoadIcons()
{
    for (int i = 0; i < ICON_COUNT; ++i)
        m_imageList[static_cast<size_t>(i)] = QIcon(QString::fromLatin1(ICON_FILES[i]));
    for (QTreeWidget* list : {m_listFolders, m_listVars})
        if (list)
            list->setIconSize(ICON_SIZE);
}

void CDirList::ConnectControls()
{
    if (m_listFolders)
        connect(m_listFolders, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
            m_logic.OnActivateFolder(m_listFolders->indexOfTopLevelItem(item));
        });
    // Moving into a folder refills the list whose selection just changed, so
    // it happens once the list has finished handling the click or key.
    if (m_listPcFolders)
        connect(m_listPcFolders, &QListWidget::itemSelectionChanged, this, [this] { m_logic.OnSelectPcFolder(); },
                Qt::QueuedConnection);
    for (QWidget* list : {static_cast<QWidget*>(m_listFolders), static_cast<QWidget*>(m_listVars),
                          static_cast<QWidget*>(m_listPcFolders), static_cast<QWidget*>(m_listPcFiles)})
        if (list)
            list->installEventFilter(this);
    if (auto* send = GetControl<QPushButton>("IDC_SEND"))
        connect(send, &QPushButton::clicked, this, [this] { m_logic.OnSend(); });
    if (auto* directory = GetControl<QPushButton>("IDC_DIRECTORY"))
        connect(directory, &QPushButton::clicked, this, [this] { m_logic.OnRefreshDirectory(); });
    if (auto* receive = GetControl<QPushButton>("IDC_RECEIVE"))
        connect(receive, &QPushButton::clicked, this, [this] { m_logic.OnReceive(); });
    const std::pair<const char*, void (CDirListLogic::*)()> buttons[] = {
        {"IDC_BACKUP", &CDirListLogic::OnBackup},
        {"IDC_RESTORE", &CDirListLogic::OnRestore},
        {"IDC_LISTEN", &CDirListLogic::OnListen},
        {"IDC_DELETE", &CDirListLogic::OnDelete},
        {"IDC_NEW_FOLDER", &CDirListLogic::OnNewFolder},
        {"IDC_RUN", &CDirListLogic::OnRun}};
    for (const auto& [name, handler] : buttons)
        if (auto* button = GetControl<QPushButton>(name))
            connect(button, &QPushButton::clicked, this, [this, handler = handler] { (m_logic.*handler)(); });
}

bool CDirList::eventFilter(QObject* watched, QEvent* event)
{
    if (!IsEnterKey(event))
        return CQtPropertyPage::eventFilter(watched, event);
    if (watched == m_listFolders && m_listFolders->currentItem() != nullptr)
        m_logic.OnActivateFolder(m_listFolders->indexOfTopLevelItem(m_listFolders->currentItem()));
    else if (watched == m_listPcFolders)
        m_logic.OnSelectPcFolder();
    return true;
}

// ---- what the logic shows --------------------------------------------------

const QIcon& CDirList::Icon(int index) const
{
    return m_imageList[static_cast<size_t>(std::clamp(index, 0, ICON_COUNT - 1))];
}

void CDirList::ClearCalculatorLists()
{
    for (QTreeWidget* list : {m_listFolders, m_listVars}) {
        if (list) {
            list->clear();
            list->viewport()->update();
        }
    }
}

bool CDirList::InsertFolderRow(const ListRow& row)
{
    if (m_listFolders == nullptr)
        return false;
    m_listFolders->insertTopLevelItem(0, MakeItem(row, Icon(row.icon), FOLDER_LIST_COLUMNS));
    return true;
}

size_t CDirList::ShowVariableRows(const std::vector<ListRow>& rows)
{
    if (m_listVars == nullptr)
        return 0;
    m_listVars->clear();
    // Built in one batch: a thousand rows inserted one by one would be slow.
    QList<QTreeWidgetItem*> items;
    for (const ListRow& row : rows)
        items.append(MakeItem(row, Icon(row.icon), VAR_LIST_COLUMNS));
    m_listVars->insertTopLevelItems(0, items);
    return rows.size();
}

int CDirList::GetSelectedFolderRow() const
{
    if (m_listFolders == nullptr)
        return -1;
    int first = -1;
    for (QTreeWidgetItem* item : m_listFolders->selectedItems()) {
        const int row = m_listFolders->indexOfTopLevelItem(item);
        if (row >= 0 && (first < 0 || row < first))
            first = row;
    }
    return first;
}

std::vector<int> CDirList::GetSelectedVariableRows() const
{
    std::vector<int> rows;
    if (m_listVars == nullptr)
        return rows;
    for (int i = 0; i < m_listVars->topLevelItemCount(); ++i)
        if (m_listVars->topLevelItem(i)->isSelected())
            rows.push_back(i);
    return rows;
}

void CDirList::ShowPcFolder(const std::string& path, const std::vector<std::string>& folders,
                            const std::vector<std::string>& files)
{
    if (m_labelPcPath)
        m_labelPcPath->setText(QString::fromStdString(path));
    FillList(m_listPcFolders, folders);
    FillList(m_listPcFiles, files);
}

int CDirList::GetSelectedPcFolderRow() const
{
    return FirstSelectedRow(m_listPcFolders);
}

int CDirList::GetSelectedPcFileRow() const
{
    return FirstSelectedRow(m_listPcFiles);
}

std::string CDirList::AskBackupFile(bool forSaving, const std::string& start)
{
    if (m_chooseBackupFile)
        return m_chooseBackupFile(forSaving);
    const QString title =
        QString::fromStdString(LoadLanguageString(forSaving ? IDS_BACKUP_SAVE_TITLE : IDS_RESTORE_OPEN_TITLE));
    const QString filter = QString::fromStdString(LoadLanguageString(IDS_BACKUP_FILTER));
    const QString from = QFile::decodeName(QByteArray::fromStdString(start));
    // The overwrite question is the program's own, as for received files.
    const QString chosen = forSaving ? QFileDialog::getSaveFileName(this, title, from, filter, nullptr,
                                                                    QFileDialog::DontConfirmOverwrite)
                                     : QFileDialog::getOpenFileName(this, title, from, filter);
    return QFile::encodeName(chosen).toStdString();
}
