// browser.mjs - Debian's Chromium, headless, driven through the DevTools
// protocol (puppeteer-core), on the page served from 127.0.0.1.
//
// WebGL comes from SwiftShader, Chromium's CPU renderer. Every wait is for a
// condition the page states in window.tarrow, never for a length of time.
// Whatever the page says on its console is kept; an error there (a GL call the
// layer does not implement says so and stops) fails the test that sees it.
import puppeteer from 'puppeteer-core';
import {mkdtemp, rm} from 'node:fs/promises';
import {tmpdir} from 'node:os';
import {join} from 'node:path';

import {serve} from '../../scripts/serve-web.mjs';

const kChromium = process.env.TARROW_CHROMIUM || '/usr/bin/chromium';

// Flags for a machine without a GPU or a network.
const kFlags = [
  '--no-sandbox',
  '--use-angle=swiftshader',
  '--enable-unsafe-swiftshader',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
  '--no-first-run',
  '--disable-quic',
  '--disable-background-timer-throttling',
  '--disable-renderer-backgrounding',
  '--disable-backgrounding-occluded-windows',
];

// A browser and a server of `folder`; close() ends both.
export async function openBrowser(folder) {
  const profile = await mkdtemp(join(tmpdir(), 'tarrow-chromium-'));
  const {server, address} = await serve(folder);
  const browser = await puppeteer.launch({
    executablePath: kChromium,
    headless: true,
    userDataDir: profile,
    args: kFlags,
    protocolTimeout: 600000,
    dumpio: !!process.env.TARROW_CHROMIUM_LOG,
  });
  return {
    browser,
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
