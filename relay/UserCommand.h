#pragma once

#include <iosfwd>

struct RelayOptions;

// `halvora-relay user add|remove|list|passwd`: manages the relay's users in its database.
// Passwords are read from the terminal without echo (asked twice), or as one line from
// standard input when that is not a terminal; never from the command line.
namespace UserCommand {

// Returns the process exit status (0 done, 1 refused or failed).
int run(const RelayOptions& options, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace UserCommand
