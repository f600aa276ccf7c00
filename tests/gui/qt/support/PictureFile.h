#pragma once

#include <string>
#include <vector>

// A picture file as the toolkit's image readers see it, for tests that
// check what a program wrote: its size and which pixels are dark. Width and
// height are 0 when the file cannot be read.
struct PictureFile {
    int width = 0;
    int height = 0;
    std::vector<bool> dark; // row by row

    bool IsDark(int x, int y) const { return dark[static_cast<size_t>(y * width + x)]; }
};

PictureFile ReadPictureFile(const std::string& path);
