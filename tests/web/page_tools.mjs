// SPDX-License-Identifier: GPL-3.0-or-later
// What the page's test and figures share: a static server for the site on 127.0.0.1 under a
// sub-path, and Debian's Chromium started headless with a fresh profile.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import {createRequire} from 'node:module';

const kTypes = {'.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
                '.wasm': 'application/wasm', '.png': 'image/png',
                '.webmanifest': 'application/manifest+json'};

// Serves `dir` under `prefix` ("/a/b/"); resolves to {url, close}.
export function serveSite(dir, prefix = '/') {
  const server = http.createServer((request, response) => {
    const url = new URL(request.url, 'http://127.0.0.1');
    let name = url.pathname.startsWith(prefix) ? url.pathname.slice(prefix.length) : null;
    if (name === '') name = 'index.html';
    const file = name === null ? null : path.join(dir, path.normalize(name));
    if (!file || !file.startsWith(dir) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, {'Content-Type': kTypes[path.extname(file)] || 'application/octet-stream',
                             'Cache-Control': 'no-cache'});
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => {
    resolve({url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close()});
  }));
}

export const kChromiumFlags = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--autoplay-policy=no-user-gesture-required', '--mute-audio'];

// Chromium through playwright-core from tests/web/node_modules; null (with the reason) when
// either is missing. Playwright starts it headless, with a fresh --user-data-dir of its own.
export async function launchChromium(testsDir) {
  let chromium;
  try {
    ({chromium} = createRequire(path.join(testsDir, 'package.json'))('playwright-core'));
  } catch {
    console.log('no playwright-core: run npm ci in tests/web');
    return null;
  }
  if (!fs.existsSync('/usr/bin/chromium')) {
    console.log('no /usr/bin/chromium');
    return null;
  }
  return chromium.launch({executablePath: '/usr/bin/chromium', headless: true,
                          args: kChromiumFlags});
}
