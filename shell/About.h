#pragma once

#include "shell/PropertyPage.h"
#include "shell/SheetLogic.h"

class CAnimateCtrl;

// The about page: texts and layout come from its template; the program adds
// the animation clip (CAboutLogic), opened once when the page is first
// shown.
class CAbout : public CPropertyPage {
    Q_OBJECT
public:
    static constexpr int IDD = IDD_ABOUT;

    CAbout();

    CAnimateCtrl* m_animate = nullptr;

protected:
    bool OnInitDialog() override;
};
