// compare.mjs - a frame of the page against Mesa's frame of the same run.
//
// The page's GL layer lights as GL 1.1 defines it. Mesa's fixed-function
// vertex stage does not where the material's specular exponent is 0 and the
// light is a spotlight, as with every light and material of this scene: it
// raises n.l to the power n.l where GL takes (n.h)^0 = 1, so its specular
// term is between e^(-1/e) = 0.692 and 1 times GL's. Where the lights fall the
// page is therefore brighter than Mesa, by at most 1 / 0.692 = 1.445 times;
// elsewhere the two differ only where two rasterisers cover an edge, pick a
// mipmap level or round the 16-bit depth buffer (depths 875 000 times apart)
// differently.
//
// So a pixel is out when a channel is darker than Mesa's by more than 8
// levels, or brighter than 1.445 times Mesa's plus 8 levels, and a frame
// passes when at most 3 % of its pixels are darker and at most 2 % brighter.
// Measured on seed 3 at 640x400, frames 1, 120 and 600: at most 1.5 % darker
// and 0.9 % brighter. One light left dark (the planted fault) makes a quarter
// of frame 120 darker.
import {writeFile} from 'node:fs/promises';

import {writePng} from './png.mjs';

export const kMargin = 8;
export const kMesaSpecularShortfall = 1.445;
export const kMostDarker = 0.03;
export const kMostBrighter = 0.02;

// The share of the page's pixels darker and brighter than Mesa's beyond the
// margins.
export function compareFrames(mesa, page) {
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
      isDarker ||= w < m - kMargin;
      isBrighter ||= w > m * kMesaSpecularShortfall + kMargin;
    }
    darker += isDarker;
    brighter += isBrighter;
  }
  const result = {darker: darker / pixels, brighter: brighter / pixels};
  result.within = result.darker <= kMostDarker && result.brighter <= kMostBrighter;
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
