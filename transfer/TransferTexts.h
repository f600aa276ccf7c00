#pragma once

// Texts of the transfer operations that no language library holds: the
// troubles with files and names on the PC side.

inline constexpr const char* TEXT_CANNOT_WRITE_FILE = "The file could not be written; nothing was changed.\n";
inline constexpr const char* TEXT_BAD_GROUP_NAME =
    "This name cannot name a file in the shown folder.\n"
    "Type a name without \"/\", \"\\\" or control characters, other than \".\" and \"..\".";
inline constexpr const char* TEXT_MALFORMED_VARIABLE =
    "The calculator sent a variable whose length does not match its contents; nothing was saved.";
inline constexpr const char* TEXT_TOO_MANY_VARIABLES = "A group file holds at most 65535 variables.";
