// Every request shown in docs/ gets the response shown after it from
// tavo.wasm; `choice` may answer any of its arguments. lsimg and mkdir answer
// from the file system: skipped.
import assert from "node:assert/strict";
import { test } from "node:test";

import { docsExamples, newTavo } from "./support.mjs";

const tavo = await newTavo();
const examples = docsExamples();

test("the documentation shows examples", () => assert.ok(examples.length > 0));

for (const example of examples) {
  const skip = example.disk && "answers from the file system";
  test(example.location, { skip }, () => {
    assert.ok(example.request !== null, `${example.location}: a response without a request before it`);
    assert.ok(example.accepted.includes(example.shown), `${example.location}: the shown response is not among the accepted ones`);
    const response = tavo.request(example.request);
    assert.ok(example.accepted.includes(response), `${example.location}\nrequest:  ${JSON.stringify(example.request)}\nexpected: ${JSON.stringify(example.shown)}\nactual:   ${JSON.stringify(response)}`);
  });
}
