#include "transfer/RemoteOperation.h"

#include "link/CalcNameRules.h"
#include "link/KeyTable.h"
#include "link/Link.h"
#include "link/LinkProgress.h"
#include "link/VarTypes.h"
#include "text/DisplayText.h"
#include "text/StringIds.h"
#include "text/UserMessages.h"
#include "transfer/VarFileReader.h"
#include "transfer/VariableFile.h"
#include "transfer/VariableSender.h"

#include <algorithm>
#include <sstream>
#include <utility>

namespace {

// From wherever the calculator is - a program running, a menu, a dialog,
// another application - to an empty entry line of the home screen: ON
// breaks a program, ESC closes what is open, QUIT leaves an application.
const std::vector<uint16_t> TO_HOME_SCREEN = {KEY_ON,   KEY_ESC,  KEY_ESC,   KEY_ESC,  KEY_QUIT,
                                              KEY_QUIT, KEY_HOME, KEY_CLEAR, KEY_CLEAR};
// The entry line cleared: the first CLEAR may only clear what follows the
// cursor.
const std::vector<uint16_t> CLEAR_ENTRY = {KEY_CLEAR, KEY_CLEAR};

// A string variable holding "": its section as a variable file carries it
// (four zero bytes, the length 3 big-endian, then 00, no characters, 00 and
// the string tag).
constexpr uint8_t FOLDER_MAKER_SECTION[] = {0, 0, 0, 0, 0, 3, 0x00, 0x00, 0x2D};

void AppendAscii(std::vector<uint16_t>& codes, const std::string& text)
{
    for (char c : text)
        codes.push_back(KeyCodeForCharacter(static_cast<unsigned char>(c)));
}

std::string JoinPaths(const std::vector<VariableRef>& variables)
{
    std::string joined;
    for (const VariableRef& variable : variables) {
        if (!joined.empty())
            joined += ", ";
        joined += VariablePathToDisplay(variable);
    }
    return joined;
}

} // namespace

std::string VariablePathToDisplay(const VariableRef& variable)
{
    return CalcNameToDisplay(variable.folder) + "\\" + CalcNameToDisplay(variable.name);
}

CRemoteOperation::CRemoteOperation(CLink& link, IUserMessages& messages)
    : m_link(link), m_messages(messages), m_sender(link)
{
}

void CRemoteOperation::SetClock(IClock& clock, CKeySender::SleepFunction sleep)
{
    m_sender.SetClock(clock, std::move(sleep));
}

bool CRemoteOperation::Fail(Failure failure, int messageId, const std::string& arg)
{
    m_failure = failure;
    m_messages.ShowMessage(messageId, arg);
    return false;
}

bool CRemoteOperation::ReadListing(int failureId)
{
    m_listing.Clear();
    m_bHasListing = m_listing.ReadDirectory(m_link);
    if (!m_bHasListing)
        Fail(Failure::Link, ExchangeFailureMessage(m_link, failureId));
    return m_bHasListing;
}

bool CRemoteOperation::IsListed(const VariableRef& variable) const
{
    return std::any_of(m_listing.m_vars.begin(), m_listing.m_vars.end(), [&](const VarEntry& entry) {
        return entry.folder == variable.folder && entry.name == variable.name;
    });
}

bool CRemoteOperation::IsFolderListed(const std::string& folder) const
{
    return std::any_of(m_listing.m_folders.begin(), m_listing.m_folders.end(),
                       [&](const FolderEntry& entry) { return entry.name == folder; });
}

bool CRemoteOperation::AppendPathKeys(std::vector<uint16_t>& codes, const VariableRef& variable)
{
    const auto folder = KeyCodesForCalcName(variable.folder);
    const auto name = KeyCodesForCalcName(variable.name);
    if (!folder || !name)
        return Fail(Failure::Refused, IDS_NAME_NOT_TYPEABLE, VariablePathToDisplay(variable));
    codes.insert(codes.end(), folder->begin(), folder->end());
    codes.push_back('\\');
    codes.insert(codes.end(), name->begin(), name->end());
    return true;
}

bool CRemoteOperation::PressOrSay(const std::vector<uint16_t>& codes, int textId, const std::string& arg)
{
    if (m_sender.Press(codes, textId, arg))
        return true;
    if (m_link.WasCancelled())
        return Fail(Failure::Link, IDS_EXCHANGE_CANCELLED);
    return Fail(Failure::Link, IDS_KEY_NOT_ACKNOWLEDGED, KeyCodeName(m_sender.GetFailedKey()));
}

bool CRemoteOperation::PressKeys(const std::vector<uint16_t>& codes, const std::string& what)
{
    m_failure = Failure::None;
    return PressOrSay(codes, IDS_PROGRESS_KEYS, what);
}

bool CRemoteOperation::Run(const VariableRef& program, const std::string& arguments)
{
    m_failure = Failure::None;
    const std::string call = VariablePathToDisplay(program) + "(" + arguments + ")";
    std::vector<uint16_t> codes = {KEY_HOME, KEY_CLEAR, KEY_CLEAR};
    if (!AppendPathKeys(codes, program))
        return false;
    codes.push_back('(');
    std::string refused;
    if (!KeyCodesForText(arguments, codes, refused))
        return Fail(Failure::Refused, IDS_CANNOT_TYPE, refused);
    codes.push_back(')');
    codes.push_back(KEY_ENTER);

    CLinkExchange exchange(m_link, IDS_PROGRESS_RUN, call, 0);
    if (!ReadListing(IDS_DIRECTORY_FAILED))
        return false;
    const auto entry = std::find_if(m_listing.m_vars.begin(), m_listing.m_vars.end(), [&](const VarEntry& e) {
        return e.folder == program.folder && e.name == program.name;
    });
    if (entry == m_listing.m_vars.end())
        return Fail(Failure::NotFound, IDS_REMOTE_NOT_ON_CALCULATOR, VariablePathToDisplay(program));
    if (entry->type != VAR_PRG && entry->type != VAR_FUNC)
        return Fail(Failure::Refused, IDS_RUN_NOT_PROGRAM, VariablePathToDisplay(program));
    if (!PressOrSay(codes, IDS_PROGRESS_RUN, call))
        return false;
    // What the program stored is worth showing; the outcome itself is on
    // the calculator's screen.
    if (!ReadListing(IDS_REMOTE_NOT_CONFIRMED))
        return false;
    m_messages.ShowMessage(IDS_RUN_DONE, call);
    return true;
}

bool CRemoteOperation::Delete(const std::vector<VariableRef>& variables, bool confirmed)
{
    m_failure = Failure::None;
    if (variables.empty())
        return Fail(Failure::Refused, IDS_NO_VAR_TO_DELETE);
    const std::string what = JoinPaths(variables);
    std::vector<uint16_t> codes = TO_HOME_SCREEN;
    for (size_t i = 0; i < variables.size(); ++i) {
        if (i > 0)
            codes.insert(codes.end(), CLEAR_ENTRY.begin(), CLEAR_ENTRY.end());
        AppendAscii(codes, "delvar ");
        if (!AppendPathKeys(codes, variables[i]))
            return false;
        codes.push_back(KEY_ENTER);
    }

    {
        CLinkExchange exchange(m_link, IDS_PROGRESS_DELETE, what, 0);
        if (!ReadListing(IDS_DIRECTORY_FAILED))
            return false;
    }
    for (const VariableRef& variable : variables)
        if (!IsListed(variable))
            return Fail(Failure::NotFound, IDS_REMOTE_NOT_ON_CALCULATOR, VariablePathToDisplay(variable));
    if (!confirmed && !m_messages.AskYesNo(IDS_DELETE_CONFIRM, what)) {
        m_failure = Failure::Declined;
        return false;
    }

    CLinkExchange exchange(m_link, IDS_PROGRESS_DELETE, what, 0);
    if (!PressOrSay(codes, IDS_PROGRESS_DELETE, what) || !ReadListing(IDS_REMOTE_NOT_CONFIRMED))
        return false;
    std::vector<VariableRef> left;
    std::copy_if(variables.begin(), variables.end(), std::back_inserter(left),
                 [this](const VariableRef& variable) { return IsListed(variable); });
    if (!left.empty())
        return Fail(Failure::Link, IDS_DELETE_LEFT, JoinPaths(left));
    m_messages.ShowMessage(IDS_DELETE_DONE, what);
    return true;
}

bool CRemoteOperation::SendFolderMaker(const std::string& folder)
{
    // The variable goes out as the send button sends a file: built as one
    // in memory and read back.
    CVarFileBuilder builder(1);
    builder.AddVariable(FOLDER_MAKER_NAME, VAR_STR, 0, FOLDER_MAKER_SECTION, sizeof FOLDER_MAKER_SECTION);
    const std::vector<uint8_t> bytes = builder.Finish();
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    CVarFileReader file(in);
    CVariableSender sender(m_link, m_messages);
    return file.Check() == VarFileCheck::Ok && sender.LoadVariableData(file, file.GetSectionOffset(0)) &&
           sender.SendVariable(file.GetEntries().front(), folder);
}

bool CRemoteOperation::MakeFolder(const std::string& name)
{
    m_failure = Failure::None;
    const std::string folder = LowerCaseCalcName(name);
    if (const int problem = CheckNewCalcName(folder))
        return Fail(Failure::Refused, problem, CalcNameToDisplay(name));
    const VariableRef maker{folder, FOLDER_MAKER_NAME};
    std::vector<uint16_t> codes = TO_HOME_SCREEN;
    AppendAscii(codes, "delvar ");
    AppendPathKeys(codes, maker);
    codes.push_back(KEY_ENTER);

    CLinkExchange exchange(m_link, IDS_PROGRESS_NEW_FOLDER, folder, 0);
    if (!ReadListing(IDS_DIRECTORY_FAILED))
        return false;
    if (IsFolderListed(folder))
        return Fail(Failure::NotFound, IDS_FOLDER_EXISTS, folder);
    if (!SendFolderMaker(folder))
        return Fail(Failure::Link, ExchangeFailureMessage(m_link, IDS_FOLDER_NOT_MADE), folder);
    if (!PressOrSay(codes, IDS_PROGRESS_NEW_FOLDER, folder) || !ReadListing(IDS_REMOTE_NOT_CONFIRMED))
        return false;
    if (!IsFolderListed(folder))
        return Fail(Failure::Link, IDS_FOLDER_NOT_MADE, folder);
    if (IsListed(maker))
        return Fail(Failure::Link, IDS_FOLDER_HELPER_LEFT, VariablePathToDisplay(maker));
    m_messages.ShowMessage(IDS_FOLDER_MADE, folder);
    return true;
}
