// The charsets a raw request may name in its Charset line, the text encoded
// into one of them and bytes decoded from one. Browsers decode Shift_JIS and
// EUC-JP but cannot encode them: the encoding table is made once by decoding
// every code and inverting the result.

// The charset a request's or response's Charset line names: 'Shift_JIS',
// 'EUC-JP' or, for any other value or none, 'UTF-8'. Letter case, '-' and '_'
// do not count; of several Charset lines the first one does, wherever it
// stands after the request line, as the module reads it.
export function charsetOf(message) {
  const line = message.split('\r\n').slice(1).find((candidate) => candidate.startsWith('Charset: '));
  const name = line ? line.slice('Charset: '.length).toLowerCase().replace(/[-_]/g, '') : '';
  if (['shiftjis', 'sjis', 'cp932', 'ms932', 'windows31j', 'xsjis'].includes(name)) return 'Shift_JIS';
  if (name === 'eucjp') return 'EUC-JP';
  return 'UTF-8';
}

const range = (first, last) => Array.from({ length: last - first + 1 }, (_, i) => first + i);

// Every code of a charset beyond ASCII, in ascending order: [lead] or [lead, trail].
function codes(charset) {
  const singles = range(0x80, 0xff).map((byte) => [byte]);
  if (charset === 'Shift_JIS') {
    const trails = [...range(0x40, 0x7e), ...range(0x80, 0xfc)];
    return [...singles, ...[...range(0x81, 0x9f), ...range(0xe0, 0xfc)].flatMap((lead) => trails.map((trail) => [lead, trail]))];
  }
  const kana = range(0xa1, 0xdf).map((trail) => [0x8e, trail]);
  return [...singles, ...kana, ...range(0xa1, 0xfe).flatMap((lead) => range(0xa1, 0xfe).map((trail) => [lead, trail]))];
}

// Shift_JIS codes whose lead byte is 0xED or 0xEE repeat characters that also
// have codes from 0xFA on; like Windows, they are used only for a character
// with no other code. Otherwise a character takes its lowest code.
const secondChoice = (charset, code) => charset === 'Shift_JIS' && (code[0] === 0xed || code[0] === 0xee);

const tables = new Map();

// Character (code point) → its bytes, for the characters beyond ASCII.
function encodingTable(charset) {
  if (tables.has(charset)) return tables.get(charset);
  const decoder = new TextDecoder(charset);
  const table = new Map();
  const all = codes(charset);
  for (const pass of [false, true]) {
    for (const code of all) {
      if (secondChoice(charset, code) !== pass) continue;
      const text = decoder.decode(new Uint8Array(code));
      const point = text.codePointAt(0);
      if (text.length === String.fromCodePoint(point).length && point !== 0xfffd && !table.has(point)) table.set(point, code);
    }
  }
  tables.set(charset, table);
  return table;
}

const utf8 = new TextEncoder();

// { bytes, unmapped }: the text in the charset; a character the charset has no
// code for becomes '?', and unmapped counts them.
export function encode(text, charset) {
  if (charset === 'UTF-8') return { bytes: utf8.encode(text), unmapped: 0 };
  const table = encodingTable(charset);
  const bytes = [];
  let unmapped = 0;
  for (const character of text) {
    const point = character.codePointAt(0);
    const code = point < 0x80 ? [point] : table.get(point);
    if (code) bytes.push(...code);
    else {
      bytes.push(0x3f);
      unmapped += 1;
    }
  }
  return { bytes: new Uint8Array(bytes), unmapped };
}

export function decode(bytes, charset) {
  return new TextDecoder(charset).decode(bytes);
}
