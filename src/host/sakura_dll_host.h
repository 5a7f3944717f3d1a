// The DLL host: the operations the exports call, and the framing of request
// and response texts around the protocol layer's handle_request.
#pragma once

#include <string>
#include <string_view>

#include "host/header_list.h"
#include "host/response_headers.h"
#include "host/sakura_cs.h"

class SakuraDLLHost : public SakuraCS {
public:
    virtual ~SakuraDLLHost();
    virtual bool load(const std::string& directory);
    virtual bool unload();
    virtual std::string getversionlist(std::string_view request_text);
    // Parses the request, calls handle_request and composes the response.
    virtual std::string request(std::string_view request_text);
    // Fills the response protocol, version and headers; returns the status code.
    virtual int handle_request(std::string_view protocol, std::string_view version,
                               std::string_view command, const HeaderList& request_headers,
                               std::string& response_protocol, std::string& response_version,
                               ResponseHeaders& response_headers) = 0;
};

// Takes the text up to the first `separator` off the front of `rest` and
// returns it; the separator is dropped. Without a separator the whole rest is
// returned and `rest` becomes empty.
std::string_view split_first(std::string_view& rest, std::string_view separator);

// "200 OK", "204 No Content", "400 Bad Request", anything else
// "500 Internal Server Error".
std::string_view status_text(int status);
