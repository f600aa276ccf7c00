#pragma once

#include <cstdint>
#include <string>

// File names made from names that come from outside: a calculator's
// variable names, the name typed for a group file.

// A calculator name as a file name that stays inside the folder it is put
// in, the same on every system. The calculator's letters beyond ASCII become
// the same letters in UTF-8: its Greek letters (bytes 0x80 to 0x94, alpha to
// omega) and its accented Latin letters (0xC0 to 0xFF but for the signs
// 0xD7 and 0xF7, at their places in Latin-1). Every other byte above 127,
// bytes that cannot stand in a file name here (path separators, control
// bytes, on Windows also < > : " | ? *) and the escape mark '%' itself become
// "%XX" (two upper-case hex digits); the names "." and ".." are escaped
// whole, and the empty name becomes "%00".
std::string EscapeFileName(const std::string& name);

// The file of one variable: its escaped name and its type's extension. A
// type without an extension of its own takes its type code, ".0x1A" for
// type 0x1A, so that the file still shows what it holds (the variable list
// shows such a type by the same code).
std::string VariableFileName(const std::string& name, uint8_t type);

// The name EscapeFileName was given. A '%' not followed by two hex digits
// is kept as it is.
std::string UnescapeFileName(const std::string& fileName);

// Whether a name typed by the user can name a file in the shown folder as
// it is: not empty, no path separator ('/' or '\'), no control byte, not
// "." or "..", not longer than a file name may be, and on Windows none of
// the reserved characters or device names.
bool IsPlainFileName(const std::string& name);
// The characters IsPlainFileName refuses on this system besides control
// bytes, for the user: "/ \" on Linux.
std::string RefusedFileNameCharacters();
