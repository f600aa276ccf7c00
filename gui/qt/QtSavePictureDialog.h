#pragma once

#include <QString>

class QWidget;

// Asks where to save the screen picture: a save dialog offering bitmap files,
// opening in the current directory, asking before it replaces a file and
// adding no extension to the typed name (the extension chooses the format).
// Returns the chosen path, empty when the user cancelled.
QString AskPicturePath(QWidget* parent);

// The dialog's one filter.
inline constexpr const char* PICTURE_FILTER = "Bitmap (*.bmp)";
