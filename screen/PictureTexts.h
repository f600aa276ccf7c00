#pragma once

#include "screen/PictureFormat.h"

#include <string>
#include <vector>

// Texts of a screen picture that could not be saved; no language library
// holds them.

inline constexpr const char* TEXT_NO_PICTURE = "There is no picture to save.";

inline std::string UnknownPictureFormatText(const std::vector<std::string>& formats)
{
    std::string text = "The name does not end in the extension of an image format this program can write (";
    text += JoinFormats(formats);
    text += ").";
    return text;
}

// `shownPath` as the user reads it, `reason` a sentence of its own line.
inline std::string PictureNotSavedText(const std::string& shownPath, const std::string& reason)
{
    std::string text = "The picture was not saved as \"";
    text += shownPath;
    text += "\".\n";
    text += reason;
    return text;
}
