#pragma once

#include "text/StringIds.h"

#include <span>

// The columns of the directory page's two calculator lists. A heading is a
// string of the language library; the width is the least a column gets, and
// a window widens a column whose heading needs more in its font.
enum class ColumnAlign { Left, Centre };

struct ListColumn {
    int headingId;
    ColumnAlign align;
    int minWidth; // pixels
};

inline constexpr ListColumn FOLDER_LIST_COLUMNS[] = {
    {IDS_HEAD_FOLDER, ColumnAlign::Left, 100},
    {IDS_HEAD_FOLDER_SIZE, ColumnAlign::Left, 70},
};

inline constexpr ListColumn VAR_LIST_COLUMNS[] = {
    {IDS_HEAD_VAR, ColumnAlign::Left, 100},
    {IDS_HEAD_TYPE, ColumnAlign::Centre, 70},
    {IDS_HEAD_VAR_SIZE, ColumnAlign::Centre, 70},
};
