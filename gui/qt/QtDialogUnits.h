#pragma once

#include <QSize>

class QFont;
class QWidget;

// Templates place their controls in dialog units, which follow the font the
// page is drawn in: a horizontal unit is a quarter of the font's average
// character width, a vertical unit an eighth of its height. Both systems
// map the same layout this way, so a caption that fits in one language and
// font fits in the others too.

// The average character width and the height of `font`, in pixels, reckoned
// as the system reckons a dialog font's base units.
QSize DialogBaseUnits(const QFont& font);

// Moves and sizes the controls of a template built in dialog units (the
// root's direct children) to pixels of the root's font, and fixes the
// root's size likewise.
void MapDialogUnits(QWidget* root);
