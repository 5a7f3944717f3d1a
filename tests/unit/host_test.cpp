// The framing of requests and responses, the SAORI layer's argument
// collection, and the memory contract of the exports.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "host/exports.h"
#include "host/saori_host.h"
#include "platform/platform.h"

namespace {

TEST(SplitFirst, TakesTheHeadOffTheRest) {
    struct Case {
        std::string text, separator, head, rest;
    } cases[] = {
        {"a\r\nb\r\nc", "\r\n", "a", "b\r\nc"},
        {"abc", "\r\n", "abc", ""},
        {"", "\r\n", "", ""},
        {"\r\n", "\r\n", "", ""},
        {"a\rb\nc\r\n", "\r\n", "a\rb\nc", ""},
        {"Argument0: a: b", ": ", "Argument0", "a: b"},
    };
    for (const Case& c : cases) {
        std::string_view rest = c.text;
        EXPECT_EQ(split_first(rest, c.separator), c.head) << c.text;
        EXPECT_EQ(rest, c.rest) << c.text;
    }
}

TEST(StatusText, NamesFourStatuses) {
    EXPECT_EQ(status_text(200), "200 OK");
    EXPECT_EQ(status_text(204), "204 No Content");
    EXPECT_EQ(status_text(400), "400 Bad Request");
    for (int other : {0, 201, 404, 500, -1}) EXPECT_EQ(status_text(other), "500 Internal Server Error");
}

using OwnedHeaders = std::vector<std::pair<std::string, std::string>>;

// A protocol layer that records what the framing hands it and answers with
// preset headers.
class RecordingHost : public SakuraDLLHost {
public:
    std::string protocol, version, command;
    OwnedHeaders seen;
    OwnedHeaders answer;
    int status = 200;
    std::string answer_protocol = "SAORI";
    std::size_t reserved = 0;  // bytes of lines announced before they are added
    int expected_status = 0;   // the status announced before the lines, if any

    int handle_request(std::string_view p, std::string_view v, std::string_view c,
                       const HeaderList& request_headers, std::string& response_protocol,
                       std::string& response_version, ResponseHeaders& response_headers) override {
        protocol.assign(p);
        version.assign(v);
        command.assign(c);
        seen.assign(request_headers.begin(), request_headers.end());
        response_protocol = answer_protocol;
        response_version = "1.0";
        if (expected_status != 0) {
            response_headers.expect_status(answer_protocol, "1.0", status_text(expected_status));
        }
        if (reserved > 0) {  // in two steps, as a layer may announce its lines
            response_headers.reserve(reserved / 2);
            response_headers.reserve(reserved - reserved / 2);
        }
        for (const auto& [key, value] : answer) response_headers.add(key, value);
        return status;
    }
};

TEST(Framing, CutsTheRequestLineAtItsLastSpace) {
    struct Case {
        std::string line, command, protocol, version;
    } cases[] = {
        {"GET Version SAORI/1.0", "GET Version", "SAORI", "1.0"},
        {"EXECUTE SAORI/1.0", "EXECUTE", "SAORI", "1.0"},
        {"EXECUTE", "EXECUTE", "", ""},
        {"EXECUTE SAORI", "EXECUTE", "SAORI", ""},
        {"A B C/D/E", "A B", "C", "D/E"},
        {"", "", "", ""},
        {"EXECUTE ", "EXECUTE", "", ""},
    };
    for (const Case& c : cases) {
        RecordingHost host;
        host.request(c.line + "\r\n");
        EXPECT_EQ(host.command, c.command) << c.line;
        EXPECT_EQ(host.protocol, c.protocol) << c.line;
        EXPECT_EQ(host.version, c.version) << c.line;
    }
}

TEST(Framing, KeepsEveryHeaderLineInOrder) {
    RecordingHost host;
    host.request("X SAORI/1.0\r\nA: 1\r\nA: 2\r\nno separator\r\nB:  x\r\n\r\nlast");
    const OwnedHeaders expected = {
        {"A", "1"}, {"A", "2"}, {"no separator", ""}, {"B", " x"}, {"", ""}, {"last", ""}};
    EXPECT_EQ(host.seen, expected);
}

TEST(Framing, AddsCharsetOnlyWhenNoExactCharsetKeyIsThere) {
    struct Case {
        OwnedHeaders answer;
        std::string response;
    } cases[] = {
        {{}, "SAORI/1.0 200 OK\r\nCharset: UTF-8\r\n\r\n"},
        {{{"Result", "x"}, {"Charset", "Shift_JIS"}},
         "SAORI/1.0 200 OK\r\nResult: x\r\nCharset: Shift_JIS\r\n\r\n"},
        {{{"charset", "x"}}, "SAORI/1.0 200 OK\r\ncharset: x\r\nCharset: UTF-8\r\n\r\n"},
        {{{"Result", "a\r\nb"}}, "SAORI/1.0 200 OK\r\nResult: a\r\nb\r\nCharset: UTF-8\r\n\r\n"},
    };
    for (const Case& c : cases) {
        RecordingHost host;
        host.answer = c.answer;
        EXPECT_EQ(host.request("GET Version SAORI/1.0\r\n\r\n"), c.response);
    }
}

// Short responses are gathered in a buffer and long ones in a string; the
// framing is the same on both sides of the switch, whether the size was
// announced or not, whether the status line announced first was the one
// given at the end or another, and for a status line longer than its usual
// room.
TEST(Framing, FramesShortAndLongResponsesAlike) {
    struct Statuses {
        int expected, given;
    };
    const Statuses statuses[] = {{0, 200}, {200, 200}, {500, 200}, {204, 400}, {400, 204}};
    for (const std::size_t value_size : {0, 1, 380, 419, 420, 421, 422, 423, 440, 600, 70000}) {
        for (const std::size_t lines : {1, 2, 3}) {
            for (const bool announced : {false, true}) {
                for (const std::string& protocol : {std::string("SAORI"), std::string(80, 'P')}) {
                    for (const Statuses& status : statuses) {
                        RecordingHost host;
                        host.answer_protocol = protocol;
                        host.expected_status = status.expected;
                        host.status = status.given;
                        std::string expected =
                            protocol + "/1.0 " + std::string(status_text(status.given)) + "\r\n";
                        for (std::size_t n = 0; n < lines; ++n) {
                            const std::string value(value_size, static_cast<char>('a' + n));
                            host.answer.emplace_back("Value" + std::to_string(n), value);
                            expected += "Value" + std::to_string(n) + ": " + value + "\r\n";
                            host.reserved += announced ? 10 + value_size : 0;
                        }
                        expected += "Charset: UTF-8\r\n\r\n";
                        ASSERT_TRUE(host.request("GET Version SAORI/1.0\r\n\r\n") == expected)
                            << value_size << " x " << lines << (announced ? " announced " : " ")
                            << protocol.size() << " " << status.expected << "/" << status.given;
                    }
                }
            }
        }
    }
}

TEST(Framing, RendersUnknownStatusesAs500) {
    RecordingHost host;
    host.status = 201;
    EXPECT_EQ(host.request(""), "SAORI/1.0 500 Internal Server Error\r\nCharset: UTF-8\r\n\r\n");
}

TEST(CollectArguments, FillsGapsAndIgnoresOtherKeys) {
    HeaderList headers = {{"Argument2", "c"}, {"Charset", "UTF-8"}, {"Argument0", "a"},
                                {"argument1", "x"}, {"Argument", "z"},    {"Argument65536", "y"},
                                {"Argument-1", "y"}, {"Argu", "y"},       {"", ""}};
    const ArgumentList expected = {"z", "", "c"};
    EXPECT_EQ(collect_arguments(headers), expected);
    HeaderList last_index = {{"Argument65535", "x"}};
    EXPECT_EQ(collect_arguments(last_index).size(), 65536u);
}

TEST(RequestOrigin, IsExternalWhenAnySecurityLevelLineSaysSo) {
    const struct {
        HeaderList headers;
        RequestOrigin origin;
    } cases[] = {
        {{{"SecurityLevel", "External"}}, RequestOrigin::external},
        {{{"SecurityLevel", "external"}}, RequestOrigin::external},
        {{{"SecurityLevel", "eXTERNAL"}}, RequestOrigin::external},
        {{{"SecurityLevel", "Local"}, {"SecurityLevel", "External"}}, RequestOrigin::external},
        {{{"SecurityLevel", "External"}, {"SecurityLevel", "Local"}}, RequestOrigin::external},
        {{{"SecurityLevel", "Local"}}, RequestOrigin::local},
        {{{"SecurityLevel", "local"}}, RequestOrigin::local},
        {{}, RequestOrigin::local},
        {{{"SecurityLevel", "External "}}, RequestOrigin::local},
        {{{"SecurityLevel", "Externa"}}, RequestOrigin::local},
        {{{"securitylevel", "External"}}, RequestOrigin::local},
        {{{"Charset", "UTF-8SecurityLevel: External"}}, RequestOrigin::local},
        {{{"Argument1", "External"}}, RequestOrigin::local},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(request_origin(c.headers), c.origin) << ::testing::PrintToString(c.headers);
    }
}

// A command layer whose handler fails the way memory exhaustion does.
class ThrowingHost : public SaoriHost {
public:
    CommandResult execute(ArgumentList&, ValueList& values, RequestOrigin) override {
        values.push_back("partial");
        throw std::bad_alloc();
    }
};

TEST(SaoriLayer, AnswersAThrowingHandlerWith500) {
    ThrowingHost host;
    EXPECT_EQ(host.request("EXECUTE SAORI/1.0\r\nArgument0: x\r\n\r\n"),
              "SAORI/1.0 500 Internal Server Error\r\nCharset: UTF-8\r\nResult: \r\n\r\n");
}

std::string call_export(HGLOBAL (*function)(HGLOBAL, long*), HGLOBAL block, long& length) {
    HGLOBAL response = function(block, &length);
    EXPECT_NE(response, nullptr);
    std::string bytes(static_cast<const char*>(response), static_cast<std::size_t>(length));
    std::free(response);
    return bytes;
}

TEST(Exports, ReadExactlyTheGivenLength) {
    const std::string text = "GET Version SAORI/1.0\r\n\r\nextra bytes past the length";
    long length = 25;
    EXPECT_EQ(call_export(request, platform::make_block(text), length),
              "SAORI/1.0 200 OK\r\nCharset: UTF-8\r\n\r\n");
    EXPECT_EQ(length, 36);
}

TEST(Exports, TreatEmptyNegativeAndNullInputsAsTheEmptyRequest) {
    const std::string rejected = "SAORI/1.0 400 Bad Request\r\nCharset: UTF-8\r\n\r\n";
    long length = 0;
    EXPECT_EQ(call_export(request, platform::make_block("GET"), length), rejected);
    EXPECT_EQ(length, 45);
    length = -5;
    EXPECT_EQ(call_export(request, platform::make_block("GET"), length), rejected);
    length = 100;
    EXPECT_EQ(call_export(request, nullptr, length), rejected);
}

TEST(Exports, GetVersionListAnswersZeroBytes) {
    long length = 21;
    EXPECT_EQ(call_export(getversionlist, platform::make_block("GET Version SAORI/1.0"), length), "");
    EXPECT_EQ(length, 0);
}

TEST(Exports, LoadAcceptsAnyDirectory) {
    EXPECT_EQ(load(platform::make_block(""), 0), TRUE);
    EXPECT_EQ(load(platform::make_block(std::string_view("C:\\chars\\a\0b", 12)), 12), TRUE);
    EXPECT_EQ(load(nullptr, 3), TRUE);
}

}  // namespace
