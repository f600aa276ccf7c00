#pragma once

#include "link/Clock.h"
#include "link/DirectoryListing.h"
#include "link/KeySender.h"
#include "transfer/ReceiveOperation.h"

#include <cstdint>
#include <string>
#include <vector>

class CLink;
class IUserMessages;

// What the calculator has no link command for, done by pressing its keys as
// a user would: running a program or a function, deleting variables, making
// a folder. The calculator answers none of it over the link, so each first
// reads the directory (what is to be run or deleted must be there, a new
// folder must not) and, once the keys are in, reads it again and says what
// it found. Nothing is sent for a request that the first reading, or the
// calculator's rules for names, refuse. Every message goes to the user.
class CRemoteOperation {
public:
    // Why the last operation did not succeed.
    enum class Failure {
        None,
        Refused,  // a name or text the calculator cannot take; nothing sent
        NotFound, // not on the calculator (or, for a new folder, already there)
        Declined, // the user said no
        Link,     // the calculator did not answer, or the exchange was cancelled
    };

    // A name that no program of the user's is likely to have: the variable
    // sent into a new folder to make it, deleted again at once.
    static constexpr const char* FOLDER_MAKER_NAME = "vantrel";

    // On the steady clock, sleeping between keys.
    CRemoteOperation(CLink& link, IUserMessages& messages);

    // Tests measure the pause between keys on their own clock.
    void SetClock(IClock& clock, CKeySender::SleepFunction sleep);

    // Presses `codes`, described by `what` for the progress. Says so when a
    // key is not acknowledged or the keys are cancelled.
    bool PressKeys(const std::vector<uint16_t>& codes, const std::string& what);

    // Goes to the home screen, clears its entry line and types
    // "folder\name(arguments)" and ENTER. The directory read afterwards is
    // GetListing(), for a page to show what the program made.
    bool Run(const VariableRef& program, const std::string& arguments);

    // Brings the calculator to its home screen from wherever it is, then
    // types "delvar folder\name" and ENTER for each variable. Asks first
    // unless `confirmed`. True when none of them is listed any more.
    bool Delete(const std::vector<VariableRef>& variables, bool confirmed);

    // Sends a small variable into `name\`, which makes the calculator create
    // the folder as it stores it, then deletes that variable as Delete
    // does. The name is made small, as the calculator would make it. True
    // when the folder is listed afterwards.
    bool MakeFolder(const std::string& name);

    // The directory as last read; empty when no reading succeeded.
    const CDirectoryListing& GetListing() const { return m_listing; }
    bool HasListing() const { return m_bHasListing; }
    Failure GetFailure() const { return m_failure; }

private:
    // Reads the directory into m_listing; on failure shows `failureId` (or
    // the cancel) and notes a link failure.
    bool ReadListing(int failureId);
    bool IsListed(const VariableRef& variable) const;
    bool IsFolderListed(const std::string& folder) const;
    // Appends the keys that type `folder\name`; false, having said why,
    // when they cannot be typed.
    bool AppendPathKeys(std::vector<uint16_t>& codes, const VariableRef& variable);
    bool Fail(Failure failure, int messageId, const std::string& arg = {});
    bool PressOrSay(const std::vector<uint16_t>& codes, int textId, const std::string& arg);
    bool SendFolderMaker(const std::string& folder);

    CLink& m_link;
    IUserMessages& m_messages;
    CDirectoryListing m_listing;
    bool m_bHasListing = false;
    Failure m_failure = Failure::None;
    // One sender for the whole operation, so the pause between keys holds
    // from one sequence to the next.
    CKeySender m_sender;
};

// How a variable is named to the user: "folder\name" in its shown form.
std::string VariablePathToDisplay(const VariableRef& variable);
