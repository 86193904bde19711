// SPDX-License-Identifier: GPL-3.0-or-later
// The page in headless Chromium, served from a sub-path by a static server on 127.0.0.1: the
// title, the menu and stage 1 played with keys, a pause, 40 frames a second, the sound playing,
// the recording replayed by the native vane-sim to the page's own picture, settings kept over a
// reload, and the touch controls only on a device without hover.
// Usage: node page_test.mjs BUILD_DIR NATIVE_VANE_SIM [SHOTS_DIR]; exits 77 without
// playwright-core (npm ci in tests/web) or without Chromium.
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import {serveSite, launchChromium} from './page_tools.mjs';

const [buildDir, nativeSim, shots] = process.argv.slice(2);
const here = path.dirname(fileURLToPath(import.meta.url));
const Menu = 3, Stage1 = 4;

let failures = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures += 1;
}

const server = await serveSite(path.join(buildDir, 'site'), '/games/vane/');
const browser = await launchChromium(here);
if (!browser) process.exit(77);
try {
  const context = await browser.newContext({viewport: {width: 1000, height: 760}});
  const page = await context.newPage();
  page.on('console', (m) => { if (m.type() === 'error') console.log(`page: ${m.text()}`); });
  page.on('pageerror', (e) => console.log(`page error: ${e.message}`));
  const state = () => page.evaluate(() => window.vane.state());
  const waitFor = (test, timeout = 15000) =>
    page.waitForFunction(test, null, {timeout, polling: 50});
  const shoot = (name) => shots && page.screenshot({path: path.join(shots, `${name}.png`)});
  const tap = async (key) => {
    await page.keyboard.down(key);
    await page.waitForTimeout(120);
    await page.keyboard.up(key);
    await page.waitForTimeout(120);
  };

  await page.goto(`${server.url}games/vane/`);
  await waitFor(() => window.vane.state() && window.vane.state().gameState >= 1);
  const titleAt = await page.evaluate(() => performance.now());
  console.log(`title after ${titleAt.toFixed(0)} ms`);
  check(titleAt < 3000, 'the title shows within 3 s of the start of the page');
  await page.waitForTimeout(400);
  await shoot('title');

  // Into the menu: Return until it shows.
  for (let i = 0; i < 20 && (await state()).gameState !== Menu; ++i) await tap('Enter');
  check((await state()).gameState === Menu, 'Return leads from the title to the menu');
  await page.waitForTimeout(300);
  await shoot('menu');
  // The page never scrolls on the game's keys.
  await tap('ArrowDown');
  await tap('ArrowUp');
  await tap('Space');
  check(await page.evaluate(() => window.scrollY === 0 && document.scrollingElement.scrollTop === 0),
        'arrows and Space do not scroll the page');
  // The menu opens on its second row; the start row is two further down.
  await tap('ArrowDown');
  await tap('ArrowDown');
  for (let i = 0; i < 10 && (await state()).gameState !== Stage1; ++i) await tap('Enter');
  check((await state()).gameState === Stage1, 'Return on the menu starts stage 1');

  // Play: move and fire for a while.
  await page.keyboard.down('ArrowLeft');
  await page.keyboard.down('KeyZ');
  await page.waitForTimeout(1500);
  await page.keyboard.up('ArrowLeft');
  await page.keyboard.down('ArrowUp');
  await page.waitForTimeout(800);
  await page.keyboard.up('ArrowUp');
  await page.keyboard.up('KeyZ');
  await shoot('stage');

  // 40 frames a second.
  const before = await page.evaluate(() => [window.vane.state().frameCount, performance.now()]);
  await page.waitForTimeout(5000);
  const after = await page.evaluate(() => [window.vane.state().frameCount, performance.now()]);
  const rate = (after[0] - before[0]) * 1000 / (after[1] - before[1]);
  console.log(`${rate.toFixed(2)} stage frames a second`);
  check(Math.abs(rate - 40) < 1, 'stage frames run at 40 a second');

  const level = await page.evaluate(() => window.vane.soundLevel());
  console.log(`sound level ${level.toFixed(4)} RMS (${await page.evaluate(() => window.vane.soundState())})`);
  check(level > 0.001, 'the sound is playing');

  // Pause: Space stops the stage's frames; Space again goes on.
  await tap('Space');
  const pausedAt = (await state()).frameCount;
  await page.waitForTimeout(600);
  check((await state()).frameCount === pausedAt, 'Space pauses the stage');
  await tap('Space');
  await page.waitForTimeout(600);
  check((await state()).frameCount > pausedAt, 'Space again goes on');

  // The recording, replayed by the native vane-sim, ends on the page's picture.
  const [run, keys] = await page.evaluate(() => [window.vane.state(), window.vane.recording()]);
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'vane-page-'));
  fs.writeFileSync(path.join(scratch, 'run.keys'), keys);
  const trace = execFileSync(nativeSim, ['--input', path.join(scratch, 'run.keys'),
                                         '--frames', String(run.frame), '--trace', '-'],
                             {maxBuffer: 1 << 30}).toString().trim().split('\n');
  const last = JSON.parse(trace[trace.length - 1]);
  console.log(`frame ${run.frame}: page ${run.pictureHash}, vane-sim ${last.h} (f ${last.f})`);
  check(last.f === run.frame && last.h === run.pictureHash && last.gs === run.gameState,
        'vane-sim on the recording ends on the page\'s picture');
  fs.rmSync(scratch, {recursive: true});

  // Settings are kept over a reload.
  await page.evaluate(() => {
    const form = document.getElementById('settings-form');
    form.music_volume.value = 40;
    form.pause_badge.checked = false;
    form.dispatchEvent(new Event('change'));
  });
  await page.waitForTimeout(300);
  await page.reload();
  await waitFor(() => window.vane.state() && window.vane.state().gameState >= 1);
  const againAt = await page.evaluate(() => performance.now());
  console.log(`title after ${againAt.toFixed(0)} ms with the banks kept from the first visit`);
  check(againAt < 1000, 'a later visit shows the title within a second');
  const kept = await page.evaluate(() => [window.vane.config(),
    document.getElementById('settings-form').music_volume.value]);
  check(/music_volume = 40\n/.test(kept[0]) && /pause_badge = off\n/.test(kept[0]) &&
        kept[1] === '40', 'the settings survive a reload');
  const listed = await waitFor(() => document.querySelectorAll('#recording-list a').length > 0, 5000)
      .then(() => true, () => false);
  check(listed, 'the last run is offered for download');
  check(await page.evaluate(() => getComputedStyle(document.getElementById('touch')).display === 'none'),
        'no touch controls where the pointer hovers');

  // The recording dropped on the page is played back: it leads into stage 1 with no key pressed.
  await page.evaluate((text) => {
    const carried = new DataTransfer();
    carried.items.add(new File([text], 'run.keys', {type: 'text/plain'}));
    window.dispatchEvent(new DragEvent('drop', {dataTransfer: carried, cancelable: true}));
  }, keys);
  await page.waitForNavigation();
  const replayed = await waitFor(() => window.vane.state() &&
                                       window.vane.state().gameState === 4, 30000)
      .then(() => true, () => false);
  check(replayed, 'a recording dropped on the page plays back into the stage');
  await context.close();

  // A phone: touch controls over the picture, sending the game's keys.
  const phone = await browser.newContext({viewport: {width: 851, height: 393}, deviceScaleFactor: 2,
                                          isMobile: true, hasTouch: true});
  const mobile = await phone.newPage();
  await mobile.goto(`${server.url}games/vane/`);
  await mobile.waitForFunction(() => window.vane.state() && window.vane.state().gameState >= 1,
                               null, {timeout: 15000});
  check(await mobile.evaluate(() => matchMedia('(hover: none)').matches &&
                              getComputedStyle(document.getElementById('touch')).display !== 'none'),
        'touch controls where there is no hover');
  await mobile.waitForTimeout(500);
  if (shots) await mobile.screenshot({path: path.join(shots, 'touch.png')});
  await phone.close();
} finally {
  await browser.close();
  server.close();
}
console.log(failures === 0 ? 'the page passed' : `${failures} checks failed`);
process.exit(failures === 0 ? 0 : 1);
