#pragma once

#include "gui/pages/SheetLogic.h"
#include "gui/qt/About.h"
#include "gui/qt/Config.h"
#include "gui/qt/DirList.h"
#include "gui/qt/GrabScreen.h"
#include "gui/qt/QtProgressDialog.h"
#include "gui/qt/QtPropertySheet.h"
#include "language/LanguageLibraryLoader.h"

class CBuiltInCalculator;

// The program's only window: the four pages in their tabs above the single
// close button. What happens at start-up, when the window is created and
// destroyed, and at shutdown is its logic's; the link pages reach the cable
// through it.
class CSheet : public CQtPropertySheet {
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
    CBuiltInCalculator* GetSimulatedCalculator() const { return m_logic.GetSimulatedCalculator(); }

    // The link and whether the port opened when the window was created.
    CLink& GetLink() { return m_logic.GetLink(); }
    bool HasLink() const { return m_logic.HasLink(); }
    bool IsLanguageLoaded() const { return m_logic.IsLanguageLoaded(); }
    // What the user sees of a long exchange, and where it is cancelled.
    CQtProgressDialog& GetProgress() { return m_progress; }

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
    CQtPropertyPage* PageFor(int templateId);

    CLanguageLibraryLoader m_languages;
    CQtProgressDialog m_progress{this};
    // Last, so that it goes first: the language library is freed before
    // the pages are destroyed.
    CSheetLogic m_logic;
};
