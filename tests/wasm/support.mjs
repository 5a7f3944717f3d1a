// What the Node tests of tavo.wasm share: the module file, the protocol case
// files (the format of tests/protocol/case_file.h) and the request/response
// examples of the documentation (the rules of tests/protocol/docs_examples.cpp).
import { readFileSync, readdirSync } from "node:fs";
import { dirname, join, relative } from "node:path";
import { fileURLToPath } from "node:url";

import { createTavo } from "../../web/tavo.js";

export const repository = join(dirname(fileURLToPath(import.meta.url)), "..", "..");

// CTest names the module in TAVO_WASM_FILE; by hand, the wasm preset's file.
export const wasmFile = process.env.TAVO_WASM_FILE ?? join(repository, "build", "wasm", "tavo.wasm");

export function newTavo() {
  return createTavo(readFileSync(wasmFile));
}

const bytes = (text) => Buffer.from(text, "latin1");
const CRLF = bytes("\r\n");

// The lines of a file as bytes, without their line ends.
function fileLines(path) {
  const content = readFileSync(path);
  const lines = [];
  let start = 0;
  while (start < content.length) {
    let end = content.indexOf(0x0a, start);
    if (end < 0) end = content.length;
    let line = content.subarray(start, end);
    if (line.length > 0 && line[line.length - 1] === 0x0d) line = line.subarray(0, line.length - 1);
    lines.push(line);
    start = end + 1;
  }
  return lines;
}

const ESCAPES = { 0x5c: 0x5c, 0x72: 0x0d, 0x6e: 0x0a, 0x74: 0x09, 0x30: 0x00 };

// The bytes of a case text with its escapes \\ \r \n \t \0 and \xHH; null when malformed.
function unescape(text) {
  const out = [];
  for (let i = 0; i < text.length; i++) {
    if (text[i] !== 0x5c) {
      out.push(text[i]);
      continue;
    }
    if (++i === text.length) return null;
    if (text[i] in ESCAPES) {
      out.push(ESCAPES[text[i]]);
    } else if (text[i] === 0x78 && i + 2 < text.length) {
      const digits = text.subarray(i + 1, i + 3).toString("latin1");
      if (!/^[0-9a-fA-F]{2}$/.test(digits)) return null;
      out.push(Number.parseInt(digits, 16));
      i += 2;
    } else {
      return null;
    }
  }
  return Buffer.from(out);
}

const STATUS_WORDS = { 200: "OK", 204: "No Content", 400: "Bad Request" };

// The EXECUTE request a host sends for these arguments (Argument0 first).
export function executeRequest(args, charset = "UTF-8") {
  const parts = [bytes(`EXECUTE SAORI/1.0\r\nCharset: ${charset}\r\n`)];
  args.forEach((argument, n) => parts.push(bytes(`Argument${n}: `), argument, CRLF));
  parts.push(CRLF);
  return Buffer.concat(parts);
}

// A case being read; its short form becomes bytes when the case ends.
function newDraft(name, location) {
  return {
    name, location, disk: false, charset: "UTF-8", request: [], expected: [], args: null, status: 0, result: null,
    values: [],
  };
}

function finishCase(draft) {
  const request = draft.args ? executeRequest(draft.args, draft.charset) : Buffer.concat(draft.request);
  let expected = Buffer.concat(draft.expected);
  if (draft.status !== 0) {
    const words = STATUS_WORDS[draft.status] ?? "Internal Server Error";
    const parts = [bytes(`SAORI/1.0 ${draft.status} ${words}\r\nCharset: ${draft.charset}\r\n`)];
    if (draft.result) parts.push(bytes("Result: "), draft.result, CRLF);
    draft.values.forEach((value, n) => parts.push(bytes(`Value${n}: `), value, CRLF));
    parts.push(CRLF);
    expected = Buffer.concat(parts);
  }
  return { name: draft.name, location: draft.location, disk: draft.disk, request, expected };
}

// Every case of one .cases file: { name, location, disk, request, expected }.
// A case with the line "@ disk" answers from the file system.
export function readCaseFile(path) {
  const cases = [];
  let draft = null;
  fileLines(path).forEach((line, index) => {
    const where = `${relative(repository, path)}:${index + 1}`;
    if (line.length === 0 || line[0] === 0x23) return;  // blank or "#"
    const fail = (why) => {
      throw new Error(`${where}: ${why}`);
    };
    if (line.subarray(0, 3).toString("latin1") === "== ") {
      if (draft) cases.push(finishCase(draft));
      draft = newDraft(line.subarray(3).toString("utf8"), where);
      return;
    }
    // The marker is one or two characters (a second "=", or "*" or "$" after
    // "$"), then an optional single space.
    const head = line.subarray(0, 2).toString("latin1");
    const twoCharacters = line.length >= 2 && (head[1] === "=" || head === "$*" || head === "$$");
    const marker = twoCharacters ? head : head.slice(0, 1);
    let text = line.subarray(marker.length);
    if (text.length > 0) {
      if (text[0] !== 0x20) fail(`expected a space after '${marker}'`);
      text = text.subarray(1);
    }
    const value = draft ? unescape(text) : null;
    if (value === null) fail("malformed line");
    const add = (argument) => (draft.args ??= []).push(argument);
    switch (marker) {
      case "@":
        if (value.toString("latin1") !== "disk") fail(`unknown marker '@ ${value.toString("utf8")}'`);
        draft.disk = true;
        break;
      case "%":
        draft.charset = value.toString("latin1");
        break;
      case "$":
        add(value);
        break;
      case "$*":
      case "$$": {
        const space = value.indexOf(0x20);
        const count = Number.parseInt(value.subarray(0, space < 0 ? value.length : space).toString("latin1"), 10);
        if (space < 0 || !(count > 0)) fail("expected a count and a text");
        const unit = value.subarray(space + 1);
        if (marker === "$$") for (let n = 0; n < count; n++) add(unit);
        else add(Buffer.concat(Array(count).fill(unit)));
        break;
      }
      case "!":
        draft.status = Number.parseInt(value.toString("latin1"), 10) || 0;
        break;
      case "=":
        draft.result = value;
        break;
      case "+":
        draft.values.push(value);
        break;
      case ">":
        draft.request.push(value, CRLF);
        break;
      case ">=":
        draft.request.push(value);
        break;
      case "<":
        draft.expected.push(value, CRLF);
        break;
      case "<=":
        draft.expected.push(value);
        break;
      default:
        fail(`unknown marker '${marker}'`);
    }
  });
  if (draft) cases.push(finishCase(draft));
  return cases;
}

export function caseFiles() {
  const directory = join(repository, "tests", "protocol", "cases");
  return readdirSync(directory).filter((name) => name.endsWith(".cases")).sort().map((name) => join(directory, name));
}

function markdownFiles(directory) {
  return readdirSync(directory, { withFileTypes: true })
    .flatMap((entry) => {
      const path = join(directory, entry.name);
      if (entry.isDirectory()) return markdownFiles(path);
      return entry.name.endsWith(".md") ? [path] : [];
    })
    .sort();
}

// The messages of the plain fenced blocks of one Markdown file, in order: a
// message ends at an empty line or at the end of its block.
function fileMessages(path) {
  const messages = [];
  const shownName = relative(join(repository, "docs"), path);
  let plain = false;
  let other = false;
  let current = null;
  const close = () => {
    if (current) messages.push(current);
    current = null;
  };
  readFileSync(path, "utf8").split("\n").forEach((line, index) => {
    if (line.startsWith("```")) {
      if (plain) close();
      if (plain || other) plain = other = false;
      else if (line === "```") plain = true;
      else other = true;
      return;
    }
    if (!plain) return;
    if (line === "") return close();
    current ??= { location: `${shownName}:${index + 1}`, lines: [] };
    current.lines.push(line);
  });
  return messages;
}

const wireText = (lines) => lines.map((line) => `${line}\r\n`).join("") + "\r\n";

function header(lines, key) {
  const line = lines.find((candidate) => candidate.startsWith(`${key}: `));
  return line === undefined ? null : line.slice(key.length + 2);
}

// The responses the documentation allows: the one shown, or for `choice` the
// one shown with its Result replaced by any argument.
function acceptedResponses(request, response) {
  if (header(request, "Argument0") !== "choice" || header(request, "Argument1") === null) {
    return [wireText(response)];
  }
  const accepted = [];
  for (let i = 1; header(request, `Argument${i}`) !== null; i++) {
    const argument = header(request, `Argument${i}`);
    accepted.push(wireText(response.map((line) => (line.startsWith("Result: ") ? `Result: ${argument}` : line))));
  }
  return accepted;
}

// Every documented request with its shown response, from every .md under
// docs/: { location, request, shown, accepted, disk }, `disk` for lsimg and
// mkdir, which answer from the file system.
export function docsExamples() {
  const examples = [];
  for (const file of markdownFiles(join(repository, "docs"))) {
    const messages = fileMessages(file);
    messages.forEach((message, i) => {
      if (!message.lines[0].startsWith("SAORI/")) return;
      const previous = messages[i - 1];
      if (previous === undefined || previous.lines[0].startsWith("SAORI/")) {
        examples.push({ location: message.location, request: null });
        return;
      }
      examples.push({
        location: previous.location,
        request: wireText(previous.lines),
        shown: wireText(message.lines),
        accepted: acceptedResponses(previous.lines, message.lines),
        disk: ["lsimg", "mkdir"].includes(header(previous.lines, "Argument0")),
      });
    });
  }
  return examples;
}
