#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The remote window as its logic sees it: the drawn calculator (its screen
// and keyboard, laid out by the key table), three lines of status, and the
// window's timer and events. The window draws and passes the user's clicks
// and keys on; the logic decides what goes to the calculator and when.
class IRemoteView {
public:
    virtual ~IRemoteView() = default;

    // The calculator's screen, as IGrabScreenView::ShowPicture takes it
    // (30*zoom-byte rows, most significant bit leftmost, set = light),
    // drawn into the screen's place on the face at once.
    virtual void ShowScreen(const std::vector<uint8_t>& bits, unsigned zoom) = 0;
    // The modifiers (a sum of KEY_MOD_*) latched for the next key: their
    // keys are drawn held down.
    virtual void ShowModifiers(uint16_t modifiers) = 0;
    // The frame rate, the keys waiting, and what went wrong last (empty
    // when nothing did).
    virtual void ShowStatus(const std::string& rate, const std::string& queue, const std::string& problem) = 0;
    // The logic's OnTick once, `ms` from now; a new request replaces one
    // not yet due.
    virtual void ScheduleTick(uint64_t ms) = 0;
    // Handles the window's pending events: called every few milliseconds
    // while the calculator's screen is being read, so that the window
    // repaints and takes clicks meanwhile.
    virtual void PumpEvents() = 0;
    // Minimised or otherwise out of sight: nothing is read then.
    virtual bool IsHidden() const = 0;
    // Ends the window, once a close the logic put off can go ahead.
    virtual void EndWindow() = 0;
};
