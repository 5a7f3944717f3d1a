// The playground in Debian's headless Chromium, opened from disk as a script
// author opens it: commands run through the page's own fields and buttons,
// both interface languages, a long request during which the page still
// answers, one that traps the module and one that is cancelled. Prints the time from opening
// the page to its first answer and saves a screenshot beside the page.
//   node tests/browser/playground_test.mjs build/wasm/playground.html
import { existsSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';
import { readReference } from '../../web/reference.mjs';

const CHROMIUM = '/usr/bin/chromium';
const root = resolve(dirname(fileURLToPath(import.meta.url)), '..', '..');
const pagePath = resolve(process.argv[2] ?? join(root, 'build/wasm/playground.html'));
const screenshot = join(dirname(pagePath), 'playground.png');
const unknown = "Error: 'nosuch'という名前の命令は定義されていません。";
// A request of 1 MB whose answer would need more memory than the module may
// take, so that the module traps.
const trapping = { command: 'replace', args: ['a'.repeat(1_000_000), 'a', 'b'.repeat(250)] };
// A request of 40 MB that keeps the module busy for seconds: 1 with 40 million
// minus signs before it.
const long = { command: 'calc', args: [`${'-'.repeat(40_000_000)}1`] };

// Each row: what is typed into the page and what the page must show. A row
// without args runs the command's example as the page prefills it.
const cases = [
  { command: 'calc', args: ['1+2*3'], status: '200', result: '7' },
  { command: 'split', status: '200', result: '3', values: ['りんご', 'みかん', 'ぶどう'] },
  { command: 'split', args: ['a,b,,c', ','], status: '200', result: '3', values: ['a', 'b', 'c'] },
  { command: 'zen2han', args: ['ＡＢＣ１２３！'], status: '200', result: 'ABC123!' },
  { command: 'zen2han', status: '200', result: 'ｶﾞｯｺｳ､ＡＢＣ123' },
  { command: 'sprintf', args: ['%05d', '-42'], status: '200', result: '-0042', keyboard: true },
  { command: 'sprintf', status: '200', result: 'はなこ は 098.8 点' },
  { command: 'is_empty', status: '200', result: '1' },
  { command: 'substr', args: ['あいうえお', '1', '2'], status: '200', result: 'いう' },
  { command: 'nosuch', args: [], status: '400', result: unknown, keyboard: true },
  { command: 'mkdir', status: '200', result: '0' },
];

let passed = 0;
let failed = 0;
function check(ok, what, detail = '') {
  if (ok) passed += 1;
  else failed += 1;
  console.log(`${ok ? 'ok' : 'FAILED'} - ${what}${ok || !detail ? '' : `: ${detail}`}`);
}
const same = (a, b) => JSON.stringify(a) === JSON.stringify(b);

async function answered(page) {
  return Number((await page.getAttribute('#answer', 'data-answered')) ?? 0);
}

// Picks the command (from the list when the page knows it, else by typing it),
// fills the argument fields unless args is undefined, and runs the request.
async function start(page, { command, args, keyboard }) {
  const listed = page.locator(`button.command[data-command="${command}"]`);
  if (await listed.count()) await listed.click();
  else await page.fill('#command', command);
  if (args !== undefined) {
    while (await page.locator('button.remove').count()) await page.locator('button.remove').first().click();
    for (const [i, value] of args.entries()) {
      await page.click('#add-argument');
      if (value.length < 100_000) {
        await page.fill(`#argument-${i + 1}`, value);
        continue;
      }
      // A long text comes by pasting it.
      await page.locator(`#argument-${i + 1}`).evaluate((input, pasted) => {
        const clipboardData = new DataTransfer();
        clipboardData.setData('text/plain', pasted);
        input.dispatchEvent(new ClipboardEvent('paste', { clipboardData, bubbles: true, cancelable: true }));
      }, value);
    }
  }
  const before = await answered(page);
  if (keyboard) await page.keyboard.press('Control+Enter');
  else await page.click('#run');
  return before;
}

async function finish(page, before) {
  await page.waitForFunction((n) => Number(document.getElementById('answer').dataset.answered ?? 0) > n, before);
}

async function shown(page) {
  return page.evaluate(() => ({
    status: document.querySelector('#answer .badge')?.textContent ?? null,
    result: document.querySelector('#answer .fields dd .text code')?.textContent ?? null,
    values: [...document.querySelectorAll('#answer .values .text code')].map((node) => node.textContent),
    request: document.querySelectorAll('#answer .raw pre')[0]?.textContent ?? null,
    error: document.querySelector('#answer .error')?.textContent ?? null,
  }));
}

async function runCase(page, row) {
  await finish(page, await start(page, row));
  const answer = await shown(page);
  const what = `${row.command} ${JSON.stringify(row.args ?? 'example')}`;
  check(answer.status === row.status && answer.result === row.result,
        `${what} shows ${row.status} ${row.result}`, JSON.stringify(answer));
  if (row.values) check(same(answer.values, row.values), `${what} shows each value`, JSON.stringify(answer.values));
  if (row.args) {
    const lines = row.args.map((arg, i) => `Argument${i + 1}: ${arg}\\r\\n`);
    check(lines.every((line) => answer.request.includes(line)), `${what} shows its raw request with CR LF`, answer.request);
  }
}

// While a long request runs, the page still answers a click at once.
async function checkResponsive(page, before) {
  await page.waitForSelector('#busy', { state: 'visible' });
  await page.click('#language');
  const title = await page.textContent('h1');
  const running = (await answered(page)) === before;
  check(running && title === 'tavo playground', 'while a long request runs, the page switches its language',
        `running ${running}, title ${title}`);
}

// A pasted long text with CR LF lines: its line breaks become spaces and the
// row says so, instead of adding Argument lines; the row is labelled as the
// text, its button as what it does, and it keeps its shape on a phone.
async function checkLongArgument(page) {
  const pasted = `${'x'.repeat(100_001)}\r\nArgument2: 5\r\nArgument3: 3`;
  await finish(page, await start(page, { command: 'substr', args: [pasted] }));
  const answer = await shown(page);
  check(answer.status === '200' && answer.result.length > 3 && !answer.request.includes('Argument2'),
        'line breaks of a pasted long text add no Argument lines', JSON.stringify({ ...answer, result: answer.result.length }));
  check((await page.textContent('.line-breaks')).startsWith('2 line breaks were turned into spaces'),
        'the row says its line breaks became spaces');
  check(await page.getByLabel('Argument 1', { exact: true }).evaluate((node) => node.tagName) === 'OUTPUT' &&
        await page.getByRole('button', { name: 'Empty argument 1', exact: true }).count() === 1,
        'the label names the long text and the button says it empties argument 1');
  await page.setViewportSize({ width: 390, height: 844 });
  const note = await page.locator('.large-argument').boundingBox();
  check(note.height < 70, 'on a phone the size note of a long text stays one or two lines', `height ${note.height}`);
  await page.setViewportSize({ width: 1200, height: 900 });
}

async function main() {
  const reference = readReference(join(root, 'docs'));
  const profile = mkdtempSync(join(tmpdir(), 'tavo-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    locale: 'ja-JP',
    viewport: { width: 1200, height: 900 },
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  try {
    const page = context.pages()[0] ?? await context.newPage();
    const problems = [];
    page.on('pageerror', (error) => problems.push(error.message));
    page.on('console', (message) => { if (message.type() === 'error') problems.push(message.text()); });
    page.on('request', (request) => {
      if (!/^(file|blob|data):/.test(request.url())) problems.push(`fetched ${request.url()}`);
    });
    page.setDefaultTimeout(60_000);

    // A malformed link opens the page as if it had no #.
    await page.goto(`${pathToFileURL(pagePath).href}#%E0%A4%A`);
    await page.waitForSelector('button.command');
    check(await page.locator('button.command').count() === 32 && await page.textContent('#run') === '実行' &&
          await page.inputValue('#command') === 'calc', 'a malformed link opens the page with its commands and labels');
    await page.goto('about:blank');

    const opened = Date.now();
    await page.goto(pathToFileURL(pagePath).href);
    await finish(page, await start(page, { command: 'calc' }));
    const firstAnswer = Date.now() - opened;
    const first = await shown(page);
    check(first.status === '200' && first.result === '9', 'the example of calc, run at once, shows 9', JSON.stringify(first));
    console.log(`time from opening the page to the first answer: ${firstAnswer} ms`);

    const names = await page.$$eval('button.command', (buttons) => buttons.map((b) => b.dataset.command));
    const documented = reference.flatMap((group) => group.commands.map((c) => c.name));
    check(names.length === 32 && same(names, documented), 'all 32 commands are listed in the order of the reference', names.join(' '));
    check(await page.getAttribute('html', 'lang') === 'ja' && await page.textContent('#run') === '実行',
          'a Japanese browser gets the Japanese interface');
    check((await page.textContent('.notice')).includes('lsimg と mkdir'), 'the page says lsimg and mkdir have no disk');
    const link = await page.getAttribute('a.reference', 'href');
    check(/^docs\/(ja\/)?commands\/expressions\.md#calc$/.test(link) &&
          existsSync(new URL(link.split('#')[0], pathToFileURL(pagePath))), 'the reference link of calc leads to its page', link);

    for (const row of cases) await runCase(page, row);

    let before = await start(page, long);
    const longStarted = Date.now();
    await checkResponsive(page, before);
    await finish(page, before);
    console.log(`the request of 40 MB was answered after ${Date.now() - longStarted} ms`);
    await page.click('#language');
    const longAnswer = await shown(page);
    check(longAnswer.status === '200' && longAnswer.result === '1' &&
          (await page.textContent('#answer .raw .note')).includes('最初の 20000 文字'),
          'the request of 40 MB is answered and shown cut short', JSON.stringify({ ...longAnswer, request: null }));

    await finish(page, await start(page, trapping));
    const trapped = await shown(page);
    check(trapped.error !== null && trapped.error.includes('異常終了'), 'a trap is shown as an error', JSON.stringify(trapped));
    await runCase(page, cases[0]);

    before = await start(page, long);
    await page.waitForSelector('#busy', { state: 'visible' });
    await page.click('#cancel');
    await finish(page, before);
    check((await shown(page)).error?.includes('中止しました') === true, 'a cancelled request says so');
    await runCase(page, cases[3]);

    await page.click('#language');
    check(await page.getAttribute('html', 'lang') === 'en' && await page.textContent('#run') === 'Run' &&
          await page.textContent('label[for="argument-1"]') === 'Argument 1', 'the interface switches to English');
    await runCase(page, { ...cases[9], keyboard: false });
    await checkLongArgument(page);
    check((await page.textContent('#answer .fields')).includes('Result'), 'the English answer says Result');
    await page.click('#language');

    await runCase(page, cases[1]);
    await page.screenshot({ path: screenshot, fullPage: true });
    console.log(`screenshot: ${screenshot}`);
    check(problems.length === 0, 'no script errors and nothing fetched from the network', problems.join('; '));
  } finally {
    await context.close();
    rmSync(profile, { recursive: true, force: true });
  }
}

try {
  await main();
} catch (error) {
  check(false, 'the browser test ran to its end', error.stack);
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
