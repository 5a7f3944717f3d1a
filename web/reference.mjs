// Reads the command reference in docs/: its pages in the order docs/README.md
// lists them, and in each page the commands with the first sentence of their
// section and the arguments of their first example request.
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

// The arguments of the first EXECUTE request in the section that names the
// command: "ArgumentN: value" lines, the value being everything after ": "; a
// missing index is an empty argument, as the module reads it.
function exampleArguments(lines, command) {
  for (let i = 0; i < lines.length; i += 1) {
    if (lines[i] !== '```' || lines[i + 1] !== 'EXECUTE SAORI/1.0') continue;
    const values = new Map();
    for (let j = i + 2; j < lines.length && lines[j] !== '```' && lines[j] !== ''; j += 1) {
      const m = /^Argument(\d+):(?: (.*))?$/.exec(lines[j]);
      if (m) values.set(Number(m[1]), m[2] ?? '');
    }
    if (values.get(0) !== command) continue;
    const last = Math.max(0, ...values.keys());
    return Array.from({ length: last }, (_, k) => values.get(k + 1) ?? '');
  }
  return null;
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
      args: exampleArguments(section, heading[2]),
    });
  });
  return { title, commands };
}

// [{ page, title, commands: [{ name, args, summary, summaryJa, hasJa }] }]:
// summaryJa and hasJa come from the Japanese page of the same name, where
// docs/ja/commands/ has it.
export function readReference(docs) {
  return pageNames(docs).map((page) => {
    const { title, commands } = readPage(join(docs, 'commands', `${page}.md`));
    const jaFile = join(docs, 'ja', 'commands', `${page}.md`);
    const ja = existsSync(jaFile) ? readPage(jaFile).commands : [];
    for (const command of commands) {
      if (command.args === null) {
        throw new Error(`docs/commands/${page}.md: ${command.name} has no example request`);
      }
      const jaCommand = ja.find((c) => c.name === command.name);
      command.hasJa = Boolean(jaCommand);
      command.summaryJa = jaCommand ? jaCommand.summary : '';
    }
    return { page, title, commands };
  });
}
