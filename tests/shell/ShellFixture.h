#pragma once

#include "RecordingMessages.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

// A clean world for one shell test: an empty configuration folder
// (XDG_CONFIG_HOME), an empty program folder to put language libraries and
// the clip in, no library loaded, and every message recorded.
class CShellFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies a file built beside the program (English.dll, Italiano.dll,
    // Vantrel92.avi) into the test's program folder.
    void Install(const char* fileName);
    // Puts `bytes` into the program folder as `fileName`.
    void InstallBytes(const char* fileName, const QByteArray& bytes);
    static QByteArray BuiltFile(const char* fileName);
    static QByteArray FixtureFile(const char* fileName);

    // The settings file, as the user would edit it.
    void WriteSettings(const std::string& text);
    std::string ReadSettings() const;
    bool SettingsExist() const;
    // Writes the four values the way the program does.
    void StoreSettings(const std::string& port, int language, unsigned timeout);

    std::string ProgramDir() const { return m_programDir.path().toStdString(); }

    CRecordingMessages m_messages;

private:
    QTemporaryDir m_configDir;
    QTemporaryDir m_programDir;
    QByteArray m_oldConfigHome;
};
