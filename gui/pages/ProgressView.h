#pragma once

#include <string>

// The progress window as its logic sees it: a small modal window over the
// program's window with two lines of text, a bar and Cancel. The logic
// says when it opens, what it shows and when it closes; the window only
// draws that and reports Cancel.
class IProgressView {
public:
    // The bar's steps from empty to full.
    static constexpr int BAR_STEPS = 1000;

    virtual ~IProgressView() = default;

    // Opens the window, with its title and Cancel button, and keeps the
    // user from starting anything else while it is up.
    virtual void Open() = 0;
    // `what` the exchange does, over `count`, the bytes so far.
    virtual void ShowTexts(const std::string& what, const std::string& count) = 0;
    // `steps` of BAR_STEPS filled.
    virtual void ShowBar(int steps) = 0;
    // A bar that only shows activity: the end is not known.
    virtual void ShowBusyBar() = 0;
    // Handles the window's events that came meanwhile; true once the user
    // pressed Cancel (or closed the window) since it opened.
    virtual bool PumpEvents() = 0;
    virtual void Close() = 0;
};
