#pragma once

#include "gui/pages/LinkSource.h"
#include "link/Link.h"
#include "link/LinkProgress.h"
#include "resources/ControlIds.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CConfigLogic;
class CDirListLogic;
class CGrabScreenLogic;
class CBuiltInCalculator;
struct CCommandLine;
class ILanguageLoader;
class ILinkProgress;
class IUserMessages;

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
    void SetLinkProgress(ILinkProgress* progress) { m_endingProgress.SetShown(progress); }

    // The program is asked to end (a signal, the session ending, the window
    // closed from outside): the exchange under way stops at its next byte,
    // as at Cancel, leaving no temporary file, and the window then closes.
    void RequestEnd() { m_endingProgress.RequestEnd(); }
    bool IsEndRequested() const { return m_endingProgress.IsEndRequested(); }
    // Where an end is noted that could not call RequestEnd (a signal
    // handler sets a flag): asked at every byte. Null for none.
    void SetEndCheck(bool (*check)()) { m_endingProgress.SetEndCheck(check); }
    // An exchange is running: a window closed now closes once it has stopped.
    bool IsExchangeUnderWay() const { return m_endingProgress.IsUnderWay(); }

    // The built-in simulated calculator instead of the port; before the
    // window is created. A pace other than 0 makes it move no more than
    // that many bytes a second, as a real cable does.
    void UseSimulatedCalculator(uint32_t bytesPerSecond = 0);
    CBuiltInCalculator* GetSimulatedCalculator() const { return m_pSimulation.get(); }
    // The simulated calculator the command line asks for: its pace, the
    // variable files of its folder, what it sends by itself when the user
    // waits for it. Returns what could not be done, one line each.
    std::vector<std::string> UseSimulatedCalculator(const CCommandLine& commandLine);

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
    // The simulated calculator sends what the command line named for it.
    void BeforeListening() override;

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
    // The window's progress, which the link reaches through this, so that an
    // end asked for cancels the exchange as its Cancel does.
    class CEndingProgress final : public ILinkProgress {
    public:
        void SetShown(ILinkProgress* shown) { m_pShown = shown; }
        void SetSheet(CSheetLogic* sheet) { m_pSheet = sheet; }
        void SetEndCheck(bool (*check)()) { m_pEndCheck = check; }
        void RequestEnd() { m_bEnd = true; }
        bool IsEndRequested() const { return m_bEnd || (m_pEndCheck != nullptr && m_pEndCheck()); }
        bool IsUnderWay() const { return m_bUnderWay; }

        void ExchangeStarted(int textId, const std::string& arg, uint64_t expectedBytes) override;
        void BytesMoved(uint64_t bytesDone) override;
        bool IsCancelRequested() override;
        void ExchangeEnded() override;

    private:
        ILinkProgress* m_pShown = nullptr;
        CSheetLogic* m_pSheet = nullptr;
        bool (*m_pEndCheck)() = nullptr;
        bool m_bEnd = false;
        bool m_bUnderWay = false;
    };
    // The serial port of a serial cable; none for the others (the window
    // program takes the first USB link cable plugged in).
    std::string CablePort() const;
    // An exchange has ended: a cable that went away, or through which
    // nothing answered, says so beside the exchange's own message.
    void AfterExchange();

    CEndingProgress m_endingProgress;
    // Declared before the link so that it outlives the port client.
    std::unique_ptr<CBuiltInCalculator> m_pSimulation;
    CLink m_link;
    uint16_t m_wLanguage = 0;
    bool m_bHasLink = false;
};
