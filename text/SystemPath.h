#pragma once

#include <filesystem>
#include <string>

// The program keeps the names of files and folders as strings: UTF-8 on
// Windows, the bytes as they are on Linux, where the system takes them
// unchanged. These are the one place where such a name meets the system's
// own path type. On Windows a std::filesystem::path made straight from a
// std::string would go through the ANSI code page and mangle every letter
// outside it, so there the name travels as UTF-16.
std::filesystem::path SystemPath(const std::string& name);
std::string PathName(const std::filesystem::path& path);

// The folder and a name in it; the name alone for no folder.
std::string JoinPathName(const std::string& folder, const std::string& name);
// The last part of `path`: the name of the file or folder it names.
std::string FileNameOf(const std::string& path);
