#include "sim/CalcMemory.h"

#include <algorithm>

CCalcMemory::CCalcMemory() { Clear(); }

void CCalcMemory::Clear()
{
    m_folders.clear();
    m_folders.push_back({"main", {}});
}

bool CCalcMemory::IsValidName(const std::string& name)
{
    if (name.empty() || name.size() > MAX_VAR_NAME_LENGTH)
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) { return c == '\0' || c == '\\'; });
}

SimFolder& CCalcMemory::FolderNamed(const std::string& name)
{
    for (SimFolder& folder : m_folders) {
        if (folder.name == name)
            return folder;
    }
    m_folders.push_back({name, {}});
    return m_folders.back();
}

bool CCalcMemory::AddVariable(const std::string& folder, const std::string& name, uint8_t type,
                              uint8_t attribute, std::vector<uint8_t> contents)
{
    if (!IsValidName(folder) || !IsValidName(name) || !IsStorableType(type) ||
        contents.size() > MAX_CONTENTS)
        return false;
    SimFolder& target = FolderNamed(folder);
    SimVariable variable{name, type, attribute, std::move(contents)};
    for (SimVariable& existing : target.variables) {
        if (existing.name == name) {
            existing = std::move(variable);
            return true;
        }
    }
    target.variables.push_back(std::move(variable));
    return true;
}

bool CCalcMemory::DeleteVariable(const std::string& folder, const std::string& name)
{
    for (SimFolder& candidate : m_folders) {
        if (candidate.name != folder)
            continue;
        auto& variables = candidate.variables;
        const auto found = std::find_if(variables.begin(), variables.end(),
                                        [&](const SimVariable& variable) { return variable.name == name; });
        if (found == variables.end())
            return false;
        variables.erase(found);
        return true;
    }
    return false;
}

bool CCalcMemory::AddFolder(const std::string& name)
{
    if (!IsValidName(name) || HasFolder(name))
        return false;
    m_folders.push_back({name, {}});
    return true;
}

bool CCalcMemory::HasFolder(const std::string& name) const
{
    return std::any_of(m_folders.begin(), m_folders.end(), [&](const SimFolder& folder) { return folder.name == name; });
}

const SimVariable* CCalcMemory::FindVariable(const std::string& folder, const std::string& name) const
{
    for (const SimFolder& candidate : m_folders) {
        if (candidate.name != folder)
            continue;
        for (const SimVariable& variable : candidate.variables) {
            if (variable.name == name)
                return &variable;
        }
    }
    return nullptr;
}

size_t CCalcMemory::CountEntries() const
{
    size_t count = m_folders.size();
    for (const SimFolder& folder : m_folders)
        count += folder.variables.size();
    return count;
}
