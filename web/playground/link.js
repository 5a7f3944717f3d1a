// The request a link holds after its #, so that a link opens the page with the
// same request; the # stays on the machine. The forms:
//   #command=substr&1=あいうえお&2=1&3=2   a command and its arguments
//   #raw=GET+Version+SAORI%2F1.0%0A%0A    a raw request
//   #substr                                a command with its first example
// A request is { command, args } or { raw }; { command } alone asks for the example.

// A longer link holds only the command, and a raw request none of its text.
const LINK_LIMIT = 32_000;

// The request of a link's #, or null for none or one that cannot be read:
// the page then opens as without a link.
export function requestOfHash(hash, knownCommand) {
  const body = hash.replace(/^#/, '');
  if (!body.includes('=')) {
    try {
      const name = decodeURIComponent(body);
      return knownCommand(name) ? { command: name } : null;
    } catch {
      return null;  // not percent-encoded UTF-8
    }
  }
  const params = new URLSearchParams(body);
  if (params.has('raw')) return { raw: params.get('raw') };
  if (!params.has('command')) return null;
  const indices = [...params.keys()].filter((key) => /^[1-9][0-9]{0,4}$/.test(key)).map(Number);
  const count = Math.max(0, ...indices);
  return { command: params.get('command'), args: Array.from({ length: count }, (_, i) => params.get(String(i + 1)) ?? '') };
}

// { hash, whole }: the # for a request, and whether it holds all of it.
export function hashOf(request) {
  const params = new URLSearchParams();
  if ('raw' in request) params.set('raw', request.raw);
  else {
    params.set('command', request.command);
    request.args.forEach((arg, i) => params.set(String(i + 1), arg));
  }
  const hash = `#${params}`;
  if (hash.length <= LINK_LIMIT) return { hash, whole: true };
  return { hash: 'raw' in request ? '#' : `#${encodeURIComponent(request.command)}`, whole: false };
}
