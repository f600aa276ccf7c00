#pragma once

#include "cli/CliOptions.h"

#include <string>
#include <vector>

// The arguments of keys and mkdir into `options`. For keys each argument is
// a key name as the key table knows it ("ENTER", "2ND+ESC", "HOME"), or a
// text typed character by character; a text written like a key name but
// not one ("HOMEE", "X2") is refused rather than typed, and typed only in
// double quotes ("\"X2\""). False with `error` set, before anything is
// sent, for a key name that is not one or a character the keyboard cannot
// type.
bool ParseRemoteOperands(CliCommand command, const std::vector<std::string>& operands, CCliOptions& options,
                         std::string& error);
