#pragma once

#include "gui/pages/SheetLogic.h"
#include "gui/qt/QtPropertyPage.h"

class CQtAnimateCtrl;

// The about page: texts and layout come from its template; the program adds
// the animation clip (CAboutLogic), opened once when the page is first
// shown.
class CAbout : public CQtPropertyPage {
    Q_OBJECT
public:
    static constexpr int IDD = IDD_ABOUT;

    CAbout();

    CQtAnimateCtrl* m_animate = nullptr;

protected:
    bool OnInitDialog() override;
};
