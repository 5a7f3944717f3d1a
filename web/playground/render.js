// Builds the DOM for texts of the module's answers. Control characters are
// shown as escapes in a dimmer style (CR as \r, LF as \n, others as \xHH),
// and in a raw message each CR LF also ends the line, so that the lines read
// as they were sent.

export function element(tag, className, text) {
  const node = document.createElement(tag);
  if (className) node.className = className;
  if (text !== undefined) node.textContent = text;
  return node;
}

// Appends text to parent with its `code` spans as <code> elements.
export function appendWithCode(parent, text) {
  text.split('`').forEach((piece, i) => parent.append(i % 2 ? element('code', '', piece) : piece));
  return parent;
}

// The escape of a C0 control character or DEL; tab stays as it is.
function escaped(character) {
  if (character === '\r\n') return '\\r\\n';
  if (character === '\r') return '\\r';
  if (character === '\n') return '\\n';
  return `\\x${character.charCodeAt(0).toString(16).padStart(2, '0')}`;
}

// Appends text to parent with its control characters marked; with lines set,
// each CR LF is marked and then breaks the line.
function appendMarked(parent, text, lines) {
  const pattern = lines ? /\r\n|[\x00-\x08\x0a-\x1f\x7f]/g : /[\x00-\x08\x0a-\x1f\x7f]/g;
  let start = 0;
  for (const match of text.matchAll(pattern)) {
    if (match.index > start) parent.append(text.slice(start, match.index));
    parent.append(element('span', 'mark', escaped(match[0])));
    if (match[0] === '\r\n') parent.append('\n');
    start = match.index + match[0].length;
  }
  if (start < text.length) parent.append(text.slice(start));
}

function clippedNote(clipped, t) {
  return element('p', 'note', t.clipped(Array.from(clipped.text).length, clipped.total));
}

// A clipped text ({ text, total }) as a value box, with a note when cut short.
export function textView(clipped, t) {
  const box = element('div', 'text');
  const code = element('code');
  if (clipped.text === '') code.append(element('span', 'empty', t.empty));
  else appendMarked(code, clipped.text, false);
  box.append(code);
  if (clipped.total !== null) box.append(clippedNote(clipped, t));
  return box;
}

// A clipped raw request or response, line by line.
export function rawView(clipped, t) {
  const box = element('div', 'raw');
  const pre = element('pre');
  appendMarked(pre, clipped.text, true);
  box.append(pre);
  if (clipped.total !== null) box.append(clippedNote(clipped, t));
  return box;
}
