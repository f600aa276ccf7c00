#pragma once

#include "link/DirEntries.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// The directory listing as the terminal shows it: every folder in arrival
// order and under it its variables in arrival order. Folders whose names are
// four digits are left out, as the GUI leaves them out, unless `all` is set.
struct DirFolderGroup {
    std::string name;
    std::optional<uint32_t> size; // none for a folder that had no entry of its own
    std::vector<const VarEntry*> vars;
};

std::vector<DirFolderGroup> GroupByFolder(const std::vector<FolderEntry>& folders,
                                          const std::vector<VarEntry>& vars, bool all);

void PrintListingText(std::ostream& out, const std::vector<DirFolderGroup>& groups);
void PrintListingJson(std::ostream& out, const std::vector<DirFolderGroup>& groups);
