#pragma once

#include <cstdint>

// Puts the toolkit's own texts (the buttons and titles of its standard
// dialogs) into the language of the loaded library, when the system has the
// toolkit's translation for it; English otherwise.
void InstallToolkitTranslation(uint16_t languageId);
