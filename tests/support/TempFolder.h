#pragma once

#include "text/SystemPath.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

// A fresh folder for one test, removed with everything in it afterwards.
class CTempFolder {
public:
    CTempFolder()
    {
        std::random_device random;
        // Letters beyond ASCII in the name: every file the tests write goes
        // through them.
        m_path = std::filesystem::temp_directory_path() / SystemPath("vantrel-città ü-" + std::to_string(random()));
        std::filesystem::create_directories(m_path);
    }
    ~CTempFolder()
    {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    std::string Path() const { return PathName(m_path); }
    std::string File(const std::string& name) const { return PathName(m_path / SystemPath(name)); }

    // The names in the folder, temporary files included.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& item : std::filesystem::directory_iterator(m_path))
            names.push_back(PathName(item.path().filename()));
        return names;
    }

private:
    std::filesystem::path m_path;
};

inline std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(SystemPath(path), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(SystemPath(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A real file written by another link program (tests/data).
inline std::string SamplePath(const std::string& name)
{
    const char* folder = std::getenv("VANTREL_SAMPLES");
    return std::string(folder ? folder : VANTREL_TEST_DATA) + "/" + name;
}
