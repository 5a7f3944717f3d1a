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
  constructor(workerSource, wasm) {
    this.url = URL.createObjectURL(new Blob([workerSource], { type: 'text/javascript' }));
    this.wasm = wasm;
    this.pending = null;
    this.start();
  }

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

  // A worker that cannot start is not started again until the next cancel.
  receive(message) {
    if (this.starting) {
      if (message.type === 'ready') this.starting.resolve();
      else this.starting.reject(new RunError('failed', message.message));
      this.starting = null;
      return;
    }
    if (message.type === 'answer') this.finish(message.answer, false);
    else this.finish(new RunError(message.type, message.message), true);
  }

  // Settles the pending request; a worker that failed is replaced first.
  finish(outcome, replace) {
    if (replace) {
      this.worker.terminate();
      if (this.starting) this.starting.reject(outcome);
      this.start();
    }
    const pending = this.pending;
    this.pending = null;
    if (!pending) return;
    if (outcome instanceof RunError) pending.reject(outcome);
    else pending.resolve(outcome);
  }

  // Resolves to the answer the worker sends, or rejects with a RunError.
  async run(command, args) {
    await this.ready;
    return new Promise((resolve, reject) => {
      this.pending = { resolve, reject };
      this.worker.postMessage({ type: 'run', command, args });
    });
  }

  cancel() {
    this.finish(new RunError('cancelled', ''), true);
  }
}
