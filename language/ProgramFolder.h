#pragma once

#include <string>

// The folder that holds the program file, where the language libraries and
// the about clip are looked up. A test can point it elsewhere; an empty path
// restores the real one.
std::string ProgramFolder();
void SetProgramFolder(const std::string& path);
