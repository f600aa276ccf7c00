#pragma once

#include "link/DirList.h"
#include "link/Link.h"
#include "screen/GrabScreen.h"
#include "shell/About.h"
#include "shell/Config.h"
#include "shell/LinkProgressDialog.h"
#include "shell/PropertySheet.h"

#include <cstdint>
#include <memory>

class CSimulatedCalculator;

// The program's only window: the four pages, and the hub of the calculator
// link. The port opens when the window is created and closes when it is
// destroyed; the link pages reach the cable through the operations below.
class CSheet : public CPropertySheet {
    Q_OBJECT
public:
    static constexpr int IDI_SHEET = 144;

    explicit CSheet(QWidget* parent = nullptr);
    ~CSheet() override;

    // The built-in simulated calculator instead of the port; call before
    // the window is created. A pace other than 0 makes it move no more than
    // that many bytes a second, as a real cable does.
    void UseSimulatedCalculator(uint32_t bytesPerSecond = 0);
    CSimulatedCalculator* GetSimulatedCalculator() const { return m_pSimulation.get(); }

    // The link and whether the port opened when the window was created.
    CLink& GetLink() { return m_link; }
    bool HasLink() const { return m_bHasLink; }
    bool IsLanguageLoaded() const { return m_bLanguageLoaded; }
    // What the user sees of a long exchange, and where it is cancelled.
    CLinkProgressDialog& GetProgress() { return m_progress; }

    bool SendByte(uint8_t value) { return m_link.SendByte(value); }
    bool ReceiveByte(uint8_t& value) { return m_link.ReceiveByte(value); }
    bool SendSequence(const uint8_t* seq) { return m_link.SendSequence(seq); }
    bool ExpectSequence(const uint8_t* seq) { return m_link.ExpectSequence(seq); }
    bool SendBuffer(const uint8_t* data, uint16_t length) { return m_link.SendBuffer(data, length); }
    static bool VerifyChecksum(uint16_t sum, const uint8_t* checksum) { return CLink::VerifyChecksum(sum, checksum); }

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
    // Declared before the link so that it outlives the port client.
    std::unique_ptr<CSimulatedCalculator> m_pSimulation;
    CLink m_link;
    CLinkProgressDialog m_progress{this};
    bool m_bLanguageLoaded = false;
    bool m_bHasLink = false;
};
