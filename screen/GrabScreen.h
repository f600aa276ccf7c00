#pragma once

#include "shell/PropertyPage.h"

class CSheet;

// The screen page: fetches the calculator's display, shows it at single or
// double size and saves it as an image. Its template (108) comes from the
// language library.
class CGrabScreen : public CPropertyPage {
    Q_OBJECT
public:
    static constexpr int IDD = 108;

    CGrabScreen();

    // The sheet whose link operations the page uses; set when the port has
    // opened, so a page without it has no link.
    void SetSheet(CSheet* pSheet) { m_pSheet = pSheet; }

    CSheet* m_pSheet = nullptr;
};
