#pragma once

#include "language/LanguageChoice.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Types of the resources a language library holds, numbered as the system's
// resource compiler numbers them. The system's own headers, where present,
// name them as resource-name pointers instead; the overloads below take those.
#ifndef RT_DIALOG
enum LanguageResourceType : int {
    RT_DIALOG = 5,
    RT_STRING = 6,
};
#endif

// Size of the buffer LoadLanguageResource returns for a string.
inline constexpr size_t LANGUAGE_STRING_BUFFER = 255;

// A loaded language library: its strings and page templates by number. On
// Linux a resource bundle of the toolkit, on Windows a resource-only library.
class ILanguageModule {
public:
    virtual ~ILanguageModule() = default;
    // False when the library has no such string.
    virtual bool FindString(int id, std::string& text) const = 0;
    // The template's bytes inside the library, valid while it stays loaded;
    // null when it has no such template.
    virtual const void* FindTemplate(int id, size_t& size) const = 0;
};

// The loaded language library; null while none is loaded.
extern ILanguageModule* g_hLangLibrary;
// Language of the program's own string table.
extern uint16_t g_wStringLanguage;

// Loads a language library by its plain file name, looking in the program's
// folder first and then in the current directory. Null when it is missing,
// damaged or lacks its string table.
ILanguageModule* LoadLanguageBundle(const std::string& fileName);
// Frees g_hLangLibrary (nothing when null) and sets it to null.
void FreeLanguageLibrary();

// A resource of the loaded library. For RT_STRING: a new buffer of
// LANGUAGE_STRING_BUFFER bytes that the caller frees with delete[], holding
// the text cut to fit (never inside a character) and zero-terminated; null
// when no library is loaded. For other types: the resource's data inside the
// library, valid while it stays loaded and never freed by the caller, with
// its length in *pSize; null when missing.
void* LoadLanguageResource(int id, int type, size_t* pSize = nullptr);

#ifdef _WIN32
inline void* LoadLanguageResource(int id, const wchar_t* type, size_t* pSize = nullptr)
{
    return LoadLanguageResource(id, int(reinterpret_cast<uintptr_t>(type)), pSize);
}
inline void* LoadLanguageResource(int id, const char* type, size_t* pSize = nullptr)
{
    return LoadLanguageResource(id, int(reinterpret_cast<uintptr_t>(type)), pSize);
}
#endif

// The text of string `id` of the loaded library, whole; empty when missing.
std::string LoadLanguageString(int id);
