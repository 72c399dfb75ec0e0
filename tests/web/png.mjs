// png.mjs - reading tarrow-render's PNG frames, and writing frames as PNG
// for whoever looks into a failed comparison.
//
// Reads 8-bit RGB and RGBA images, not interlaced, with any of PNG's five
// row filters; gives RGB, top row first, as the page hands its frames over.
import {deflateSync, inflateSync} from 'node:zlib';

const kSignature = Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]);

function paeth(a, b, c) {
  const p = a + b - c;
  const pa = Math.abs(p - a);
  const pb = Math.abs(p - b);
  const pc = Math.abs(p - c);
  return pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
}

export function readPng(file) {
  if (!file.subarray(0, 8).equals(kSignature)) throw new Error('not a PNG');
  let width = 0;
  let height = 0;
  let channels = 0;
  const data = [];
  for (let at = 8; at < file.length;) {
    const length = file.readUInt32BE(at);
    const type = file.toString('latin1', at + 4, at + 8);
    const body = file.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      const depth = body[8];
      const colour = body[9];
      if (depth !== 8 || (colour !== 2 && colour !== 6) || body[12] !== 0) {
        throw new Error('only 8-bit RGB or RGBA PNGs without interlacing are read');
      }
      channels = colour === 2 ? 3 : 4;
    } else if (type === 'IDAT') {
      data.push(body);
    }
    at += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const pixels = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const row = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    const out = pixels.subarray(y * stride, (y + 1) * stride);
    const up = y > 0 ? pixels.subarray((y - 1) * stride, y * stride) : Buffer.alloc(stride);
    for (let i = 0; i < stride; ++i) {
      const left = i >= channels ? out[i - channels] : 0;
      const upLeft = i >= channels ? up[i - channels] : 0;
      const predictor = [0, left, up[i], (left + up[i]) >> 1, paeth(left, up[i], upLeft)][filter];
      out[i] = (row[i] + predictor) & 0xff;
    }
  }
  if (channels === 3) return {width, height, rgb: pixels};
  const rgb = Buffer.alloc(width * height * 3);
  for (let p = 0; p < width * height; ++p) pixels.copy(rgb, p * 3, p * 4, p * 4 + 3);
  return {width, height, rgb};
}

function chunk(type, body) {
  const header = Buffer.alloc(8);
  header.writeUInt32BE(body.length, 0);
  header.write(type, 4, 'latin1');
  const crcInput = Buffer.concat([header.subarray(4), body]);
  let crc = ~0;
  for (const byte of crcInput) {
    crc ^= byte;
    for (let k = 0; k < 8; ++k) crc = (crc >>> 1) ^ (0xedb88320 & -(crc & 1));
  }
  const trailer = Buffer.alloc(4);
  trailer.writeUInt32BE((~crc) >>> 0, 0);
  return Buffer.concat([header, body, trailer]);
}

export function writePng(width, height, rgb) {
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header[8] = 8;
  header[9] = 2;
  const raw = Buffer.alloc((width * 3 + 1) * height);
  for (let y = 0; y < height; ++y) {
    Buffer.from(rgb.buffer, rgb.byteOffset + y * width * 3, width * 3).copy(raw, y * (width * 3 + 1) + 1);
  }
  return Buffer.concat([kSignature, chunk('IHDR', header), chunk('IDAT', deflateSync(raw)),
                        chunk('IEND', Buffer.alloc(0))]);
}
