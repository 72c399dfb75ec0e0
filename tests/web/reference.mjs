// reference.mjs - what tarrow-render makes of a run on Mesa: its state dump
// and its PNG frames, the page's references.
import {execFile} from 'node:child_process';
import {mkdtemp, readFile, rm} from 'node:fs/promises';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {promisify} from 'node:util';

import {readPng} from './png.mjs';

const run = promisify(execFile);

export const kRender = process.env.TARROW_RENDER || 'build/bin/tarrow-render';

// The state dump after `frames` frames of `seed` at `size` ("640x400").
export async function nativeDump(seed, frames, size) {
  const {stdout} = await run(kRender, ['--seed', String(seed), '--frames', String(frames),
                                       '--size', size, '--dump-state', '-'],
                             {maxBuffer: 1 << 30, encoding: 'latin1'});
  return stdout;
}

// The run of `frames` frames: its state dump, and frames `wanted` as
// {width, height, rgb}, by frame number. One run draws them all, writing
// every `step`th frame (step: the wanted frames' greatest common divisor);
// frame 1, where wanted, comes from a run of its own.
export async function nativeRun(seed, size, frames, wanted) {
  const folder = await mkdtemp(join(tmpdir(), 'tarrow-frames-'));
  try {
    const step = wanted.filter((f) => f > 1).reduce((a, b) => gcd(a, b));
    const common = ['--seed', String(seed), '--size', size];
    const dumpPath = join(folder, 'state.json');
    await run(kRender, [...common, '--frames', String(frames), '--png', folder,
                        '--every', String(step), '--dump-state', dumpPath]);
    if (wanted.includes(1) && step !== 1) {
      await run(kRender, [...common, '--frames', '1', '--png', join(folder, 'first')]);
    }
    const images = {};
    for (const frame of wanted) {
      const name = `frame-${String(frame).padStart(6, '0')}.png`;
      const path = frame === 1 && step !== 1 ? join(folder, 'first', name) : join(folder, name);
      images[frame] = readPng(await readFile(path));
    }
    return {dump: await readFile(dumpPath, 'latin1'), frames: images};
  } finally {
    await rm(folder, {recursive: true, force: true});
  }
}

function gcd(a, b) {
  return b === 0 ? a : gcd(b, a % b);
}
