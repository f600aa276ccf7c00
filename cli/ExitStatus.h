#pragma once

// What the command-line program tells its caller.
enum ExitStatus : int {
    EXIT_STATUS_OK = 0,
    EXIT_STATUS_LINK = 1,  // the calculator exchange failed, or the port did not open
    EXIT_STATUS_USAGE = 2, // the command line was wrong
    EXIT_STATUS_FILE = 3,  // a file could not be read, written or replaced
    EXIT_STATUS_NOT_FOUND = 4, // a variable named on the command line is not on the calculator
    EXIT_STATUS_DECLINED = 5, // a question was answered no; nothing was changed
    EXIT_STATUS_INTERRUPTED = 130, // SIGINT, SIGTERM or SIGHUP stopped the run; nothing was left half-written
};

