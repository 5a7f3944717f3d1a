// The playground page: the command list, the argument fields, running a
// request in the worker and showing its answer, in Japanese or in English.
import { preferredLanguage, strings } from './strings.js';
import { Runner } from './runner.js';
import { element, rawView, textView } from './render.js';
import { ArgumentRows } from './arguments.js';

// The busy indicator shows only for requests that take longer than this.
const BUSY_DELAY_MS = 150;

const byId = (id) => document.getElementById(id);
const reference = JSON.parse(byId('reference').textContent);
const commands = new Map();
for (const group of reference) {
  for (const command of group.commands) commands.set(command.name, { ...command, page: group.page });
}

const state = {
  language: preferredLanguage(navigator.language),
  loading: 'loading',
  outcome: null,
  busy: false,
  answered: 0,
};
const text = () => strings[state.language];
const args = new ArgumentRows(byId('arguments'), text, () => {});

function decodeBase64(base64) {
  const binary = atob(base64.trim());
  const bytes = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; i += 1) bytes[i] = binary.charCodeAt(i);
  return bytes;
}

const runner = new Runner(byId('worker-source').textContent, decodeBase64(byId('tavo-wasm').textContent));
runner.ready.then(
  () => { state.loading = 'ready'; renderState(); },
  (error) => { state.loading = 'failed'; state.outcome = { error }; renderState(); renderOutcome(); },
);

// The command's summary from the reference, its `code` spans kept as code: the
// Japanese one in the Japanese interface where the Japanese reference has it.
function summaryView(command) {
  const ja = state.language === 'ja' && command.summaryJa;
  const paragraph = element('p', 'summary');
  paragraph.lang = ja ? 'ja' : 'en';
  (ja ? command.summaryJa : command.summary)
    .split('`').forEach((part, i) => paragraph.append(i % 2 ? element('code', '', part) : part));
  return paragraph;
}

function renderLabels() {
  const t = text();
  document.documentElement.lang = state.language;
  document.title = t.title;
  for (const node of document.querySelectorAll('[data-text]')) node.textContent = t[node.dataset.text];
  const toggle = byId('language');
  toggle.textContent = t.switchLanguage;
  toggle.lang = state.language === 'ja' ? 'en' : 'ja';
  toggle.setAttribute('aria-label', t.switchLanguageLabel);
}

function renderCommandList() {
  const t = text();
  const list = byId('command-list');
  list.replaceChildren();
  for (const group of reference) {
    const heading = element('h3', '', t.groups[group.page] ?? group.title);
    heading.id = `group-${group.page}`;
    const items = element('ul');
    items.setAttribute('aria-labelledby', heading.id);
    for (const command of group.commands) {
      const button = element('button', 'command', command.name);
      button.type = 'button';
      button.dataset.command = command.name;
      button.title = state.language === 'ja' && command.summaryJa ? command.summaryJa : command.summary;
      button.addEventListener('click', () => select(command.name));
      const item = element('li');
      item.append(button);
      items.append(item);
    }
    list.append(heading, items);
  }
  markCurrent();
}

function markCurrent() {
  const name = byId('command').value;
  for (const button of document.querySelectorAll('button.command')) {
    if (button.dataset.command === name) button.setAttribute('aria-current', 'true');
    else button.removeAttribute('aria-current');
  }
}

function renderCommandInfo() {
  const t = text();
  const name = byId('command').value;
  const command = commands.get(name);
  const info = byId('command-info');
  info.replaceChildren();
  byId('example').disabled = !command;
  if (!command) {
    info.append(element('p', 'summary', t.unknownCommand));
    return;
  }
  const ja = state.language === 'ja' && command.hasJa;
  const link = element('a', 'reference', t.reference(name));
  link.href = `docs/${ja ? 'ja/' : ''}commands/${command.page}.md#${name}`;
  info.append(summaryView(command), link);
  if (name === 'lsimg' || name === 'mkdir') info.append(element('p', 'warning', t.noDisk));
}

function renderState() {
  const t = text();
  const messages = { loading: t.loading, ready: t.ready, failed: '' };
  byId('state').textContent = messages[state.loading];
}

function field(list, label, ...content) {
  list.append(element('dt', '', label));
  const value = element('dd');
  value.append(...content);
  list.append(value);
}

function errorMessage(error) {
  const t = text();
  if (error.kind === 'cancelled') return t.cancelled;
  if (error.kind === 'trapped') return t.trapped(error.message);
  return t.failed(error.message);
}

function renderOutcome() {
  const t = text();
  const box = byId('answer-body');
  box.replaceChildren();
  const outcome = state.outcome;
  if (!outcome) return;
  if (outcome.error) {
    const error = element('p', 'error', errorMessage(outcome.error));
    error.setAttribute('role', 'alert');
    box.append(error);
    return;
  }
  const answer = outcome.answer;
  const fields = element('dl', 'fields');
  const badge = element('span', `badge status-${String(answer.status)[0]}xx`, String(answer.status));
  field(fields, t.statusCode, badge, element('code', 'status-line', answer.statusLine),
        element('span', 'elapsed', t.elapsed(outcome.ms)));
  field(fields, t.result, textView(answer.result, t));
  if (answer.valueCount === 0) {
    field(fields, t.values, element('span', 'muted', t.noValues));
  } else {
    const values = element('ol', 'values');
    answer.values.forEach((value, i) => {
      const item = element('li');
      item.append(element('span', 'value-label', t.value(i)), textView(value, t));
      values.append(item);
    });
    const content = [values];
    if (answer.valueCount > answer.values.length) {
      content.push(element('p', 'note', t.valuesClipped(answer.values.length, answer.valueCount)));
    }
    field(fields, t.values, ...content);
  }
  const raw = element('div', 'raw-pair');
  for (const [title, clipped] of [[t.rawRequest, answer.request], [t.rawResponse, answer.response]]) {
    const column = element('section');
    column.append(element('h3', '', title), rawView(clipped, t));
    raw.append(column);
  }
  box.append(fields, raw);
}

function renderAll() {
  renderLabels();
  renderCommandList();
  renderCommandInfo();
  args.render();
  renderState();
  renderOutcome();
}

function select(name) {
  byId('command').value = name;
  args.set(commands.get(name).args);
  history.replaceState(null, '', `#${name}`);
  markCurrent();
  renderCommandInfo();
  args.render();
}

function setBusy(busy) {
  state.busy = busy;
  byId('run').disabled = busy;
  byId('answer').setAttribute('aria-busy', String(busy));
  if (!busy) byId('busy').hidden = true;
}

async function run() {
  if (state.busy) return;
  setBusy(true);
  const timer = setTimeout(() => { byId('busy').hidden = false; }, BUSY_DELAY_MS);
  const started = performance.now();
  try {
    const answer = await runner.run(byId('command').value, [...args.values]);
    state.outcome = { answer, ms: Math.round(performance.now() - started) };
  } catch (error) {
    state.outcome = { error };
  }
  clearTimeout(timer);
  setBusy(false);
  renderOutcome();
  // How many requests have come back, whatever their outcome: what a test waits on.
  state.answered += 1;
  byId('answer').dataset.answered = String(state.answered);
}

byId('language').addEventListener('click', () => {
  state.language = state.language === 'ja' ? 'en' : 'ja';
  renderAll();
});
byId('command').addEventListener('input', () => { markCurrent(); renderCommandInfo(); });
byId('add-argument').addEventListener('click', () => args.add());
byId('example').addEventListener('click', () => {
  const command = commands.get(byId('command').value);
  if (command) select(command.name);
});
byId('run').addEventListener('click', run);
byId('cancel').addEventListener('click', () => runner.cancel());
document.addEventListener('keydown', (event) => {
  if (event.key === 'Enter' && (event.ctrlKey || event.metaKey) && !event.isComposing) {
    event.preventDefault();
    run();
  }
});

// The command a link names after its #; a malformed or unknown one opens the
// page as a link without it does.
function linkedCommand(hash) {
  try {
    const name = decodeURIComponent(hash.slice(1));
    if (commands.has(name)) return name;
  } catch {
    // not percent-encoded UTF-8
  }
  return reference[0].commands[0].name;
}

byId('command').value = linkedCommand(location.hash);
args.set(commands.get(byId('command').value).args);
renderAll();
