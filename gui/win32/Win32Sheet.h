#pragma once

#include "gui/pages/SheetLogic.h"
#include "gui/win32/Win32AboutPage.h"
#include "gui/win32/Win32ConfigPage.h"
#include "gui/win32/Win32DirListPage.h"
#include "gui/win32/Win32GrabScreenPage.h"
#include "gui/win32/Win32ProgressWindow.h"
#include "language/LanguageLibraryLoader.h"

class ISettingsStore;
class IUserMessages;

// The program's window on Windows: the modal property sheet "Vantrel 92"
// with its four pages from the language library's templates, the sheet's
// icon and one centred "Chiudi" button. What the sheet does (language,
// port, link) is CSheetLogic's.
class CWin32Sheet {
public:
    // Reads the settings and loads the language library; without one the
    // program's fixed message has been shown and the sheet is not run.
    CWin32Sheet(ISettingsStore& store, IUserMessages& messages);
    ~CWin32Sheet();

    CWin32Sheet(const CWin32Sheet&) = delete;
    CWin32Sheet& operator=(const CWin32Sheet&) = delete;

    bool IsLanguageLoaded() const { return m_logic.IsLanguageLoaded(); }
    CSheetLogic& Logic() { return m_logic; }
    // Runs the sheet until it is closed; the port is open while it shows.
    void DoModal();

    // The sheet's window while it shows, null otherwise.
    static HWND GetWindow();
    // The program was asked to end while the sheet shows: what would be
    // said to the user then is not shown.
    static bool IsEnding();

private:
    static int CALLBACK SheetCallback(HWND hWnd, UINT message, LPARAM lParam);
    // Before the property sheet's own: the window closed from outside and
    // the session ending stop the exchange under way first.
    static LRESULT CALLBACK SheetProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    CWin32Page& PageFor(int templateId);
    // The sheet's window exists: the port opens, then the buttons are set.
    void OnCreate(HWND hWnd);
    void OnInitDialog();

    // The pages in the order they are built; the logic after them, so that
    // it goes first and frees the language library before the pages go.
    CWin32DirListPage m_pageDirList;
    CWin32ConfigPage m_pageConfig;
    CWin32AboutPage m_pageAbout;
    CWin32GrabScreenPage m_pageGrabScreen;
    CLanguageLibraryLoader m_languages;
    CWin32ProgressWindow m_progress;
    CSheetLogic m_logic;
    HWND m_hWnd = nullptr;
    WNDPROC m_pSheetProc = nullptr;
};
