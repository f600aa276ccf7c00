#include "SimulatedSheetFixture.h"

#include "sim/BuiltInCalculator.h"

#include <QApplication>
#include <QFile>

void CSimulatedSheetFixture::SetUp()
{
    ASSERT_NO_FATAL_FAILURE(CProgramFolderFixture::SetUp());
    ASSERT_TRUE(m_homeDir.isValid());
    ASSERT_TRUE(QFile::copy(QStringLiteral(VANTREL_BIN_DIR "/English.dll"),
                            ProgramFilePath(QStringLiteral("English.dll"))));
    m_previousDir = std::filesystem::current_path();
    SetEnvironment("HOME", m_homeDir.path().toLocal8Bit());
    m_home = std::filesystem::canonical(m_homeDir.path().toStdString());
}

void CSimulatedSheetFixture::TearDown()
{
    m_pSheet.reset();
    CProgramFolderFixture::TearDown();
    if (!m_previousDir.empty())
        std::filesystem::current_path(m_previousDir);
}

void CSimulatedSheetFixture::OpenSheet(bool portOpens)
{
    m_pSheet = std::make_unique<CSheet>();
    ASSERT_TRUE(m_pSheet->IsLanguageLoaded());
    m_pSheet->UseSimulatedCalculator();
    Cable().SetOpenFailure(!portOpens);
    ASSERT_TRUE(m_pSheet->Create());
    m_pSheet->show();
    QApplication::processEvents();
}

CVirtualCalculator& CSimulatedSheetFixture::Calc()
{
    return m_pSheet->GetSimulatedCalculator()->GetCalculator();
}

CSimulatedCable& CSimulatedSheetFixture::Cable()
{
    return m_pSheet->GetSimulatedCalculator()->GetCable();
}
