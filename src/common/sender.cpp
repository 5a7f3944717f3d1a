#include "common/sender.h"

#include <cstdarg>
#include <cstdio>

#include "platform/platform.h"

namespace Sender {

namespace {

void show_in_error_box(std::string_view line) { platform::show_error_box(std::string(line)); }

LineSink viewer_sink = platform::send_to_viewer_window;
LineSink error_sink = show_in_error_box;

bool is_utf8_lead_byte(int c) { return c >= 0xC2 && c <= 0xF4; }

}  // namespace

void set_viewer_sink(LineSink sink) { viewer_sink = sink; }
void set_error_sink(LineSink sink) { error_sink = sink; }

int send_to_viewer(const char* format, ...) {
    char text[line_buf::kCapacity];
    va_list arguments;
    va_start(arguments, format);
    const int written = std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    if (written < 0) return 0;
    viewer_sink(text);
    return 0;
}

line_buf::~line_buf() = default;

line_buf::int_type line_buf::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()) || c == '\n' || c == '\0') {
        pass_on(std::string_view(line_, static_cast<std::size_t>(length_)));
        length_ = 0;
        line_[0] = '\0';
        return traits_type::not_eof(c);
    }
    line_[length_++] = traits_type::to_char_type(c);
    line_[length_] = '\0';
    if (length_ < kMaxPiece) return c;

    const int byte = static_cast<unsigned char>(traits_type::to_char_type(c));
    if (is_utf8_lead_byte(byte)) {
        // Keep the lead byte for the next piece so a piece never ends in one.
        line_[kMaxPiece - 1] = '\0';
        pass_on(std::string_view(line_, kMaxPiece - 1));
        line_[0] = traits_type::to_char_type(c);
        line_[1] = '\0';
        length_ = 1;
    } else {
        pass_on(std::string_view(line_, kMaxPiece));
        line_[0] = '\0';
        length_ = 0;
    }
    return c;
}

sender_buf::~sender_buf() = default;

void sender_buf::pass_on(std::string_view line) { send_to_viewer("%s", line.data()); }

error_buf::~error_buf() = default;

void error_buf::pass_on(std::string_view line) {
    if (!line.empty()) error_sink(line);
}

sender_stream::sender_stream() : std::ostream(nullptr) { rdbuf(&buffer_); }
sender_stream::~sender_stream() = default;

error_stream::error_stream() : std::ostream(nullptr) { rdbuf(&buffer_); }
error_stream::~error_stream() = default;

class sender_stream sender_stream;
class error_stream error_stream;

}  // namespace Sender
