#pragma once

#include <string>

// The window that stays up while a long exchange runs on the window's
// thread: a title, a text that grows by a line for each thing done, and
// Cancel. It goes when the object is destroyed.
class IWaitWindow {
public:
    virtual ~IWaitWindow() = default;
    // Adds a line under the text: language string `id` with `arg` in its
    // "%s".
    virtual void AddLine(int id, const std::string& arg) = 0;
    // True once Cancel was pressed; lets the window serve its events first.
    virtual bool IsCancelled() = 0;
};
