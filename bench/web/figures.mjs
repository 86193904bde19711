// SPDX-License-Identifier: GPL-3.0-or-later
// The page's figures in headless Chromium: the time to the title (first visit, and later ones
// with the banks kept), the game's own time per stage frame, and the processor time of all of
// Chromium's processes in stage play beside the floor page (bench/web/floor.html), each the
// median of RUNS runs of SECONDS seconds.
// Usage: node bench/web/figures.mjs BUILD_DIR [RUNS] [SECONDS]  (playwright-core: npm ci in
// tests/web)
import fs from 'node:fs';
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import {serveSite, launchChromium} from '../../tests/web/page_tools.mjs';

const [buildDir, runsArg, secondsArg] = process.argv.slice(2);
const runs = Number(runsArg || 5);
const seconds = Number(secondsArg || 10);
const here = path.dirname(fileURLToPath(import.meta.url));
const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const kTicks = 100;  // USER_HZ: /proc's clock ticks a second

// Processor time (seconds) of every process below this one: Chromium and its children.
function descendantsSeconds() {
  const parents = new Map();
  const times = new Map();
  for (const pid of fs.readdirSync('/proc').filter((d) => /^\d+$/.test(d))) {
    try {
      const stat = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      parents.set(Number(pid), Number(fields[1]));
      times.set(Number(pid), (Number(fields[11]) + Number(fields[12])) / kTicks);
    } catch { /* gone meanwhile */ }
  }
  let total = 0;
  for (const [pid, time] of times) {
    for (let p = parents.get(pid); p; p = parents.get(p)) {
      if (p === process.pid) {
        total += time;
        break;
      }
    }
  }
  return total;
}

async function cpuWhile(page, measure) {
  const before = descendantsSeconds();
  const [startAt, startValue] = await page.evaluate(measure);
  await page.waitForTimeout(seconds * 1000);
  const [endAt, endValue] = await page.evaluate(measure);
  const wall = (endAt - startAt) / 1000;
  return {cpu: (descendantsSeconds() - before) / wall, value: endValue - startValue, wall};
}

const site = await serveSite(path.join(buildDir, 'site'), '/');
const floor = await serveSite(here, '/');
const browser = await launchChromium(path.join(here, '../../tests/web'));
if (!browser) process.exit(77);
const titled = (page) => page.waitForFunction(
    () => window.vane.state() && window.vane.state().gameState >= 1, null, {polling: 'raf'})
    .then(() => page.evaluate(() => performance.now()));

const first = [];
const later = [];
const play = [];
const floorRuns = [];
for (let run = 0; run < runs; ++run) {
  const context = await browser.newContext({viewport: {width: 1000, height: 760}});
  const page = await context.newPage();
  await page.goto(site.url);
  first.push(await titled(page));
  await page.reload();
  later.push(await titled(page));
  // Into stage 1 (Return, Return, down twice, Return), then play with fire held.
  for (const key of ['Enter', 'Enter', 'Enter', 'ArrowDown', 'ArrowDown', 'Enter', 'Enter']) {
    await page.keyboard.down(key);
    await page.waitForTimeout(150);
    await page.keyboard.up(key);
    await page.waitForTimeout(150);
  }
  await page.keyboard.down('KeyZ');
  await page.keyboard.down('ShiftLeft');
  await page.waitForTimeout(2000);
  const busy = await page.evaluate(() => [window.vane.state().busyMillis,
                                          window.vane.state().frameCount]);
  const stage = await cpuWhile(page, () => [performance.now(), window.vane.state().frameCount]);
  const after = await page.evaluate(() => [window.vane.state().busyMillis,
                                           window.vane.state().frameCount, window.vane.state().gameState]);
  play.push({...stage, msPerFrame: (after[0] - busy[0]) / (after[1] - busy[1]), gs: after[2]});
  await context.close();

  const floorContext = await browser.newContext({viewport: {width: 1000, height: 760}});
  const floorPage = await floorContext.newPage();
  await floorPage.goto(`${floor.url}floor.html`);
  await floorPage.waitForTimeout(2000);
  floorRuns.push(await cpuWhile(floorPage, () => [performance.now(), window.floor.puts()]));
  await floorContext.close();
}
await browser.close();
site.close();
floor.close();

const show = (label, xs, unit) => console.log(`${label}: median ${median(xs).toFixed(2)} ${unit} ` +
                                              `(runs: ${xs.map((x) => x.toFixed(2)).join(' ')})`);
show('title, first visit', first, 'ms');
show('title, later visit', later, 'ms');
show('stage frames a second', play.map((p) => p.value / p.wall), '');
show('game time per stage frame', play.map((p) => p.msPerFrame), 'ms');
show('Chromium CPU in stage play', play.map((p) => p.cpu * 100), '% of a core');
show('floor puts a second', floorRuns.map((p) => p.value / p.wall), '');
show('Chromium CPU on the floor page', floorRuns.map((p) => p.cpu * 100), '% of a core');
console.log(`stage states at the end: ${play.map((p) => p.gs).join(' ')}`);
