#include "GuiEnvironment.h"

namespace {
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new CGuiEnvironment);
}
