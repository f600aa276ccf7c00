#include "gui/qt/QtPropertyPage.h"

#include "gui/qt/QtTemplateLoader.h"

#include <QVBoxLayout>

CQtPropertyPage::CQtPropertyPage(int templateId, QWidget* parent) : QWidget(parent), m_nTemplateId(templateId) {}

bool CQtPropertyPage::SetTemplate(const void* data, size_t size)
{
    delete m_pControls;
    m_pControls = LoadTemplate(data, size, this);
    if (m_pControls == nullptr)
        return false;
    m_pControls->setWindowFlags(Qt::Widget);
    if (layout() == nullptr) {
        auto* box = new QVBoxLayout(this);
        // The margin a property page keeps inside the tab frame.
        box->setContentsMargins(8, 8, 8, 8);
    }
    layout()->addWidget(m_pControls);
    return true;
}

QString CQtPropertyPage::GetCaption() const
{
    return m_pControls ? m_pControls->windowTitle() : QString();
}

QWidget* CQtPropertyPage::GetDlgItem(const char* name) const
{
    return FindControl(m_pControls, name);
}

QWidget* CQtPropertyPage::GetDlgItem(int id) const
{
    return FindControl(m_pControls, id);
}

void CQtPropertyPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_bInitialised) {
        m_bInitialised = true;
        OnInitDialog();
    }
}
