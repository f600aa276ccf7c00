#pragma once

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
        m_path = std::filesystem::temp_directory_path() / ("vantrel-transfer-" + std::to_string(random()));
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

    std::string Path() const { return m_path.string(); }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

    // The names in the folder, temporary files included.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& item : std::filesystem::directory_iterator(m_path))
            names.push_back(item.path().filename().string());
        return names;
    }

private:
    std::filesystem::path m_path;
};

inline std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A real file written by another link program (tests/data).
inline std::string SamplePath(const std::string& name)
{
    const char* folder = std::getenv("VANTREL_SAMPLES");
    return std::string(folder ? folder : VANTREL_TEST_DATA) + "/" + name;
}
