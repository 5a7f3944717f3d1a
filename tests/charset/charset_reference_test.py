#!/usr/bin/env python3
"""The module's Shift_JIS and EUC-JP conversion against Python's cp932 and
euc_jp codecs, over the whole code space: every one-, two- and (EUC-JP)
three-byte code decoded, and every code point below U+10000 encoded.

  charset_reference_test.py CHARSET_FILTER

Where a code is not a character, the module keeps each of its bytes as a
character of its own (U+DC80..U+DCFF) and reads an ASCII byte after a lead
byte again; this test states that rule on its own below. Where Python's
codecs knowingly differ from the module, the difference is listed with its
reason; nothing else may differ.
"""
import subprocess
import sys


def kept(byte):
    return chr(0xDC00 + byte)


def utf8(text):
    return text.encode("utf-8", "surrogatepass")


class Charset:
    def __init__(self, label, codec, leads, trails, triple_lead, single_extra, code_extra):
        self.label, self.codec = label, codec
        self.leads, self.trails, self.triple_lead = set(leads), trails, triple_lead
        # Codes Python reads otherwise, and what the module reads there.
        self.single_extra, self.code_extra = single_extra, code_extra

    def character(self, code):
        """The one character a code stands for, or None."""
        if len(code) == 1 and code[0] in self.single_extra:
            return self.single_extra[code[0]]
        if code in self.code_extra:
            return self.code_extra[code]
        try:
            text = code.decode(self.codec)
        except UnicodeDecodeError:
            return None
        return text if len(text) == 1 else None

    def in_trails(self, byte):
        return self.trails[0] <= byte <= self.trails[1]

    def decoded(self, data):
        """The module's reading of the bytes, by its rule for what is not a character."""
        out, i = [], 0
        while i < len(data):
            byte = data[i]
            single = self.character(data[i:i + 1])
            if single is not None:
                out.append(single)
                i += 1
            elif byte in self.leads and i + 1 < len(data) and self.in_trails(data[i + 1]):
                character = self.character(data[i:i + 2])
                if character is not None:
                    out.append(character)
                    i += 2
                elif data[i + 1] >= 0x80:
                    out += [kept(byte), kept(data[i + 1])]
                    i += 2
                else:
                    out.append(kept(byte))
                    i += 1
            elif byte == self.triple_lead and i + 2 < len(data) and all(map(self.in_trails, data[i + 1:i + 3])):
                character = self.character(data[i:i + 3])
                out += [character] if character is not None else [kept(b) for b in data[i:i + 3]]
                i += 3
            else:
                out.append(kept(byte))
                i += 1
        return "".join(out)

    def codes(self):
        """Every code this test decodes: one byte, a byte from 80 and any
        second byte, and the three-byte codes."""
        codes = [bytes([b]) for b in range(256)]
        codes += [bytes([a, b]) for a in range(0x80, 0x100) for b in range(0x20, 0x100)]
        if self.triple_lead:
            codes += [bytes([self.triple_lead, a, b]) for a in range(0xA0, 0x100) for b in range(0xA0, 0x100)]
        return codes


SHIFT_JIS = Charset("Shift_JIS", "cp932", list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD)), (0x40, 0xFC),
                    None, {}, {})
EUC_JP = Charset("EUC-JP", "euc_jp", [0x8E] + list(range(0xA1, 0xFF)), (0xA1, 0xFE), 0x8F,
                 # The C1 control codes stand for themselves, as in glibc's
                 # EUC-JP; Python's codec has no code for them.
                 {b: chr(b) for b in list(range(0x80, 0x8E)) + list(range(0x90, 0xA0))},
                 # JIS X 0212 0x2237 is the full-width tilde, as in glibc and
                 # the WHATWG index; Python reads it as ASCII "~", whose code is 7E.
                 {b"\x8f\xa2\xb7": "\uff5e"})


def expected_encoding(charset, codes_of, point):
    """The bytes the module writes for a code point."""
    if 0xDC80 <= point <= 0xDCFF:
        return bytes([point - 0xDC00])  # a kept byte
    codes = codes_of.get(chr(point), [])
    if not codes:
        return b"?"  # no code, or only a look-alike's (Python's best fit)
    if charset is SHIFT_JIS:
        # Windows writes the first code, never NEC's codes of IBM's characters (lead ED, EE).
        return min([code for code in codes if code[0] not in (0xED, 0xEE)] or codes)
    assert len(codes) == 1, (hex(point), codes)
    return codes[0]


def run(filter_program, requests):
    lines = "".join("%s %s %s\n" % request for request in requests)
    result = subprocess.run([filter_program], input=lines, capture_output=True, text=True, check=True)
    return [bytes.fromhex(line) for line in result.stdout.split("\n")[:-1]]


def check(filter_program, charset):
    failures = []
    codes = charset.codes()
    decoded = run(filter_program, [(charset.label, "to-utf8", code.hex()) for code in codes])
    codes_of = {}
    for code, got in zip(codes, decoded):
        want = charset.decoded(code)
        if got != utf8(want):
            failures.append("%s %s: read as %s, expected %s" % (charset.label, code.hex(), got.hex(), utf8(want).hex()))
        character = charset.character(code)
        if character is not None and (len(code) > 1 or code[0] >= 0x80):
            codes_of.setdefault(character, []).append(code)

    points = [p for p in range(0x80, 0x10000) if not 0xD800 <= p <= 0xDBFF] + [0x10000, 0x1F600, 0x10FFFF]
    encoded = run(filter_program, [(charset.label, "from-utf8", utf8(chr(p)).hex()) for p in points])
    differences = 0
    for point, got in zip(points, encoded):
        want = expected_encoding(charset, codes_of, point)
        if got != want:
            failures.append("%s U+%04X: written as %s, expected %s" % (charset.label, point, got.hex(), want.hex()))
        try:
            differences += chr(point).encode(charset.codec) != got
        except UnicodeEncodeError:
            differences += got != b"?" and not 0xDC80 <= point <= 0xDCFF
    print("%s: %d codes read, %d code points written, %d of them otherwise than Python's %s "
          "for the reasons above" % (charset.label, len(codes), len(points), differences, charset.codec))
    return failures


def main():
    failures = check(sys.argv[1], SHIFT_JIS) + check(sys.argv[1], EUC_JP)
    for failure in failures[:40]:
        print(failure)
    if failures:
        print("%d differences" % len(failures))
        sys.exit(1)


if __name__ == "__main__":
    main()
