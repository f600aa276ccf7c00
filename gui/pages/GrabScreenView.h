#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CLink;

// The screen page's window as its logic sees it: the picture control, the
// zoom check box and the save dialog.
class IGrabScreenView {
public:
    virtual ~IGrabScreenView() = default;

    // Shows the picture of `bits` (30*zoom-byte rows, most significant bit
    // leftmost, a set bit a light pixel) at once, 240*zoom x 128*zoom
    // pixels, dark pixels black. False, with the old picture still shown,
    // when the picture cannot be made.
    virtual bool ShowPicture(const std::vector<uint8_t>& bits, unsigned zoom) = 0;
    virtual bool IsZoomChecked() const = 0;
    // While a capture holds the window (a wait cursor, say).
    virtual void ShowBusy(bool busy) = 0;
    // Asks where to save the picture: a save dialog offering bitmap files,
    // opening in the current directory, asking before it replaces a file and
    // adding no extension. The chosen path, empty when the user cancelled.
    virtual std::string AskPicturePath() = 0;
    // Opens the remote window over the page, modal, on `link`, and returns
    // when it is closed; false when the window cannot be made.
    virtual bool ShowRemoteWindow(CLink& link) = 0;
};
