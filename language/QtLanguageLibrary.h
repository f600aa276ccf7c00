#pragma once

#include "language/LanguageLibrary.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <string>

// One language library: a binary resource bundle holding the page templates
// (DIALOG/<id>, designer files) and the string table (STRING/table.json, an
// object of id -> text). The bundle is checked whole before the toolkit reads
// it, mounted under a root of its own and read once; templates and strings
// then stay in memory until the bundle is freed.
class CQtLanguageLibrary final : public ILanguageModule {
public:
    ~CQtLanguageLibrary() override;
    CQtLanguageLibrary(const CQtLanguageLibrary&) = delete;
    CQtLanguageLibrary& operator=(const CQtLanguageLibrary&) = delete;

    // Null when the file cannot be read or is not a sound language bundle.
    static CQtLanguageLibrary* Load(const QString& path);

    bool FindString(int id, std::string& text) const override;
    const void* FindTemplate(int id, size_t& size) const override;

private:
    CQtLanguageLibrary() = default;
    bool Mount(const QByteArray& bytes);
    bool ReadStrings();
    bool ReadTemplates();

    QByteArray m_bytes;
    QString m_strRoot;
    bool m_bMounted = false;
    std::map<int, QByteArray> m_templates;
    std::map<int, std::string> m_strings;
};
