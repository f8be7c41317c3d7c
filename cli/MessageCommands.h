#pragma once
// quorlin send and quorlin listen: the command as a participant of the messages between running
// programs, under a group name of its own. Neither needs the add-in.

#include "CliOptions.h"

namespace cli {

// The group the command takes part as when --group is not given.
constexpr const char* DefaultMessageGroup = "Console";

// Sends one message and prints the messages for its group that arrive meanwhile (the answers to a
// "CALLBACK"); 1 when the message was refused or the bus cannot be used.
int SendMessage(const CliOptions& options);
// Prints each message for its group or for all, one a line, until --count messages came or a
// signal ends it; answers every "CALLBACK" meanwhile.
int Listen(const CliOptions& options);

}  // namespace cli
