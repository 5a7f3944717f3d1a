#include "host/request_charset.h"

#include <string>

namespace {

constexpr std::string_view kCharsetKey = "Charset";

}  // namespace

RequestCharset request_charset(const HeaderList& request_headers) {
    for (const auto& [key, value] : request_headers) {
        if (key != kCharsetKey) continue;
        const Charset charset = charset_named(value).value_or(Charset::utf8);
        if (charset == Charset::utf8) return RequestCharset();
        return {charset, value};
    }
    return RequestCharset();
}

void encode_answer(CommandResult& result, ValueList& values, Charset charset) {
    if (charset == Charset::utf8) return;
    result.text = from_utf8(result.text, charset);
    for (std::string& value : values) value = from_utf8(value, charset);
}
