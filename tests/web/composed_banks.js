// SPDX-License-Identifier: GPL-3.0-or-later
// The banks vane-banks.js composes are the forge's, byte for byte: whole, and in the two halves
// the page's workers compose, joined as the page joins them (packaging/web/bank_join.js).
// Usage: node composed_banks.js VANE_BANKS_JS DATA_DIR
'use strict';
const fs = require('fs');
const path = require('path');
const {joinBanks} = require('../../packaging/web/bank_join.js');
const [banksJs, dataDir] = process.argv.slice(2);
const createBanks = require(path.resolve(banksJs));

async function compose(dir, args) {
  const banks = await createBanks({print: () => {}});
  banks.FS.mkdir(dir);
  banks.callMain([dir, ...args]);
  const read = (name) => banks.FS.readFile(`${dir}/${name}`);
  return args.length === 0 || args[1] === '1' ? {'1.snd': read('1.snd'), 'music.snd': read('music.snd')}
                                              : {'music.snd': read('music.snd')};
}

function compare(how, name, made) {
  const composed = Buffer.from(made);
  const forged = fs.readFileSync(path.join(dataDir, name));
  if (composed.equals(forged)) {
    console.log(`${name} ${how}: ${composed.length} bytes, the same as the forge's`);
    return true;
  }
  let at = 0;
  while (at < composed.length && at < forged.length && composed[at] === forged[at]) ++at;
  console.log(`${name} ${how}: differs from the forge's at byte ${at} ` +
              `(${composed.length} bytes composed, ${forged.length} forged)`);
  return false;
}

(async () => {
  const whole = await compose('/whole', []);
  const first = await compose('/first', ['--half', '1']);
  const second = await compose('/second', ['--half', '2']);
  const results = [
    compare('whole', '1.snd', whole['1.snd']),
    compare('whole', 'music.snd', whole['music.snd']),
    compare('in halves', '1.snd', first['1.snd']),
    compare('in halves', 'music.snd', joinBanks(first['music.snd'].slice().buffer,
                                                 second['music.snd'].slice().buffer)),
  ];
  process.exit(results.every((ok) => ok) ? 0 : 1);
})();
