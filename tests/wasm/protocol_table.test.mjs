// The protocol case table against tavo.wasm: the same request bytes in and the
// same response bytes out as for the native build. A case marked "@ disk"
// answers from the file system, which the module has none of here: skipped.
import assert from "node:assert/strict";
import { basename } from "node:path";
import { test } from "node:test";

import { caseFiles, newTavo, readCaseFile } from "./support.mjs";

const tavo = await newTavo();

for (const file of caseFiles()) {
  for (const c of readCaseFile(file)) {
    const skip = c.disk && "answers from the file system";
    test(`${basename(file, ".cases")}: ${c.name}`, { skip }, () => {
      const response = Buffer.from(tavo.requestBytes(c.request));
      assert.equal(response.toString("latin1"), c.expected.toString("latin1"), c.location);
    });
  }
}
