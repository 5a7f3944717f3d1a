// The types passed between the SAORI layer, the dispatcher and every command
// handler.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory_resource>
#include <string>

// Argument texts in index order; the command name is taken off the front
// before a handler sees the list. The list's own blocks come from the memory
// resource it is made with (a buffer on the stack for each request, see
// SaoriHost); the texts are ordinary strings.
using ArgumentList = std::pmr::deque<std::string>;

// Extra results of a handler; entry n goes back as the header "Value<n>".
using ValueList = std::pmr::deque<std::string>;

struct CommandResult {
    int32_t status;
    std::string text;
};

using CommandHandler = CommandResult (*)(ArgumentList& arguments, ValueList& values);

// Where a request comes from, as the host marks it: a request made on behalf
// of something outside the user's machine (a message from the network, say)
// is external, and commands that touch the file system refuse it.
enum class RequestOrigin { local, external };

// Status codes in use.
constexpr int32_t kStatusOk = 200;
constexpr int32_t kStatusNoContent = 204;
constexpr int32_t kStatusBadRequest = 400;
constexpr int32_t kStatusInternalError = 500;

// Argument messages shared by the handlers.
inline constexpr char kWrongArgumentCount[] = "引数の個数が正しくありません。";
inline constexpr char kTooFewArguments[] = "引数が足りません。";
inline constexpr char kWrongArguments[] = "引数が正しくありません。";

inline CommandResult ok(std::string text) { return {kStatusOk, std::move(text)}; }
inline CommandResult no_content() { return {kStatusNoContent, std::string()}; }
inline CommandResult bad_request(std::string message) {
    return {kStatusBadRequest, std::move(message)};
}
inline CommandResult yes_no(bool answer) { return ok(answer ? "1" : "0"); }

// The largest result that replace, join and sprintf build. Their results can
// be far larger than the request (a long replacement for every character, a
// long separator between many items, a wide field for every value); beyond
// this they are answered like memory exhaustion, so that a small request
// cannot make the host allocate without limit.
constexpr uint64_t kMaxResultBytes = uint64_t{256} << 20;
inline CommandResult result_too_large() { return {kStatusInternalError, std::string()}; }
