// bench-web.mjs - the browser build's frame time beside the native one's, on
// this machine: the page at 640x400 in headless Chromium (WebGL 2 on
// SwiftShader, Chromium's CPU renderer) against tarrow-render --bench at
// 640x400 on Mesa (llvmpipe). A measurement, not a test: the runs take turns,
// RUNS times each, and the medians are printed with their ratio.
//
// Usage: make bench-web [RUNS=N], which builds both and installs
// puppeteer-core into tests/web; or node scripts/bench-web.mjs [RUNS] after
// make web, a native build and npm ci in tests/web (TARROW_RENDER and
// TARROW_PAGE name others than build/ and dist/web).
import {execFile} from 'node:child_process';
import {promisify} from 'node:util';

import {openBrowser, runPage} from '../tests/web/browser.mjs';

const kRuns = Number(process.argv[2] || 3);
const kFrames = 600;
const kSeed = 1;
const kSize = '640x400';
const kRender = process.env.TARROW_RENDER || 'build/bin/tarrow-render';
const kPage = process.env.TARROW_PAGE || 'dist/web';

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Milliseconds a frame over the whole frame loop: wall time over frames.
async function nativeFrame() {
  const {stdout} = await promisify(execFile)(
      kRender, ['--seed', String(kSeed), '--frames', String(kFrames), '--size', kSize, '--bench']);
  return 1000 / Number(/frames per second\s+([\d.]+)/.exec(stdout)[1]);
}

async function pageFrame(session) {
  const run = await runPage(session, `?seed=${kSeed}&frames=${kFrames}&size=${kSize}`);
  return {frame: 1000 * run.run.seconds / kFrames,
          yieldMicroseconds: run.yieldMicroseconds / run.yields};
}

const session = await openBrowser(kPage);
try {
  const native = [];
  const page = [];
  const yields = [];
  for (let i = 0; i < kRuns; ++i) {
    native.push(await nativeFrame());
    const measured = await pageFrame(session);
    page.push(measured.frame);
    yields.push(measured.yieldMicroseconds);
    console.log(`run ${i + 1}: tarrow-render ${native.at(-1).toFixed(1)} ms, page ` +
                `${page.at(-1).toFixed(1)} ms a frame`);
  }
  console.log(`median ms a frame at ${kSize}, ${kFrames} frames of seed ${kSeed}: ` +
              `tarrow-render ${median(native).toFixed(1)}, page ${median(page).toFixed(1)}, ` +
              `ratio ${(median(page) / median(native)).toFixed(2)}; ` +
              `the page's yield to the browser (unwinding and rewinding) ` +
              `${median(yields).toFixed(0)} µs a frame`);
} finally {
  await session.close();
}
