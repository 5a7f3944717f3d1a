// The charset of a request, as its "Charset" line names it: the arguments are
// turned from it into UTF-8 before a command sees them, and the answer's
// texts back into it.
#pragma once

#include <string_view>

#include "common/charset.h"
#include "host/header_list.h"
#include "tavo/command_types.h"

struct RequestCharset {
    Charset charset = Charset::utf8;
    // The answer's "Charset" value: the request's own spelling of a charset
    // other than UTF-8, "UTF-8" otherwise.
    std::string_view answer_label = "UTF-8";
};

// The charset that the first "Charset" line names, anywhere among the header
// lines; UTF-8 when there is none or it names no charset the module knows.
RequestCharset request_charset(const HeaderList& request_headers);

// The result text and every value written in `charset`.
void encode_answer(CommandResult& result, ValueList& values, Charset charset);
