#include "QtProgramFixture.h"

#include "settings/QtSettingsStore.h"
#include "settings/Settings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QByteArray ReadWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "cannot read " << path.toStdString();
    return file.readAll();
}

} // namespace

QByteArray CQtProgramFixture::BuiltFile(const char* fileName)
{
    return ReadWhole(QStringLiteral(VANTREL_BIN_DIR "/") + QLatin1String(fileName));
}

QByteArray CQtProgramFixture::FixtureFile(const char* fileName)
{
    return ReadWhole(QStringLiteral(LANGUAGE_FIXTURES_DIR "/") + QLatin1String(fileName));
}

void CQtProgramFixture::Install(const char* fileName)
{
    InstallBytes(fileName, BuiltFile(fileName));
}

void CQtProgramFixture::InstallBytes(const char* fileName, const QByteArray& bytes)
{
    QFile file(ProgramFilePath(QLatin1String(fileName)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

void CQtProgramFixture::WriteSettings(const std::string& text)
{
    const QFileInfo info(CQtSettingsStore::Location());
    ASSERT_TRUE(QDir().mkpath(info.absolutePath()));
    QFile file(info.absoluteFilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray::fromStdString(text));
    ASSERT_TRUE(file.flush());
    // The settings class keeps a file it has read and reads it again only
    // when its size or time changed; an edit by hand never comes within the
    // same millisecond as the program's own write, but a test's does.
    static int s_nEdits = 0;
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-100000 + ++s_nEdits),
                                 QFileDevice::FileModificationTime));
}

std::string CQtProgramFixture::ReadSettings() const
{
    QFile file(CQtSettingsStore::Location());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

bool CQtProgramFixture::SettingsExist() const
{
    return QFileInfo(CQtSettingsStore::Location()).isFile();
}

void CQtProgramFixture::StoreSettings(const std::string& port, int language, unsigned timeout)
{
    CSettings settings;
    settings.m_strPortLpt = port;
    settings.m_nLanguage = language;
    settings.m_uTimeout = timeout;
    CQtSettingsStore store;
    settings.SaveTo(store, m_messages);
}
