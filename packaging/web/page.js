// SPDX-License-Identifier: GPL-3.0-or-later
// The page around the game: loads the data, composes the sound banks in a worker, starts the
// program, and carries the page's keys, controllers, touches, sound, settings and recordings.
'use strict';

(() => {
  const kSprites = ['player.spr', 'enemy.spr', 'eb.spr', 'back001.spr', 'stage.spr', 'x.spr',
                    'etc.spr'];
  const kConfigFile = '/home/web_user/.config/vane/vane.conf';
  const kReplayFile = '/replay.keys';
  const kKeptRecordings = 20;  // the latest runs kept

  const canvas = document.getElementById('screen');
  const context = canvas.getContext('2d', {alpha: false});
  const statusLine = document.getElementById('status');
  let game = null;    // the program's module, once it runs
  let picture = null; // an ImageData over the program's RGBA picture
  let sound = null;   // {context, processor, analyser}
  let soundWanted = null;
  let gestured = false;
  let focused = true;
  let recordingKept = true;
  const runDate = new Date().toISOString();
  const kSaveEverySeconds = 5;

  // --- saved data: IndexedDB, one store of settings and one of recordings ---
  const database = new Promise((resolve, reject) => {
    const open = indexedDB.open('vane', 1);
    open.onupgradeneeded = () => {
      open.result.createObjectStore('settings');
      open.result.createObjectStore('recordings', {autoIncrement: true});
    };
    open.onsuccess = () => resolve(open.result);
    open.onerror = () => reject(open.error);
  });
  function request(store, mode, act) {
    return database.then((db) => new Promise((resolve, reject) => {
      const r = act(db.transaction(store, mode).objectStore(store));
      r.onsuccess = () => resolve(r.result);
      r.onerror = () => reject(r.error);
    }));
  }
  const loadSetting = (key) => request('settings', 'readonly', (s) => s.get(key));
  const saveSetting = (key, value) => request('settings', 'readwrite', (s) => s.put(value, key));
  const deleteSetting = (key) => request('settings', 'readwrite', (s) => s.delete(key));

  // --- the config file, as the desktop program reads it ---
  function configValues(text) {
    const values = {};
    for (const line of (text || '').split('\n')) {
      const m = /^\s*([a-z_]+)\s*=\s*(.*?)\s*$/.exec(line);
      if (m) values[m[1]] = m[2];
    }
    return values;
  }
  function configText(values) {
    return Object.entries(values).map(([k, v]) => `${k} = ${v}\n`).join('');
  }
  const form = document.getElementById('settings-form');
  let config = {};
  function showSettings() {
    form.music_volume.value = config.music_volume ?? 100;
    form.effect_volume.value = config.effect_volume ?? 100;
    form.scale.value = config.scale ?? 'integer';
    form.pause_badge.checked = (config.pause_badge ?? 'on') !== 'off';
    placePicture();
  }
  form.addEventListener('change', () => {
    config.music_volume = form.music_volume.value;
    config.effect_volume = form.effect_volume.value;
    config.scale = form.scale.value;
    config.pause_badge = form.pause_badge.checked ? 'on' : 'off';
    const text = configText(config);
    saveSetting('vane.conf', text);
    if (game) game.FS.writeFile(kConfigFile, text);
    placePicture();
  });

  // --- the picture: whole steps with crisp pixels when one fits (or filling the page when the
  // settings say fit), shrunk to fit a smaller page ---
  function placePicture() {
    const area = document.getElementById('stage').getBoundingClientRect();
    const ratio = window.devicePixelRatio || 1;
    const whole = Math.floor(Math.min(area.width * ratio / 640, area.height * ratio / 480));
    const filled = Math.min(area.width, area.height * 4 / 3);
    const width = whole >= 1 && config.scale !== 'fit' ? whole * 640 / ratio : filled;
    canvas.classList.toggle('whole', Number.isInteger(width * ratio / 640));
    canvas.style.width = `${width}px`;
    canvas.style.height = `${width * 3 / 4}px`;
  }
  window.addEventListener('resize', placePicture);

  // --- what the program calls (src/platform/web) ---
  const page = {
    putBlocks(buffer, rgba, rects, count) {
      if (!picture || picture.data.buffer !== buffer) {
        picture = new ImageData(new Uint8ClampedArray(buffer, rgba, 640 * 480 * 4), 640, 480);
      }
      const r = new Int32Array(buffer, rects, count * 4);
      for (let i = 0; i < count * 4; i += 4) {
        context.putImageData(picture, 0, 0, r[i], r[i + 1], r[i + 2], r[i + 3]);
      }
    },
    openAudio(rate, frames) {
      soundWanted = {rate, frames};
      if (gestured) startSound();
    },
    closeAudio() {
      if (sound) sound.context.close();
      sound = null;
      soundWanted = null;
    },
    dialog(title, text) {
      const dialog = document.getElementById('dialog');
      dialog.querySelector('h2').textContent = title;
      dialog.querySelector('p').textContent = text;
      if (!dialog.open) dialog.showModal();
    },
    ended(status) {
      saveRecording();
      statusLine.textContent = status === 0 ? 'The game has ended. Reload the page to play again.'
                                            : `The game stopped (status ${status}).`;
    },
  };

  // --- sound: the program's mixer pulled by a script processor, from the first gesture on ---
  function startSound() {
    if (sound || !soundWanted || !game) return;
    const audio = new AudioContext({sampleRate: soundWanted.rate, latencyHint: 'interactive'});
    const processor = audio.createScriptProcessor(soundWanted.frames, 0, 2);
    const analyser = audio.createAnalyser();
    analyser.fftSize = 2048;
    processor.onaudioprocess = (e) => {
      const out = e.outputBuffer;
      const n = out.length;
      const at = game._vane_audio_pull(n) >> 1;
      const samples = game.HEAP16.subarray(at, at + 2 * n);
      const left = out.getChannelData(0);
      const right = out.getChannelData(1);
      for (let i = 0; i < n; ++i) {
        left[i] = samples[2 * i] / 32768;
        right[i] = samples[2 * i + 1] / 32768;
      }
    };
    processor.connect(analyser);
    analyser.connect(audio.destination);
    sound = {context: audio, processor, analyser};
    audio.resume();
  }
  function onGesture() {
    gestured = true;
    if (sound && sound.context.state === 'suspended') sound.context.resume();
    startSound();
  }
  for (const kind of ['keydown', 'pointerdown', 'touchstart']) {
    window.addEventListener(kind, onGesture, {capture: true, passive: true});
  }

  // --- keys, focus, full screen ---
  function sendKey(down, code, repeat, alt) {
    if (game) game.ccall('vane_key', null, ['number', 'string', 'number', 'number'],
                         [down ? 1 : 0, code, repeat ? 1 : 0, alt ? 1 : 0]);
  }
  function toggleFullscreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else {
      document.getElementById('stage').requestFullscreen().catch(() => {});
    }
  }
  document.getElementById('full').addEventListener('click', toggleFullscreen);
  // The page's own keys stay the browser's: reloading, its tools, Ctrl and Cmd combinations.
  const browserKey = (e) => e.ctrlKey || e.metaKey || /^F([1-9]|12)$/.test(e.code);
  window.addEventListener('keydown', (e) => {
    const alt = e.altKey && !e.ctrlKey;
    if (e.code === 'F11' || (alt && (e.code === 'Enter' || e.code === 'NumpadEnter'))) {
      e.preventDefault();
      if (!e.repeat) toggleFullscreen();
      return;
    }
    if (e.target instanceof HTMLInputElement || e.target instanceof HTMLSelectElement) return;
    if (!browserKey(e)) e.preventDefault();
    sendKey(true, e.code, e.repeat, alt);
  });
  window.addEventListener('keyup', (e) => {
    if (!browserKey(e)) e.preventDefault();
    sendKey(false, e.code, false, false);
  });
  function setFocus(now) {
    if (now === focused || !game) return;
    focused = now;
    game._vane_focus(now ? 1 : 0);
  }
  const activeNow = () => document.visibilityState === 'visible' && document.hasFocus();
  window.addEventListener('blur', () => setFocus(false));
  window.addEventListener('focus', () => setFocus(activeNow()));
  document.addEventListener('visibilitychange', () => {
    setFocus(activeNow());
    if (document.visibilityState === 'hidden') saveRecording();
  });
  window.addEventListener('pagehide', saveRecording);
  document.addEventListener('fullscreenchange', () => {
    placePicture();
    if (game) game._vane_exposed();
  });

  // --- controllers: read each animation frame, standard layout only ---
  function readPads() {
    if (game) {
      for (const pad of navigator.getGamepads ? navigator.getGamepads() : []) {
        if (!pad || pad.mapping !== 'standard') continue;
        let bits = 0;
        pad.buttons.forEach((b, i) => { if (b.pressed && i < 32) bits |= 1 << i; });
        game._vane_pad(pad.index, bits >>> 0, pad.axes[0] || 0, pad.axes[1] || 0);
      }
    }
    requestAnimationFrame(readPads);
  }
  window.addEventListener('gamepaddisconnected', (e) => {
    if (game) game._vane_pad_gone(e.gamepad.index);
  });

  // --- touch controls (shown only where there is no hovering pointer: see page.css) ---
  for (const button of document.querySelectorAll('#touch span')) {
    const code = button.dataset.code;
    const release = (e) => {
      e.preventDefault();
      if (!button.classList.contains('held')) return;
      button.classList.remove('held');
      sendKey(false, code, false, false);
    };
    button.addEventListener('pointerdown', (e) => {
      e.preventDefault();
      button.setPointerCapture(e.pointerId);
      button.classList.add('held');
      sendKey(true, code, false, false);
    });
    button.addEventListener('pointerup', release);
    button.addEventListener('pointercancel', release);
  }

  // --- recordings: every run's key script, kept in the browser, offered for download ---
  function recordingText() {
    return game ? game.UTF8ToString(game._vane_recording()) : '';
  }
  // Kept as the run goes (a page may be closed at any moment), under the run's start time.
  function saveRecording() {
    const text = recordingText();
    if (!recordingKept || text.split('\n').length < 3) return;
    request('recordings', 'readwrite', (s) => s.put({date: runDate, text}, runDate))
        .then(() => request('recordings', 'readonly', (s) => s.getAllKeys()))
        .then((keys) => Promise.all(keys.sort().slice(0, -kKeptRecordings).map(
            (k) => request('recordings', 'readwrite', (s) => s.delete(k)))))
        .then(listRecordings);
  }
  function listRecordings() {
    request('recordings', 'readonly', (s) => s.getAll()).then((all) => {
      const list = document.getElementById('recording-list');
      list.replaceChildren();
      all.sort((a, b) => (a.date < b.date ? -1 : 1));
      for (const r of all.reverse()) {
        const a = document.createElement('a');
        a.href = URL.createObjectURL(new Blob([r.text], {type: 'text/plain'}));
        a.download = `vane-${r.date.replace(/[:.]/g, '-')}.keys`;
        a.textContent = r.date;
        const item = document.createElement('li');
        item.append(a);
        list.append(item);
      }
    });
  }
  // A recording dropped on the page is watched: the page starts again replaying it.
  window.addEventListener('dragover', (e) => e.preventDefault());
  window.addEventListener('drop', (e) => {
    e.preventDefault();
    const file = e.dataTransfer.files[0];
    if (!file) return;
    saveRecording();
    file.text().then((text) => saveSetting('replay', text)).then(() => location.reload());
  });

  // --- the sound banks, composed from their score in a worker as the rest loads, and kept in
  // the browser under the composer's own digest, so that a later visit starts at once ---
  function composeHalf(composer, half) {
    return new Promise((resolve, reject) => {
      const worker = new Worker('banks-worker.js');
      worker.onmessage = (e) => {
        worker.terminate();
        if (e.data.error) reject(new Error(e.data.error)); else resolve(e.data.banks);
      };
      worker.onerror = (e) => reject(new Error(e.message));
      worker.postMessage({composer, half});
    });
  }
  // Two workers, one a processor, each composing about half of the work.
  async function composeBanks(composer) {
    const [first, second] = await Promise.all([composeHalf(composer, 1),
                                               composeHalf(composer, 2)]);
    return {'1.snd': first['1.snd'], 'music.snd': joinBanks(first['music.snd'], second['music.snd'])};
  }
  async function soundBanks() {
    const composer = await fetchBytes('vane-banks.wasm');
    const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', composer));
    const key = `banks-${Array.from(digest, (b) => b.toString(16).padStart(2, '0')).join('')}`;
    const kept = await loadSetting(key).catch(() => null);
    if (kept) return kept;
    const banks = await composeBanks(composer);
    // Banks of an earlier composer are of no more use.
    request('settings', 'readonly', (s) => s.getAllKeys()).then((keys) => Promise.all(
        keys.filter((k) => String(k).startsWith('banks-')).map(deleteSetting)))
        .then(() => saveSetting(key, banks)).catch(() => {});
    return banks;
  }
  const fetchBytes = (url) => fetch(url).then((r) => {
    if (!r.ok) throw new Error(`${url}: ${r.status} ${r.statusText}`);
    return r.arrayBuffer();
  });
  function loadScript(url) {
    return new Promise((resolve, reject) => {
      const script = document.createElement('script');
      script.src = url;
      script.onload = resolve;
      script.onerror = () => reject(new Error(`${url} did not load`));
      document.head.append(script);
    });
  }

  async function start() {
    const banks = soundBanks();
    const sprites = Promise.all(kSprites.map((name) => fetchBytes(`data/${name}`)));
    const [configFile, replay] = await Promise.all([loadSetting('vane.conf'),
                                                    loadSetting('replay')]);
    config = configValues(configFile);
    showSettings();
    listRecordings();
    await loadScript('vane.js');
    const module = await createVane({page, print: (s) => console.log(s),
                                     printErr: (s) => console.warn(s)});
    module.FS.mkdir('/data');
    (await sprites).forEach((bytes, i) => {
      module.FS.writeFile(`/data/${kSprites[i]}`, new Uint8Array(bytes));
    });
    for (const [name, bytes] of Object.entries(await banks)) {
      module.FS.writeFile(`/data/${name}`, new Uint8Array(bytes));
    }
    module.FS.mkdirTree(kConfigFile.replace(/\/[^/]*$/, ''));
    if (configFile) module.FS.writeFile(kConfigFile, configFile);
    const args = [];
    if (replay) {
      await deleteSetting('replay');
      module.FS.writeFile(kReplayFile, replay);
      args.push('--replay', kReplayFile);
      recordingKept = false;  // a replay is not a new run to keep
    }
    game = module;
    statusLine.textContent = '';
    canvas.focus();
    module.callMain(args);
    focused = true;
    setFocus(activeNow());
    requestAnimationFrame(readPads);
    setInterval(saveRecording, kSaveEverySeconds * 1000);
    window.vane.loadedAt = performance.now();
  }

  // For the page's tests, and for the curious: the run as the trace has it, and its keys.
  window.vane = {
    state: () => (game ? JSON.parse(game.UTF8ToString(game._vane_state())) : null),
    recording: recordingText,
    soundLevel() {
      if (!sound) return 0;
      const samples = new Float32Array(sound.analyser.fftSize);
      sound.analyser.getFloatTimeDomainData(samples);
      return Math.sqrt(samples.reduce((sum, s) => sum + s * s, 0) / samples.length);
    },
    soundState: () => (sound ? sound.context.state : 'none'),
    config: () => configText(config),
  };

  start().catch((error) => {
    statusLine.textContent = `The game could not start: ${error.message}`;
    console.error(error);
  });
})();
