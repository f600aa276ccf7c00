#include "gui/pages/PcFolder.h"

#include "text/DisplayText.h"
#include "text/SystemPath.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

bool CurrentDirectory(std::string& out)
{
    std::error_code ec;
    const fs::path cwd = fs::current_path(ec);
    if (ec)
        return false;
    out = PathName(cwd);
    return true;
}

bool ChangeDirectory(const std::string& path)
{
    std::error_code ec;
    fs::current_path(SystemPath(path), ec);
    return !ec;
}

bool LessIgnoringCase(const std::string& a, const std::string& b)
{
    const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
    const bool less = std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) < lower(y); });
    const bool greater = std::lexicographical_compare(
        b.begin(), b.end(), a.begin(), a.end(), [&](char x, char y) { return lower(x) < lower(y); });
    return less || (!greater && a < b);
}

// Mount tables write blanks and a few other bytes as \ and three octal digits.
std::string DecodeMountField(const std::string& field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::isdigit(static_cast<unsigned char>(field[i + 1])) &&
            std::isdigit(static_cast<unsigned char>(field[i + 2])) &&
            std::isdigit(static_cast<unsigned char>(field[i + 3]))) {
            out += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

// Appended piece by piece: "[" + text + "]" trips a false alarm of some
// compilers about overlapping copies.
std::string Enclosed(const char* open, const std::string& text, const char* close)
{
    std::string label = open;
    label += text;
    label += close;
    return label;
}

bool StartsWith(const std::string& s, const char* prefix)
{
    return s.rfind(prefix, 0) == 0;
}

// A block device whose kernel entry (or, for a partition, whose disk's entry)
// says it is removable.
bool IsRemovableDevice(const std::string& device)
{
    if (!StartsWith(device, "/dev/"))
        return false;
    std::error_code ec;
    const fs::path entry = fs::canonical(fs::path("/sys/class/block") / device.substr(5), ec);
    if (ec)
        return false;
    for (const fs::path& dir : {entry, entry.parent_path()}) {
        std::ifstream flag(dir / "removable");
        char c = 0;
        if (flag >> c)
            return c == '1';
    }
    return false;
}

} // namespace

std::string CPcFolder::HomeFolder()
{
#ifdef _WIN32
    return "C:\\";
#else
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/";
#endif
}

std::vector<CPcFolder::Item> CPcFolder::Places() const
{
    std::vector<Item> places;
#ifdef _WIN32
    // The drives; a drive letter alone moves to that drive's current folder.
    const DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (drives & (1u << i)) {
            const char letter = static_cast<char>('a' + i);
            places.push_back({std::string("[-") + letter + "-]", std::string(1, letter) + ":"});
        }
    }
#else
    places.push_back({"[-/-]", "/"});
    places.push_back({"[-~-]", HomeFolder()});
    for (const std::string& mountPoint : RemovableMedia(m_strMountTable))
        places.push_back({Enclosed("[-", FileNameToDisplay(mountPoint), "-]"), mountPoint});
#endif
    return places;
}

std::vector<std::string> CPcFolder::RemovableMedia(const std::string& mountTable)
{
    std::vector<std::string> media;
    std::ifstream in(mountTable);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint;
        if (!(fields >> device >> mountPoint))
            continue;
        mountPoint = DecodeMountField(mountPoint);
        const bool underMediaFolder =
            StartsWith(mountPoint, "/media/") || StartsWith(mountPoint, "/run/media/");
        if ((underMediaFolder || IsRemovableDevice(device)) &&
            std::find(media.begin(), media.end(), mountPoint) == media.end())
            media.push_back(mountPoint);
    }
    return media;
}

bool CPcFolder::Show(const std::string& path)
{
    std::string previous;
    const bool hadPrevious = CurrentDirectory(previous);
    if (path.empty() || !ChangeDirectory(path))
        return false;

    std::string current;
    std::vector<std::string> subfolders;
    std::vector<std::string> files;
    std::error_code ec;
    bool listed = CurrentDirectory(current);
    if (listed) {
        fs::directory_iterator it(SystemPath(current), ec);
        for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
            const std::string name = PathName(it->path().filename());
            // Hidden entries stay hidden, as in the system's own file views.
            if (name.empty() || name[0] == '.')
                continue;
            std::error_code typeError;
            if (it->is_directory(typeError))
                subfolders.push_back(name);
            else if (it->is_regular_file(typeError))
                files.push_back(name);
        }
        listed = !ec;
    }
    if (!listed) {
        // When the previous folder vanished meanwhile there is nothing to
        // restore.
        if (hadPrevious)
            ChangeDirectory(previous);
        return false;
    }

    std::sort(subfolders.begin(), subfolders.end(), LessIgnoringCase);
    std::sort(files.begin(), files.end(), LessIgnoringCase);

    std::vector<Item> items;
    if (SystemPath(current) != SystemPath(current).root_path())
        items.push_back({"[..]", JoinPathName(current, "..")});
    for (const std::string& name : subfolders)
        items.push_back({Enclosed("[", FileNameToDisplay(name), "]"), JoinPathName(current, name)});
    for (Item& place : Places())
        items.push_back(std::move(place));

    m_strPath = std::move(current);
    m_folders = std::move(items);
    m_files = std::move(files);
    return true;
}
