// The module's own host: the command set behind the SAORI layer.
#pragma once

#include <map>
#include <string>

#include "host/saori_host.h"
#include "tavo/command_types.h"

class tavo : public SaoriHost {
public:
    // Seeds the module's random-number generator with the tick count.
    tavo();
    ~tavo() override;
    CommandResult execute(ArgumentList& arguments, ValueList& values) override;
};

using CommandTable = std::map<std::string, CommandHandler>;

// Looks the name up in the command table (built when the library is attached) and runs
// its handler with the remaining arguments.
CommandResult dispatch_command(const std::string& name, ArgumentList& arguments, ValueList& values);
