// tavo.wasm for JavaScript, the same in browsers (a page or a Web Worker) and
// in Node 18 and later: no framework, no bundler, no network, no node: imports.
//
//   import { createTavo } from "./tavo.js";
//   const tavo = await createTavo(await (await fetch("tavo.wasm")).arrayBuffer());
//   tavo.execute("calc", "1+2*3").result;   // "7"
//
// The module answers the text protocol: request(text) sends one request and
// gives the response text; execute(command, ...args) builds the EXECUTE
// request and reads the response's status, Result and Values, which
// parseResponse(text) reads from any response text. A trap inside
// the module (a request that needs more memory than MEMORY_LIMIT_BYTES, for
// one) throws a TavoTrapError after the instance has been replaced by a fresh
// one, so the next call is answered as usual.

// The memory an instance may grow to, set when tavo.wasm is linked
// (--max-memory in CMakeLists.txt): 256 MiB.
export const MEMORY_LIMIT_BYTES = 256 * 1024 * 1024;

// Thrown when the module trapped; the Tavo has already been given a fresh
// instance. `cause` holds what the engine reported, when there was something.
export class TavoTrapError extends Error {
  constructor(message, options) {
    super(message, options);
    this.name = "TavoTrapError";
  }
}

const encoder = new TextEncoder();
const decoder = new TextDecoder();
const MEBIBYTE = 1024 * 1024;

// WASI preview 1 errno values.
const ERRNO_SUCCESS = 0;
const ERRNO_BADF = 8;
const ERRNO_INVAL = 28;
const ERRNO_SPIPE = 70;

const isStandardStream = (fd) => fd >= 0 && fd <= 2;

// The WASI functions tavo.wasm imports, and no others. The module reads the
// clock to seed its random generator, and the C library writes a message to
// stderr before it traps (for one, when an allocation fails); `output.stderr`
// keeps the end of it for the error. The module has no files, no arguments
// and no environment.
function wasiImports(memory, output) {
  const view = () => new DataView(memory().buffer);
  return {
    clock_time_get(id, _precision, timePointer) {
      // 0: the wall clock; 1 and up: a monotonic clock (process and thread
      // time are not told apart).
      if (id < 0 || id > 3) return ERRNO_INVAL;
      const milliseconds = id === 0 ? Date.now() : performance.now();
      view().setBigUint64(timePointer, BigInt(Math.round(milliseconds * 1e6)), true);
      return ERRNO_SUCCESS;
    },
    fd_close(fd) {
      return isStandardStream(fd) ? ERRNO_SUCCESS : ERRNO_BADF;
    },
    fd_seek(fd) {
      return isStandardStream(fd) ? ERRNO_SPIPE : ERRNO_BADF;
    },
    fd_write(fd, iovs, iovsLength, writtenPointer) {
      if (!isStandardStream(fd)) return ERRNO_BADF;
      const data = view();
      let written = 0;
      for (let i = 0; i < iovsLength; i++) {
        const start = data.getUint32(iovs + i * 8, true);
        const length = data.getUint32(iovs + i * 8 + 4, true);
        if (fd === 2) {
          const text = decoder.decode(new Uint8Array(data.buffer, start, Math.min(length, 1024)));
          output.stderr = (output.stderr + text).slice(-1024);
        }
        written += length;
      }
      data.setUint32(writtenPointer, written, true);
      return ERRNO_SUCCESS;
    },
  };
}

// The instance's memory as bytes. The view is kept while the memory keeps its
// buffer: growing the memory detaches the old buffer, which then has no bytes.
function memoryBytes(running) {
  if (running.bytes.byteLength === 0) running.bytes = new Uint8Array(running.exports.memory.buffer);
  return running.bytes;
}

// A running instance is { exports, output, bytes }: its exports once started,
// what the module wrote to stderr, and the view of its memory.
function newRunning() {
  const running = { exports: null, output: { stderr: "" }, bytes: new Uint8Array(0) };
  const imports = { wasi_snapshot_preview1: wasiImports(() => running.exports.memory, running.output) };
  return { running, imports };
}

function initialized(running, instance) {
  running.exports = instance.exports;
  running.exports._initialize();
  return running;
}

async function startInstance(module) {
  const { running, imports } = newRunning();
  return initialized(running, await WebAssembly.instantiate(module, imports));
}

// The same, synchronously: for the rare trap that comes before the spare
// instance is ready. Browsers refuse it on a page's main thread.
function startInstanceNow(module) {
  const { running, imports } = newRunning();
  return initialized(running, new WebAssembly.Instance(module, imports));
}

function requestBytesOf(text) {
  if (typeof text !== "string") throw new TypeError("request(text) takes a string");
  return encoder.encode(text);
}

// "EXECUTE SAORI/1.0" with Argument0 the command and Argument1… the arguments,
// as a host sends it. Every line ends with CR LF, so a line break inside an
// argument would end its line early and let the rest be read as a line of its
// own: such an argument is refused.
function executeRequest(command, args) {
  let text = "EXECUTE SAORI/1.0\r\nCharset: UTF-8\r\n";
  [command, ...args].forEach((argument, n) => {
    const value = String(argument);
    if (/[\r\n]/.test(value)) {
      throw new TypeError(`execute: Argument${n} holds a line break (CR or LF), which a request cannot carry inside an argument`);
    }
    text += `Argument${n}: ${value}\r\n`;
  });
  return text + "\r\n";
}

// The status line, the status code, the Result and the Values of a response
// text, as execute reads them: { status, statusLine, result, values }. A
// Result the response lacks reads as the empty text.
export function parseResponse(response) {
  const lines = response.split("\r\n");
  const statusLine = lines[0];
  const status = Number(statusLine.split(" ")[1]);
  let result = "";
  const values = [];
  for (const line of lines.slice(1)) {
    const separator = line.indexOf(": ");
    if (separator < 0) continue;
    const key = line.slice(0, separator);
    const value = line.slice(separator + 2);
    const valueIndex = /^Value(0|[1-9][0-9]*)$/.exec(key);
    if (key === "Result") result = value;
    else if (valueIndex) values[Number(valueIndex[1])] = value;
  }
  return { status, statusLine, result, values: Array.from(values, (value) => value ?? "") };
}

export class Tavo {
  #module;
  #running;
  #spare;
  #preparing = false;

  // Use createTavo.
  constructor(module, running, spare) {
    this.#module = module;
    this.#running = running;
    this.#spare = spare;
  }

  // One request, its response: texts in UTF-8 both ways.
  request(text) {
    return decoder.decode(this.requestBytes(requestBytesOf(text)));
  }

  // One request, its response: bytes, for requests that are not UTF-8.
  requestBytes(bytes) {
    if (!(bytes instanceof Uint8Array)) throw new TypeError("requestBytes(bytes) takes a Uint8Array");
    if (bytes.length > MEMORY_LIMIT_BYTES) {
      throw new TavoTrapError(`a request of ${bytes.length} bytes is larger than the memory ceiling (${MEMORY_LIMIT_BYTES / MEBIBYTE} MiB)`);
    }
    const running = this.#ready();
    const { exports, output } = running;
    output.stderr = "";
    try {
      const buffer = exports.tavo_request_buffer(bytes.length);
      if (buffer === 0) {
        throw new TavoTrapError(`a request of ${bytes.length} bytes does not fit under the memory ceiling (${MEMORY_LIMIT_BYTES / MEBIBYTE} MiB)`);
      }
      memoryBytes(running).set(bytes, buffer);
      const response = exports.tavo_request(buffer, bytes.length);
      const length = exports.tavo_response_length();
      const answer = memoryBytes(running).slice(response, response + length);
      exports.tavo_release(response);
      return answer;
    } catch (error) {
      this.#replace();
      if (error instanceof TavoTrapError) throw error;
      throw new TavoTrapError(trapMessage(error, output.stderr), { cause: error });
    }
  }

  // Sends `command` with `args` (each turned into a string) as an EXECUTE
  // request: { status, statusLine, result, values, request, response }. An
  // argument holding CR or LF throws a TypeError and nothing is sent.
  execute(command, ...args) {
    const request = executeRequest(command, args);
    const response = this.request(request);
    return { ...parseResponse(response), request, response };
  }

  // The instance to call: after a trap that came before the spare was ready,
  // the spare if it is ready by now.
  #ready() {
    if (this.#running === null && this.#spare !== null) this.#takeSpare();
    if (this.#running === null) {
      this.#prepareSpare();
      throw new TavoTrapError("the module trapped and its fresh instance is not ready yet; try again shortly");
    }
    return this.#running;
  }

  // Starts making the spare instance unless one is on its way.
  #prepareSpare() {
    if (this.#preparing) return;
    this.#preparing = true;
    startInstance(this.#module)
      .then((spare) => {
        this.#spare = spare;
      })
      .catch(() => {})  // no spare: the next trap or call tries again
      .finally(() => {
        this.#preparing = false;
      });
  }

  #takeSpare() {
    this.#running = this.#spare;
    this.#spare = null;
    this.#prepareSpare();
  }

  // Drops the trapped instance (and its memory) for a fresh one: the spare,
  // or one made on the spot, which a page's main thread refuses; then the
  // spare on its way serves the calls once it is ready.
  #replace() {
    this.#running = null;
    if (this.#spare !== null) {
      this.#takeSpare();
      return;
    }
    try {
      this.#running = startInstanceNow(this.#module);
    } catch {
      this.#prepareSpare();
    }
  }
}

// What went wrong, from the engine's error and what the module wrote to
// stderr before it trapped.
function trapMessage(error, stderr) {
  const reported = [error instanceof Error ? `${error.name}: ${error.message}` : String(error), stderr.trim()]
    .filter((part) => part !== "")
    .join("; ");
  const cause = /bad_alloc|length_error/.test(stderr)
    ? `the request needed more memory than the ceiling (${MEMORY_LIMIT_BYTES / MEBIBYTE} MiB)`
    : "the module trapped";
  return `${cause} (${reported}); the instance was replaced by a fresh one`;
}

// A Tavo over `wasm`: a WebAssembly.Module, or the bytes of tavo.wasm as an
// ArrayBuffer or a typed array. A second instance is kept ready to replace one
// that traps.
export async function createTavo(wasm) {
  const module = wasm instanceof WebAssembly.Module ? wasm : await WebAssembly.compile(wasm);
  const [running, spare] = await Promise.all([startInstance(module), startInstance(module)]);
  return new Tavo(module, running, spare);
}
