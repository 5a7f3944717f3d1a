// The SAORI protocol layer: answers "GET Version", runs "EXECUTE" requests
// through execute() and writes the result back as response headers.
#pragma once

#include "common/charset.h"
#include "host/sakura_dll_host.h"
#include "tavo/command_types.h"

class SaoriHost : public SakuraDLLHost {
public:
    ~SaoriHost() override;
    int handle_request(std::string_view protocol, std::string_view version,
                       std::string_view command, const HeaderList& request_headers,
                       std::string& response_protocol, std::string& response_version,
                       ResponseHeaders& response_headers) override;
    virtual CommandResult execute(ArgumentList& arguments, ValueList& values,
                                  RequestOrigin origin) = 0;
};

// The ArgumentList of an EXECUTE request: "Argument<n>" values by index,
// gaps filled with empty texts; indices above 65535 are ignored. The values
// are turned from `charset` into UTF-8. The list's blocks come from `memory`.
ArgumentList collect_arguments(const HeaderList& request_headers,
                               std::pmr::memory_resource* memory = std::pmr::get_default_resource(),
                               Charset charset = Charset::utf8);

// External when any "SecurityLevel" line says "External", in any letter case;
// local otherwise, also when there is no such line.
RequestOrigin request_origin(const HeaderList& request_headers);
