#include "host/response_headers.h"

#include <cstring>
#include <initializer_list>
#include <utility>

#include "host/header_list.h"

namespace {

// "protocol/version status" and CR LF, as its parts.
class StatusLine {
public:
    StatusLine(std::string_view protocol, std::string_view version, std::string_view status)
        : parts_{protocol, "/", version, " ", status, kLineEnd} {
        for (const std::string_view part : parts_) size_ += part.size();
    }

    std::size_t size() const { return size_; }

    // Writes the line at `at`, which has room for size() bytes.
    void write(char* at) const {
        for (const std::string_view part : parts_) at += part.copy(at, part.size());
    }

private:
    std::string_view parts_[6];
    std::size_t size_ = 0;
};

// The final empty line.
constexpr std::size_t kFinalLineBytes = 2;

}  // namespace

void ResponseHeaders::expect_status(std::string_view protocol, std::string_view version,
                                    std::string_view status) {
    expected_[0] = protocol;
    expected_[1] = version;
    expected_[2] = status;
    has_expected_ = true;
}

void ResponseHeaders::spill(std::size_t bytes) {
    const std::size_t lines = short_end_ - kStatusLineRoom;
    text_.reserve(text_.size() + kStatusLineRoom + lines + bytes + kFinalLineBytes);
    // A long response starts with the status line it expects, so that its
    // lines need not move when that line is the one it gets.
    if (!spilled_ && has_expected_) {
        const StatusLine line(expected_[0], expected_[1], expected_[2]);
        text_.resize(line.size());
        line.write(&text_[0]);
        expected_in_text_ = true;
    }
    text_.append(short_ + kStatusLineRoom, lines);
    short_end_ = kStatusLineRoom;
    spilled_ = true;
}

void ResponseHeaders::reserve(std::size_t bytes) {
    if (spilled_ || short_end_ + bytes > sizeof short_) spill(bytes);
}

void ResponseHeaders::add(std::string_view key, std::string_view value) {
    has_charset_ = has_charset_ || key == "Charset";
    const std::size_t size = line_size(key.size(), value.size());
    if (!spilled_ && short_end_ + size > sizeof short_) spill(size);
    if (spilled_) {
        text_.append(key).append(kKeySeparator).append(value).append(kLineEnd);
        return;
    }
    for (const std::string_view part : {key, kKeySeparator, value, kLineEnd}) {
        std::memcpy(short_ + short_end_, part.data(), part.size());
        short_end_ += part.size();
    }
}

std::string ResponseHeaders::finish(std::string_view protocol, std::string_view version,
                                    std::string_view status) {
    const StatusLine line(protocol, version, status);
    has_charset_ = false;
    const bool fits = line.size() <= kStatusLineRoom && short_end_ + kFinalLineBytes <= sizeof short_;
    if (!spilled_ && !fits) spill(0);

    if (!spilled_) {
        // The status line goes into the room in front of the lines.
        const std::size_t start = kStatusLineRoom - line.size();
        line.write(short_ + start);
        std::memcpy(short_ + short_end_, kLineEnd.data(), kLineEnd.size());
        const std::size_t end = short_end_ + kLineEnd.size();
        short_end_ = kStatusLineRoom;
        has_expected_ = false;
        return std::string(short_ + start, end - start);
    }

    // The status line goes in front of the lines: in the place of the
    // expected one, which is left as it is when it is the same.
    const bool as_expected = expected_in_text_ && protocol == expected_[0] &&
                             version == expected_[1] && status == expected_[2];
    if (!as_expected) {
        std::string written(line.size(), '\0');
        line.write(&written[0]);
        const std::size_t replaced =
            expected_in_text_ ? StatusLine(expected_[0], expected_[1], expected_[2]).size() : 0;
        text_.replace(0, replaced, written);
    }
    text_.append(kLineEnd);
    spilled_ = false;
    expected_in_text_ = false;
    has_expected_ = false;
    return std::move(text_);
}
