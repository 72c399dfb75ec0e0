// run.test.mjs - the page runs the scene as tarrow-render does: the same
// state after 0, 60 and 600 frames, byte for byte, and frames 1, 120 and 600
// that match Mesa's within the tolerance of compare.mjs for the WebGL backend
// in use, a tolerance that still sees one light left dark; a size the browser
// cannot draw is refused with a reason.
import assert from 'node:assert/strict';
import {after, before, describe, test} from 'node:test';
import {tmpdir} from 'node:os';
import {join} from 'node:path';

import {openBrowser, openPage, runPage, waitForPage} from './browser.mjs';
import {compareFrames, kTolerances, writeSideBySide} from './compare.mjs';
import {nativeDump, nativeRun} from './reference.mjs';

const kSeed = 3; // starts over the lit city
const kSize = '640x400';
const kDumpsAfter = [0, 60, 600];
const kFramesCompared = [1, 120, 600];
const kPage = process.env.TARROW_PAGE || 'dist/web';
const kPlantedPage = process.env.TARROW_PLANTED_PAGE || 'build-web/page-planted';

function query(frames, extra) {
  return `?seed=${kSeed}&size=${kSize}&frames=${frames}${extra}`;
}

async function explain(session, frame, mesa, page, result) {
  const path = join(tmpdir(), `tarrow-web-frame-${frame}.png`);
  await writeSideBySide(path, mesa, page);
  return `frame ${frame} on ${session.backend}: ${(100 * result.darker).toFixed(2)} % darker, ` +
         `${(100 * result.brighter).toFixed(2)} % brighter (Mesa, page, difference: ${path})`;
}

describe('the page runs the scene as tarrow-render does', () => {
  let session;
  const pageRuns = {};
  const mesaDumps = {};
  let mesaFrames;

  before(async () => {
    session = await openBrowser(kPage);
    // The longest run also gives the frames compared.
    const last = Math.max(...kDumpsAfter);
    for (const frames of kDumpsAfter) {
      const capture = frames === last ? `&capture=${kFramesCompared.join(',')}` : '';
      pageRuns[frames] = await runPage(session, query(frames, '&dump=1' + capture));
      if (frames === last) {
        ({dump: mesaDumps[frames], frames: mesaFrames} =
             await nativeRun(kSeed, kSize, frames, kFramesCompared));
      } else {
        mesaDumps[frames] = await nativeDump(kSeed, frames, kSize);
      }
    }
  });

  after(async () => {
    await session?.close();
  });

  for (const frames of kDumpsAfter) {
    test(`the state dump after ${frames} frames is tarrow-render's, byte for byte`, () => {
      const dump = pageRuns[frames].dump;
      assert.ok(dump.length > 0);
      // Line by line first, so that a difference is reported where it is.
      assert.deepEqual(dump.split('\n'), mesaDumps[frames].split('\n'));
      assert.equal(dump, mesaDumps[frames]);
    });
  }

  for (const frame of kFramesCompared) {
    test(`frame ${frame} is Mesa's within the tolerance`, async () => {
      const page = pageRuns[Math.max(...kDumpsAfter)].frames[frame];
      const result = compareFrames(mesaFrames[frame], page, kTolerances[session.backend]);
      assert.ok(result.within, await explain(session, frame, mesaFrames[frame], page, result));
    });
  }

  // The GL layer stopped as it made a framebuffer larger than WebGL draws,
  // and the page said "tarrow stopped:  (the console says why)". WebGL on
  // llvmpipe draws 16384 pixels a side, the most the address takes, so this
  // is seen on SwiftShader's, which draws 8192.
  test('a size larger than WebGL draws is refused in a line that says so', async () => {
    const small = await openBrowser(kPage, {webgl: 'swiftshader'});
    const page = await openPage(small, '?frames=1&size=16384x16384');
    try {
      await assert.rejects(waitForPage(page, "status.state === 'ended'"), /the page failed/);
      const lines = await page.$$eval('#lines .error', (shown) => shown.map((p) => p.textContent));
      assert.equal(lines.length, 1, lines.join(' | '));
      assert.match(lines[0], new RegExp('^tarrow: the browser cannot make a drawing surface ' +
                                        'of 16384x16384: its WebGL 2 draws at most \\d+ pixels a side$'));
    } finally {
      await small.close();
    }
  });

  test('the comparison catches a light left dark', async () => {
    const planted = await openBrowser(kPlantedPage);
    try {
      const frame = 120;
      const run = await runPage(planted, query(frame, `&capture=${frame}`));
      const result = compareFrames(mesaFrames[frame], run.frames[frame], kTolerances[planted.backend]);
      assert.ok(!result.within,
                await explain(planted, frame, mesaFrames[frame], run.frames[frame], result));
    } finally {
      await planted.close();
    }
  });
});
