#include "shell/LanguageLibrary.h"

#include "shell/LanguageBundle.h"
#include "shell/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>

CLanguageBundle* g_hLangLibrary = nullptr;
uint16_t g_wStringLanguage = LANG_ITALIAN;

namespace {

// Keeps as much of `text` as fits in `limit` bytes without cutting a UTF-8
// character in two.
size_t FittingLength(const std::string& text, size_t limit)
{
    if (text.size() <= limit)
        return text.size();
    size_t length = limit;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    return length;
}

} // namespace

CLanguageBundle* LoadLanguageBundle(const std::string& fileName)
{
    const QString name = QString::fromStdString(fileName);
    const QString besideProgram = QDir(QString::fromStdString(ProgramFolder())).filePath(name);
    if (QFileInfo(besideProgram).isFile())
        return CLanguageBundle::Load(besideProgram);
    const QString inCurrent = QDir::current().filePath(name);
    if (QFileInfo(inCurrent).isFile())
        return CLanguageBundle::Load(inCurrent);
    return nullptr;
}

void FreeLanguageLibrary()
{
    delete g_hLangLibrary;
    g_hLangLibrary = nullptr;
}

void* LoadLanguageResource(int id, int type, size_t* pSize)
{
    if (pSize != nullptr)
        *pSize = 0;
    if (g_hLangLibrary == nullptr)
        return nullptr;
    if (type == RT_STRING) {
        char* buffer = new char[LANGUAGE_STRING_BUFFER];
        const std::string* text = g_hLangLibrary->FindString(id);
        const size_t length = text ? FittingLength(*text, LANGUAGE_STRING_BUFFER - 1) : 0;
        if (length > 0)
            std::memcpy(buffer, text->data(), length);
        buffer[length] = '\0';
        if (pSize != nullptr)
            *pSize = length;
        return buffer;
    }
    if (type != RT_DIALOG)
        return nullptr;
    const QByteArray* tmpl = g_hLangLibrary->FindTemplate(id);
    if (tmpl == nullptr)
        return nullptr;
    if (pSize != nullptr)
        *pSize = size_t(tmpl->size());
    return const_cast<char*>(tmpl->constData());
}

std::string LoadLanguageString(int id)
{
    if (g_hLangLibrary == nullptr)
        return {};
    const std::string* text = g_hLangLibrary->FindString(id);
    return text ? *text : std::string();
}
