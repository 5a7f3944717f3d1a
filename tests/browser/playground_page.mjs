// Driving the playground page in the browser test: the tally of checks, and
// the steps the checks share: running a request through the page's fields
// and reading what the page shows.

// The checks made so far, and check(), which counts and prints one.
export const tally = { passed: 0, failed: 0 };
export function check(ok, what, detail = '') {
  if (ok) tally.passed += 1;
  else tally.failed += 1;
  console.log(`${ok ? 'ok' : 'FAILED'} - ${what}${ok || !detail ? '' : `: ${detail}`}`);
}
export const same = (a, b) => JSON.stringify(a) === JSON.stringify(b);

export async function answered(page) {
  return Number((await page.getAttribute('#answer', 'data-answered')) ?? 0);
}

// Picks the command (from the list when the page knows it, else by typing it),
// fills the argument fields unless args is undefined, and runs the request.
export async function start(page, { command, args, keyboard }) {
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

export async function finish(page, before) {
  await page.waitForFunction((n) => Number(document.getElementById('answer').dataset.answered ?? 0) > n, before);
}

export async function shown(page) {
  return page.evaluate(() => ({
    status: document.querySelector('#answer .badge')?.textContent ?? null,
    result: document.querySelector('#answer .fields dd .text code')?.textContent ?? null,
    values: [...document.querySelectorAll('#answer .values .text code')].map((node) => node.textContent),
    request: document.querySelectorAll('#answer .raw pre')[0]?.textContent ?? null,
    error: document.querySelector('#answer .error')?.textContent ?? null,
  }));
}

export const fieldValues = (page) => page.$$eval('#arguments input', (inputs) => inputs.map((input) => input.value));

// WCAG contrast of marks, "(empty)", hints (4.5:1) and field borders (3:1).
export function contrasts(page) {
  return page.evaluate(() => {
    const rgb = (color) => color.match(/[\d.]+/g).map(Number);
    const channel = (v) => ((v /= 255) <= 0.03928 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4);
    const luminance = ([r, g, b]) => 0.2126 * channel(r) + 0.7152 * channel(g) + 0.0722 * channel(b);
    const behind = (node) => {
      for (; node; node = node.parentElement) {
        const color = rgb(getComputedStyle(node).backgroundColor);
        if (color[3] !== 0) return color;
      }
      return [255, 255, 255];
    };
    const rows = [['#answer .mark', 'color', 4.5], ['#answer .empty', 'color', 4.5], ['.hint', 'color', 4.5],
                  ['#argument-1', 'borderTopColor', 3]];
    return rows.map(([selector, property, least]) => {
      const node = document.querySelector(selector);
      const [a, b] = [luminance(rgb(getComputedStyle(node)[property])), luminance(behind(property === 'color' ? node : node.parentElement))];
      const ratio = (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05);
      return { selector, ratio: Math.round(ratio * 100) / 100, least };
    });
  });
}
