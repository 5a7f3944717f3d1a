// The playground page: the command list, the request (a command and its
// arguments, or a raw request), running it in the worker and showing its
// answer, the link that holds the request and the history of runs, in
// Japanese or in English.
import { preferredLanguage, strings } from './strings.js';
import { charsetOf } from './charsets.js';
import { Runner } from './runner.js';
import { hashOf, requestOfHash } from './link.js';
import { RunHistory } from './history.js';
import { copyButton } from './copy.js';
import { ArgumentRows } from './arguments.js';
import { markCurrent, renderCommandInfo, renderCommandList, renderExampleChoice } from './commands.js';
import { meanings } from './messages.js';
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
  showExampleChoice();
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

const meaningOf = meanings(messages);

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

function showCommandList() {
  renderCommandList(byId('command-list'), groups, state.language, text(), (name) => applyRequest({ command: name }));
  showCurrent();
}

function showCurrent() {
  markCurrent(state.mode === 'fields' ? byId('command').value : null);
}

function showCommandInfo() {
  const name = byId('command').value;
  renderCommandInfo(byId('command-info'), name, commands.get(name), state.language, text(), (page, anchor) => {
    if (!panel.has(page)) return false;
    panel.open(page, anchor);
    return true;
  });
}

function showExampleChoice() {
  const command = commands.get(byId('command').value);
  renderExampleChoice(byId('example'), command ? command.examples : [], args.values, text());
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
  showCurrent();
}

function renderRequest() {
  renderMode();
  showCommandInfo();
  showExampleChoice();
  args.render();
}

function renderState() {
  const t = text();
  const messages = { loading: t.loading, ready: t.ready, failed: '' };
  byId('state').textContent = messages[state.loading];
}

function renderAnswer() {
  renderOutcome(byId('answer-body'), state.outcome, text(), {
    meaning: (answer) => (state.language === 'en' && answer.status === 400 ? meaningOf(state.outcome.command, answer.result.text) : null),
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
  showCommandList();
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
  showCurrent();
  showCommandInfo();
  showExampleChoice();
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
