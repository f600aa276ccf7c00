#pragma once

#include <string>
#include <system_error>

// Why a file or folder could not be read, written, made or moved, as a
// phrase to follow its name, in the user's language. The C run-time's texts
// are English whatever the language (on Windows always), so the causes a
// user meets most have texts of the program's own; any other cause keeps the
// system's text.
std::string FileErrorText(int errorNumber); // an errno value
std::string FileErrorText(const std::error_code& error);
