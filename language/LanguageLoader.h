#pragma once

#include <cstdint>

// Loads language libraries by their plain file names, one at a time; each
// window toolkit keeps them its own way.
class ILanguageLoader {
public:
    virtual ~ILanguageLoader() = default;
    // Makes `fileName` the loaded language library; false when it cannot be
    // loaded, and then none is loaded.
    virtual bool Load(const char* fileName) = 0;
    // Frees the loaded library, if any.
    virtual void Free() = 0;
};
