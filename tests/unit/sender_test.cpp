// The line buffering of the debug streams, observed through replaced sinks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/sender.h"

namespace {

std::vector<std::string> lines;
void record(std::string_view line) { lines.emplace_back(line); }

class SenderStreams : public ::testing::Test {
protected:
    void SetUp() override {
        lines.clear();
        Sender::set_viewer_sink(record);
        Sender::set_error_sink(record);
    }
};

TEST_F(SenderStreams, SendsOneMessagePerLine) {
    Sender::sender_stream << "abc" << std::endl;
    Sender::sender_stream << std::endl;
    EXPECT_EQ(lines, (std::vector<std::string>{"abc", ""}));
}

TEST_F(SenderStreams, ErrorStreamSkipsEmptyLines) {
    Sender::error_stream << std::endl << "failed" << std::endl;
    EXPECT_EQ(lines, std::vector<std::string>{"failed"});
}

TEST_F(SenderStreams, ZeroByteEndsALine) {
    Sender::sender_stream << std::string("a\0b", 3) << std::endl;
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b"}));
}

TEST_F(SenderStreams, LongLinesArriveInPiecesOf8190Bytes) {
    Sender::sender_stream << std::string(10000, 'x') << std::endl;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 8190u);
    EXPECT_EQ(lines[1].size(), 1810u);
}

TEST_F(SenderStreams, APieceNeverEndsInALeadByte) {
    // "あ" is E3 81 82: its lead byte lands at position 8190.
    Sender::sender_stream << std::string(8189, 'x') << "あ" << std::endl;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(8189, 'x'));
    EXPECT_EQ(lines[1], "あ");
}

TEST_F(SenderStreams, ContinuationBytesMayEndAPiece) {
    Sender::sender_stream << std::string(8188, 'x') << "あ" << std::endl;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(8188, 'x') + "\xE3\x81");
    EXPECT_EQ(lines[1], "\x82");
}

}  // namespace
