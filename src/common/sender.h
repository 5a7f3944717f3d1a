// Two line-oriented output streams: Sender::sender_stream sends each line to
// the external debug viewer window, Sender::error_stream shows each
// non-empty line in a system-modal message box. A line ends with a line
// feed, a zero byte or end of file; lines longer than 8190 bytes are passed
// on in pieces that never end in a UTF-8 lead byte.
#pragma once

#include <ostream>
#include <streambuf>
#include <string_view>

namespace Sender {

// Where finished lines go; tests replace the sinks to observe them.
using LineSink = void (*)(std::string_view line);
void set_viewer_sink(LineSink sink);
void set_error_sink(LineSink sink);

// Formats like printf into at most 8191 bytes and sends the text to the
// viewer sink. Always returns 0.
int send_to_viewer(const char* format, ...);

// Collects one line in a fixed buffer and passes it on when it ends or fills.
class line_buf : public std::streambuf {
public:
    static constexpr int kCapacity = 8192;
    static constexpr int kMaxPiece = 8190;

    ~line_buf() override;

protected:
    int_type overflow(int_type c) override;
    virtual void pass_on(std::string_view line) = 0;

private:
    char line_[kCapacity] = {};
    int length_ = 0;
};

class sender_buf : public line_buf {
public:
    ~sender_buf() override;

protected:
    void pass_on(std::string_view line) override;
};

class error_buf : public line_buf {
public:
    ~error_buf() override;

protected:
    void pass_on(std::string_view line) override;
};

class sender_stream : public std::ostream {
public:
    sender_stream();
    ~sender_stream() override;

private:
    sender_buf buffer_;
};

class error_stream : public std::ostream {
public:
    error_stream();
    ~error_stream() override;

private:
    error_buf buffer_;
};

// The module's two streams; each object carries the name of its class.
extern class sender_stream sender_stream;
extern class error_stream error_stream;

}  // namespace Sender
