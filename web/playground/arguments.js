// The argument rows of the request: a text field for each argument, or, for a
// text too large for a field, its size and a button that empties it. A request
// cannot carry a line break inside an argument, so every line break that comes
// in (pasted, or from a link or the history) becomes a space, as a one-line
// text field does with pasted text, and the row says how many did.
import { element } from './render.js';

// A longer argument is kept out of its text field: a text field of megabytes
// takes seconds to lay out, and the page would freeze meanwhile.
const LARGE_ARGUMENT = 100_000;

// { text, count }: the text with each CR LF, CR and LF turned into a space,
// and how many there were.
function spacedLines(text) {
  let count = 0;
  const spaced = text.replace(/\r\n|[\r\n]/g, () => {
    count += 1;
    return ' ';
  });
  return { text: spaced, count };
}

export class ArgumentRows {
  // The argument texts, Argument1 first.
  values = [];
  #breaks = [];
  #list;
  #text;
  #changed;

  // list: the <ol> of the rows; text(): the interface's texts; changed(): called
  // after the user changed an argument.
  constructor(list, text, changed) {
    this.#list = list;
    this.#text = text;
    this.#changed = changed;
  }

  set(values) {
    this.values = [];
    this.#breaks = [];
    values.forEach((value, i) => this.#put(i, value));
  }

  add() {
    this.#put(this.values.length, '');
    this.render(this.values.length - 1);
    this.#changed();
  }

  #put(i, value) {
    const { text, count } = spacedLines(value);
    this.values[i] = text;
    this.#breaks[i] = count;
  }

  // Draws the rows and moves the focus to the row focusIndex (-1: the "add"
  // button), if given.
  render(focusIndex) {
    const t = this.#text();
    this.#list.replaceChildren();
    this.values.forEach((value, i) => {
      const n = i + 1;
      const item = element('li', 'argument');
      const label = element('label', '', t.argument(n));
      label.htmlFor = `argument-${n}`;
      item.append(label);
      if (value.length > LARGE_ARGUMENT) this.#largeRow(item, i);
      else this.#field(item, i);
      const remove = element('button', 'remove', t.remove);
      remove.type = 'button';
      remove.setAttribute('aria-label', t.removeArgument(n));
      remove.addEventListener('click', () => {
        this.values.splice(i, 1);
        this.#breaks.splice(i, 1);
        this.render(Math.min(i, this.values.length - 1));
        this.#changed();
      });
      item.append(remove);
      if (this.#breaks[i] > 0) {
        const note = element('p', 'note line-breaks', t.lineBreaks(this.#breaks[i]));
        note.id = `argument-${n}-note`;
        item.querySelector('input, output').setAttribute('aria-describedby', note.id);
        item.append(note);
      }
      this.#list.append(item);
    });
    if (focusIndex === undefined) return;
    const target = focusIndex < 0 ? 'add-argument' : `argument-${focusIndex + 1}`;
    const node = document.getElementById(target);
    (node.tagName === 'OUTPUT' ? document.getElementById(`${target}-clear`) : node).focus();
  }

  // The text's size where the field would be, which the row's label names,
  // and a button that empties the argument.
  #largeRow(item, i) {
    const t = this.#text();
    const size = element('output', 'large-argument', t.largeArgument(this.values[i].length.toLocaleString(t.locale)));
    size.id = `argument-${i + 1}`;
    const clear = element('button', 'clear', t.clear);
    clear.type = 'button';
    clear.id = `argument-${i + 1}-clear`;
    clear.setAttribute('aria-label', t.clearArgument(i + 1));
    clear.addEventListener('click', () => {
      this.#put(i, '');
      this.render(i);
      this.#changed();
    });
    item.append(size, clear);
  }

  #field(item, i) {
    const input = element('input');
    input.id = `argument-${i + 1}`;
    input.type = 'text';
    input.value = this.values[i];
    input.spellcheck = false;
    input.autocomplete = 'off';
    input.addEventListener('input', () => {
      this.#put(i, input.value);
      input.removeAttribute('aria-describedby');
      input.parentElement.querySelector('.line-breaks')?.remove();
      this.#changed();
    });
    // Pasted text with line breaks, or too long for the field, is put in here.
    input.addEventListener('paste', (event) => {
      const pasted = event.clipboardData ? event.clipboardData.getData('text/plain') : '';
      if (!/[\r\n]/.test(pasted) && input.value.length + pasted.length <= LARGE_ARGUMENT) return;
      event.preventDefault();
      const before = input.value.slice(0, input.selectionStart);
      this.#put(i, before + pasted + input.value.slice(input.selectionEnd));
      this.render(i);
      const caret = before.length + spacedLines(pasted).text.length;
      document.getElementById(`argument-${i + 1}`).setSelectionRange?.(caret, caret);
      this.#changed();
    });
    item.append(input);
  }
}
