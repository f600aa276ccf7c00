#pragma once

#include "ProgramFolderFixture.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <string>

// The clean world of every program test, with the files a shell test puts
// in it and the settings file as the user would edit it.
class CQtProgramFixture : public CProgramFolderFixture {
protected:
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
};
