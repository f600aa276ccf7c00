#include "screen/GrabScreen.h"

CGrabScreen::CGrabScreen() : CPropertyPage(IDD) {}
