// tavo.wasm in Node against the native module, timed in the same run: the
// small requests of bench/request_bench.cpp and `length` and `replace` on a
// 16 MiB text. Native and wasm take turns, case by case, for several rounds;
// the table shows the median time of each and the median of the per-round
// ratios, the steadier figure on a machine whose speed drifts.
//
// The native module is timed twice. As a host runs it, each 16 MiB block is
// mapped fresh by glibc's malloc and cleared by the system on first touch,
// which costs more than the work itself; "kept" runs it with malloc keeping
// its memory (GLIBC_TUNABLES), as the wasm instance does.
//
//   node bench/wasm/compare.mjs [ROUNDS]
//
// Needs build/wasm/tavo.wasm (the wasm preset) and
// build/bench/bench/request-timing (the bench preset, target request-timing).
// The wasm side goes through tavo.requestBytes, the native side through the
// request export; both copy the request in and release the answer.
import { spawnSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

import { createTavo } from "../../web/tavo.js";
import { executeRequest, repository } from "../../tests/wasm/support.mjs";

const rounds = Number(process.argv[2] ?? 5);
const nativeProgram = join(repository, "build", "bench", "bench", "request-timing");
const tavo = await createTavo(readFileSync(join(repository, "build", "wasm", "tavo.wasm")));

// Mixed Japanese and ASCII prose, as in bench/text_commands_bench.cpp, in
// whole copies up to 16 MiB.
const UNIT = Buffer.from("吾輩は猫である。名前はまだ無い。どこで生れたか、とんと見当がつかぬ。The cat sat, the dog ran; 1904. ");
const TEXT = Buffer.concat(Array(Math.floor((16 << 20) / UNIT.length)).fill(UNIT));

const small = (...args) => ({ args: args.map((arg) => Buffer.from(arg)), milliseconds: 300 });
const large = (...args) => ({ args: args.map((arg) => (typeof arg === "string" ? Buffer.from(arg) : arg)), milliseconds: 1500 });
const cases = {
  "substr あいうえお 1 2": small("substr", "あいうえお", "1", "2"),
  "replace abcabc b X": small("replace", "abcabc", "b", "X"),
  "zen2han ＡＢＣ１２３": small("zen2han", "ＡＢＣ１２３"),
  "sprintf %05d 42": small("sprintf", "%05d", "42"),
  "choice a b c": small("choice", "a", "b", "c"),
  "if 1<2 yes no": small("if", "1<2", "yes", "no"),
  "calc 1+2*3": small("calc", "1+2*3"),
  "calc_float 10/4": small("calc_float", "10/4"),
  "length 16 MiB": large("length", TEXT),
  "replace 16 MiB 猫→犬": large("replace", TEXT, "猫", "犬"),
};

// Mean nanoseconds per round trip through tavo.wasm, over at least `milliseconds`.
function timeWasm(request, milliseconds) {
  tavo.requestBytes(request);  // warm-up
  let count = 0;
  const start = performance.now();
  let elapsed = 0;
  for (let batch = 1; elapsed < milliseconds; batch *= 2) {
    for (let n = 0; n < batch; n++) tavo.requestBytes(request);
    count += batch;
    elapsed = performance.now() - start;
  }
  return (elapsed * 1e6) / count;
}

const KEPT_MEMORY = { ...process.env, GLIBC_TUNABLES: "glibc.malloc.mmap_threshold=1073741824:glibc.malloc.trim_threshold=4294967295" };

function timeNative(file, milliseconds, env = process.env) {
  const run = spawnSync(nativeProgram, [file, String(milliseconds)], { encoding: "utf8", env });
  if (run.status !== 0) throw new Error(`${nativeProgram}: ${run.error ?? run.stderr}`);
  return Number(run.stdout);
}

const median = (numbers) => {
  const sorted = [...numbers].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

const folder = mkdtempSync(join(tmpdir(), "tavo-bench-"));
const results = Object.entries(cases).map(([name, { args, milliseconds }]) => {
  const request = new Uint8Array(executeRequest(args));
  const file = join(folder, `${Object.keys(cases).indexOf(name)}.request`);
  writeFileSync(file, request);
  return { name, request, file, milliseconds, native: [], kept: [], wasm: [] };
});
for (let round = 1; round <= rounds; round++) {
  for (const result of results) {
    result.native.push(timeNative(result.file, result.milliseconds));
    result.kept.push(timeNative(result.file, result.milliseconds, KEPT_MEMORY));
    result.wasm.push(timeWasm(result.request, result.milliseconds));
  }
  process.stderr.write(`round ${round} of ${rounds}\n`);
}
rmSync(folder, { recursive: true });

const shown = (nanoseconds) =>
  nanoseconds >= 1e6 ? `${(nanoseconds / 1e6).toFixed(1)} ms` : `${(nanoseconds / 1e3).toFixed(2)} µs`;
const ratio = (wasm, native) => `${median(native.map((time, i) => wasm[i] / time)).toFixed(2)}×`;
const columns = ["native", "kept", "wasm", "wasm/native", "wasm/kept"];
console.log(`${"request".padEnd(24)}${columns.map((column) => column.padStart(13)).join("")}`);
for (const { name, native, kept, wasm } of results) {
  const cells = [shown(median(native)), shown(median(kept)), shown(median(wasm)), ratio(wasm, native), ratio(wasm, kept)];
  console.log(`${name.padEnd(24)}${cells.map((cell) => cell.padStart(13)).join("")}`);
}
