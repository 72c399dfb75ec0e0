// compare.mjs - a frame of the page against Mesa's frame of the same run.
//
// The page's GL layer lights as GL 1.1 defines it. Mesa's fixed-function
// vertex stage does not where the material's specular exponent is 0 and the
// light is a spotlight, as with every light and material of this scene: it
// raises n.l to the power n.l where GL takes (n.h)^0 = 1, so its specular
// term is between e^(-1/e) = 0.692 and 1 times GL's. Where the lights fall the
// page is therefore brighter than Mesa, by at most 1 / 0.692 = 1.445 times;
// elsewhere the two differ by a few levels where the layer's colour
// arithmetic rounds otherwise than Mesa's, and by more where the rasterisers
// cover an edge, pick a mipmap level or round the 16-bit depth buffer (depths
// 875 000 times apart) differently, which one rasteriser on both sides makes
// rarer.
//
// So a pixel is out when a channel is darker than Mesa's by more than a
// margin, or brighter than 1.445 times Mesa's plus the margin, and a frame
// passes when few enough of its pixels are darker and few enough brighter.
// How many the rasterisers leave depends on the page's WebGL backend
// (browser.mjs), so each has its own tolerance. One light left dark (the
// planted fault) makes a quarter or more of frame 120 darker on both.
import {writeFile} from 'node:fs/promises';

import {writePng} from './png.mjs';

export const kMesaSpecularShortfall = 1.445;

// Each measured on seed 3 at 640x400, frames 1, 120 and 600, the frames
// run.test.mjs compares.
export const kTolerances = {
  // The same rasteriser as Mesa's, and the same frames on every run. Frame 1
  // has 0.54 % of its pixels more than 3 levels darker (the layer's colour
  // arithmetic against Mesa's) and 0.05 % more than 4: the margin is 4.
  // Beyond it, at most 1.34 % darker and 0.34 % brighter (frame 600): the
  // shares are those plus a quarter, rounded up to a tenth of a point. The
  // planted fault: 33 % darker.
  llvmpipe: {margin: 4, mostDarker: 0.017, mostBrighter: 0.005},
  // Another rasteriser: at most 1.5 % darker and 0.9 % brighter beyond 8
  // levels (1.44 % and 0.85 %, frame 600, when measured again). The planted
  // fault: 25 % darker.
  swiftshader: {margin: 8, mostDarker: 0.03, mostBrighter: 0.02},
};

// The share of the page's pixels darker and brighter than Mesa's beyond the
// tolerance's margin, and whether the frame is within it.
export function compareFrames(mesa, page, {margin, mostDarker, mostBrighter}) {
  if (mesa.width !== page.width || mesa.height !== page.height) {
    throw new Error(`sizes differ: ${mesa.width}x${mesa.height} and ${page.width}x${page.height}`);
  }
  const pixels = mesa.width * mesa.height;
  let darker = 0;
  let brighter = 0;
  for (let p = 0; p < pixels; ++p) {
    let isDarker = false;
    let isBrighter = false;
    for (let k = p * 3; k < p * 3 + 3; ++k) {
      const m = mesa.rgb[k];
      const w = page.rgb[k];
      isDarker ||= w < m - margin;
      isBrighter ||= w > m * kMesaSpecularShortfall + margin;
    }
    darker += isDarker;
    brighter += isBrighter;
  }
  const result = {darker: darker / pixels, brighter: brighter / pixels};
  result.within = result.darker <= mostDarker && result.brighter <= mostBrighter;
  return result;
}

// Mesa's frame, the page's, and their difference (four times) side by side,
// for whoever looks into a comparison.
export async function writeSideBySide(path, mesa, page) {
  const {width, height} = mesa;
  const row = width * 3;
  const side = Buffer.alloc(row * 3 * height);
  for (let y = 0; y < height; ++y) {
    const at = y * row;
    mesa.rgb.copy(side, y * row * 3, at, at + row);
    Buffer.from(page.rgb.buffer, page.rgb.byteOffset + at, row).copy(side, y * row * 3 + row);
    for (let i = 0; i < row; ++i) {
      side[y * row * 3 + 2 * row + i] = Math.min(255, 4 * Math.abs(mesa.rgb[at + i] - page.rgb[at + i]));
    }
  }
  await writeFile(path, writePng(width * 3, height, side));
}
