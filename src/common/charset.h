// The charsets a request may be written in besides UTF-8, and the conversion
// of texts between them and UTF-8, which every command works in.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class Charset { utf8, shift_jis, euc_jp };

// The charset a "Charset" value names, letter case, "-" and "_" aside:
// Shift_JIS, SJIS, CP932, MS932, Windows-31J and x-sjis name Shift_JIS as
// Windows code page 932 reads it, EUC-JP names EUC-JP and UTF-8 UTF-8;
// nullopt for any other value.
std::optional<Charset> charset_named(std::string_view label);

// The UTF-8 form of `bytes` written in `charset`. Nothing is lost: each byte
// that is not part of a character of the charset becomes one character of
// its own, the lone surrogate U+DC80..U+DCFF for the bytes 80..FF (written
// ED B2 80 .. ED B3 BF), which the commands pass on like any character and
// from_utf8 turns back into the byte.
std::string to_utf8(std::string_view bytes, Charset charset);

// `text` written in `charset`. A kept byte (above) becomes that byte again; a
// character the charset has no code for, and each byte that is not part of
// a UTF-8 character, become "?": no look-alike is put in its place.
std::string from_utf8(std::string_view text, Charset charset);
