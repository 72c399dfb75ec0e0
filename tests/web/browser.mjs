// browser.mjs - Debian's Chromium, headless, driven through the DevTools
// protocol (puppeteer-core), on the page served from 127.0.0.1: the one
// launcher of the browser tests, make bench-web and make stills-web.
//
// WebGL runs on the CPU, with no display and no GPU: on Mesa's llvmpipe
// (ANGLE over Mesa's EGL), the rasteriser tarrow-render draws with, where this
// Chromium offers it, else on SwiftShader (Chromium's own CPU renderer).
// TARROW_WEBGL=swiftshader or =llvmpipe asks for one (as openBrowser's webgl
// does, for a test that needs one); llvmpipe asked for and not offered fails. Every wait is for a condition the page states in
// window.tarrow, never for a length of time. Whatever the page says on its
// console is kept; an error there (a GL call the layer does not implement
// says so and stops) fails the test that sees it.
import puppeteer from 'puppeteer-core';
import {mkdtemp, rm} from 'node:fs/promises';
import {tmpdir} from 'node:os';
import {join} from 'node:path';

import {serve} from '../../scripts/serve-web.mjs';

const kChromium = process.env.TARROW_CHROMIUM || '/usr/bin/chromium';

// Flags for a machine without a GPU or a network.
const kFlags = [
  '--no-sandbox',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
  '--no-first-run',
  '--disable-quic',
  '--disable-background-timer-throttling',
  '--disable-renderer-backgrounding',
  '--disable-backgrounding-occluded-windows',
];

// Each backend's flags, and what its WebGL renderer string names. Chromium
// lists llvmpipe as a GPU it will not use unless told to ignore its list.
const kBackends = {
  llvmpipe: {flags: ['--use-angle=gl-egl', '--ignore-gpu-blocklist'], renderer: /llvmpipe/},
  swiftshader: {flags: ['--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
                renderer: /SwiftShader/},
};

function wantedBackends(asked) {
  if (!asked) return ['llvmpipe', 'swiftshader'];
  if (!kBackends[asked]) {
    throw new Error(`TARROW_WEBGL=${asked}: not one of ${Object.keys(kBackends).join(', ')}`);
  }
  return [asked];
}

// The WebGL 2 renderer a blank page of `browser` gets, as the driver names
// it, or '' without WebGL 2.
async function webglRenderer(browser) {
  const page = await browser.newPage();
  try {
    return await page.evaluate(() => {
      const gl = document.createElement('canvas').getContext('webgl2');
      const info = gl?.getExtension('WEBGL_debug_renderer_info');
      return gl ? gl.getParameter(info ? info.UNMASKED_RENDERER_WEBGL : gl.RENDERER) : '';
    });
  } finally {
    await page.close();
  }
}

// Chromium on the first of the wanted backends that it offers, with its
// name and renderer string.
async function launch(profile, asked) {
  const refused = [];
  for (const backend of wantedBackends(asked)) {
    const browser = await puppeteer.launch({
      executablePath: kChromium,
      headless: true,
      userDataDir: profile,
      args: [...kFlags, ...kBackends[backend].flags],
      protocolTimeout: 600000,
      dumpio: !!process.env.TARROW_CHROMIUM_LOG,
    });
    const renderer = await webglRenderer(browser);
    if (kBackends[backend].renderer.test(renderer)) return {browser, backend, renderer};
    await browser.close();
    refused.push(`${backend}: WebGL 2 renderer '${renderer}'`);
  }
  throw new Error('no WebGL 2 on the CPU: ' + refused.join('; '));
}

// A browser and a server of `folder`; close() ends both. backend (llvmpipe or
// swiftshader) and renderer say what draws the page's WebGL.
export async function openBrowser(folder, {webgl = process.env.TARROW_WEBGL} = {}) {
  const profile = await mkdtemp(join(tmpdir(), 'tarrow-chromium-'));
  let launched;
  try {
    launched = await launch(profile, webgl);
  } catch (error) {
    await rm(profile, {recursive: true, force: true});
    throw error;
  }
  const {browser, backend, renderer} = launched;
  const {server, address} = await serve(folder);
  return {
    browser,
    backend,
    renderer,
    address,
    async close() {
      await browser.close();
      server.close();
      await rm(profile, {recursive: true, force: true});
    },
  };
}

// Opens the page with the query; the page's console lines are kept on it.
export async function openPage(session, query, viewport = {width: 1280, height: 800}) {
  const page = await session.browser.newPage();
  await page.setViewport(viewport);
  page.consoleLines = [];
  page.consoleErrors = [];
  page.on('console', (message) => {
    const text = message.text();
    page.consoleLines.push(text);
    if (message.type() === 'error') page.consoleErrors.push(text);
  });
  page.on('pageerror', (error) => page.consoleErrors.push(String(error)));
  await page.bringToFront(); // a page behind another is hidden, as a minimised window
  await page.goto(session.address + query);
  return page;
}

// The value of a JavaScript expression in the page, looked at as a watcher,
// not as the page's user: puppeteer's own evaluate counts as the user's
// gesture, as a key press does, and the browser grants full screen on one.
export async function look(page, expression) {
  page.watcher ??= await page.createCDPSession();
  const {result, exceptionDetails} =
      await page.watcher.send('Runtime.evaluate', {expression, returnByValue: true});
  if (exceptionDetails) {
    throw new Error(expression + ': ' +
                    (exceptionDetails.exception?.description ?? exceptionDetails.text));
  }
  return result.value;
}

// Waits until `condition`, a JavaScript expression over the page's status
// (window.tarrow, as `status`) and `argument` (as `arg`), holds, looking
// every tenth of a second; throws with what the page's console said when the
// page fails first, and with what it shows when it hangs (nothing the tests
// wait for takes minutes). With TARROW_WEB_DEBUG set, says every 50 looks
// what it waits for and what the page shows.
const kPatienceMs = 10 * 60 * 1000;

export async function waitForPage(page, condition, argument = null) {
  const deadline = Date.now() + kPatienceMs;
  for (let looks = 1; ; ++looks) {
    const seen = await look(page, `((status, arg) => {
      if (!status) return false;
      if (status.state === 'failed') return 'failed';
      return Boolean(${condition});
    })(window.tarrow, ${JSON.stringify(argument)})`);
    if (seen === 'failed') {
      throw new Error('the page failed: ' + page.consoleErrors.join(' | '));
    }
    if (seen) return;
    const hung = Date.now() > deadline;
    if (hung || (process.env.TARROW_WEB_DEBUG && looks % 50 === 0)) {
      const shows = await look(page, `JSON.stringify({
        state: window.tarrow?.state, swaps: window.tarrow?.swaps, hidden: document.hidden,
        fullScreen: document.fullscreenElement?.id, refused: window.tarrow?.fullScreenRefused})`);
      if (hung) {
        throw new Error(
            `waited ${kPatienceMs / 60000} min for ${condition}; the page shows ${shows}`);
      }
      console.error('waiting for', condition, shows);
    }
    await new Promise((resume) => setTimeout(resume, 100));
  }
}

// A run of the page (?frames=...): opens it, waits for the end, and gives
// back what it showed: the state dump, and the frames it read back as
// {width, height, rgb}, by frame number. Fails on anything the page said on
// its console as an error.
export async function runPage(session, query) {
  const page = await openPage(session, query);
  try {
    await waitForPage(page, "status.state === 'ended'");
    const result = await page.evaluate(() => {
      const status = window.tarrow;
      const frames = {};
      for (const [number, frame] of Object.entries(status.frames)) {
        let text = '';
        for (let i = 0; i < frame.rgb.length; i += 0x8000) {
          text += String.fromCharCode.apply(null, frame.rgb.subarray(i, i + 0x8000));
        }
        frames[number] = {width: frame.width, height: frame.height, rgb: btoa(text)};
      }
      return {dump: status.dump, run: status.run, frames,
              yields: status.yields, yieldMicroseconds: status.yieldMicroseconds};
    });
    for (const frame of Object.values(result.frames)) frame.rgb = Buffer.from(frame.rgb, 'base64');
    if (page.consoleErrors.length > 0) {
      throw new Error('the page said: ' + page.consoleErrors.join(' | '));
    }
    return result;
  } finally {
    await page.close();
  }
}
