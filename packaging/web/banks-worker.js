// SPDX-License-Identifier: GPL-3.0-or-later
// The page's worker: composes one half of the sound banks with the forge's synthesiser
// (vane-banks, whose wasm the page hands over) and hands their bytes back.
'use strict';
importScripts('vane-banks.js');
onmessage = (e) => {
  createBanks({wasmBinary: e.data.composer, print: () => {}, printErr: (s) => console.warn(s)})
      .then((banks) => {
        banks.FS.mkdir('/out');
        const status = banks.callMain(['/out', '--half', String(e.data.half)]);
        if (status !== 0 && status !== undefined) {
          postMessage({error: `vane-banks stopped with status ${status}`});
          return;
        }
        const made = {};
        const transfer = [];
        for (const name of e.data.half === 1 ? ['1.snd', 'music.snd'] : ['music.snd']) {
          const bytes = banks.FS.readFile(`/out/${name}`);
          made[name] = bytes.buffer;
          transfer.push(bytes.buffer);
        }
        postMessage({banks: made}, transfer);
      })
      .catch((error) => postMessage({error: String(error)}));
};
