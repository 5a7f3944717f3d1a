// The playground in Debian's headless Chromium, opened from disk as a script
// author opens it: commands run through the page's own fields and buttons,
// both interface languages, a long request during which the page still
// answers, one that traps the module and one that is cancelled; links, raw
// requests, examples, the reference panel, copying, the history, the
// keyboard, both colour schemes, a module that fails to start and the page's
// policy. Prints the time from opening the page to its first answer and saves
// screenshots at desktop and phone width in both colour schemes beside the page.
//   node tests/browser/playground_test.mjs build/wasm/playground.html
import { existsSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';
import { readReference } from '../../web/reference.mjs';
import {
  answered, check, contrasts, fieldValues, finish, same, shown, start, tally,
} from './playground_page.mjs';

const CHROMIUM = '/usr/bin/chromium';
const root = resolve(dirname(fileURLToPath(import.meta.url)), '..', '..');
const pagePath = resolve(process.argv[2] ?? join(root, 'build/wasm/playground.html'));
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

const pageUrl = () => pathToFileURL(pagePath).href;

// Opens the page afresh, with a link's # when given.
async function reopen(page, hash = '') {
  await page.goto('about:blank');
  await page.goto(`${pageUrl()}${hash}`);
  await page.waitForSelector('button.command');
}

// The link holds the request and brings it back; older #command links and
// line breaks in a link's argument are read too.
async function checkLinks(page) {
  const args = ['あい うえお&=#+%', '1', '2'];
  await finish(page, await start(page, { command: 'substr', args }));
  await reopen(page, new URL(page.url()).hash);
  check(await page.inputValue('#command') === 'substr' && same(await fieldValues(page), args),
        'a link brings back the command and its arguments', JSON.stringify(await fieldValues(page)));
  for (const [hash, command, values] of [['#split', 'split', ['りんご、みかん、ぶどう', '、']],
                                         ['#command=length&1=a%0D%0Ab', 'length', ['a b']]]) {
    await reopen(page, hash);
    check(await page.inputValue('#command') === command && same(await fieldValues(page), values),
          `the link ${hash} opens ${command} with ${JSON.stringify(values)}`, JSON.stringify(await fieldValues(page)));
  }
}

// Raw requests go out as bytes of the charset their Charset line names.
const rawRequests = [
  { text: 'GET Version SAORI/1.0\n\n', status: '200', result: '', response: 'Charset: UTF-8' },
  { text: 'EXECUTE SAORI/1.0\nCharset: Shift_JIS\nArgument0: substr\n\n', status: '400', result: '引数が足りません。' },
  { text: 'EXECUTE SAORI/1.0\nCharset: sjis\nArgument0: length\nArgument1: あいう\n\n', status: '200', result: '3' },
];

async function checkRaw(page) {
  await page.click('#mode-raw');
  check((await page.inputValue('#raw')).startsWith('EXECUTE SAORI/1.0\nCharset: UTF-8\nArgument0: length'),
        'the raw request starts from the fields');
  for (const row of rawRequests) {
    await page.fill('#raw', row.text);
    const before = await answered(page);
    await page.click('#run');
    await finish(page, before);
    const answer = await shown(page);
    const response = await page.textContent('#answer .raw-pair section:nth-child(2) pre');
    check(answer.status === row.status && answer.result === (row.result || '（空）') && response.includes(row.response ?? ''),
          `the raw request ${JSON.stringify(row.text)} is answered ${row.status} ${row.result}`, JSON.stringify({ ...answer, response }));
  }
  await page.click('#mode-fields');
}

// The history keeps the runs over a reload, brings one back and is cleared.
async function checkHistory(page) {
  const entries = () => page.$$eval('#runs .run-entry code', (codes) => codes.map((code) => code.textContent));
  const kept = await entries();
  await reopen(page);
  check(kept.length > 3 && same(await entries(), kept) && kept[0].includes('Argument1: あいう'),
        'the history keeps the runs, newest first, over a reload', kept.join(' / '));
  await page.locator('#runs .run-entry', { hasText: 'substr · あい うえお&=#+%' }).click();
  check(await page.inputValue('#command') === 'substr' && same(await fieldValues(page), ['あい うえお&=#+%', '1', '2']),
        'a run of the history brings its request back');
  await page.click('#clear-history');
  check((await entries()).length === 0, 'the history is cleared');
}

// The reference of the command opens in the page in the interface's language,
// at the command's heading, and closing it keeps the arguments.
async function checkReference(page, command, reference) {
  await page.click(`button.command[data-command="${command}"]`);
  await page.fill('#argument-1', 'kept');
  await page.click('a.reference');
  const ja = await page.getAttribute('html', 'lang') === 'ja';
  const listed = reference.flatMap((group) => group.commands).find((c) => c.name === command);
  const [panel, heading] = [await page.locator('#reference-panel').boundingBox(), await page.locator(`#ref-${command}`).boundingBox()];
  const first = await page.textContent(`#ref-${command} + p`);
  check(await page.getAttribute('#reference-body', 'lang') === (ja ? 'ja' : 'en') && first.startsWith(ja ? listed.summaryJa : listed.summary) &&
        heading.y > panel.y && heading.y < panel.y + panel.height / 3,
        `the reference of ${command} opens in the page at its heading`, `${first} ${JSON.stringify([panel, heading])}`);
  await page.keyboard.press('Escape');
  check(!(await page.isVisible('#reference-panel')) && await page.inputValue('#argument-1') === 'kept',
        'closing the reference keeps the arguments');
}

// Every example of the reference to pick from; a message of the module has
// its English meaning in the English interface.
async function checkExamples(page, reference) {
  await page.click('button.command[data-command="switch"]');
  const examples = reference[0].commands.find((c) => c.name === 'switch').examples;
  await page.selectOption('#example', '1');
  check(await page.locator('#example option').count() === examples.length + 1 && same(await fieldValues(page), examples[1]),
        'the second example of switch is picked', JSON.stringify(await fieldValues(page)));
  const before = await answered(page);
  await page.click('#run');
  await finish(page, before);
  check(await page.textContent('#answer .meaning') === 'Meaning: the expression of pair number … cannot be evaluated',
        'a message of the module has its English meaning');
}

// The copy buttons give the texts with CR LF line ends, and the link.
async function checkCopy(page) {
  const copied = async (name) => {
    const button = page.getByRole('button', { name, exact: true });
    await button.click();
    await button.locator('xpath=following-sibling::span[1]').filter({ hasText: 'Copied.' }).waitFor();
    return page.evaluate(() => navigator.clipboard.readText());
  };
  const request = await copied('Copy request');
  const response = await copied('Copy response');
  check(request.startsWith('EXECUTE SAORI/1.0\r\nCharset: UTF-8\r\n') && request.endsWith('\r\n\r\n') && !/\\r|[^\r]\n/.test(request) &&
        response.startsWith('SAORI/1.0 400 Bad Request\r\n'), 'the request and the response are copied with CR LF',
        JSON.stringify([request, response]));
  check(await copied('Copy link') === page.url(), 'the link is copied');
}

// Both colour schemes meet the contrasts; a screenshot of each at desktop and phone width.
async function checkSchemes(page) {
  await finish(page, await start(page, { command: 'if', args: ['2<1', 'yes'] }));
  for (const colorScheme of ['light', 'dark']) {
    await page.emulateMedia({ colorScheme });
    const low = (await contrasts(page)).filter((row) => row.ratio < row.least);
    check(low.length === 0, `the ${colorScheme} colours meet the contrast ratios`, JSON.stringify(low));
    for (const [width, height, name] of [[1280, 800, 'desktop'], [390, 844, 'phone']]) {
      await page.setViewportSize({ width, height });
      const path = join(dirname(pagePath), `playground-${name}-${colorScheme}.png`);
      await page.screenshot({ path, fullPage: true });
      console.log(`screenshot: ${path}`);
    }
  }
  check(await page.evaluate(() => getComputedStyle(document.body).backgroundColor) === 'rgb(21, 24, 28)', 'dark mode follows the system');
  await page.emulateMedia({ colorScheme: 'light' });
  await page.setViewportSize({ width: 1200, height: 900 });
}

// 500,000 values stay in a box that scrolls, its note above it.
async function checkManyValues(page) {
  await finish(page, await start(page, { command: 'split', args: [`${'a,'.repeat(499_999)}a`, ','] }));
  const layout = await page.evaluate(() => ({
    height: document.documentElement.scrollHeight,
    note: document.querySelector('#answer .fields .note').getBoundingClientRect().top,
    list: document.querySelector('#answer .values').getBoundingClientRect().top,
  }));
  check((await shown(page)).result === '500000' && layout.height < 3000 && layout.note < layout.list,
        '500,000 values keep the page short, the note above them', JSON.stringify(layout));
}

// From the top: a skip link, then a few Tabs to Run; Enter runs, the focus
// stays on Run, and Escape cancels a long request.
async function checkKeyboard(page) {
  await reopen(page, '#command=calc&1=20%2B22');
  await page.keyboard.press('Tab');
  await page.keyboard.press('Enter');
  let presses = 0;
  const focused = () => page.evaluate(() => document.activeElement.id);
  const afterSkip = await focused();
  while ((await focused()) !== 'run' && presses < 20) {
    await page.keyboard.press('Tab');
    presses += 1;
  }
  let before = await answered(page);
  await page.keyboard.press('Enter');
  await finish(page, before);
  check(afterSkip === 'command' && presses <= 7 && (await shown(page)).result === '42' && await focused() === 'run',
        'the skip link leads to the command, Run is a few Tabs away and keeps the focus', `${afterSkip} ${presses}`);
  before = await start(page, long);
  await page.waitForSelector('#busy', { state: 'visible' });
  await page.keyboard.press('Escape');
  await finish(page, before);
  check((await shown(page)).error?.includes('中止しました') === true && await focused() === 'run', 'Escape cancels a long request');
}

// A worker whose module fails to start offers to load it again; the page's
// policy refuses a fetch.
async function checkRetryAndPolicy(context) {
  const page = await context.newPage();
  await page.addInitScript(() => {
    const post = Worker.prototype.postMessage;
    let spoiled = false;
    Worker.prototype.postMessage = function spoilFirstStart(message, ...rest) {
      const first = !spoiled && message?.type === 'start';
      if (first) spoiled = true;
      return post.call(this, first ? { ...message, wasm: new Uint8Array(8) } : message, ...rest);
    };
  });
  await page.goto(pageUrl());
  await page.click('button.retry');
  await finish(page, await start(page, { command: 'calc', args: ['6*7'] }));
  check((await shown(page)).result === '42', 'a module that failed to start loads again at a click');
  const blocked = await page.evaluate(() => new Promise((resolve) => {
    document.addEventListener('securitypolicyviolation', (event) => resolve(event.effectiveDirective));
    fetch('https://example.com/').then(() => resolve('fetched'), () => {});
  }));
  check(blocked === 'connect-src', 'the page\'s policy refuses a fetch', blocked);
  await page.close();
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
    await context.grantPermissions(['clipboard-read', 'clipboard-write']);

    // A malformed link opens the page as if it had no #.
    await page.goto(`${pageUrl()}#%E0%A4%A`);
    await page.waitForSelector('button.command');
    check(await page.locator('button.command').count() === 32 && await page.textContent('#run') === '実行' &&
          await page.inputValue('#command') === 'calc', 'a malformed link opens the page with its commands and labels');
    await page.goto('about:blank');

    const opened = Date.now();
    await page.goto(pageUrl());
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
    await checkReference(page, 'calc', reference);
    await checkLinks(page);
    await checkRaw(page);
    await checkHistory(page);

    await page.click('#language');
    check(await page.getAttribute('html', 'lang') === 'en' && await page.textContent('#run') === 'Run' &&
          await page.textContent('label[for="argument-1"]') === 'Argument 1', 'the interface switches to English');
    await runCase(page, { ...cases[9], keyboard: false });
    await checkLongArgument(page);
    await checkExamples(page, reference);
    await checkCopy(page);
    await checkReference(page, 'switch', reference);
    await checkManyValues(page);
    await checkSchemes(page);
    check((await page.textContent('#answer .fields')).includes('Result'), 'the English answer says Result');
    await page.click('#language');

    await runCase(page, cases[1]);
    await checkKeyboard(page);
    check(problems.length === 0, 'no script errors and nothing fetched from the network', problems.join('; '));
    await checkRetryAndPolicy(context);
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
console.log(`${tally.passed} passed, ${tally.failed} failed`);
process.exit(tally.failed === 0 ? 0 : 1);
