#include "gui/qt/Sheet.h"

#include "gui/qt/QtMessageBoxes.h"
#include "gui/qt/QtToolkitTranslation.h"
#include "language/LanguageLibrary.h"
#include "language/OwnResources.h"
#include "text/StringIds.h"

#include <QPushButton>

CSheet::CSheet(QWidget* parent)
    : CQtPropertySheet(QString::fromStdString(LoadOwnString(IDS_SHEET_CAPTION)), parent),
      m_logic(m_pageConfig.Logic(), m_languages, CurrentUserMessages())
{
    m_logic.SetLinkPages(&m_pageDirList.Logic(), &m_pageGrabScreen.Logic());
    m_logic.SetLinkProgress(&m_progress.Logic());
    if (!m_logic.LoadLanguage())
        return;
    InstallToolkitTranslation(m_logic.GetLanguageId());
    for (int templateId : CSheetLogic::BUILD_ORDER) {
        size_t size = 0;
        const void* tmpl = LoadLanguageResource(templateId, RT_DIALOG, &size);
        PageFor(templateId)->SetTemplate(tmpl, size);
    }
    for (int templateId : CSheetLogic::TAB_ORDER)
        AddPage(PageFor(templateId));
}

CSheet::~CSheet() = default;

CQtPropertyPage* CSheet::PageFor(int templateId)
{
    switch (templateId) {
    case CDirList::IDD:
        return &m_pageDirList;
    case CConfig::IDD:
        return &m_pageConfig;
    case CAbout::IDD:
        return &m_pageAbout;
    default:
        return &m_pageGrabScreen;
    }
}

int CSheet::OnCreate()
{
    m_logic.OnCreate();
    return 0;
}

bool CSheet::OnInitDialog()
{
    const bool result = CQtPropertySheet::OnInitDialog();
    if (QPushButton* close = GetButton(IDOK))
        close->setText(QString::fromLatin1(TEXT_CLOSE_BUTTON));
    RemoveButton(IDCANCEL);
    CentreButtons();
    return result;
}

void CSheet::OnDestroy()
{
    CQtPropertySheet::OnDestroy();
    m_logic.OnDestroy();
}
