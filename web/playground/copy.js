// A button that copies a text to the clipboard as it is, CR LF line ends
// included, and says beside it whether it did.
import { element } from './render.js';

const SHOWN_MS = 4000;

// [button, status]: text() gives { text, note } (or a promise of it), the
// note being said after "copied" when there is one.
export function copyButton(label, t, text) {
  const button = element('button', 'copy', label);
  button.type = 'button';
  const status = element('span', 'copy-state');
  status.setAttribute('role', 'status');
  let timer = null;
  button.addEventListener('click', async () => {
    clearTimeout(timer);
    try {
      const copied = await text();
      await navigator.clipboard.writeText(copied.text);
      status.textContent = copied.note ? `${t.copied} ${copied.note}` : t.copied;
    } catch {
      status.textContent = t.notCopied;
    }
    timer = setTimeout(() => { status.textContent = ''; }, SHOWN_MS);
  });
  return [button, status];
}
