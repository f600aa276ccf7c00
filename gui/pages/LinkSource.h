#pragma once

class CLink;

// Where a page finds the calculator link: the sheet, which has one only
// while its port is open.
class ILinkSource {
public:
    virtual ~ILinkSource() = default;
    // The open link, or null while there is none.
    virtual CLink* GetOpenLink() = 0;
    // The user begins to wait for the calculator to send from its menu.
    virtual void BeforeListening() {}
};
