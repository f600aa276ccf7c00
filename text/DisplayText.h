#pragma once

#include <string>

// Names travel and are stored as raw bytes; only their shown form is made
// readable. Both return UTF-8 text in which every byte that cannot be shown
// as itself appears as \xHH.

// Calculator names: printable ASCII as is, everything else escaped.
std::string CalcNameToDisplay(const std::string& raw);

// PC file names: valid UTF-8 as is, each byte of an invalid sequence and
// every control character escaped.
std::string FileNameToDisplay(const std::string& raw);
