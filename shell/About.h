#pragma once

#include "shell/PropertyPage.h"

class CAnimateCtrl;

// The about page: texts and layout come from its template; the program adds
// the animation clip "Vantrel92.avi" from its own folder, opened once when
// the page is first shown.
class CAbout : public CPropertyPage {
    Q_OBJECT
public:
    static constexpr int IDD = 100;
    static constexpr const char* CLIP_FILE_NAME = "Vantrel92.avi";

    CAbout();

    CAnimateCtrl* m_animate = nullptr;

protected:
    bool OnInitDialog() override;
};
