#pragma once

#include <string>
#include <vector>

// The PC side of the directory page, without any widget: the current PC
// folder, its subfolders with the parent, the places to jump to (in place of
// drive letters: the file-system root, the user's home folder and mounted
// removable media) and its regular files. Moving makes the folder the
// process's current directory, so the transfers find it there as well.
// Names are raw bytes; labels are their shown form.
class CPcFolder {
public:
    struct Item {
        std::string label;  // "[name]", "[..]", "[-/-]", "[-~-]", "[-/media/x-]"
        std::string target; // the absolute path to move to
    };

    // Moves into `path` (absolute, or relative to the current folder) and
    // lists it. On failure nothing changes, neither here nor the process's
    // current directory.
    bool Show(const std::string& path);

    const std::string& GetPath() const { return m_strPath; }
    const std::vector<Item>& GetFolders() const { return m_folders; }
    const std::vector<std::string>& GetFiles() const { return m_files; }

    // Where the list of mounted file systems is read; a test points it at a
    // file of its own.
    void SetMountTable(std::string path) { m_strMountTable = std::move(path); }

    // Where the PC side starts: the user's home folder (C:\ on Windows).
    static std::string HomeFolder();
    // Mount points of removable media, as listed in `mountTable` (the format
    // of /proc/self/mounts).
    static std::vector<std::string> RemovableMedia(const std::string& mountTable);

private:
    // The places offered below the subfolders: in place of the drive
    // letters of other systems, the root, the home folder and the media.
    std::vector<Item> Places() const;

    std::string m_strPath;
    std::vector<Item> m_folders;
    std::vector<std::string> m_files;
    std::string m_strMountTable = "/proc/self/mounts";
};
