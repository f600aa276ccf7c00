#pragma once

#include "link/DirList.h"
#include "screen/GrabScreen.h"
#include "shell/About.h"
#include "shell/Config.h"
#include "shell/LanguageChoice.h"
#include "shell/LinkProgressDialog.h"
#include "shell/PropertySheet.h"
#include "shell/SheetLogic.h"

class CSimulatedCalculator;

// The program's only window: the four pages in their tabs above the single
// close button. What happens at start-up, when the window is created and
// destroyed, and at shutdown is its logic's; the link pages reach the cable
// through it.
class CSheet : public CPropertySheet {
    Q_OBJECT
public:
    static constexpr int IDI_SHEET = 144;

    explicit CSheet(QWidget* parent = nullptr);
    ~CSheet() override;

    CSheetLogic& Logic() { return m_logic; }

    // The built-in simulated calculator instead of the port; call before
    // the window is created. A pace other than 0 makes it move no more than
    // that many bytes a second, as a real cable does.
    void UseSimulatedCalculator(uint32_t bytesPerSecond = 0) { m_logic.UseSimulatedCalculator(bytesPerSecond); }
    CSimulatedCalculator* GetSimulatedCalculator() const { return m_logic.GetSimulatedCalculator(); }

    // The link and whether the port opened when the window was created.
    CLink& GetLink() { return m_logic.GetLink(); }
    bool HasLink() const { return m_logic.HasLink(); }
    bool IsLanguageLoaded() const { return m_logic.IsLanguageLoaded(); }
    // What the user sees of a long exchange, and where it is cancelled.
    CLinkProgressDialog& GetProgress() { return m_progress; }

    // In member order, which is also their order of construction.
    CDirList m_pageDirList;
    CConfig m_pageConfig;
    CAbout m_pageAbout;
    CGrabScreen m_pageGrabScreen;

protected:
    int OnCreate() override;
    bool OnInitDialog() override;
    void OnDestroy() override;

private:
    CPropertyPage* PageFor(int templateId);

    CBundleLanguageLoader m_languages;
    CLinkProgressDialog m_progress{this};
    // Last, so that it goes first: the language library is freed before
    // the pages are destroyed.
    CSheetLogic m_logic;
};
