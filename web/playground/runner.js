// Runs requests one at a time in a Web Worker made from the given source. A
// request that traps the module, fails or is cancelled costs only its worker,
// which is replaced by a fresh one at once.
export class RunError extends Error {
  // kind: 'trapped', 'failed' or 'cancelled'.
  constructor(kind, message) {
    super(message);
    this.kind = kind;
  }
}

export class Runner {
  #pending = new Map();
  #nextId = 0;

  constructor(workerSource, wasm) {
    this.url = URL.createObjectURL(new Blob([workerSource], { type: 'text/javascript' }));
    this.wasm = wasm;
    this.start();
  }

  // Starts a worker; `ready` settles when it has the module, or could not load it.
  start() {
    this.worker = new Worker(this.url);
    this.ready = new Promise((resolve, reject) => {
      this.starting = { resolve, reject };
    });
    this.ready.catch(() => {});
    this.worker.onmessage = ({ data }) => this.receive(data);
    this.worker.onerror = (event) => {
      event.preventDefault();
      this.receive({ type: 'trapped', message: event.message || 'worker error' });
    };
    this.worker.postMessage({ type: 'start', wasm: this.wasm });
  }

  // A worker that cannot start is started again only by retry or a cancel.
  receive(message) {
    if (this.starting) {
      if (message.type === 'ready') this.starting.resolve();
      else this.starting.reject(new RunError('failed', message.message));
      this.starting = null;
      return;
    }
    if (message.type === 'answer') this.#settle(message.id, message.answer);
    else this.#replace(new RunError(message.type, message.message));
  }

  #settle(id, answer) {
    const pending = this.#pending.get(id);
    this.#pending.delete(id);
    pending?.resolve(answer);
  }

  // Drops the worker for a fresh one; what was waiting on it fails with `error`.
  #replace(error) {
    this.worker.terminate();
    if (this.starting) this.starting.reject(error);
    this.start();
    for (const pending of this.#pending.values()) pending.reject(error);
    this.#pending.clear();
  }

  // Resolves to what the worker answers to `message`, or rejects with a RunError.
  async #ask(message) {
    await this.ready;
    const id = (this.#nextId += 1);
    return new Promise((resolve, reject) => {
      this.#pending.set(id, { resolve, reject });
      this.worker.postMessage({ ...message, id });
    });
  }

  // The answer to the command with its arguments.
  run(command, args) {
    return this.#ask({ type: 'run', command, args });
  }

  // The answer to a raw request text, sent in the charset its Charset line names.
  runRaw(text) {
    return this.#ask({ type: 'raw', text });
  }

  // { request, response }: the whole texts of the last answer, not cut short.
  last() {
    return this.#ask({ type: 'last' });
  }

  cancel() {
    this.#replace(new RunError('cancelled', ''));
  }

  // After a worker failed to start: another one.
  retry() {
    this.#replace(new RunError('failed', ''));
  }
}
