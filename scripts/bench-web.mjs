// bench-web.mjs - the browser build's frame time beside the native one's, on
// this machine: the page at 640x400 in headless Chromium (WebGL 2 on Mesa's
// llvmpipe where Chromium offers it, else on SwiftShader: browser.mjs)
// against tarrow-render --bench at 640x400 on Mesa (llvmpipe), 100 frames of
// seed 1 each. A measurement, not a test: the runs take turns, page then
// native, RUNS times each, so that both see the same load, and the medians
// are printed with their ratio, the backend and both renderer strings.
//
// Usage: make bench-web [RUNS=N], which builds both and installs
// puppeteer-core into tests/web; or node scripts/bench-web.mjs [RUNS] after
// make web, a native build and npm ci in tests/web (TARROW_RENDER and
// TARROW_PAGE name others than build/ and dist/web; TARROW_WEBGL=swiftshader
// measures the page on SwiftShader).
import {execFile} from 'node:child_process';
import {promisify} from 'node:util';

import {openBrowser, runPage} from '../tests/web/browser.mjs';

const kRuns = Number(process.argv[2] || 3);
const kFrames = 100;
const kSeed = 1;
const kSize = '640x400';
const kRender = process.env.TARROW_RENDER || 'build/bin/tarrow-render';
const kPage = process.env.TARROW_PAGE || 'dist/web';

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Milliseconds a frame over the whole frame loop (wall time over frames),
// and the renderer.
async function nativeFrame() {
  const {stdout} = await promisify(execFile)(
      kRender, ['--seed', String(kSeed), '--frames', String(kFrames), '--size', kSize, '--bench']);
  return {frame: 1000 / Number(/frames per second\s+([\d.]+)/.exec(stdout)[1]),
          renderer: /renderer\s+(.*)/.exec(stdout)[1].trim()};
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
  let nativeRenderer;
  for (let i = 0; i < kRuns; ++i) {
    const measured = await pageFrame(session);
    page.push(measured.frame);
    yields.push(measured.yieldMicroseconds);
    const nativeRun = await nativeFrame();
    native.push(nativeRun.frame);
    nativeRenderer = nativeRun.renderer;
    console.log(`run ${i + 1}: page ${page.at(-1).toFixed(1)} ms, tarrow-render ` +
                `${native.at(-1).toFixed(1)} ms a frame, ratio ${(page.at(-1) / native.at(-1)).toFixed(2)}`);
  }
  console.log(`page's WebGL: ${session.backend}, ${session.renderer}`);
  console.log(`tarrow-render's GL: ${nativeRenderer}`);
  console.log(`median ms a frame at ${kSize}, ${kFrames} frames of seed ${kSeed}, ${kRuns} runs: ` +
              `page ${median(page).toFixed(1)}, tarrow-render ${median(native).toFixed(1)}, ` +
              `ratio ${(median(page) / median(native)).toFixed(2)}; ` +
              `the page's yield to the browser (unwinding and rewinding) ` +
              `${median(yields).toFixed(0)} µs a frame`);
} finally {
  await session.close();
}
