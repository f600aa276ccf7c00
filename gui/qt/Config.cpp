#include "gui/qt/Config.h"

#include "gui/qt/QtMessageBoxes.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

CConfig::CConfig() : CQtPropertyPage(IDD), m_logic(m_store, CurrentUserMessages())
{
    m_logic.SetView(this);
}

bool CConfig::OnInitDialog()
{
    if (auto* save = GetControl<QPushButton>("IDC_SAVE_SETTINGS"))
        connect(save, &QPushButton::clicked, this, [this] { m_logic.OnSaveSettings(); });
    m_logic.OnInitDialog();
    return true;
}

void CConfig::FillChoices(const std::vector<std::string>& ports, const std::vector<std::string>& languages,
                          size_t portMaxChars)
{
    if (auto* port = GetControl<QComboBox>("IDC_PORT")) {
        port->clear();
        for (size_t i = 0; i < ports.size(); ++i)
            port->insertItem(static_cast<int>(i), QString::fromStdString(ports[i]), static_cast<int>(i));
        if (port->lineEdit() != nullptr)
            port->lineEdit()->setMaxLength(static_cast<int>(portMaxChars));
    }
    if (auto* language = GetControl<QComboBox>("IDC_LANGUAGE")) {
        language->clear();
        for (size_t i = 0; i < languages.size(); ++i)
            language->insertItem(static_cast<int>(i), QString::fromStdString(languages[i]), static_cast<int>(i));
    }
}

void CConfig::ShowValues(const ConfigValues& values)
{
    if (auto* port = GetControl<QComboBox>("IDC_PORT")) {
        const QString text = QString::fromStdString(values.port);
        port->setCurrentIndex(port->findText(text));
        port->setEditText(text);
    }
    if (auto* language = GetControl<QComboBox>("IDC_LANGUAGE"))
        language->setCurrentIndex(values.language < language->count() ? values.language : -1);
    if (auto* timeout = GetControl<QLineEdit>("IDC_TIMEOUT"))
        timeout->setText(QString::fromStdString(values.timeout));
}

ConfigValues CConfig::ReadValues() const
{
    ConfigValues values;
    if (auto* port = GetControl<QComboBox>("IDC_PORT"))
        values.port = port->currentText().toStdString();
    if (auto* language = GetControl<QComboBox>("IDC_LANGUAGE"))
        values.language = language->currentIndex();
    if (auto* timeout = GetControl<QLineEdit>("IDC_TIMEOUT"))
        values.timeout = timeout->text().toStdString();
    return values;
}

void CConfig::FocusTimeout()
{
    if (auto* timeout = GetControl<QLineEdit>("IDC_TIMEOUT")) {
        timeout->setFocus();
        timeout->selectAll();
    }
}
