// The answer to a run: its status, Result (with the English meaning of a
// message of the module in the English interface), Values and the raw request
// and response with buttons that copy them; or what went wrong.
import { appendWithCode, element, rawView, textView } from './render.js';
import { copyButton } from './copy.js';

function field(list, label, ...content) {
  list.append(element('dt', '', label));
  const value = element('dd');
  value.append(...content);
  list.append(value);
}

function errorView(error, t, retry) {
  const messages = { cancelled: t.cancelled, trapped: t.trapped(error.message), failed: t.failed(error.message) };
  const box = element('div', 'error');
  box.setAttribute('role', 'alert');
  box.append(element('p', '', messages[error.kind] ?? t.failed(error.message)));
  if (error.kind === 'failed') {
    const again = element('button', 'retry', t.retry);
    again.type = 'button';
    again.addEventListener('click', retry);
    box.append(again);
  }
  return box;
}

function valuesView(answer, t) {
  if (answer.valueCount === 0) return [element('span', 'muted', t.noValues)];
  const values = element('ol', 'values');
  answer.values.forEach((value, i) => {
    const item = element('li');
    item.append(element('span', 'value-label', t.value(i)), textView(value, t));
    values.append(item);
  });
  const clipped = answer.valueCount > answer.values.length;
  return clipped ? [element('p', 'note', t.valuesClipped(answer.values.length, answer.valueCount)), values] : [values];
}

// outcome: { answer, ms } or { error }. meaning(answer): the English meaning of
// its Result, or null; last(): the whole request and response; retry(): starts
// the module again after it failed to start.
export function renderOutcome(box, outcome, t, { meaning, last, retry }) {
  box.replaceChildren();
  if (!outcome) return;
  if (outcome.error) {
    box.append(errorView(outcome.error, t, retry));
    return;
  }
  const answer = outcome.answer;
  const fields = element('dl', 'fields');
  const badge = element('span', `badge status-${String(answer.status)[0]}xx`, String(answer.status));
  field(fields, t.statusCode, badge, element('code', 'status-line', answer.statusLine),
        element('span', 'elapsed', t.elapsed(outcome.ms)));
  if (answer.encoding) field(fields, t.charset, element('span', '', t.encoding(answer.encoding)));
  const result = [textView(answer.result, t)];
  const explained = meaning(answer);
  if (explained) result.push(appendWithCode(element('p', 'meaning', t.meaning), explained));
  field(fields, t.result, ...result);
  field(fields, t.values, ...valuesView(answer, t));
  const raw = element('div', 'raw-pair');
  for (const [title, copy, which] of [[t.rawRequest, t.copyRequest, 'request'], [t.rawResponse, t.copyResponse, 'response']]) {
    const column = element('section');
    const bar = element('div', 'raw-bar');
    bar.append(element('h3', '', title), ...copyButton(copy, t, async () => ({ text: (await last())[which] })));
    column.append(bar, rawView(answer[which], t));
    raw.append(column);
  }
  box.append(fields, raw);
}
