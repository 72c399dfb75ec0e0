// stills-web.mjs - frames of a run of the page as PNG, read back by the page
// itself (capture=) in headless Chromium and named as tarrow-render --png
// names its frames: FOLDER/frame-000600.png. A screenshot of the page holds
// whatever its canvas shows as it is taken: black before the first frame,
// some frame of a run before its last; a run's read-back is the frame asked
// for, at the run's size. WebGL runs on llvmpipe where Chromium offers it,
// else on SwiftShader (tests/web/browser.mjs; TARROW_WEBGL=swiftshader
// forces it).
//
// Usage: make stills-web [QUERY='?...&capture=N'] [STILLS=FOLDER], which
// builds the page and installs puppeteer-core into tests/web; or
// node scripts/stills-web.mjs QUERY FOLDER after make web and npm ci in
// tests/web (TARROW_PAGE names another page than dist/web).
import {mkdir, writeFile} from 'node:fs/promises';
import {join} from 'node:path';

import {openBrowser, openPage, waitForPage} from '../tests/web/browser.mjs';
import {writePng} from '../tests/web/png.mjs';

const [query, folder] = process.argv.slice(2);
if (!folder || !/(^|[?&])capture=/.test(query)) {
  console.error('usage: node scripts/stills-web.mjs QUERY FOLDER, the query naming its frames ' +
                "with capture=: '?seed=2013&frames=600&size=960x600&capture=600'");
  process.exit(2);
}

// The run's frames, {number, width, height, rgb (base64)}; a refused or
// failed run throws with the reason the page shows.
async function runFrames(page) {
  try {
    await waitForPage(page, "status.state === 'ended'");
  } catch (error) {
    const shown = await page.$$eval('#lines .error', (lines) => lines.map((p) => p.textContent));
    throw new Error(shown.join('; ') || error.message);
  }
  return page.evaluate(() => Object.entries(window.tarrow.frames).map(([number, frame]) => {
    let text = '';
    for (let i = 0; i < frame.rgb.length; i += 0x8000) {
      text += String.fromCharCode.apply(null, frame.rgb.subarray(i, i + 0x8000));
    }
    return {number, width: frame.width, height: frame.height, rgb: btoa(text)};
  }));
}

const session = await openBrowser(process.env.TARROW_PAGE || 'dist/web');
try {
  const page = await openPage(session, query.startsWith('?') ? query : '?' + query);
  const frames = await runFrames(page);
  await mkdir(folder, {recursive: true});
  for (const {number, width, height, rgb} of frames) {
    const file = join(folder, `frame-${number.padStart(6, '0')}.png`);
    await writeFile(file, writePng(width, height, Buffer.from(rgb, 'base64')));
    console.log(`${file}: frame ${number} at ${width}x${height}`);
  }
  console.log(`drawn by WebGL on ${session.backend}: ${session.renderer}`);
} catch (error) {
  console.error(`stills-web: ${error.message}`);
  process.exitCode = 1;
} finally {
  await session.close();
}
