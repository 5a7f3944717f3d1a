// What the page shows of the reference's commands: the list to pick one
// from, the summary of the one in the field with a link to its reference,
// and its examples to pick from.
import { appendWithCode, element } from './render.js';

// The commands grouped as in the reference, as buttons that call pick(name).
export function renderCommandList(list, groups, language, t, pick) {
  list.replaceChildren();
  for (const group of groups) {
    const heading = element('h3', '', t.groups[group.page] ?? group.title);
    heading.id = `group-${group.page}`;
    const items = element('ul');
    items.setAttribute('aria-labelledby', heading.id);
    for (const command of group.commands) {
      const button = element('button', 'command', command.name);
      button.type = 'button';
      button.dataset.command = command.name;
      button.title = language === 'ja' && command.summaryJa ? command.summaryJa : command.summary;
      button.addEventListener('click', () => pick(command.name));
      const item = element('li');
      item.append(button);
      items.append(item);
    }
    list.append(heading, items);
  }
}

// Marks the button of the command `name` (none for null) as the current one.
export function markCurrent(name) {
  for (const button of document.querySelectorAll('button.command')) {
    if (button.dataset.command === name) button.setAttribute('aria-current', 'true');
    else button.removeAttribute('aria-current');
  }
}

// The command's summary and a link to its section of the reference, which
// open(page, name) shows in the page where it can: the Japanese ones in the
// Japanese interface where the Japanese reference has them.
export function renderCommandInfo(info, name, command, language, t, open) {
  info.replaceChildren();
  if (!command) {
    info.append(element('p', 'summary', t.unknownCommand));
    return;
  }
  const ja = language === 'ja' && command.hasJa;
  const summary = appendWithCode(element('p', 'summary'), ja ? command.summaryJa : command.summary);
  summary.lang = ja ? 'ja' : 'en';
  const page = `${ja ? 'ja/' : ''}commands/${command.page}`;
  const link = element('a', 'reference', t.reference(name));
  link.href = `docs/${page}.md#${name}`;
  link.addEventListener('click', (event) => {
    if (open(page, name)) event.preventDefault();
  });
  info.append(summary, link);
  if (name === 'lsimg' || name === 'mkdir') info.append(element('p', 'warning', t.noDisk));
}

// The examples to pick from; the first entry stands for arguments that are
// none of them, and is chosen when `values` are.
export function renderExampleChoice(select, examples, values, t) {
  const option = (value, label) => {
    const node = element('option', '', label.length > 70 ? `${label.slice(0, 70)}…` : label);
    node.value = value;
    return node;
  };
  select.replaceChildren(option('', t.ownArguments), ...examples.map((example, i) => option(String(i), t.exampleOption(i + 1, example))));
  const current = examples.findIndex((example) => JSON.stringify(example) === JSON.stringify(values));
  select.value = current < 0 ? '' : String(current);
  select.disabled = examples.length === 0;
}
