#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CLanguageBundle;

// Types of the resources a language library holds, numbered as the system's
// resource compiler numbers them.
enum LanguageResourceType : int {
    RT_DIALOG = 5,
    RT_STRING = 6,
};

inline constexpr uint16_t LANG_ITALIAN = 1040;
inline constexpr uint16_t LANG_ENGLISH = 1033;
// Size of the buffer LoadLanguageResource returns for a string.
inline constexpr size_t LANGUAGE_STRING_BUFFER = 255;

// The loaded language library; null while none is loaded.
extern CLanguageBundle* g_hLangLibrary;
// Language of the program's own string table.
extern uint16_t g_wStringLanguage;

// Loads a language library by its plain file name, looking in the program's
// folder first and then in the current directory. Null when it is missing,
// damaged or lacks its string table.
CLanguageBundle* LoadLanguageBundle(const std::string& fileName);
// Frees g_hLangLibrary (nothing when null) and sets it to null.
void FreeLanguageLibrary();

// A resource of the loaded library. For RT_STRING: a new buffer of
// LANGUAGE_STRING_BUFFER bytes that the caller frees with delete[], holding
// the text cut to fit (never inside a character) and zero-terminated; null
// when no library is loaded. For other types: the resource's data inside the
// library, valid while it stays loaded and never freed by the caller, with
// its length in *pSize; null when missing.
void* LoadLanguageResource(int id, int type, size_t* pSize = nullptr);

// The text of string `id` of the loaded library, whole; empty when missing.
std::string LoadLanguageString(int id);
