// The playground's worker: loads the module and runs the page's requests. It
// sends back at most the first part of each text and the first values, so that
// a huge answer cannot swamp the page. Any error of a request, a trap of the
// module above all, is reported as 'trapped': the page then replaces the worker.
import { createTavo } from '../tavo.js';

const SHOWN_UNITS = 20000;
const SHOWN_VALUES = 1000;

let tavo = null;

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
  const last = text.charCodeAt(end - 1);
  if (last >= 0xd800 && last <= 0xdbff) end -= 1;
  return { text: text.slice(0, end), total: characters(text) };
}

function shown(answer) {
  return {
    status: answer.status,
    statusLine: answer.statusLine,
    result: clip(answer.result),
    values: answer.values.slice(0, SHOWN_VALUES).map(clip),
    valueCount: answer.values.length,
    request: clip(answer.request),
    response: clip(answer.response),
  };
}

function describe(error) {
  return error && error.message ? error.message : String(error);
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
    const answer = tavo.execute(data.command, ...data.args);
    self.postMessage({ type: 'answer', answer: shown(answer) });
  } catch (error) {
    self.postMessage({ type: 'trapped', message: describe(error) });
  }
};
