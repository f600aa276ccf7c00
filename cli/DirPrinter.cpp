#include "cli/DirPrinter.h"

#include "link/DirectoryListing.h"
#include "link/VarTypes.h"
#include "text/DisplayText.h"

#include <cstdio>
#include <iomanip>
#include <ostream>

namespace {

DirFolderGroup* FindGroup(std::vector<DirFolderGroup>& groups, const std::string& name)
{
    for (DirFolderGroup& group : groups)
        if (group.name == name)
            return &group;
    return nullptr;
}

// A JSON string of the shown name: printable ASCII, \xHH for other bytes,
// so the text is valid UTF-8 whatever the calculator's bytes are.
std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

} // namespace

std::vector<DirFolderGroup> GroupByFolder(const std::vector<FolderEntry>& folders,
                                          const std::vector<VarEntry>& vars, bool all)
{
    std::vector<DirFolderGroup> groups;
    for (const FolderEntry& folder : folders) {
        if (FindGroup(groups, folder.name) == nullptr)
            groups.push_back({folder.name, folder.size, {}});
    }
    for (const VarEntry& var : vars) {
        DirFolderGroup* group = FindGroup(groups, var.folder);
        if (group == nullptr) {
            // A variable listed before any folder entry still belongs somewhere.
            groups.push_back({var.folder, std::nullopt, {}});
            group = &groups.back();
        }
        group->vars.push_back(&var);
    }
    if (!all)
        std::erase_if(groups, [](const DirFolderGroup& group) {
            return CDirectoryListing::IsHiddenFolderName(group.name);
        });
    return groups;
}

void PrintListingText(std::ostream& out, const std::vector<DirFolderGroup>& groups)
{
    for (const DirFolderGroup& group : groups) {
        out << std::left << std::setw(12) << CalcNameToDisplay(group.name);
        if (group.size)
            out << std::right << std::setw(10) << *group.size;
        out << '\n';
        for (const VarEntry* var : group.vars)
            out << "  " << std::left << std::setw(10) << CalcNameToDisplay(var->name) << std::setw(6)
                << GetTypeDisplayName(var->type) << std::right << std::setw(8) << var->size << '\n';
    }
    out.flush();
}

void PrintListingJson(std::ostream& out, const std::vector<DirFolderGroup>& groups)
{
    out << "{\n  \"folders\": [";
    const char* folderSep = "\n";
    for (const DirFolderGroup& group : groups) {
        out << folderSep << "    {\"name\": " << JsonString(CalcNameToDisplay(group.name))
            << ", \"size\": ";
        if (group.size)
            out << *group.size;
        else
            out << "null";
        out << ", \"variables\": [";
        const char* varSep = "\n";
        for (const VarEntry* var : group.vars) {
            out << varSep << "      {\"name\": " << JsonString(CalcNameToDisplay(var->name))
                << ", \"type\": " << JsonString(GetTypeDisplayName(var->type))
                << ", \"typeId\": " << static_cast<unsigned>(var->type) << ", \"size\": " << var->size
                << ", \"attributes\": " << static_cast<unsigned>(var->attributes) << "}";
            varSep = ",\n";
        }
        out << (group.vars.empty() ? "]}" : "\n    ]}");
        folderSep = ",\n";
    }
    out << (groups.empty() ? "]\n}\n" : "\n  ]\n}\n");
    out.flush();
}
