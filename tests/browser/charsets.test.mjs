// The raw request mode's charsets: which one a Charset line names, and texts
// encoded into Shift_JIS and EUC-JP as Windows does, back again by decoding.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { charsetOf, decode, encode } from '../../web/playground/charsets.js';

const named = [
  ['Charset: Shift_JIS', 'Shift_JIS'], ['Charset: sjis', 'Shift_JIS'], ['Charset: CP932', 'Shift_JIS'],
  ['Charset: MS932', 'Shift_JIS'], ['Charset: windows-31j', 'Shift_JIS'], ['Charset: X_SJIS', 'Shift_JIS'],
  ['Charset: euc_jp', 'EUC-JP'], ['Charset: UTF-8', 'UTF-8'], ['Charset: ISO-8859-1', 'UTF-8'], ['', 'UTF-8'],
  ['Charset: EUC-JP\r\nCharset: SJIS', 'EUC-JP'], ['Argument0: length\r\n\r\nCharset: SJIS', 'Shift_JIS'],
];

for (const [line, charset] of named) {
  test(`${JSON.stringify(line)} names ${charset}`, () => {
    assert.equal(charsetOf(`EXECUTE SAORI/1.0\r\n${line}\r\nArgument0: length\r\n\r\n`), charset);
  });
}

// Text, charset, bytes (hex). ￢ and ∵ have three Shift_JIS codes, Ⅰ two and ⅰ
// two of which one has the lead byte 0xED or 0xEE: Windows's choice each time.
const encodings = [
  ['aあいう', 'Shift_JIS', '61 82 a0 82 a2 82 a4'],
  ['ｱ表', 'Shift_JIS', 'b1 95 5c'],
  ['￢∵Ⅰⅰ', 'Shift_JIS', '81 ca 81 e6 87 54 fa 40'],
  ['😀é', 'Shift_JIS', '3f 3f'],
  ['aあｱ', 'EUC-JP', '61 a4 a2 8e b1'],
  ['あ', 'UTF-8', 'e3 81 82'],
];

for (const [text, charset, hex] of encodings) {
  test(`${text} in ${charset}`, () => {
    const { bytes, unmapped } = encode(text, charset);
    assert.equal(Buffer.from(bytes).toString('hex').replace(/(..)(?!$)/g, '$1 '), hex);
    assert.equal(unmapped, text === '😀é' ? 2 : 0);
    if (!unmapped) assert.equal(decode(bytes, charset), text);
  });
}
