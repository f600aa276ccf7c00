#include "shell/Config.h"

#include "shell/LanguageChoice.h"
#include "shell/MessageBoxes.h"
#include "shell/QtSettingsStore.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

CConfig::CConfig() : CPropertyPage(IDD)
{
    LoadSettings();
}

void CConfig::LoadSettings()
{
    CQtSettingsStore store;
    LoadFrom(store, UserMessages());
}

void CConfig::SaveSettings()
{
    CQtSettingsStore store;
    SaveTo(store, UserMessages());
}

uint16_t CConfig::LoadLanguageLibrary()
{
    return LoadLanguageLibraryFor(m_nLanguage);
}

bool CConfig::OnInitDialog()
{
    auto* port = GetControl<QComboBox>("IDC_PORT");
    auto* language = GetControl<QComboBox>("IDC_LANGUAGE");
    if (port != nullptr) {
        port->clear();
        port->insertItem(0, QStringLiteral("0x278"), 0);
        port->insertItem(1, QStringLiteral("0x378"), 1);
        // A longer text would not be read back at the next start.
        if (port->lineEdit() != nullptr)
            port->lineEdit()->setMaxLength(int(PORT_BUFFER_CHARS) - 1);
    }
    if (language != nullptr) {
        language->clear();
        language->insertItem(0, QStringLiteral("Italiano"), 0);
        language->insertItem(1, QStringLiteral("English"), 1);
    }
    if (auto* save = GetControl<QPushButton>("IDC_SAVE_SETTINGS"))
        connect(save, &QPushButton::clicked, this, &CConfig::OnSaveSettings, Qt::UniqueConnection);
    LoadSettings();
    UpdateData(false);
    return true;
}

bool CConfig::UpdateData(bool bSaveAndValidate)
{
    auto* port = GetControl<QComboBox>("IDC_PORT");
    auto* language = GetControl<QComboBox>("IDC_LANGUAGE");
    auto* timeout = GetControl<QLineEdit>("IDC_TIMEOUT");
    if (!bSaveAndValidate) {
        if (port != nullptr) {
            // The port box takes any text, so a stored value that is not one
            // of the two offered is shown, and saved again, as it is.
            port->setCurrentIndex(port->findText(QString::fromStdString(m_strPortLpt)));
            port->setEditText(QString::fromStdString(m_strPortLpt));
        }
        if (language != nullptr)
            language->setCurrentIndex(m_nLanguage >= 0 && m_nLanguage < language->count() ? m_nLanguage : -1);
        if (timeout != nullptr)
            timeout->setText(QString::number(m_uTimeout));
        return true;
    }
    uint32_t typedTimeout = m_uTimeout;
    if (timeout != nullptr) {
        std::string message;
        if (!ParseTimeoutText(timeout->text().toStdString(), typedTimeout, message)) {
            UserMessages().ShowText(message);
            timeout->setFocus();
            timeout->selectAll();
            return false;
        }
    }
    if (port != nullptr)
        m_strPortLpt = port->currentText().toStdString();
    if (language != nullptr)
        m_nLanguage = language->currentIndex();
    m_uTimeout = typedTimeout;
    return true;
}

void CConfig::OnSaveSettings()
{
    if (UpdateData(true))
        SaveSettings();
}
