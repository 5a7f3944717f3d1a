// Writes the playground as one self-contained HTML file that works opened
// straight from disk: the page's styles and scripts inlined, tavo.js inlined
// into the worker's source, the module embedded as base64, the examples and
// messages of docs/ and its command pages as HTML, and a Content-Security-Policy
// that allows only these. The same inputs always give the same bytes.
//   node web/build_playground.mjs path/to/tavo.wasm path/to/playground.html
import { createHash } from 'node:crypto';
import { existsSync, readFileSync, writeFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { renderPage } from './markdown.mjs';
import { readMessages, readReference } from './reference.mjs';

const web = dirname(fileURLToPath(import.meta.url));
const playground = join(web, 'playground');
const importLine = /^import \{([^}]*)\} from '([^']+)';$/;
// The page's modules, each after the ones it imports.
const PAGE_MODULES = ['strings.js', 'render.js', 'charsets.js', 'runner.js', 'link.js', 'history.js', 'copy.js',
                      'arguments.js', 'commands.js', 'messages.js', 'answer.js', 'panel.js', 'main.js'];
const exportedDeclaration = /^export ((?:async )?function\*? |class |const |let )([A-Za-z_$][\w$]*)/;

// ES modules joined into one classic script. Each module runs in a function of
// its own that returns its exports; an import becomes a read of those. The
// modules import named bindings of each other only, each listed before the
// modules that import it.
function joinModules(files) {
  const names = new Map(files.map((file, i) => [resolve(file), `module${i}`]));
  const parts = ["'use strict';"];
  for (const file of files) {
    const exported = [];
    const body = readFileSync(file, 'utf8').split('\n').map((line) => {
      const imported = importLine.exec(line);
      if (imported) {
        const from = names.get(resolve(dirname(file), imported[2]));
        if (!from) throw new Error(`${file}: ${imported[2]} is not one of the modules joined before it`);
        const bindings = imported[1].split(',').map((b) => b.trim().replace(/ as /, ': ')).filter(Boolean);
        return `const { ${bindings.join(', ')} } = ${from};`;
      }
      const declaration = exportedDeclaration.exec(line);
      if (declaration) {
        exported.push(declaration[2]);
        return line.slice('export '.length);
      }
      if (/^\s*(import|export)[\s{*]/.test(line)) throw new Error(`${file}: cannot join "${line}"`);
      return line;
    });
    parts.push(`const ${names.get(resolve(file))} = (() => {\n${body.join('\n')}\nreturn { ${exported.join(', ')} };\n})();`);
  }
  const script = parts.join('\n');
  new Function(script); // parsed, not run: a syntax error fails the build, not the page
  return script;
}

// Text that goes into a <script> or <style> element as it is.
function rawElementText(text, what) {
  if (/<\/(script|style)|<!--|<script/i.test(text)) throw new Error(`${what} cannot be inlined as it is`);
  return text;
}

// The page's pages of the reference as HTML: { 'commands/text': { title, html },
// 'ja/commands/text': … }.
function referencePages(docs, groups) {
  const names = groups.flatMap(({ page }) => [`commands/${page}`, `ja/commands/${page}`])
    .filter((name) => existsSync(join(docs, `${name}.md`)));
  return Object.fromEntries(names.map((name) => [name, renderPage(docs, `${name}.md`, names)]));
}

const json = (value) => JSON.stringify(value).replace(/</g, '\\u003c');
const sha256 = (text) => `'sha256-${createHash('sha256').update(text).digest('base64')}'`;

// What the page may load: its own style and script, a worker from a blob: URL
// that compiles the module, and nothing over the network.
function contentSecurityPolicy(page) {
  const style = /<style>([^]*?)<\/style>/.exec(page)[1];
  const script = /<script type="module">([^]*?)<\/script>/.exec(page)[1];
  return [`default-src 'none'`, `script-src ${sha256(script)} 'wasm-unsafe-eval'`, `style-src ${sha256(style)}`,
          `worker-src blob:`, `base-uri 'none'`, `form-action 'none'`].join('; ');
}

function main([wasmFile, output]) {
  if (!wasmFile || !output) throw new Error('usage: node web/build_playground.mjs TAVO_WASM OUTPUT_HTML');
  const docs = join(web, '..', 'docs');
  const groups = readReference(docs);
  const parts = {
    style: rawElementText(readFileSync(join(playground, 'style.css'), 'utf8'), 'style.css'),
    reference: json({ groups, messages: readMessages(docs) }),
    pages: json(referencePages(docs, groups)),
    worker: rawElementText(joinModules([join(web, 'tavo.js'), join(playground, 'charsets.js'), join(playground, 'worker.js')]), 'the worker'),
    wasm: readFileSync(wasmFile).toString('base64'),
    script: rawElementText(joinModules(PAGE_MODULES.map((name) => join(playground, name))), 'the page script'),
  };
  const template = readFileSync(join(playground, 'index.html'), 'utf8');
  const page = template.replace(/\{\{(\w+)\}\}/g, (marker, name) => {
    if (name === 'csp') return marker;
    if (!(name in parts)) throw new Error(`index.html: unknown ${marker}`);
    return parts[name];
  });
  writeFileSync(output, page.replace('{{csp}}', contentSecurityPolicy(page)));
}

main(process.argv.slice(2));
