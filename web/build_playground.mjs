// Writes the playground as one self-contained HTML file that works opened
// straight from disk: the page's styles and scripts inlined, tavo.js inlined
// into the worker's source, the module embedded as base64, and each command
// prefilled with the example of its page in docs/. The same inputs always give
// the same bytes.
//   node web/build_playground.mjs path/to/tavo.wasm path/to/playground.html
import { readFileSync, writeFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { readReference } from './reference.mjs';

const web = dirname(fileURLToPath(import.meta.url));
const playground = join(web, 'playground');
const importLine = /^import \{([^}]*)\} from '([^']+)';$/;
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

function main([wasmFile, output]) {
  if (!wasmFile || !output) throw new Error('usage: node web/build_playground.mjs TAVO_WASM OUTPUT_HTML');
  const reference = readReference(join(web, '..', 'docs'));
  const parts = {
    style: rawElementText(readFileSync(join(playground, 'style.css'), 'utf8'), 'style.css'),
    reference: JSON.stringify(reference).replace(/</g, '\\u003c'),
    worker: rawElementText(joinModules([join(web, 'tavo.js'), join(playground, 'worker.js')]), 'the worker'),
    wasm: readFileSync(wasmFile).toString('base64'),
    script: rawElementText(joinModules(['strings.js', 'runner.js', 'render.js', 'arguments.js', 'main.js']
      .map((name) => join(playground, name))), 'the page script'),
  };
  const template = readFileSync(join(playground, 'index.html'), 'utf8');
  const page = template.replace(/\{\{(\w+)\}\}/g, (marker, name) => {
    if (!(name in parts)) throw new Error(`index.html: unknown ${marker}`);
    return parts[name];
  });
  writeFileSync(output, page);
}

main(process.argv.slice(2));
