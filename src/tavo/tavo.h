// The module's own host: the command set behind the SAORI layer.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "host/saori_host.h"
#include "tavo/command_types.h"

class tavo : public SaoriHost {
public:
    // Seeds the module's random-number generator with the tick count.
    tavo();
    ~tavo() override;
    CommandResult execute(ArgumentList& arguments, ValueList& values,
                          RequestOrigin origin) override;
};

// Orders names by length first: most names a lookup meets differ in
// length, and those are told apart without comparing their bytes.
struct ShorterNameFirst {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    }
};

// A command's handler, and whether it reads or changes the file system.
struct Command {
    CommandHandler handler;
    bool touches_file_system;
};

using CommandTable = std::map<std::string, Command, ShorterNameFirst>;

// Looks the name up in the command table (built when the library is attached) and runs
// its handler with the remaining arguments. A command that touches the file system is
// not run for an external request: it answers "0" with no values, as when the system
// refuses.
CommandResult dispatch_command(const std::string& name, ArgumentList& arguments, ValueList& values,
                               RequestOrigin origin);
