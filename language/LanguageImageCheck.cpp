#include "language/LanguageImageCheck.h"

#include "language/DialogTemplate.h"
#include "language/PeResourceReader.h"
#include "language/StringBlock.h"

bool IsWholeLanguageImage(const uint8_t* data, size_t size)
{
    CPeResourceReader reader;
    if (!reader.Open(data, size) || !reader.IsDll())
        return false;
    for (const CPeResourceReader::Resource& resource : reader.GetResources()) {
        DialogTemplate dialog;
        if (resource.type == PE_RT_STRING && !IsWholeStringBlock(resource.data, resource.size))
            return false;
        if (resource.type == PE_RT_DIALOG && !ParseDialogTemplate(resource.data, resource.size, dialog))
            return false;
    }
    std::u16string text;
    for (uint16_t id : REQUIRED_LANGUAGE_STRINGS) {
        if (!reader.FindString(id, text))
            return false;
    }
    return true;
}
