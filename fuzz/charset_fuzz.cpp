// Bytes in Shift_JIS or EUC-JP (the first byte picks the charset): turned
// into UTF-8 and back they are the same bytes, but for the second codes of a
// character in Shift_JIS, which come back as its first code in the same
// number of bytes; and a request carrying them through `join` answers with
// exactly those bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/module_client.h"
#include "common/charset.h"
#include "host/exports.h"

namespace {

struct Named {
    Charset charset;
    const char* label;
};

const Named kCharsets[] = {{Charset::shift_jis, "Shift_JIS"}, {Charset::shift_jis, "cp932"},
                           {Charset::euc_jp, "EUC-JP"}};

void require(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const Named& named = kCharsets[data[0] % (sizeof kCharsets / sizeof kCharsets[0])];
    std::string bytes;
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] != '\n') bytes += static_cast<char>(data[i]);  // no line may end inside the argument
    }
    const std::string text = to_utf8(bytes, named.charset);
    const std::string back = from_utf8(text, named.charset);
    require(to_utf8(back, named.charset) == text);
    require(back.size() == bytes.size());
    require(named.charset == Charset::shift_jis || back == bytes);

    const auto response = send_request(request, execute_request({"join", "", bytes}, named.label));
    require(response.has_value());
    const ParsedResponse parsed = parse_response(*response);
    require(parsed.status == 200 && parsed.result == back);
    return 0;
}
