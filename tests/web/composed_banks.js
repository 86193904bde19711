// SPDX-License-Identifier: GPL-3.0-or-later
// The banks vane-banks.js composes (as the page's worker does) are the forge's, byte for byte.
// Usage: node composed_banks.js VANE_BANKS_JS DATA_DIR
'use strict';
const fs = require('fs');
const path = require('path');
const [banksJs, dataDir] = process.argv.slice(2);
require(path.resolve(banksJs))({print: () => {}}).then((banks) => {
  banks.FS.mkdir('/out');
  banks.callMain(['/out']);
  let failed = false;
  for (const name of ['1.snd', 'music.snd']) {
    const composed = Buffer.from(banks.FS.readFile(`/out/${name}`));
    const forged = fs.readFileSync(path.join(dataDir, name));
    if (composed.equals(forged)) {
      console.log(`${name}: ${composed.length} bytes, the same as the forge's`);
      continue;
    }
    let at = 0;
    while (at < composed.length && at < forged.length && composed[at] === forged[at]) ++at;
    console.log(`${name}: differs from the forge's at byte ${at} ` +
                `(${composed.length} bytes composed, ${forged.length} forged)`);
    failed = true;
  }
  process.exit(failed ? 1 : 0);
});
