// The reference pages as HTML for the playground's reference panel, made when
// the page is built: headings with anchors, paragraphs, lists, tables, code
// blocks, and the code spans, emphasis and links the pages use. Every text is
// escaped; a link to another rendered page names it in data-page and
// data-anchor, so the panel shows it in place.
import { readFileSync } from 'node:fs';
import { posix } from 'node:path';

const ESCAPES = { '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;', "'": '&#39;' };
const escape = (text) => text.replace(/[&<>"']/g, (c) => ESCAPES[c]);

// A heading's anchor as the pages link to it: lower case, spaces as hyphens,
// punctuation dropped.
export const anchorOf = (heading) => heading.toLowerCase().replace(/[^\p{L}\p{N}\p{M} _-]/gu, '').replace(/ /g, '-');

// The id of a heading in the panel, apart from the ids of the page around it.
const headingId = (anchor) => `ref-${anchor}`;

// An <a> for [text](url) on the page at `from` (e.g. "ja/commands/text.md").
function link(text, url, from, pages) {
  if (/^[a-z]+:/i.test(url)) {
    return /^https?:/i.test(url) ? `<a href="${escape(url)}" rel="noopener">${text}</a>` : text;
  }
  const [file, anchor = ''] = url.split('#');
  const target = file === '' ? from : posix.normalize(posix.join(posix.dirname(from), file));
  const page = target.replace(/\.md$/, '');
  const href = `docs/${target}${anchor ? `#${anchor}` : ''}`;
  if (!pages.includes(page)) return `<a href="${escape(href)}">${text}</a>`;
  return `<a href="${escape(href)}" data-page="${escape(page)}" data-anchor="${escape(anchor)}">${text}</a>`;
}

// Code spans, then **strong**, *emphasis* and links in the rest.
function inline(text, from, pages) {
  return text.split(/(`[^`]*`)/).map((piece, i) => {
    if (i % 2) return `<code>${escape(piece.slice(1, -1))}</code>`;
    return escape(piece)
      .replace(/\*\*(.+?)\*\*/g, '<strong>$1</strong>')
      .replace(/(^|[^\w*])\*(?=\S)([^*]+?)\*(?!\w)/g, '$1<em>$2</em>')
      .replace(/\[([^\]]+)\]\(([^)\s]+)\)/g, (_, label, url) => link(label, url.replace(/&amp;/g, '&'), from, pages));
  }).join('');
}

// The lines of a paragraph as one text: a line break between two characters
// beyond ASCII (Japanese text) joins them directly, any other one as a space.
const joinLines = (lines) => lines.reduce((text, line) => (/[^\x00-\x7f]$/.test(text) && /^[^\x00-\x7f]/.test(line) ? text + line : `${text} ${line}`));

const indentOf = (line) => /^ */.exec(line)[0].length;
const listItem = /^( *)- (.*)$/;

// The list starting at lines[start] whose items are indented by `indent`:
// [html, the index after it]. An item's deeper lines continue its text or
// hold a list of their own.
function list(lines, start, indent, render) {
  const items = [];
  let i = start;
  for (let item = listItem.exec(lines[i] ?? ''); item && item[1].length === indent; item = listItem.exec(lines[i] ?? '')) {
    const text = [item[2]];
    let nested = '';
    for (i += 1; i < lines.length && lines[i].trim() !== '' && indentOf(lines[i]) > indent;) {
      const sub = listItem.exec(lines[i]);
      if (sub) {
        const [html, next] = list(lines, i, sub[1].length, render);
        nested += html;
        i = next;
      } else {
        text.push(lines[i].trim());
        i += 1;
      }
    }
    items.push(`<li>${render(joinLines(text))}${nested}</li>`);
  }
  return [`<ul>${items.join('')}</ul>`, i];
}

function table(rows, render) {
  const cells = (row) => row.replace(/^\||\|$/g, '').split('|').map((cell) => cell.trim());
  const head = cells(rows[0]).map((cell) => `<th>${render(cell)}</th>`).join('');
  const body = rows.slice(2).map((row) => `<tr>${cells(row).map((cell) => `<td>${render(cell)}</td>`).join('')}</tr>`);
  return `<div class="table"><table><thead><tr>${head}</tr></thead><tbody>${body.join('')}</tbody></table></div>`;
}

const startsBlock = (line) => /^(```|#{1,6} |\||- |---+$| {4})/.test(line);

// { title, html } of the page at docs/`from`; `pages` are the rendered pages
// (e.g. "commands/text"), which its links may lead to in place.
export function renderPage(docs, from, pages) {
  const lines = readFileSync(posix.join(docs, from), 'utf8').split(/\r?\n/);
  const render = (text) => inline(text, from, pages);
  const html = [];
  let title = '';
  for (let i = 0; i < lines.length;) {
    const line = lines[i];
    const heading = /^(#{1,6}) (.*)$/.exec(line);
    if (line.trim() === '') {
      i += 1;
    } else if (line.startsWith('```') || line.startsWith('    ')) {
      const fenced = line.startsWith('```');
      const code = [];
      for (i += fenced ? 1 : 0; i < lines.length; i += 1) {
        if (fenced ? lines[i].startsWith('```') : !lines[i].startsWith('    ')) break;
        code.push(fenced ? lines[i] : lines[i].slice(4));
      }
      if (fenced) i += 1;
      html.push(`<pre><code>${escape(code.join('\n'))}</code></pre>`);
    } else if (heading) {
      const level = heading[1].length;
      if (level === 1) title = heading[2];
      html.push(`<h${level} id="${escape(headingId(anchorOf(heading[2])))}" tabindex="-1">${render(heading[2])}</h${level}>`);
      i += 1;
    } else if (/^---+$/.test(line)) {
      html.push('<hr>');
      i += 1;
    } else if (line.startsWith('|')) {
      const rows = [];
      while (i < lines.length && lines[i].startsWith('|')) rows.push(lines[i++]);
      html.push(table(rows, render));
    } else if (listItem.test(line)) {
      const [block, next] = list(lines, i, indentOf(line), render);
      html.push(block);
      i = next;
    } else {
      const paragraph = [];
      while (i < lines.length && lines[i].trim() !== '' && (paragraph.length === 0 || !startsBlock(lines[i]))) {
        paragraph.push(lines[i++].trim());
      }
      html.push(`<p>${render(joinLines(paragraph))}</p>`);
    }
  }
  return { title, html: html.join('\n') };
}
