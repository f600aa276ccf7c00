#include "language/LanguageLibrary.h"

#include <cstring>

ILanguageModule* g_hLangLibrary = nullptr;
uint16_t g_wStringLanguage = LANGID_ITALIAN;

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
        std::string text;
        const size_t length = g_hLangLibrary->FindString(id, text) ? FittingLength(text, LANGUAGE_STRING_BUFFER - 1) : 0;
        if (length > 0)
            std::memcpy(buffer, text.data(), length);
        buffer[length] = '\0';
        if (pSize != nullptr)
            *pSize = length;
        return buffer;
    }
    if (type != RT_DIALOG)
        return nullptr;
    size_t size = 0;
    const void* tmpl = g_hLangLibrary->FindTemplate(id, size);
    if (tmpl == nullptr)
        return nullptr;
    if (pSize != nullptr)
        *pSize = size;
    return const_cast<void*>(tmpl);
}

std::string LoadLanguageString(int id)
{
    std::string text;
    if (g_hLangLibrary == nullptr || !g_hLangLibrary->FindString(id, text))
        return {};
    return text;
}
