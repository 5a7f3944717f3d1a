// The command reference inside the page: a dialog showing a page of docs/, made
// into HTML when the playground was built, at one of its headings. Its links
// to the other pages of the reference open them in the same dialog, so the
// request being edited stays as it is.
export class ReferencePanel {
  #dialog;
  #pages;

  // pages: { 'commands/text': { title, html }, 'ja/commands/text': … }.
  constructor(dialog, pages) {
    this.#dialog = dialog;
    this.#pages = pages;
    dialog.querySelector('.doc').addEventListener('click', (event) => {
      const link = event.target.closest('a[data-page]');
      if (!link) return;
      event.preventDefault();
      this.open(link.dataset.page, link.dataset.anchor);
    });
  }

  has(page) {
    return page in this.#pages;
  }

  // Shows the page (e.g. 'ja/commands/text') at the heading of `anchor`, or at its top.
  open(page, anchor) {
    const { title, html } = this.#pages[page];
    const body = this.#dialog.querySelector('.doc');
    this.#dialog.querySelector('h2').textContent = title;
    body.lang = page.startsWith('ja/') ? 'ja' : 'en';
    // The HTML was made from docs/ when the page was built, every text escaped.
    body.innerHTML = html;
    if (!this.#dialog.open) this.#dialog.showModal();
    const heading = anchor ? body.querySelector(`#${CSS.escape(`ref-${anchor}`)}`) : null;
    if (heading) {
      heading.scrollIntoView({ block: 'start' });
      heading.focus({ preventScroll: true });
    } else {
      body.scrollTop = 0;
    }
  }
}
