#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// An extended dialog template (DIALOGEX) as the system's resource compiler
// writes it, read field by field within its bounds. Class names of the
// system's predefined controls, given there by number, are read as their
// names ("BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX").
struct DialogControl {
    uint32_t id = 0;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::u16string windowClass;
    std::u16string text;
};

struct DialogTemplate {
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::u16string title;
    uint16_t pointSize = 0;
    std::u16string typeface;
    std::vector<DialogControl> controls;
};

// False when the bytes are not a whole extended template.
bool ParseDialogTemplate(const uint8_t* data, size_t size, DialogTemplate& dialog);
