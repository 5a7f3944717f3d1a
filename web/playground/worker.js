// The playground's worker: loads the module and runs the page's requests. It
// sends back at most the first part of each text and the first values, so that
// a huge answer cannot swamp the page, and keeps the whole texts of the last
// answer for copying. Any error of a request, a trap of the module above all,
// is reported as 'trapped': the page then replaces the worker.
import { createTavo, parseResponse } from '../tavo.js';
import { charsetOf, decode, encode } from './charsets.js';

const SHOWN_UNITS = 20000;
const SHOWN_VALUES = 1000;

let tavo = null;
let last = { request: '', response: '' };

// The number of characters (code points) of a text.
function characters(text) {
  let count = text.length;
  for (let i = 1; i < text.length; i += 1) {
    const unit = text.charCodeAt(i);
    const before = text.charCodeAt(i - 1);
    if (unit >= 0xdc00 && unit <= 0xdfff && before >= 0xd800 && before <= 0xdbff) count -= 1;
  }
  return count;
}

// { text, total }: the text, or its beginning and its length in characters.
function clip(text) {
  if (text.length <= SHOWN_UNITS) return { text, total: null };
  let end = SHOWN_UNITS;
  const unit = text.charCodeAt(end - 1);
  if (unit >= 0xd800 && unit <= 0xdbff) end -= 1;
  return { text: text.slice(0, end), total: characters(text) };
}

function shown(answer) {
  last = { request: answer.request, response: answer.response };
  return {
    status: answer.status,
    statusLine: answer.statusLine,
    result: clip(answer.result),
    values: answer.values.slice(0, SHOWN_VALUES).map(clip),
    valueCount: answer.values.length,
    request: clip(answer.request),
    response: clip(answer.response),
    encoding: answer.encoding ?? null,
  };
}

// A raw request: its text in the charset its Charset line names, the answer
// read in the charset the answer's Charset line names. The request shown is
// what the module received, a '?' for each character the charset lacks.
function sendRaw(text) {
  const charset = charsetOf(text);
  const { bytes, unmapped } = encode(text, charset);
  const answerBytes = tavo.requestBytes(bytes);
  const answerCharset = charsetOf(decode(answerBytes, 'UTF-8'));
  const response = decode(answerBytes, answerCharset);
  const encoding = { charset, answerCharset, bytes: bytes.length, unmapped };
  return { ...parseResponse(response), request: decode(bytes, charset), response, encoding };
}

function describe(error) {
  return error && error.message ? error.message : String(error);
}

function answer(data) {
  if (data.type === 'last') return last;
  return shown(data.type === 'raw' ? sendRaw(data.text) : tavo.execute(data.command, ...data.args));
}

self.onmessage = async ({ data }) => {
  if (data.type === 'start') {
    try {
      tavo = await createTavo(data.wasm);
      self.postMessage({ type: 'ready' });
    } catch (error) {
      self.postMessage({ type: 'failed', message: describe(error) });
    }
    return;
  }
  try {
    self.postMessage({ type: 'answer', id: data.id, answer: answer(data) });
  } catch (error) {
    self.postMessage({ type: 'trapped', message: describe(error) });
  }
};
