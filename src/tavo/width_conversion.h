// Conversion between the full-width and half-width forms of Latin letters,
// digits, symbols and katakana, and between hiragana and katakana.
//
// Every conversion is defined by the constant pair tables below. A width
// conversion runs the classes in the order Alphabet, Digit, Symbol, Kana
// (voiced pairs, then plain pairs), each pair in table order, and each pair
// replaces every occurrence of its source form that starts on a character
// boundary. The functions give exactly that result in a single scan over the
// text. A byte that cannot start a character is a one-byte character and
// stays as it is; a last character cut short stays as it is too, and nothing
// past the end is read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The classes of characters that a width conversion touches. A mask combines
// them; bits other than these four are ignored.
enum class WidthClass : uint32_t {
    Alphabet = 1,
    Digit = 2,
    Symbol = 4,
    Kana = 8,
};

// The mask that selects every class.
inline constexpr uint32_t kEveryWidthClass = 0xFFFF;

// A copy of text in which the full-width forms of the classes selected in
// mask are replaced by their half-width forms: "ＡＢＣ" gives "ABC", "ガ" gives
// "ｶﾞ". Where a full-width form appears in two classes ("、" and "。" are both
// symbols and kana), the earlier class that is selected decides.
std::string to_half_width(std::string_view text, uint32_t mask);

// A copy of text in which the half-width forms of the classes selected in
// mask are replaced by their full-width forms. A half-width kana followed by
// its voiced or semi-voiced mark becomes one voiced katakana ("ｶﾞ" gives "ガ");
// a mark after any other character stays half-width. Where several full-width
// forms share one half-width form, the first pair in table order wins ("-"
// gives "ー", "," gives "、").
std::string to_full_width(std::string_view text, uint32_t mask);

// A copy of text with hiragana U+3041-U+3093 turned into katakana.
std::string to_katakana(std::string_view text);

// A copy of text with katakana U+30A1-U+30F3 turned into hiragana.
std::string to_hiragana(std::string_view text);

// One entry of a conversion table: a full-width form and its half-width form.
struct WidthPair {
    std::string_view full;
    std::string_view half;
};

// Ａ-Ｚ and ａ-ｚ with A-Z and a-z.
inline constexpr WidthPair kAlphabetPairs[] = {
    {"Ａ", "A"}, {"Ｂ", "B"}, {"Ｃ", "C"}, {"Ｄ", "D"}, {"Ｅ", "E"}, {"Ｆ", "F"},
    {"Ｇ", "G"}, {"Ｈ", "H"}, {"Ｉ", "I"}, {"Ｊ", "J"}, {"Ｋ", "K"}, {"Ｌ", "L"},
    {"Ｍ", "M"}, {"Ｎ", "N"}, {"Ｏ", "O"}, {"Ｐ", "P"}, {"Ｑ", "Q"}, {"Ｒ", "R"},
    {"Ｓ", "S"}, {"Ｔ", "T"}, {"Ｕ", "U"}, {"Ｖ", "V"}, {"Ｗ", "W"}, {"Ｘ", "X"},
    {"Ｙ", "Y"}, {"Ｚ", "Z"}, {"ａ", "a"}, {"ｂ", "b"}, {"ｃ", "c"}, {"ｄ", "d"},
    {"ｅ", "e"}, {"ｆ", "f"}, {"ｇ", "g"}, {"ｈ", "h"}, {"ｉ", "i"}, {"ｊ", "j"},
    {"ｋ", "k"}, {"ｌ", "l"}, {"ｍ", "m"}, {"ｎ", "n"}, {"ｏ", "o"}, {"ｐ", "p"},
    {"ｑ", "q"}, {"ｒ", "r"}, {"ｓ", "s"}, {"ｔ", "t"}, {"ｕ", "u"}, {"ｖ", "v"},
    {"ｗ", "w"}, {"ｘ", "x"}, {"ｙ", "y"}, {"ｚ", "z"},
};

// ０-９ with 0-9.
inline constexpr WidthPair kDigitPairs[] = {
    {"０", "0"}, {"１", "1"}, {"２", "2"}, {"３", "3"}, {"４", "4"},
    {"５", "5"}, {"６", "6"}, {"７", "7"}, {"８", "8"}, {"９", "9"},
};

// Symbols. "ー" and "－" share "-", "、" and "，" share ",", "。" and "．" share
// ".", "「" and "［" share "[", "」" and "］" share "]", "＊" and "×" share "*".
inline constexpr WidthPair kSymbolPairs[] = {
    {"　", " "}, {"！", "!"}, {"”", "\""}, {"＃", "#"}, {"＄", "$"},
    {"％", "%"}, {"＆", "&"}, {"’", "'"}, {"（", "("}, {"）", ")"},
    {"＝", "="}, {"～", "~"}, {"｜", "|"}, {"‘", "`"}, {"｛", "{"},
    {"＋", "+"}, {"＊", "*"}, {"｝", "}"}, {"＜", "<"}, {"＞", ">"},
    {"？", "?"}, {"＿", "_"}, {"ー", "-"}, {"＾", "^"}, {"￥", "\\"},
    {"＠", "@"}, {"「", "["}, {"；", ";"}, {"：", ":"}, {"」", "]"},
    {"、", ","}, {"。", "."}, {"－", "-"}, {"，", ","}, {"．", "."},
    {"［", "["}, {"］", "]"}, {"÷", "/"}, {"×", "*"}, {"・", "･"},
};

// Voiced and semi-voiced katakana with a half-width kana and its mark.
inline constexpr WidthPair kKanaVoicedPairs[] = {
    {"ガ", "ｶﾞ"}, {"ギ", "ｷﾞ"}, {"グ", "ｸﾞ"}, {"ゲ", "ｹﾞ"}, {"ゴ", "ｺﾞ"},
    {"ザ", "ｻﾞ"}, {"ジ", "ｼﾞ"}, {"ズ", "ｽﾞ"}, {"ゼ", "ｾﾞ"}, {"ゾ", "ｿﾞ"},
    {"ダ", "ﾀﾞ"}, {"ヂ", "ﾁﾞ"}, {"ヅ", "ﾂﾞ"}, {"デ", "ﾃﾞ"}, {"ド", "ﾄﾞ"},
    {"バ", "ﾊﾞ"}, {"ビ", "ﾋﾞ"}, {"ブ", "ﾌﾞ"}, {"ベ", "ﾍﾞ"}, {"ボ", "ﾎﾞ"},
    {"パ", "ﾊﾟ"}, {"ピ", "ﾋﾟ"}, {"プ", "ﾌﾟ"}, {"ペ", "ﾍﾟ"}, {"ポ", "ﾎﾟ"},
};

// Plain katakana, and "、" "。" with their half-width forms.
inline constexpr WidthPair kKanaPlainPairs[] = {
    {"ア", "ｱ"}, {"イ", "ｲ"}, {"ウ", "ｳ"}, {"エ", "ｴ"}, {"オ", "ｵ"},
    {"カ", "ｶ"}, {"キ", "ｷ"}, {"ク", "ｸ"}, {"ケ", "ｹ"}, {"コ", "ｺ"},
    {"サ", "ｻ"}, {"シ", "ｼ"}, {"ス", "ｽ"}, {"セ", "ｾ"}, {"ソ", "ｿ"},
    {"タ", "ﾀ"}, {"チ", "ﾁ"}, {"ツ", "ﾂ"}, {"テ", "ﾃ"}, {"ト", "ﾄ"},
    {"ナ", "ﾅ"}, {"ニ", "ﾆ"}, {"ヌ", "ﾇ"}, {"ネ", "ﾈ"}, {"ノ", "ﾉ"},
    {"ハ", "ﾊ"}, {"ヒ", "ﾋ"}, {"フ", "ﾌ"}, {"ヘ", "ﾍ"}, {"ホ", "ﾎ"},
    {"マ", "ﾏ"}, {"ミ", "ﾐ"}, {"ム", "ﾑ"}, {"メ", "ﾒ"}, {"モ", "ﾓ"},
    {"ヤ", "ﾔ"}, {"ユ", "ﾕ"}, {"ヨ", "ﾖ"}, {"ラ", "ﾗ"}, {"リ", "ﾘ"},
    {"ル", "ﾙ"}, {"レ", "ﾚ"}, {"ロ", "ﾛ"}, {"ワ", "ﾜ"}, {"ヲ", "ｦ"},
    {"ン", "ﾝ"}, {"ァ", "ｧ"}, {"ィ", "ｨ"}, {"ゥ", "ｩ"}, {"ェ", "ｪ"},
    {"ォ", "ｫ"}, {"ャ", "ｬ"}, {"ュ", "ｭ"}, {"ョ", "ｮ"}, {"ッ", "ｯ"},
    {"、", "､"}, {"。", "｡"},
};

// A hiragana and the katakana with the same reading.
struct KanaPair {
    std::string_view hiragana;
    std::string_view katakana;
};

// Every hiragana U+3041-U+3093 with the katakana 0x60 code points higher.
inline constexpr KanaPair kKanaPairs[] = {
    {"ぁ", "ァ"}, {"あ", "ア"}, {"ぃ", "ィ"}, {"い", "イ"}, {"ぅ", "ゥ"}, {"う", "ウ"},
    {"ぇ", "ェ"}, {"え", "エ"}, {"ぉ", "ォ"}, {"お", "オ"}, {"か", "カ"}, {"が", "ガ"},
    {"き", "キ"}, {"ぎ", "ギ"}, {"く", "ク"}, {"ぐ", "グ"}, {"け", "ケ"}, {"げ", "ゲ"},
    {"こ", "コ"}, {"ご", "ゴ"}, {"さ", "サ"}, {"ざ", "ザ"}, {"し", "シ"}, {"じ", "ジ"},
    {"す", "ス"}, {"ず", "ズ"}, {"せ", "セ"}, {"ぜ", "ゼ"}, {"そ", "ソ"}, {"ぞ", "ゾ"},
    {"た", "タ"}, {"だ", "ダ"}, {"ち", "チ"}, {"ぢ", "ヂ"}, {"っ", "ッ"}, {"つ", "ツ"},
    {"づ", "ヅ"}, {"て", "テ"}, {"で", "デ"}, {"と", "ト"}, {"ど", "ド"}, {"な", "ナ"},
    {"に", "ニ"}, {"ぬ", "ヌ"}, {"ね", "ネ"}, {"の", "ノ"}, {"は", "ハ"}, {"ば", "バ"},
    {"ぱ", "パ"}, {"ひ", "ヒ"}, {"び", "ビ"}, {"ぴ", "ピ"}, {"ふ", "フ"}, {"ぶ", "ブ"},
    {"ぷ", "プ"}, {"へ", "ヘ"}, {"べ", "ベ"}, {"ぺ", "ペ"}, {"ほ", "ホ"}, {"ぼ", "ボ"},
    {"ぽ", "ポ"}, {"ま", "マ"}, {"み", "ミ"}, {"む", "ム"}, {"め", "メ"}, {"も", "モ"},
    {"ゃ", "ャ"}, {"や", "ヤ"}, {"ゅ", "ュ"}, {"ゆ", "ユ"}, {"ょ", "ョ"}, {"よ", "ヨ"},
    {"ら", "ラ"}, {"り", "リ"}, {"る", "ル"}, {"れ", "レ"}, {"ろ", "ロ"}, {"ゎ", "ヮ"},
    {"わ", "ワ"}, {"ゐ", "ヰ"}, {"ゑ", "ヱ"}, {"を", "ヲ"}, {"ん", "ン"},
};
