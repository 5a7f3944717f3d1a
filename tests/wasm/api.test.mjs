// The JavaScript API of web/tavo.js over tavo.wasm: execute's fields, texts in
// Japanese, bytes that are not UTF-8, the memory ceiling and what a trap does.
import assert from "node:assert/strict";
import { mkdtempSync, readFileSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { test } from "node:test";

import { MEMORY_LIMIT_BYTES, TavoTrapError, createTavo, parseResponse } from "../../web/tavo.js";
import { newTavo, readCaseFile, wasmFile } from "./support.mjs";

const tavo = await newTavo();

// command and arguments → status, Result and Values.
const executions = [
  [["calc", "1+2*3"], 200, "7", []],
  [["substr", "あいうえお", 1, 2], 200, "いう", []],
  [["length", "aあ😀"], 200, "3", []],
  [["zen2han", "ＡＢＣ１２３！"], 200, "ABC123!", []],
  [["hira2kata", "ひらがなとカタカナ"], 200, "ヒラガナトカタカナ", []],
  [["split", "りんご、みかん", "、"], 200, "2", ["りんご", "みかん"]],
  [["sprintf", "%05d", "－４２"], 200, "-0042", []],
  [["lsimg", "."], 200, "0", []],
  [["mkdir", "data"], 200, "0", []],
  [["no_such_command"], 400, "Error: 'no_such_command'という名前の命令は定義されていません。", []],
];

for (const [args, status, result, values] of executions) {
  test(`execute ${args.join(" ")}`, () => {
    const answer = tavo.execute(...args);
    assert.equal(answer.status, status);
    assert.equal(answer.result, result);
    assert.deepEqual(answer.values, values);
    assert.match(answer.statusLine, new RegExp(`^SAORI/1\\.0 ${status} `));
    assert.equal(answer.response, tavo.request(answer.request));
    const { request, response, ...read } = answer;
    assert.deepEqual(parseResponse(response), read);
  });
}

test("execute gives the raw request and response", () => {
  const answer = tavo.execute("if", "1<2", "はい", "いいえ");
  assert.equal(answer.request, "EXECUTE SAORI/1.0\r\nCharset: UTF-8\r\nArgument0: if\r\nArgument1: 1<2\r\nArgument2: はい\r\nArgument3: いいえ\r\n\r\n");
  assert.equal(answer.response, "SAORI/1.0 200 OK\r\nCharset: UTF-8\r\nResult: はい\r\n\r\n");
});

// A line break would end the argument's line early; execute refuses it and names the argument.
const lineBreaks = [
  [["length", "a\r\nb"], "Argument1"],
  [["substr", "x", "1\nArgument3: 3"], "Argument2"],
  [["len\rgth", "a"], "Argument0"],
];

for (const [args, named] of lineBreaks) {
  test(`execute refuses a line break in ${named}`, () => {
    assert.throws(() => tavo.execute(...args), (error) => error instanceof TypeError && error.message.includes(named));
    assert.equal(tavo.execute("calc", "1+1").result, "2");
  });
}

test("choice answers one of its arguments", () => {
  const choices = ["大吉", "吉", "凶"];
  for (let i = 0; i < 20; i++) assert.ok(choices.includes(tavo.execute("choice", ...choices).result));
});

test("requestBytes carries bytes that are not UTF-8", () => {
  const request = Buffer.from("EXECUTE SAORI/1.0\r\nArgument0: length\r\nArgument1: \xff\xfe\r\n\r\n", "latin1");
  const response = Buffer.from(tavo.requestBytes(new Uint8Array(request))).toString("latin1");
  assert.match(response, /^SAORI\/1\.0 200 OK\r\n/);
});

test("createTavo takes a WebAssembly.Module, an ArrayBuffer or a typed array", async () => {
  const bytes = readFileSync(wasmFile);
  const arrayBuffer = bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.length);
  for (const wasm of [await WebAssembly.compile(bytes), arrayBuffer, new Uint8Array(bytes)]) {
    assert.equal((await createTavo(wasm)).execute("calc", "6*7").result, "42");
  }
});

// The maximum of the module's memory, in bytes, from its memory section.
function declaredMemoryMaximum(bytes) {
  let at = 8;
  const leb = () => {
    let value = 0;
    for (let shift = 1; ; shift *= 128) {
      const byte = bytes[at++];
      value += (byte & 0x7f) * shift;
      if (byte < 0x80) return value;
    }
  };
  while (at < bytes.length) {
    const id = bytes[at++];
    const size = leb();
    if (id === 5) {
      leb();  // the count of memories: one
      const flags = leb();
      leb();  // the initial size
      return flags & 1 ? leb() * 65536 : null;
    }
    at += size;
  }
  return null;
}

test("MEMORY_LIMIT_BYTES is the module's memory maximum", () => {
  assert.equal(declaredMemoryMaximum(readFileSync(wasmFile)), MEMORY_LIMIT_BYTES);
});

// Requests that need more memory than the ceiling: each traps, the next call
// is answered by a fresh instance; twice in a row, too.
const traps = [
  ["replace", "a".repeat(1 << 20), "a", "b".repeat(200)],
  ["replace", "a".repeat(1 << 20), "a", "b".repeat(150)],
];

test("a trap throws TavoTrapError and a fresh instance answers the next call", async () => {
  const own = await newTavo();
  for (const args of traps) {
    assert.throws(() => own.execute(...args), (error) => {
      assert.ok(error instanceof TavoTrapError);
      assert.equal(error.name, "TavoTrapError");
      assert.match(error.message, /more memory than the ceiling \(256 MiB\)/);
      assert.ok(error.cause instanceof WebAssembly.RuntimeError);
      return true;
    });
    assert.equal(own.execute("substr", "あいうえお", 1, 2).result, "いう");
  }
});

test("where instances cannot be made synchronously, a second trap is served once the spare is ready", async () => {
  const own = await newTavo();
  const { Instance } = WebAssembly;
  // A page's main thread refuses synchronous instantiation of a module this large.
  WebAssembly.Instance = function refused() {
    throw new RangeError("WebAssembly.Instance is disallowed on the main thread");
  };
  try {
    for (const args of traps) assert.throws(() => own.execute(...args), TavoTrapError);
    assert.throws(() => own.execute("calc", "1+1"), /not ready yet/);
    let answer = null;
    while (answer === null) {
      await new Promise((resolve) => setTimeout(resolve, 10));
      try {
        answer = own.execute("calc", "1+1").result;
      } catch (error) {
        assert.match(error.message, /not ready yet/);
      }
    }
    assert.equal(answer, "2");
  } finally {
    WebAssembly.Instance = Instance;
  }
});

test("a request larger than the ceiling is refused and the instance goes on", () => {
  assert.throws(() => tavo.requestBytes(new Uint8Array(MEMORY_LIMIT_BYTES + 1)), TavoTrapError);
  assert.equal(tavo.execute("calc", "1+1").result, "2");
});

test("the case reader marks a case with '@ disk'", () => {
  const file = join(mkdtempSync(join(tmpdir(), "tavo-cases-")), "disk.cases");
  writeFileSync(file, "== listed\n@ disk\n$ lsimg\n$ img\n! 200\n= 0\n\n== counted\n$ length\n$ abc\n! 200\n= 3\n");
  assert.deepEqual(readCaseFile(file).map((c) => [c.name, c.disk]), [["listed", true], ["counted", false]]);
});
