#pragma once

#include "language/LanguageLibrary.h"

#include <windows.h>

#include <string>

// A language library on Windows: a resource-only library loaded as a data
// file, its strings (UTF-16, handed out as UTF-8) and dialog templates
// looked up by number. The file is checked whole before the system is given
// it, and held open against writers until the system has mapped it, so the
// bytes checked are the bytes loaded.
class CWin32LanguageLibrary final : public ILanguageModule {
public:
    ~CWin32LanguageLibrary() override;
    CWin32LanguageLibrary(const CWin32LanguageLibrary&) = delete;
    CWin32LanguageLibrary& operator=(const CWin32LanguageLibrary&) = delete;

    // Null when the file cannot be read, is not a sound language library or
    // cannot be loaded.
    static CWin32LanguageLibrary* Load(const std::wstring& path);

    bool FindString(int id, std::string& text) const override;
    const void* FindTemplate(int id, size_t& size) const override;

    HMODULE GetModule() const { return m_hModule; }

private:
    explicit CWin32LanguageLibrary(HMODULE module) : m_hModule(module) {}
    // The bytes of a resource inside the loaded library; null when missing.
    const void* FindData(int id, const wchar_t* type, size_t& size) const;

    HMODULE m_hModule;
};
