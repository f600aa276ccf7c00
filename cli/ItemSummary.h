#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

// The outcome of a command given several files or names, which goes on
// after a failure: how many were done, each one that failed with a short
// reason, and the status of the worst failure.
class CItemSummary {
public:
    // `verb` says what was done to an item: "sent", "received".
    explicit CItemSummary(std::string verb) : m_strVerb(std::move(verb)) {}

    void Done() { ++m_nDone; }
    void Failed(const std::string& item, const std::string& reason, int status);

    // With more than one item, one line: "2 sent, 1 failed: missing.92s
    // (does not exist)". When every one was declined, that nothing changed.
    void Print(std::ostream& err) const;
    int GetStatus() const { return m_nStatus; }

    // Of two statuses of one run, the one that tells the most: a signal,
    // then a calculator failure, a variable not found, a file error, a usage
    // error, a declined question, success.
    static int WorseStatus(int a, int b);

private:
    void PrintCounts(std::ostream& err) const;

    struct Failure {
        std::string item;
        std::string reason;
    };
    std::string m_strVerb;
    size_t m_nDone = 0;
    std::vector<Failure> m_failures;
    int m_nStatus = 0;
};
