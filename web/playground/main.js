// The playground page: the command list, the request (a command and its
// arguments, or a raw request), running it in the worker and showing its
// answer, the link that holds the request and the history of runs, in
// Japanese or in English.
import { preferredLanguage, strings } from './strings.js';
import { appendWithCode, element } from './render.js';
import { charsetOf } from './charsets.js';
import { Runner } from './runner.js';
import { hashOf, requestOfHash } from './link.js';
import { RunHistory } from './history.js';
import { copyButton } from './copy.js';
import { ArgumentRows } from './arguments.js';
import { renderOutcome } from './answer.js';
import { ReferencePanel } from './panel.js';

// The busy indicator shows only for requests that take longer than this.
const BUSY_DELAY_MS = 150;

const byId = (id) => document.getElementById(id);
const { groups, messages } = JSON.parse(byId('reference').textContent);
const commands = new Map();
for (const group of groups) {
  for (const command of group.commands) commands.set(command.name, { ...command, page: group.page });
}
const defaultRequest = { command: groups[0].commands[0].name };

const state = {
  language: preferredLanguage(navigator.language),
  mode: 'fields',
  loading: 'loading',
  outcome: null,
  busy: false,
  answered: 0,
  // Whether the link holds all of the request.
  linkWhole: true,
};
const text = () => strings[state.language];
const args = new ArgumentRows(byId('arguments'), text, () => {
  renderExampleChoice();
  updateLink();
});
const panel = new ReferencePanel(byId('reference-panel'), JSON.parse(byId('reference-pages').textContent));
const runs = new RunHistory();

function decodeBase64(base64) {
  const binary = atob(base64.trim());
  const bytes = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; i += 1) bytes[i] = binary.charCodeAt(i);
  return bytes;
}

const runner = new Runner(byId('worker-source').textContent, decodeBase64(byId('tavo-wasm').textContent));

function watchStart() {
  state.loading = 'loading';
  renderState();
  runner.ready.then(
    () => { state.loading = 'ready'; renderState(); },
    (error) => { state.loading = 'failed'; state.outcome = { error }; renderState(); renderAnswer(); },
  );
}

// The request as the page holds it: { command, args } or { raw }, the raw
// text with LF line ends as typed.
function currentRequest() {
  if (state.mode === 'raw') return { raw: byId('raw').value };
  return { command: byId('command').value, args: [...args.values] };
}

// The request of the fields as a raw text.
function fieldsRequestText() {
  const lines = [byId('command').value, ...args.values].map((arg, n) => `Argument${n}: ${arg}`);
  return ['EXECUTE SAORI/1.0', 'Charset: UTF-8', ...lines, '', ''].join('\n');
}

function updateLink() {
  const { hash, whole } = hashOf(currentRequest());
  state.linkWhole = whole;
  history.replaceState(null, '', hash);
}

const escapeRegExp = (text) => text.replace(/[\\^$.*+?()[\]{}|]/g, '\\$&');
const messagePatterns = messages.map((entry) => ({
  ...entry,
  pattern: new RegExp(`^${entry.message.split('…').map(escapeRegExp).join('.*')}$`, 's'),
}));

// The English meaning of a message the module answered, in the English
// interface: the reference's entry for the command, else one for any command.
function meaningOf(answer) {
  if (state.language !== 'en' || answer.status !== 400) return null;
  const command = state.outcome?.command;
  const matching = messagePatterns.filter((entry) => entry.pattern.test(answer.result.text));
  const entry = matching.find((m) => m.commands.includes(command)) ?? matching.find((m) => m.commands.length === 0) ?? matching[0];
  return entry ? entry.meaning : null;
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
  byId('copy-link').replaceChildren(...copyButton(t.copyLink, t, () => ({
    text: location.href,
    note: state.linkWhole ? '' : t.linkPartial,
  })));
}

function renderCommandList() {
  const t = text();
  const list = byId('command-list');
  list.replaceChildren();
  for (const group of groups) {
    const heading = element('h3', '', t.groups[group.page] ?? group.title);
    heading.id = `group-${group.page}`;
    const items = element('ul');
    items.setAttribute('aria-labelledby', heading.id);
    for (const command of group.commands) {
      const button = element('button', 'command', command.name);
      button.type = 'button';
      button.dataset.command = command.name;
      button.title = state.language === 'ja' && command.summaryJa ? command.summaryJa : command.summary;
      button.addEventListener('click', () => applyRequest({ command: command.name }));
      const item = element('li');
      item.append(button);
      items.append(item);
    }
    list.append(heading, items);
  }
  markCurrent();
}

function markCurrent() {
  const name = state.mode === 'fields' ? byId('command').value : null;
  for (const button of document.querySelectorAll('button.command')) {
    if (button.dataset.command === name) button.setAttribute('aria-current', 'true');
    else button.removeAttribute('aria-current');
  }
}

// The command's summary from the reference, and a link that opens its section
// of the reference in the panel: the Japanese ones in the Japanese interface
// where the Japanese reference has them.
function renderCommandInfo() {
  const t = text();
  const name = byId('command').value;
  const command = commands.get(name);
  const info = byId('command-info');
  info.replaceChildren();
  if (!command) {
    info.append(element('p', 'summary', t.unknownCommand));
    return;
  }
  const ja = state.language === 'ja' && command.hasJa;
  const summary = appendWithCode(element('p', 'summary'), ja ? command.summaryJa : command.summary);
  summary.lang = ja ? 'ja' : 'en';
  const page = `${ja ? 'ja/' : ''}commands/${command.page}`;
  const link = element('a', 'reference', t.reference(name));
  link.href = `docs/${page}.md#${name}`;
  link.addEventListener('click', (event) => {
    if (!panel.has(page)) return;
    event.preventDefault();
    panel.open(page, name);
  });
  info.append(summary, link);
  if (name === 'lsimg' || name === 'mkdir') info.append(element('p', 'warning', t.noDisk));
}

// The examples of the command's reference to pick from; the first entry
// stands for arguments that are none of them.
function renderExampleChoice() {
  const t = text();
  const command = commands.get(byId('command').value);
  const examples = command ? command.examples : [];
  const option = (value, label) => {
    const node = element('option', '', label.length > 70 ? `${label.slice(0, 70)}…` : label);
    node.value = value;
    return node;
  };
  const select = byId('example');
  select.replaceChildren(option('', t.ownArguments), ...examples.map((example, i) => option(String(i), t.exampleOption(i + 1, example))));
  const current = examples.findIndex((example) => JSON.stringify(example) === JSON.stringify(args.values));
  select.value = current < 0 ? '' : String(current);
  select.disabled = examples.length === 0;
}

function renderRawCharset() {
  byId('raw-charset').textContent = text().rawCharset(charsetOf(byId('raw').value.replace(/\n/g, '\r\n')));
}

function renderMode() {
  byId('fields').hidden = state.mode !== 'fields';
  byId('raw-fields').hidden = state.mode !== 'raw';
  byId('mode-fields').setAttribute('aria-pressed', String(state.mode === 'fields'));
  byId('mode-raw').setAttribute('aria-pressed', String(state.mode === 'raw'));
  renderRawCharset();
  markCurrent();
}

function renderRequest() {
  renderMode();
  renderCommandInfo();
  renderExampleChoice();
  args.render();
}

function renderState() {
  const t = text();
  const messages = { loading: t.loading, ready: t.ready, failed: '' };
  byId('state').textContent = messages[state.loading];
}

function renderAnswer() {
  renderOutcome(byId('answer-body'), state.outcome, text(), {
    meaning: meaningOf,
    last: () => runner.last(),
    retry: () => {
      runner.retry();
      watchStart();
      state.outcome = null;
      renderAnswer();
      byId('run').focus();
    },
  });
}

function renderRuns() {
  runs.render(byId('runs'), text(), applyRequest);
  byId('clear-history').disabled = runs.runs.length === 0;
}

function renderAll() {
  renderLabels();
  renderCommandList();
  renderRequest();
  renderState();
  renderAnswer();
  renderRuns();
}

// Puts a request into the page: { command } alone takes the command's first example.
function applyRequest(request) {
  if ('raw' in request) {
    state.mode = 'raw';
    byId('raw').value = request.raw;
  } else {
    state.mode = 'fields';
    byId('command').value = request.command;
    args.set(request.args ?? commands.get(request.command).examples[0]);
  }
  renderRequest();
  updateLink();
}

function setMode(mode) {
  if (mode === 'raw' && state.mode !== 'raw') byId('raw').value = fieldsRequestText();
  state.mode = mode;
  renderMode();
  updateLink();
}

function setBusy(busy) {
  state.busy = busy;
  // Not disabled: a disabled button would lose the keyboard focus.
  byId('run').setAttribute('aria-disabled', String(busy));
  byId('answer').setAttribute('aria-busy', String(busy));
  if (!busy) byId('busy').hidden = true;
}

async function run() {
  if (state.busy) return;
  const request = currentRequest();
  setBusy(true);
  const timer = setTimeout(() => { byId('busy').hidden = false; }, BUSY_DELAY_MS);
  const started = performance.now();
  try {
    const answer = 'raw' in request
      ? await runner.runRaw(request.raw.replace(/\n/g, '\r\n'))
      : await runner.run(request.command, request.args);
    const command = 'raw' in request ? /^Argument0: (.*)$/m.exec(request.raw)?.[1] : request.command;
    state.outcome = { answer, ms: Math.round(performance.now() - started), command };
    runs.add(request, answer.status);
    renderRuns();
  } catch (error) {
    state.outcome = { error };
  }
  clearTimeout(timer);
  setBusy(false);
  renderAnswer();
  // How many requests have come back, whatever their outcome: what a test waits on.
  state.answered += 1;
  byId('answer').dataset.answered = String(state.answered);
}

function cancel() {
  runner.cancel();
  byId('run').focus();
}

byId('language').addEventListener('click', () => {
  state.language = state.language === 'ja' ? 'en' : 'ja';
  renderAll();
});
byId('skip').addEventListener('click', (event) => {
  event.preventDefault();
  byId(state.mode === 'raw' ? 'raw' : 'command').focus();
});
byId('mode-fields').addEventListener('click', () => setMode('fields'));
byId('mode-raw').addEventListener('click', () => setMode('raw'));
byId('command').addEventListener('input', () => {
  markCurrent();
  renderCommandInfo();
  renderExampleChoice();
  updateLink();
});
byId('add-argument').addEventListener('click', () => args.add());
byId('example').addEventListener('change', (event) => {
  const command = commands.get(byId('command').value);
  if (!command || event.target.value === '') return;
  args.set(command.examples[Number(event.target.value)]);
  args.render();
  updateLink();
});
byId('raw').addEventListener('input', () => {
  renderRawCharset();
  updateLink();
});
byId('run').addEventListener('click', run);
byId('cancel').addEventListener('click', cancel);
byId('clear-history').addEventListener('click', () => {
  runs.clear();
  renderRuns();
});
byId('reference-close').addEventListener('click', () => byId('reference-panel').close());
document.addEventListener('keydown', (event) => {
  if (event.key === 'Enter' && (event.ctrlKey || event.metaKey) && !event.isComposing) {
    event.preventDefault();
    run();
  } else if (event.key === 'Escape' && state.busy && !byId('reference-panel').open) {
    cancel();
  }
});
// A link edited or pasted in the address bar while the page is open.
window.addEventListener('hashchange', () => applyRequest(requestOfHash(location.hash, (name) => commands.has(name)) ?? defaultRequest));

applyRequest(requestOfHash(location.hash, (name) => commands.has(name)) ?? defaultRequest);
renderAll();
watchStart();
