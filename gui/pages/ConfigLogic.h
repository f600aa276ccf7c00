#pragma once

#include "settings/Settings.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class IConfigView;
class ILanguageLoader;
class ISettingsStore;
class IUserMessages;

// What the configuration page does, whatever window shows it, and the
// program's settings holder: the settings are read as soon as it is built,
// again when the page's window first shows, and written only by the save
// button. Which library, port and time-out the program uses is decided at
// start-up from what was read then.
class CConfigLogic : public CSettings {
public:
    // Items of the port box and the language box, in index order.
    static const std::vector<std::string>& PortItems();
    static const std::vector<std::string>& LanguageItems();

    CConfigLogic(ISettingsStore& store, IUserMessages& messages);

    void SetView(IConfigView* view) { m_pView = view; }
    // Where the serial port box's items come from: the system's serial
    // ports unless another list is given.
    void SetSerialPortLister(std::function<std::vector<std::string>()> lister) { m_serialPortLister = std::move(lister); }

    void LoadSettings();
    void SaveSettings();
    // The language library for the stored language (1040, 1033, or 0 when
    // none could be loaded).
    uint16_t LoadLanguageLibrary(ILanguageLoader& loader) const;

    // The page's window is up: fills the boxes and shows what is stored.
    void OnInitDialog();
    // Moves the values between the controls and the members; on the way in
    // the time-out is checked, with a message and the focus back on the
    // field when it does not validate.
    bool UpdateData(bool bSaveAndValidate);
    void OnSaveSettings();
    // Another cable was chosen in the box: the port choice that goes with it shows.
    void OnCableChanged();

private:
    ISettingsStore& m_store;
    IUserMessages& m_messages;
    IConfigView* m_pView = nullptr;
    std::function<std::vector<std::string>()> m_serialPortLister;
};
