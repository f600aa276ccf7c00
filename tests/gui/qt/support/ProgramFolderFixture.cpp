#include "ProgramFolderFixture.h"

#include "gui/qt/QtMessageBoxes.h"
#include "language/LanguageLibrary.h"
#include "language/ProgramFolder.h"

#include <ranges>

void CProgramFolderFixture::SetUp()
{
    ASSERT_TRUE(m_configDir.isValid());
    ASSERT_TRUE(m_programDir.isValid());
    SetEnvironment("XDG_CONFIG_HOME", m_configDir.path().toLocal8Bit());
    SetProgramFolder(ProgramDir());
    SetUserMessages(&m_messages);
    FreeLanguageLibrary();
}

void CProgramFolderFixture::TearDown()
{
    FreeLanguageLibrary();
    SetUserMessages(nullptr);
    SetProgramFolder({});
    // Last changed first, so a variable set twice gets its first value back.
    for (const auto& [name, value] : std::views::reverse(m_oldEnvironment)) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    m_oldEnvironment.clear();
}

void CProgramFolderFixture::SetEnvironment(const char* name, const QByteArray& value)
{
    m_oldEnvironment.emplace_back(name, qgetenv(name));
    qputenv(name, value);
}
