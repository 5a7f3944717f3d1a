// The width and kana conversions run in one scan over the text. At every
// character boundary the character's key selects the rules whose source form
// starts with that character, listed in the order of the conversion passes;
// the first rule whose class is selected and whose whole source form is
// present is applied, and the scan goes on after that source form.
//
// This gives the same text as running the passes one after another, because
// of three properties of the tables: no target form contains a source form of
// a later pass; the only two-character source forms (a half-width kana and
// its mark) contain no source form of an earlier pass; and every form is made
// of whole characters, so a replacement leaves the character boundaries
// around it where they were. The rule tables are built at compile time from
// the pair tables.
#include "tavo/width_conversion.h"

#include "common/stltool.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <utility>

namespace {

// Every source form starts with a character from one of four blocks of 256
// code points: U+0000-U+00FF (one or two bytes), and U+2000-U+20FF,
// U+3000-U+30FF and U+FF00-U+FFFF (three bytes). A character's key is its
// place in these blocks; characters outside them have no key.
constexpr std::size_t kKeyCount = 4 * 256;
constexpr int kNoKey = -1;

// Block number (1-3) of a three-byte character from its code point's high
// byte, 0 outside the blocks.
constexpr std::array<uint8_t, 256> kThreeByteBlock = [] {
    std::array<uint8_t, 256> blocks{};
    blocks[0x20] = 1;
    blocks[0x30] = 2;
    blocks[0xFF] = 3;
    return blocks;
}();

// The key of the character at c, `length` bytes long (all present). The bits
// are taken without checking the continuation bytes: equal bytes give equal
// keys, which is all the lookup needs, since a rule is applied only after its
// whole source form has been compared with the text.
constexpr int character_key(const char* c, std::size_t length) {
    const auto byte = [c](std::size_t i) {
        return static_cast<uint32_t>(static_cast<unsigned char>(c[i]));
    };
    if (length == 1) return byte(0) < 0x80 ? static_cast<int>(byte(0)) : kNoKey;
    if (length == 2) {
        const uint32_t code = (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
        return code < 0x100 ? static_cast<int>(code) : kNoKey;
    }
    if (length == 3) {
        const uint32_t code = (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
        const uint32_t block = kThreeByteBlock[code >> 8];
        return block != 0 ? static_cast<int>(block << 8 | (code & 0xFF)) : kNoKey;
    }
    return kNoKey;
}

// A source form (one or two characters) and the target form that replaces
// it, applied when the rule's class is selected.
constexpr std::size_t kMaxFormLength = 6;
struct Rule {
    uint32_t width_class = 0;
    uint8_t source_length = 0;
    uint8_t target_length = 0;
    char source[kMaxFormLength] = {};
    char target[kMaxFormLength] = {};
};

// One conversion pass: the pairs of a table, read from `source` to `target`.
template <typename Pair>
struct Pass {
    uint32_t width_class;
    const Pair* pairs;
    std::size_t count;
    std::string_view Pair::*source;
    std::string_view Pair::*target;
};

template <typename Pair, std::size_t PassCount>
constexpr std::size_t rule_count(const Pass<Pair> (&passes)[PassCount]) {
    std::size_t count = 0;
    for (const Pass<Pair>& pass : passes) count += pass.count;
    return count;
}

// The rules of key k are rules[first_rule[k]] up to rules[first_rule[k + 1]],
// in pass order.
template <std::size_t RuleCount>
struct RuleTable {
    std::array<uint16_t, kKeyCount + 1> first_rule{};
    std::array<Rule, RuleCount> rules{};
    bool complete = true;  // every source form has a key and every form fits
};

constexpr int form_key(std::string_view form) {
    if (form.empty()) return kNoKey;
    const auto length =
        static_cast<std::size_t>(utf8_char_length(static_cast<unsigned char>(form[0])));
    return length <= form.size() ? character_key(form.data(), length) : kNoKey;
}

constexpr void copy_form(std::string_view form, char (&bytes)[kMaxFormLength], uint8_t& length) {
    for (std::size_t i = 0; i < form.size(); ++i) bytes[i] = form[i];
    length = static_cast<uint8_t>(form.size());
}

template <std::size_t RuleCount, typename Pair, std::size_t PassCount>
constexpr RuleTable<RuleCount> build_rule_table(const Pass<Pair> (&passes)[PassCount]) {
    RuleTable<RuleCount> table{};
    std::array<uint16_t, kKeyCount + 1> next{};  // rules per key, then the next free slot
    for (const Pass<Pair>& pass : passes) {
        for (std::size_t i = 0; i < pass.count; ++i) {
            const Pair& pair = pass.pairs[i];
            const std::string_view source = pair.*pass.source;
            const std::string_view target = pair.*pass.target;
            const int key = form_key(source);
            if (key == kNoKey || source.size() > kMaxFormLength || target.size() > kMaxFormLength) {
                table.complete = false;
                return table;
            }
            ++next[static_cast<std::size_t>(key) + 1];
        }
    }
    for (std::size_t k = 1; k <= kKeyCount; ++k)
        next[k] = static_cast<uint16_t>(next[k] + next[k - 1]);
    table.first_rule = next;
    for (const Pass<Pair>& pass : passes) {
        for (std::size_t i = 0; i < pass.count; ++i) {
            const Pair& pair = pass.pairs[i];
            Rule& rule = table.rules[next[static_cast<std::size_t>(form_key(pair.*pass.source))]++];
            rule.width_class = pass.width_class;
            copy_form(pair.*pass.source, rule.source, rule.source_length);
            copy_form(pair.*pass.target, rule.target, rule.target_length);
        }
    }
    return table;
}

constexpr uint32_t class_bit(WidthClass width_class) { return static_cast<uint32_t>(width_class); }

constexpr Pass<WidthPair> kHalfWidthPasses[] = {
    {class_bit(WidthClass::Alphabet), kAlphabetPairs, std::size(kAlphabetPairs), &WidthPair::full,
     &WidthPair::half},
    {class_bit(WidthClass::Digit), kDigitPairs, std::size(kDigitPairs), &WidthPair::full,
     &WidthPair::half},
    {class_bit(WidthClass::Symbol), kSymbolPairs, std::size(kSymbolPairs), &WidthPair::full,
     &WidthPair::half},
    {class_bit(WidthClass::Kana), kKanaVoicedPairs, std::size(kKanaVoicedPairs), &WidthPair::full,
     &WidthPair::half},
    {class_bit(WidthClass::Kana), kKanaPlainPairs, std::size(kKanaPlainPairs), &WidthPair::full,
     &WidthPair::half},
};

constexpr Pass<WidthPair> kFullWidthPasses[] = {
    {class_bit(WidthClass::Alphabet), kAlphabetPairs, std::size(kAlphabetPairs), &WidthPair::half,
     &WidthPair::full},
    {class_bit(WidthClass::Digit), kDigitPairs, std::size(kDigitPairs), &WidthPair::half,
     &WidthPair::full},
    {class_bit(WidthClass::Symbol), kSymbolPairs, std::size(kSymbolPairs), &WidthPair::half,
     &WidthPair::full},
    {class_bit(WidthClass::Kana), kKanaVoicedPairs, std::size(kKanaVoicedPairs), &WidthPair::half,
     &WidthPair::full},
    {class_bit(WidthClass::Kana), kKanaPlainPairs, std::size(kKanaPlainPairs), &WidthPair::half,
     &WidthPair::full},
};

// The kana conversions belong to no width class; their rules carry every bit.
constexpr Pass<KanaPair> kKatakanaPasses[] = {
    {kEveryWidthClass, kKanaPairs, std::size(kKanaPairs), &KanaPair::hiragana, &KanaPair::katakana},
};

constexpr Pass<KanaPair> kHiraganaPasses[] = {
    {kEveryWidthClass, kKanaPairs, std::size(kKanaPairs), &KanaPair::katakana, &KanaPair::hiragana},
};

constexpr auto kHalfWidthRules = build_rule_table<rule_count(kHalfWidthPasses)>(kHalfWidthPasses);
constexpr auto kFullWidthRules = build_rule_table<rule_count(kFullWidthPasses)>(kFullWidthPasses);
constexpr auto kKatakanaRules = build_rule_table<rule_count(kKatakanaPasses)>(kKatakanaPasses);
constexpr auto kHiraganaRules = build_rule_table<rule_count(kHiraganaPasses)>(kHiraganaPasses);
static_assert(kHalfWidthRules.complete && kFullWidthRules.complete && kKatakanaRules.complete &&
              kHiraganaRules.complete);

// Whether the rule's source form is at `at`; its bytes are compared one by
// one, as the forms are one to six bytes long.
bool has_source(const char* at, const Rule& rule) {
    for (std::size_t i = 0; i < rule.source_length; ++i) {
        if (at[i] != rule.source[i]) return false;
    }
    return true;
}

// The first rule of `key`, in pass order, whose class is selected and whose
// source form is at `at` (with `remaining` bytes left in the text).
template <std::size_t RuleCount>
const Rule* matching_rule(const RuleTable<RuleCount>& table, int key, const char* at,
                          std::size_t remaining, uint32_t mask) {
    const std::size_t end = table.first_rule[static_cast<std::size_t>(key) + 1];
    for (std::size_t i = table.first_rule[static_cast<std::size_t>(key)]; i < end; ++i) {
        const Rule& rule = table.rules[i];
        if ((rule.width_class & mask) != 0 && rule.source_length <= remaining &&
            has_source(at, rule)) {
            return &rule;
        }
    }
    return nullptr;
}

// A text written front to back into a buffer that grows as needed. A form is
// written with a fixed-size copy of its whole array, and only its length
// counts.
class TextWriter {
public:
    explicit TextWriter(std::size_t expected_size) { reserve(expected_size + 2 * kMaxFormLength); }
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

    void write(const char* data, std::size_t length) {
        make_room(length);
        std::memcpy(buffer_ + used_, data, length);
        used_ += length;
    }

    // Writes the first `length` bytes of a form.
    void write_form(const char (&form)[kMaxFormLength], std::size_t length) {
        make_room(kMaxFormLength);
        std::memcpy(buffer_ + used_, form, kMaxFormLength);
        used_ += length;
    }

    std::string finish() {
        if (buffer_ == small_) return std::string(small_, used_);
        bytes_.resize(used_);
        return std::move(bytes_);
    }

private:
    void make_room(std::size_t length) {
        if (capacity_ - used_ < length) reserve(2 * capacity_ + length);
    }

    // A short text is written into the buffer inside the writer, so that
    // the usual argument is not allocated twice; a longer one into bytes_.
    void reserve(std::size_t capacity) {
        if (capacity <= capacity_) return;
        bytes_.resize(capacity);
        if (buffer_ == small_) std::memcpy(&bytes_[0], small_, used_);
        buffer_ = &bytes_[0];
        capacity_ = capacity;
    }

    char small_[64];
    char* buffer_ = small_;
    std::size_t capacity_ = sizeof small_;
    std::string bytes_;
    std::size_t used_ = 0;
};

// Copies text, replacing source forms at character boundaries by the rules of
// `table` whose class is in `mask`. Unchanged stretches are copied whole.
template <std::size_t RuleCount>
std::string convert(std::string_view text, const RuleTable<RuleCount>& table, uint32_t mask) {
    const char* const data = text.data();
    const std::size_t size = text.size();
    TextWriter result(size + size / 8);
    std::size_t copied = 0;  // bytes before this position are in the result
    std::size_t pos = 0;
    while (pos < size) {
        const auto length =
            static_cast<std::size_t>(utf8_char_length(static_cast<unsigned char>(data[pos])));
        if (length > size - pos) break;  // a last character cut short stays as it is
        const int key = character_key(data + pos, length);
        if (key != kNoKey) {
            if (const Rule* rule = matching_rule(table, key, data + pos, size - pos, mask)) {
                result.write(data + copied, pos - copied);
                result.write_form(rule->target, rule->target_length);
                pos += rule->source_length;
                copied = pos;
                continue;
            }
        }
        pos += length;
    }
    result.write(data + copied, size - copied);
    return result.finish();
}

}  // namespace

std::string to_half_width(std::string_view text, uint32_t mask) {
    return convert(text, kHalfWidthRules, mask);
}

std::string to_full_width(std::string_view text, uint32_t mask) {
    return convert(text, kFullWidthRules, mask);
}

std::string to_katakana(std::string_view text) {
    return convert(text, kKatakanaRules, kEveryWidthClass);
}

std::string to_hiragana(std::string_view text) {
    return convert(text, kHiraganaRules, kEveryWidthClass);
}
