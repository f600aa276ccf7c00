#include "gui/qt/QtPropertySheet.h"

#include "gui/qt/QtPropertyPage.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CQtPropertySheet::CQtPropertySheet(const QString& caption, QWidget* parent)
    : QDialog(parent), m_pTabs(new QTabWidget(this)), m_pButtonRow(new QHBoxLayout)
{
    setWindowTitle(caption);
    auto* column = new QVBoxLayout(this);
    column->addWidget(m_pTabs);
    column->addLayout(m_pButtonRow);
}

// The pages are the owner's members: take them out of the tab control
// before it would delete them.
CQtPropertySheet::~CQtPropertySheet()
{
    while (m_pTabs->count() > 0) {
        QWidget* page = m_pTabs->widget(0);
        m_pTabs->removeTab(0);
        page->setParent(nullptr);
    }
}

void CQtPropertySheet::AddPage(CQtPropertyPage* page)
{
    m_pTabs->addTab(page, page->GetCaption());
}

int CQtPropertySheet::GetPageCount() const
{
    return m_pTabs->count();
}

QPushButton* CQtPropertySheet::GetButton(int id) const
{
    for (QPushButton* button : findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (button->property("id").toInt() == id)
            return button;
    }
    return nullptr;
}

void CQtPropertySheet::AddButton(int id, const QString& text)
{
    auto* button = new QPushButton(text, this);
    button->setProperty("id", id);
    m_pButtonRow->addWidget(button);
    if (id == IDOK) {
        button->setDefault(true);
        connect(button, &QPushButton::clicked, this, &QDialog::accept);
    } else if (id == IDCANCEL) {
        connect(button, &QPushButton::clicked, this, &QDialog::reject);
    }
}

bool CQtPropertySheet::Create()
{
    if (m_bCreated)
        return true;
    m_pButtonRow->addStretch(1);
    AddButton(IDOK, tr("OK"));
    AddButton(IDCANCEL, tr("Cancel"));
    if (!(m_dwFlags & PSH_NOAPPLYNOW))
        AddButton(ID_APPLY_NOW, tr("Apply"));
    if (m_dwFlags & PSH_HASHELP)
        AddButton(IDHELP, tr("Help"));
    if (OnCreate() == -1)
        return false;
    m_bCreated = true;
    OnInitDialog();
    return true;
}

void CQtPropertySheet::DestroyWindow()
{
    if (!m_bCreated)
        return;
    hide();
    m_bCreated = false;
    OnDestroy();
}

int CQtPropertySheet::DoModal()
{
    if (!Create())
        return -1;
    const int result = exec();
    DestroyWindow();
    return result;
}

void CQtPropertySheet::RemoveButton(int id)
{
    delete GetButton(id);
}

void CQtPropertySheet::CentreButtons()
{
    const QList<QPushButton*> buttons = findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly);
    while (QLayoutItem* item = m_pButtonRow->takeAt(0))
        delete item;
    m_pButtonRow->addStretch(1);
    for (QPushButton* button : buttons)
        m_pButtonRow->addWidget(button);
    m_pButtonRow->addStretch(1);
}
