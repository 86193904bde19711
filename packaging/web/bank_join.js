// SPDX-License-Identifier: GPL-3.0-or-later
// The music bank from its two halves as vane-banks composes them (--half 1, --half 2): a sound
// bank is "SND", a zero, the clip count, then each clip with its format and length before it, so
// the whole is the first half with the second's clips after its own.
'use strict';
function joinBanks(first, second) {
  const a = new Uint8Array(first);
  const b = new Uint8Array(second);
  const joined = new Uint8Array(a.length + b.length - 5);
  joined.set(a);
  joined[4] = a[4] + b[4];
  joined.set(b.subarray(5), a.length);
  return joined.buffer;
}
if (typeof module !== 'undefined') module.exports = {joinBanks};
