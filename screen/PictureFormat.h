#pragma once

#include <string>
#include <vector>

// The format of `formats` whose name equals the extension of `path` (the
// text after the last "." of its file name), compared without regard to
// case; empty when the name has no extension or no format matches. No
// extension is ever added: a name without one names no format.
std::string FindPictureFormat(const std::string& path, const std::vector<std::string>& formats);

// The formats as a list for the user: "bmp, png, ...".
std::string JoinFormats(const std::vector<std::string>& formats);
