#pragma once

#include "gui/pages/LinkSource.h"

class CLink;

// What the pages that talk to the calculator share: the sheet, which lends
// them its link once the port is open (with the window's progress on it). A
// page is one object, never copied.
class CLinkPage {
public:
    CLinkPage() = default;
    CLinkPage(const CLinkPage&) = delete;
    CLinkPage& operator=(const CLinkPage&) = delete;

    // Set when the port has opened, so a page without it has no link.
    void SetSheet(ILinkSource* pSheet) { m_pSheet = pSheet; }
    // The link, or null while the page has none.
    CLink* GetLink() const { return m_pSheet != nullptr ? m_pSheet->GetOpenLink() : nullptr; }

protected:
    ~CLinkPage() = default;

    ILinkSource* m_pSheet = nullptr;
};
