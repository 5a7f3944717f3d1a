// The answer's header lines, written as they are added, and the status line
// in front of them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The header lines of a response, written out as "key: value" and CR LF as
// they are added. A short response is gathered in a buffer inside the object,
// behind room for its status line, and becomes the response text in one copy;
// a longer one is written into the text that then becomes the whole
// response, so that a long answer is held once.
class ResponseHeaders {
public:
    // The status line that finish will most likely be given, known before
    // the lines are added: a long response is then written around it. The
    // texts must stay valid until finish.
    void expect_status(std::string_view protocol, std::string_view version,
                       std::string_view status);
    // Room for `bytes` of lines, and for the status line and the final empty
    // line around them.
    void reserve(std::size_t bytes);
    void add(std::string_view key, std::string_view value);
    // Whether a line with the key "Charset" (exactly) was added.
    bool has_charset() const { return has_charset_; }
    // The response text: "protocol/version status" and CR LF, the lines,
    // and CR LF. The lines are gone afterwards.
    std::string finish(std::string_view protocol, std::string_view version,
                       std::string_view status);

    // The bytes that add() writes for a key and a value of these lengths.
    static constexpr std::size_t line_size(std::size_t key, std::size_t value) {
        return key + value + 4;
    }

private:
    // Enough for the status line of every protocol layer in the module.
    static constexpr std::size_t kStatusLineRoom = 64;
    static constexpr std::size_t kShortResponseBytes = 512;

    // Moves the lines gathered so far into text_, with room for `bytes` more.
    void spill(std::size_t bytes);

    // The short response: status line room, then the lines from there on.
    char short_[kShortResponseBytes];
    std::size_t short_end_ = kStatusLineRoom;
    // The long response's lines, once they outgrow the buffer.
    std::string text_;
    bool spilled_ = false;
    bool has_charset_ = false;
    // The expected status line's protocol, version and status, and whether
    // text_ starts with it.
    std::string_view expected_[3];
    bool has_expected_ = false;
    bool expected_in_text_ = false;
};
