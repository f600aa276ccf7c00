#pragma once

#include "gui/pages/LinkSource.h"
#include "link/Link.h"

#include <array>
#include <cstdint>
#include <memory>

class CConfigLogic;
class CDirListLogic;
class CGrabScreenLogic;
class CBuiltInCalculator;
class ILanguageLoader;
class ILinkProgress;
class IUserMessages;

// The pages of the sheet by the ids of their templates in the language
// library.
inline constexpr int IDD_ABOUT = 100;
inline constexpr int IDD_DIRLIST = 106;
inline constexpr int IDD_CONFIG = 107;
inline constexpr int IDD_GRABSCREEN = 108;

// What the main sheet does, whatever window shows it: the language library
// chosen from the settings at start-up, the calculator link opened with the
// window and closed with it, the port addresses and time-out handed to the
// link, and the link handed to the two pages that talk to the calculator.
class CSheetLogic final : public ILinkSource {
public:
    // The pages in the order they are built and take their templates, and
    // in tab order, left to right.
    static constexpr std::array<int, 4> BUILD_ORDER = {IDD_DIRLIST, IDD_CONFIG, IDD_ABOUT, IDD_GRABSCREEN};
    static constexpr std::array<int, 4> TAB_ORDER = {IDD_DIRLIST, IDD_GRABSCREEN, IDD_CONFIG, IDD_ABOUT};

    // `config` has read the settings already.
    CSheetLogic(CConfigLogic& config, ILanguageLoader& languages, IUserMessages& messages);
    // The language library is freed first; the link, then the simulated
    // calculator, go after it.
    ~CSheetLogic() override;

    CSheetLogic(const CSheetLogic&) = delete;
    CSheetLogic& operator=(const CSheetLogic&) = delete;

    // Loads the language library of the stored setting. Without one, the
    // program's fixed message; the sheet is then never shown.
    bool LoadLanguage();
    bool IsLanguageLoaded() const { return m_wLanguage != 0; }
    // The loaded library's language (1040, 1033), 0 while none is loaded.
    uint16_t GetLanguageId() const { return m_wLanguage; }

    // The pages that get the link once the port is open.
    void SetLinkPages(CDirListLogic* dirList, CGrabScreenLogic* grabScreen);

    // What the window shows of a long exchange, and where it is cancelled:
    // the link hears of it while the port is open. Null for none.
    void SetLinkProgress(ILinkProgress* progress) { m_pProgress = progress; }

    // The built-in simulated calculator instead of the port; before the
    // window is created. A pace other than 0 makes it move no more than
    // that many bytes a second, as a real cable does.
    void UseSimulatedCalculator(uint32_t bytesPerSecond = 0);
    CBuiltInCalculator* GetSimulatedCalculator() const { return m_pSimulation.get(); }

    // The window is created: opens the cable of the settings, on the
    // system's port unless another backend was chosen, or with the
    // simulated calculator behind it. On success the link takes the port
    // addresses and time-out of the settings, once, and the link pages get
    // the sheet; on failure message 123 (the parallel cable) or 468 (the
    // others) says why, and the window opens without a link.
    bool OnCreate();
    // The window is destroyed: the port is closed.
    void OnDestroy();

    CLink& GetLink() { return m_link; }
    bool HasLink() const { return m_bHasLink; }
    CLink* GetOpenLink() override { return m_bHasLink ? &m_link : nullptr; }

    bool SendByte(uint8_t value) { return m_link.SendByte(value); }
    bool ReceiveByte(uint8_t& value) { return m_link.ReceiveByte(value); }
    bool SendSequence(const uint8_t* seq) { return m_link.SendSequence(seq); }
    bool ExpectSequence(const uint8_t* seq) { return m_link.ExpectSequence(seq); }
    bool SendBuffer(const uint8_t* data, uint16_t length) { return m_link.SendBuffer(data, length); }
    static bool VerifyChecksum(uint16_t sum, const uint8_t* checksum) { return CLink::VerifyChecksum(sum, checksum); }

private:
    CConfigLogic& m_config;
    ILanguageLoader& m_languages;
    IUserMessages& m_messages;
    CDirListLogic* m_pDirList = nullptr;
    CGrabScreenLogic* m_pGrabScreen = nullptr;
    ILinkProgress* m_pProgress = nullptr;
    // Declared before the link so that it outlives the port client.
    std::unique_ptr<CBuiltInCalculator> m_pSimulation;
    CLink m_link;
    uint16_t m_wLanguage = 0;
    bool m_bHasLink = false;
};
