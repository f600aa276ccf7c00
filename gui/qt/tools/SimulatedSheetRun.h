#pragma once

#include "text/UserMessages.h"

#include <functional>
#include <string>

class CSheet;

// Messages go to the standard error stream instead of boxes; questions get
// "no" and texts are cancelled. Counts what it showed.
class CPrintedMessages final : public IUserMessages {
public:
    void ShowMessage(int id, const std::string& arg) override;
    void ShowText(const std::string& text) override;
    bool AskYesNo(int id, const std::string& arg) override;
    int AskText(int, int, std::string&) override { return 2; }

    int GetShownCount() const { return m_nShown; }

private:
    int m_nShown = 0;
};

// Lets the toolkit lay out and paint for about `milliseconds`.
void Settle(int milliseconds);

// Runs the program's sheet on the simulated calculator, with fresh settings
// so that nothing of the user's is read or changed, created and shown, and
// hands it to `work`, whose result is the status returned. Status 1 when no
// language library can be loaded.
int RunOnSimulatedSheet(int& argc, char** argv,
                        const std::function<int(CSheet& sheet, const CPrintedMessages& messages)>& work);
