#include "text/ProgramTexts.h"

#include "text/TextFormat.h"

#include <algorithm>
#include <iterator>

namespace {

struct BuiltInText {
    int id;
    const char* text;
};

constexpr BuiltInText ENGLISH[] = {
#include "EnglishTexts.inc"
};

ProgramTextLookup g_lookup = nullptr;

std::string BuiltIn(int id)
{
    const auto it = std::lower_bound(std::begin(ENGLISH), std::end(ENGLISH), id,
                                     [](const BuiltInText& entry, int key) { return entry.id < key; });
    return it != std::end(ENGLISH) && it->id == id ? it->text : std::string();
}

} // namespace

void SetProgramTextLookup(ProgramTextLookup lookup)
{
    g_lookup = lookup;
}

std::string ProgramText(int id)
{
    if (g_lookup) {
        std::string text = g_lookup(id);
        if (!text.empty())
            return text;
    }
    return BuiltIn(id);
}

std::string ProgramText(int id, std::initializer_list<std::string_view> args)
{
    return FormatText(ProgramText(id), args);
}
