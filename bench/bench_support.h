// Round trips through the module's real `request` export, linked into the
// benchmark program: block in, response block out, as a host does it.
#pragma once

#include <string>
#include <vector>

// Sends the request bytes and returns the response bytes.
std::string round_trip(const std::string& request);

// Sends "EXECUTE" with the arguments (the command name first) and returns the
// response bytes.
std::string execute(const std::vector<std::string>& arguments);
