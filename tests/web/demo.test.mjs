// demo.test.mjs - the demo in the page, with trusted keys from the DevTools
// protocol: F1 asks the browser for full screen and back, a hidden page stops
// the frames as a minimised window does, Escape ends the demo and leaves its
// last frame with a line on starting again. Keys are held until the demo has
// answered them: the demo reads its keys once a frame, as on every platform,
// and a frame of the full-size demo on the CPU renderer takes about a second.
//
// The browser grants full screen only within a few seconds of a key press,
// and the demo asks a frame or two after F1: on a busy machine that is too
// late, and the page then says it was refused; the next key press brings it.
import assert from 'node:assert/strict';
import {after, before, describe, test} from 'node:test';

import {look, openBrowser, openPage, waitForPage} from './browser.mjs';
import {readPng} from './png.mjs';

const kPage = process.env.TARROW_PAGE || 'dist/web';
const kFullScreen = "document.fullscreenElement?.id === 'screen'";

// The condition that window `n` (its canvas) shows in the page.
function shows(n) {
  return `(document.querySelector('#tarrow-window-${n}') || {hidden: true}).hidden === false`;
}

// Holds the key until `answered`, where `arg` is the count of swaps once the
// key is down (status.swaps > arg: a frame has seen it).
async function press(page, key, answered) {
  await page.keyboard.down(key);
  const swaps = await look(page, 'window.tarrow.swaps');
  await waitForPage(page, answered, swaps);
  await page.keyboard.up(key);
}

async function enterFullScreen(page) {
  await press(page, 'F1', `${shows(2)} && (${kFullScreen} || status.fullScreenRefused !== '')`);
  if (!(await look(page, kFullScreen))) await press(page, 'F1', kFullScreen);
}

// A key press from the page's own script, which is no user's.
function scriptKey(page, type, code) {
  return look(page, `dispatchEvent(new KeyboardEvent('${type}', {code: '${code}', key: '${code}'}))`);
}

describe('the demo in the page', () => {
  let session;

  before(async () => {
    session = await openBrowser(kPage);
  });

  after(async () => {
    await session?.close();
  });

  async function startDemo() {
    const page = await openPage(session, '?seed=3');
    await waitForPage(page, 'status.swaps >= 1');
    return page;
  }

  test('F1 asks the browser for full screen, and F1 again gives the page back', async () => {
    const page = await startDemo();
    await enterFullScreen(page);
    // Each switch makes the window again, at the size the demo asks for.
    assert.deepEqual(await page.evaluate(() => {
      const canvas = document.querySelector('#tarrow-window-2');
      return [canvas.width, canvas.height, document.querySelectorAll('canvas').length];
    }), [1680, 1050, 1]);
    const swaps = await page.evaluate(() => window.tarrow.swaps);
    await waitForPage(page, 'status.swaps > arg', swaps);
    await press(page, 'F1', `document.fullscreenElement === null && ${shows(3)}`);
    const swapsBack = await page.evaluate(() => window.tarrow.swaps);
    await waitForPage(page, 'status.swaps > arg', swapsBack);
    assert.deepEqual(page.consoleErrors, []);
    await page.close();
  });

  test('full screen the browser refused comes with the next key press, which the demo does not see', async () => {
    const page = await startDemo();
    // Asked for on no user's key press, full screen is refused, as on a press
    // seconds old.
    await scriptKey(page, 'keydown', 'F1');
    await waitForPage(page, `${shows(2)} && status.fullScreenRefused !== ''`);
    await scriptKey(page, 'keyup', 'F1');
    // Held until a frame has seen it: the demo would switch back on the next.
    await press(page, 'F1', `${kFullScreen} && status.swaps > arg`);
    const swaps = await look(page, 'window.tarrow.swaps');
    await waitForPage(page, 'status.swaps > arg', swaps);
    assert.equal(await look(page, `${kFullScreen} && ${shows(2)} &&
                                   document.querySelector('#tarrow-window-3') === null`), true);
    assert.deepEqual(page.consoleErrors, []);
    await page.close();
  });

  test('a hidden page stops the frames as a minimised window, and shown again goes on', async () => {
    const page = await startDemo();
    const other = await session.browser.newPage();
    await other.bringToFront();
    // Minimised, the frame's loop waits for a message instead of drawing.
    await waitForPage(page, "status.state === 'waiting'");
    const swaps = await page.evaluate(() => window.tarrow.swaps);
    assert.equal(await page.evaluate(() => document.hidden), true);
    await page.bringToFront();
    await waitForPage(page, "status.state === 'running' && status.swaps > arg", swaps);
    assert.deepEqual(page.consoleErrors, []);
    await other.close();
    await page.close();
  });

  test('Escape ends the demo, out of full screen, and leaves its last frame and a line', async () => {
    const page = await startDemo();
    // The browser grants the wake lock a moment after the page asks for it.
    await waitForPage(page, "status.wakeLock === 'held'");
    await enterFullScreen(page);
    await press(page, 'Escape', "status.state === 'ended'");
    assert.equal(await page.evaluate(() => document.fullscreenElement), null);
    assert.equal(await page.evaluate(() => window.tarrow.wakeLock), 'released');
    const lines = await page.$$eval('#lines p', (all) => all.map((line) => line.textContent));
    assert.ok(lines.includes('The demo has ended. Reload the page to start it again.'), lines);
    // The still: the last window's canvas, still in the page, not black.
    const still = await page.$('canvas[data-closed]');
    const shot = readPng(Buffer.from(await still.screenshot()));
    let lit = 0;
    for (let i = 0; i < shot.rgb.length; ++i) lit += shot.rgb[i] > 16;
    assert.ok(lit > shot.rgb.length / 20, `only ${lit} bright channels in the still`);
    assert.deepEqual(page.consoleErrors, []);
    await page.close();
  });
});
