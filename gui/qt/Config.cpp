#include "gui/qt/Config.h"

#include "gui/qt/QtMessageBoxes.h"
#include "language/LanguageLibrary.h"

#include <QLabel>
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
    if (auto* cable = GetControl<QComboBox>("IDC_CABLE"))
        connect(cable, &QComboBox::currentIndexChanged, this, [this] { m_logic.OnCableChanged(); });
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

void CConfig::FillCableChoices(const std::vector<int>& cableNameIds, const std::vector<std::string>& serialPorts,
                               size_t serialMaxChars)
{
    if (auto* cable = GetControl<QComboBox>("IDC_CABLE")) {
        const QSignalBlocker quiet(cable);
        cable->clear();
        for (size_t i = 0; i < cableNameIds.size(); ++i)
            cable->insertItem(static_cast<int>(i), QString::fromStdString(LoadLanguageString(cableNameIds[i])),
                              static_cast<int>(i));
    }
    if (auto* port = GetControl<QComboBox>("IDC_SERIAL_PORT")) {
        port->clear();
        for (size_t i = 0; i < serialPorts.size(); ++i)
            port->insertItem(static_cast<int>(i), QString::fromStdString(serialPorts[i]));
        if (port->lineEdit() != nullptr)
            port->lineEdit()->setMaxLength(static_cast<int>(serialMaxChars));
    }
}

void CConfig::ShowCable(const CableValues& values)
{
    if (auto* cable = GetControl<QComboBox>("IDC_CABLE")) {
        const QSignalBlocker quiet(cable);
        cable->setCurrentIndex(values.cable < cable->count() ? values.cable : -1);
    }
    if (auto* port = GetControl<QComboBox>("IDC_SERIAL_PORT")) {
        const QString text = QString::fromStdString(values.serialPort);
        port->setCurrentIndex(port->findText(text));
        port->setEditText(text);
    }
}

CableValues CConfig::ReadCable() const
{
    CableValues values;
    if (auto* cable = GetControl<QComboBox>("IDC_CABLE"))
        values.cable = cable->currentIndex();
    if (auto* port = GetControl<QComboBox>("IDC_SERIAL_PORT"))
        values.serialPort = port->currentText().toStdString();
    return values;
}

void CConfig::ShowSerialPortChoice(bool serial)
{
    for (const char* name : {"IDC_STATIC_PORT", "IDC_PORT"})
        if (auto* control = GetControl<QWidget>(name))
            control->setVisible(!serial);
    for (const char* name : {"IDC_STATIC_SERIAL_PORT", "IDC_SERIAL_PORT"})
        if (auto* control = GetControl<QWidget>(name))
            control->setVisible(serial);
}
