// Pictures as RGBA pixels: screenshots compared with each other and with the Linux one.
import { readFileSync } from 'node:fs';
import { PNG } from 'pngjs';

export const decode = (png) => PNG.sync.read(png);
export const readPng = (path) => decode(readFileSync(path));

// Two pixels differ when a channel is more than tolerance apart.
function differs(a, i, b, j, tolerance) {
  return Math.abs(a[i] - b[j]) > tolerance || Math.abs(a[i + 1] - b[j + 1]) > tolerance
    || Math.abs(a[i + 2] - b[j + 2]) > tolerance;
}

const inside = (r, x, y) => r && x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height;

// Pixels of a (inside rect, or all; never inside except) differing from b placed at (dx, dy)
// in a, with the rectangle that holds them: { count, box: { x, y, width, height } | null }.
export function difference(a, b, { rect = null, except = null, dx = 0, dy = 0, tolerance = 0 } = {}) {
  const r = rect ?? { x: dx, y: dy, width: b.width, height: b.height };
  let count = 0, left = Infinity, top = Infinity, right = -1, bottom = -1;
  for (let y = Math.max(r.y, 0); y < Math.min(r.y + r.height, a.height); ++y) {
    for (let x = Math.max(r.x, 0); x < Math.min(r.x + r.width, a.width); ++x) {
      const bx = x - dx, by = y - dy;
      if (bx < 0 || by < 0 || bx >= b.width || by >= b.height || inside(except, x, y)) continue;
      if (!differs(a.data, (y * a.width + x) * 4, b.data, (by * b.width + bx) * 4, tolerance)) continue;
      ++count;
      left = Math.min(left, x); right = Math.max(right, x);
      top = Math.min(top, y); bottom = Math.max(bottom, y);
    }
  }
  const box = count ? { x: left, y: top, width: right - left + 1, height: bottom - top + 1 } : null;
  return { count, box };
}

// Pixels of picture (inside rect, or all) unlike its top-left one, the page's background.
export function unlikeBackground(picture, rect = null) {
  const plain = { width: picture.width, height: picture.height, data: Buffer.alloc(picture.data.length) };
  for (let i = 0; i < plain.data.length; i += 4) picture.data.copy(plain.data, i, 0, 4);
  return difference(picture, plain, { rect });
}

// A picture scaled down by a whole factor, each pixel the mean of its block.
export function shrink(picture, factor) {
  const width = Math.floor(picture.width / factor), height = Math.floor(picture.height / factor);
  const data = Buffer.alloc(width * height * 4);
  for (let y = 0; y < height; ++y)
    for (let x = 0; x < width; ++x)
      for (let c = 0; c < 4; ++c) {
        let sum = 0;
        for (let v = 0; v < factor; ++v)
          for (let u = 0; u < factor; ++u)
            sum += picture.data[((y * factor + v) * picture.width + x * factor + u) * 4 + c];
        data[(y * width + x) * 4 + c] = Math.round(sum / factor / factor);
      }
  return { width, height, data };
}

// Where in the screen the template sits best: the offset whose pixels (a grid of samples)
// are closest, as a sum of absolute channel differences.
export function locate(screen, template, step = 6) {
  const samples = [];
  for (let y = 0; y < template.height; y += step)
    for (let x = 0; x < template.width; x += step) samples.push([x, y]);
  let best = { x: 0, y: 0, cost: Infinity };
  for (let dy = 0; dy + template.height <= screen.height; ++dy) {
    for (let dx = 0; dx + template.width <= screen.width; ++dx) {
      let cost = 0;
      for (const [x, y] of samples) {
        const i = ((dy + y) * screen.width + dx + x) * 4, j = (y * template.width + x) * 4;
        cost += Math.abs(screen.data[i] - template.data[j]) + Math.abs(screen.data[i + 1] - template.data[j + 1])
          + Math.abs(screen.data[i + 2] - template.data[j + 2]);
        if (cost >= best.cost) break;
      }
      if (cost < best.cost) best = { x: dx, y: dy, cost };
    }
  }
  return { x: best.x, y: best.y, meanDifference: best.cost / samples.length / 3 };
}
