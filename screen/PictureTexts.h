#pragma once

#include "screen/PictureFormat.h"
#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <string>
#include <vector>

// Texts of a screen picture that could not be saved, in the user's language.

inline std::string NoPictureText()
{
    return ProgramText(IDS_NO_PICTURE);
}

inline std::string UnknownPictureFormatText(const std::vector<std::string>& formats)
{
    return ProgramText(IDS_UNKNOWN_PICTURE_FORMAT, {JoinFormats(formats)});
}

// `shownPath` as the user reads it, `reason` a sentence of its own line.
inline std::string PictureNotSavedText(const std::string& shownPath, const std::string& reason)
{
    return ProgramText(IDS_PICTURE_NOT_SAVED, {shownPath, reason});
}
