#pragma once

#include "shell/PropertyPage.h"

class CSheet;

// The directory page: the calculator's folders and variables beside a small
// PC file browser, with the directory, receive and send buttons. Its
// template (106) comes from the language library.
class CDirList : public CPropertyPage {
    Q_OBJECT
public:
    static constexpr int IDD = 106;

    CDirList();

    // The sheet whose link operations the page uses; set when the port has
    // opened, so a page without it has no link.
    void SetSheet(CSheet* pSheet) { m_pSheet = pSheet; }

    CSheet* m_pSheet = nullptr;
};
