#pragma once

#include "GuiApplication.h"
#include "RecordingMessages.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

// A clean world for one test of the program: an empty configuration folder
// (XDG_CONFIG_HOME), an empty program folder to put language libraries and
// the clip in, no library loaded, and every message recorded.
class CProgramFolderFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string ProgramDir() const { return m_programDir.path().toStdString(); }
    QString ProgramFilePath(const QString& fileName) const { return m_programDir.filePath(fileName); }
    // Sets an environment variable for this test only.
    void SetEnvironment(const char* name, const QByteArray& value);

    CRecordingMessages m_messages;

private:
    QTemporaryDir m_configDir;
    QTemporaryDir m_programDir;
    // The variables changed, with what they were (null when unset).
    std::vector<std::pair<const char*, QByteArray>> m_oldEnvironment;
};
