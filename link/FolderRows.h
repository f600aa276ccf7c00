#pragma once

#include <cstdint>
#include <string>

// Where the directory listing shows the folders it receives, one row each,
// the newest on top. The directory page implements it with its folder list;
// programs without a folder list pass none.
class IFolderRows {
public:
    virtual ~IFolderRows() = default;
    // Inserts a row at the top; false when the view refused it.
    virtual bool InsertFolderRow(const std::string& name, uint32_t size) = 0;
};
