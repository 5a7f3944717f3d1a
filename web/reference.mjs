// Reads the command reference in docs/: its pages in the order docs/README.md
// lists them, in each page the commands with the first sentence of their
// section and the arguments of each of their example requests, and the
// English meaning of each message the module answers.
import { existsSync, readFileSync } from 'node:fs';
import { join } from 'node:path';

const commandHeading = /^(#{2,3}) ([a-z][a-z0-9_]*)$/;
const anyHeading = /^(#{1,6}) /;

// The pages of docs/commands/ in the order of docs/README.md, e.g. "text".
function pageNames(docs) {
  const index = readFileSync(join(docs, 'README.md'), 'utf8');
  const names = [...index.matchAll(/\]\(commands\/([a-z]+)\.md\)/g)].map((m) => m[1]);
  if (names.length === 0) throw new Error(`${docs}/README.md lists no command pages`);
  return names;
}

// The lines of a section: from its heading to the next heading of its level or above.
function sectionLines(lines, start, level) {
  let end = start + 1;
  while (end < lines.length) {
    const heading = anyHeading.exec(lines[end]);
    if (heading && heading[1].length <= level) break;
    end += 1;
  }
  return lines.slice(start + 1, end);
}

// The first sentence of the section's first paragraph.
function summary(lines) {
  const start = lines.findIndex((line) => line.trim() !== '');
  if (start < 0) return '';
  const end = lines.findIndex((line, i) => i > start && line.trim() === '');
  const paragraph = lines.slice(start, end < 0 ? undefined : end).join(' ').trim();
  const sentence = /^.*?(?:\.(?= |$)|。)/.exec(paragraph);
  return sentence ? sentence[0] : paragraph;
}

// The arguments of each EXECUTE request in the section that names the
// command, each list once: "ArgumentN: value" lines, the value being
// everything after ": "; a missing index is an empty argument, as the module
// reads it.
function examples(lines, command) {
  const found = new Map();
  for (let i = 0; i < lines.length; i += 1) {
    if (lines[i] !== '```' || lines[i + 1] !== 'EXECUTE SAORI/1.0') continue;
    const values = new Map();
    for (let j = i + 2; j < lines.length && lines[j] !== '```' && lines[j] !== ''; j += 1) {
      const m = /^Argument(\d+):(?: (.*))?$/.exec(lines[j]);
      if (m) values.set(Number(m[1]), m[2] ?? '');
    }
    if (values.get(0) !== command) continue;
    const last = Math.max(0, ...values.keys());
    const args = Array.from({ length: last }, (_, k) => values.get(k + 1) ?? '');
    found.set(JSON.stringify(args), args);
  }
  return [...found.values()];
}

function readPage(file) {
  const lines = readFileSync(file, 'utf8').split(/\r?\n/);
  const title = (lines.find((line) => line.startsWith('# ')) ?? '').slice(2).trim();
  const commands = [];
  lines.forEach((line, i) => {
    const heading = commandHeading.exec(line);
    if (!heading) return;
    const section = sectionLines(lines, i, heading[1].length);
    commands.push({
      name: heading[2],
      summary: summary(section),
      examples: examples(section, heading[2]),
    });
  });
  return { title, commands };
}

// [{ page, title, commands: [{ name, examples, summary, summaryJa, hasJa }] }]:
// summaryJa and hasJa come from the Japanese page of the same name, where
// docs/ja/commands/ has it.
export function readReference(docs) {
  return pageNames(docs).map((page) => {
    const { title, commands } = readPage(join(docs, 'commands', `${page}.md`));
    const jaFile = join(docs, 'ja', 'commands', `${page}.md`);
    const ja = existsSync(jaFile) ? readPage(jaFile).commands : [];
    for (const command of commands) {
      if (command.examples.length === 0) {
        throw new Error(`docs/commands/${page}.md: ${command.name} has no example request`);
      }
      const jaCommand = ja.find((c) => c.name === command.name);
      command.hasJa = Boolean(jaCommand);
      command.summaryJa = jaCommand ? jaCommand.summary : '';
    }
    return { page, title, commands };
  });
}

// "…" in a message stands for any text, and so does a quoted example in it.
const messagePattern = (message) => message.replace(/'[^']*'/g, "'…'");

// The rows of a page's Messages table, "| `message` | meaning | commands |";
// a meaning "the same for …" repeats the one above.
function tableMessages(lines) {
  const start = lines.indexOf('## Messages');
  if (start < 0) return [];
  const messages = [];
  for (const row of sectionLines(lines, start, 2)) {
    const cells = /^\| `([^`]+)` \| (.+?) \| (.+) \|$/.exec(row);
    if (!cells) continue;
    messages.push({
      message: messagePattern(cells[1]),
      meaning: cells[2].startsWith('the same for ') ? messages.at(-1).meaning : cells[2],
      commands: [...cells[3].matchAll(/`([a-z][a-z0-9_]*)`/g)].map((m) => m[1]),
    });
  }
  return messages;
}

// The messages a command's section gives in its 400 row without a Messages
// table listing them: "| 400 | "message" when meaning |".
function statusRowMessages(lines, listed) {
  const messages = [];
  lines.forEach((line, i) => {
    const heading = commandHeading.exec(line);
    if (!heading) return;
    for (const row of sectionLines(lines, i, heading[1].length)) {
      const cells = /^\| 400 \| "([^"]+)" when (.+?) \|$/.exec(row);
      if (cells && !listed.some((m) => m.commands.includes(heading[2]))) {
        messages.push({ message: messagePattern(cells[1]), meaning: cells[2], commands: [heading[2]] });
      }
    }
  });
  return messages;
}

// The dispatcher's messages in protocol.md, "- meaning: `message`", for every command.
function dispatcherMessages(docs) {
  const text = readFileSync(join(docs, 'protocol.md'), 'utf8').replace(/:\n +`/g, ': `');
  return [...text.matchAll(/^- (.+): `([^`]+)`$/gm)]
    .map((m) => ({ message: messagePattern(m[2]), meaning: m[1], commands: [] }));
}

// [{ message, meaning, commands }]: the English meaning of each message of the
// module; "…" in a message stands for any text, and no commands means any.
export function readMessages(docs) {
  const messages = pageNames(docs).flatMap((page) => {
    const lines = readFileSync(join(docs, 'commands', `${page}.md`), 'utf8').split(/\r?\n/);
    const listed = tableMessages(lines);
    return [...listed, ...statusRowMessages(lines, listed)];
  });
  return [...messages, ...dispatcherMessages(docs)];
}
