#include "settings/QtSettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

#ifdef Q_OS_WIN
const QString REGISTRY_KEY = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvessan\\Vantrel 92");
#else
const QString NUMBER_PREFIX = QStringLiteral("dword:");

QString ConfigFolder()
{
    // Read every time: the folder may change while the program runs (tests
    // point it at a fresh folder), and the toolkit's own default path is
    // fixed at its first use.
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + QStringLiteral("/.config");
}
#endif

} // namespace

CQtSettingsStore::CQtSettingsStore() = default;
CQtSettingsStore::~CQtSettingsStore() = default;

QString CQtSettingsStore::Location()
{
#ifdef Q_OS_WIN
    return REGISTRY_KEY;
#else
    return ConfigFolder() + QStringLiteral("/Corvessan/Vantrel 92.conf");
#endif
}

bool CQtSettingsStore::OpenForRead()
{
    m_bWriting = false;
#ifdef Q_OS_WIN
    m_settings = std::make_unique<QSettings>(REGISTRY_KEY, QSettings::NativeFormat);
    if (m_settings->childKeys().isEmpty() && m_settings->childGroups().isEmpty()) {
#else
    if (!QFileInfo(Location()).isFile()) {
#endif
        m_settings.reset();
        return false;
    }
#ifndef Q_OS_WIN
    m_settings = std::make_unique<QSettings>(Location(), QSettings::IniFormat);
#endif
    if (m_settings->status() != QSettings::NoError) {
        m_settings.reset();
        return false;
    }
    return true;
}

bool CQtSettingsStore::OpenForWrite()
{
    m_bWriting = true;
#ifdef Q_OS_WIN
    m_settings = std::make_unique<QSettings>(REGISTRY_KEY, QSettings::NativeFormat);
#else
    const QFileInfo file(Location());
    if (!QDir().mkpath(file.absolutePath())) {
        m_settings.reset();
        return false;
    }
    m_settings = std::make_unique<QSettings>(Location(), QSettings::IniFormat);
#endif
    if (!m_settings->isWritable()) {
        m_settings.reset();
        return false;
    }
    return true;
}

bool CQtSettingsStore::ReadString(const char* name, size_t bufferChars, std::string& value)
{
    if (!m_settings)
        return false;
    const QVariant stored = m_settings->value(QLatin1String(name));
    if (stored.typeId() != QMetaType::QString)
        return false;
    const QString text = stored.toString();
#ifndef Q_OS_WIN
    if (text.startsWith(NUMBER_PREFIX))
        return false;
#endif
    if (bufferChars == 0 || size_t(text.size()) >= bufferChars || text.contains(QChar(0)))
        return false;
    value = text.toStdString();
    return true;
}

bool CQtSettingsStore::ReadNumber(const char* name, uint32_t& value)
{
    if (!m_settings)
        return false;
    const QVariant stored = m_settings->value(QLatin1String(name));
#ifdef Q_OS_WIN
    if (stored.typeId() != QMetaType::Int && stored.typeId() != QMetaType::UInt)
        return false;
    value = stored.toUInt();
    return true;
#else
    if (stored.typeId() != QMetaType::QString)
        return false;
    const QString text = stored.toString();
    if (!text.startsWith(NUMBER_PREFIX) || text.size() != NUMBER_PREFIX.size() + 8)
        return false;
    const QString digits = text.mid(NUMBER_PREFIX.size());
    for (const QChar c : digits) {
        if (!c.isDigit() && !(c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f')))
            return false;
    }
    bool ok = false;
    value = digits.toUInt(&ok, 16);
    return ok;
#endif
}

void CQtSettingsStore::WriteString(const char* name, const std::string& value)
{
    if (m_settings && m_bWriting)
        m_settings->setValue(QLatin1String(name), QString::fromStdString(value));
}

void CQtSettingsStore::WriteNumber(const char* name, uint32_t value)
{
    if (!m_settings || !m_bWriting)
        return;
#ifdef Q_OS_WIN
    m_settings->setValue(QLatin1String(name), value);
#else
    m_settings->setValue(QLatin1String(name), NUMBER_PREFIX + QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')));
#endif
}

bool CQtSettingsStore::Close()
{
    if (!m_settings)
        return !m_bWriting;
    bool stored = true;
    if (m_bWriting) {
        m_settings->sync();
        stored = m_settings->status() == QSettings::NoError;
    }
    m_settings.reset();
    m_bWriting = false;
    return stored;
}
