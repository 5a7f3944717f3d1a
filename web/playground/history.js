// The last runs, kept in the browser's localStorage so that they outlast the
// page: newest first, each request once, each one click from being restored.
// A browser that keeps nothing (storage turned off or full) simply has none.
import { element } from './render.js';

const KEY = 'tavo-playground-history';
const KEPT_RUNS = 50;
// A longer request (in characters) is not kept: the storage holds a few megabytes.
const KEPT_LIMIT = 20_000;

const sameRequest = (a, b) => JSON.stringify(a) === JSON.stringify(b);
const isText = (value) => typeof value === 'string';
// What the storage holds is checked: another page from disk may have written it.
const isRun = (run) => typeof run?.request === 'object' && Number.isInteger(run.status) &&
  (isText(run.request.raw) || (isText(run.request.command) && Array.isArray(run.request.args) && run.request.args.every(isText)));

export class RunHistory {
  // [{ request, status }]: request is { command, args } or { raw }.
  runs = [];

  constructor() {
    try {
      const runs = JSON.parse(localStorage.getItem(KEY) ?? '[]');
      if (Array.isArray(runs)) this.runs = runs.filter(isRun).slice(0, KEPT_RUNS);
    } catch {
      // nothing kept, or not readable
    }
  }

  add(request, status) {
    if (JSON.stringify(request).length > KEPT_LIMIT) return;
    this.runs = [{ request, status }, ...this.runs.filter((run) => !sameRequest(run.request, request))].slice(0, KEPT_RUNS);
    this.#save();
  }

  clear() {
    this.runs = [];
    this.#save();
  }

  #save() {
    try {
      localStorage.setItem(KEY, JSON.stringify(this.runs));
    } catch {
      // the storage is turned off or full: the runs stay for this visit only
    }
  }

  // The list of runs as buttons that call restore(request).
  render(list, t, restore) {
    list.replaceChildren();
    for (const run of this.runs) {
      const button = element('button', 'run-entry');
      button.type = 'button';
      const words = 'raw' in run.request ? [t.rawEntry, ...run.request.raw.split('\n').filter(Boolean)] : [run.request.command, ...run.request.args];
      const summary = words.join(' · ');
      button.append(element('span', `badge status-${String(run.status)[0]}xx`, String(run.status)),
                    element('code', '', summary.length > 120 ? `${summary.slice(0, 120)}…` : summary));
      button.addEventListener('click', () => restore(run.request));
      const item = element('li');
      item.append(button);
      list.append(item);
    }
    if (this.runs.length === 0) list.append(element('li', 'muted', t.noHistory));
  }
}
