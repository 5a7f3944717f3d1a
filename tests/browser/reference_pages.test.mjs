// The reference as the playground gets it when it is built: pages of docs/ as
// HTML, every text escaped, and the English meanings of the module's messages.
import assert from 'node:assert/strict';
import { mkdirSync, mkdtempSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { test } from 'node:test';

import { renderPage } from '../../web/markdown.mjs';
import { readMessages } from '../../web/reference.mjs';

const docs = mkdtempSync(join(tmpdir(), 'tavo-docs-'));
mkdirSync(join(docs, 'commands'));
const page = (path, text) => writeFileSync(join(docs, path), text);

// Markdown → what its HTML must hold.
const pages = [
  ['## Two words', '<h2 id="ref-two-words" tabindex="-1">Two words</h2>'],
  ['a <b>&"\' `<i>`', '<p>a &lt;b&gt;&amp;&quot;&#39; <code>&lt;i&gt;</code></p>'],
  ['**bold** and *some* 2*3', '<p><strong>bold</strong> and <em>some</em> 2*3</p>'],
  ['日本語の\n文章 and\nmore', '<p>日本語の文章 and more</p>'],
  ['- one\n  two\n  - inner', '<ul><li>one two<ul><li>inner</li></ul></li></ul>'],
  ['| A | B |\n|---|---|\n| `x` | y |', '<thead><tr><th>A</th><th>B</th></tr></thead><tbody><tr><td><code>x</code></td><td>y</td></tr></tbody>'],
  ['```\n<EXECUTE>\n```', '<pre><code>&lt;EXECUTE&gt;</code></pre>'],
  ['[ja](../ja/commands/p.md#見出し)', '<a href="docs/ja/commands/p.md#見出し" data-page="ja/commands/p" data-anchor="見出し">ja</a>'],
  ['[other](../protocol.md) [x](javascript:alert(1))', '<a href="docs/protocol.md">other</a> x'],
];

for (const [markdown, html] of pages) {
  test(`renders ${JSON.stringify(markdown)}`, () => {
    page('commands/p.md', markdown);
    assert.ok(renderPage(docs, 'commands/p.md', ['commands/p', 'ja/commands/p']).html.includes(html));
  });
}

test('reads the meanings of the messages, the same one for a later row', () => {
  page('README.md', '- [commands/p.md](commands/p.md)\n');
  page('protocol.md', 'Dispatcher messages:\n\n- unknown command:\n  `Error: \'Calc\'です。`\n');
  page('commands/p.md', '## Messages\n\n| Message | Meaning | Commands |\n|---|---|---|\n' +
       '| `\'…\' は不能です。` | cannot | `calc` |\n| `x` | the same for `if` | `if` |\n\n## sprintf\n\n| 400 | "足りません。" when there is none |\n');
  assert.deepEqual(readMessages(docs), [
    { message: "'…' は不能です。", meaning: 'cannot', commands: ['calc'] },
    { message: 'x', meaning: 'cannot', commands: ['if'] },
    { message: '足りません。', meaning: 'there is none', commands: ['sprintf'] },
    { message: "Error: '…'です。", meaning: 'unknown command', commands: [] },
  ]);
});
