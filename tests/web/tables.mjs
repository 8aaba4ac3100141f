// The tables the web test shares with the rest of the project: the end-to-end cases
// (tests/endtoend_cases.txt) and the calculator's control table (calculator/ControlTable.cpp),
// from which the mouse finds a control by its caption.
import { readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';

const root = fileURLToPath(new URL('../../', import.meta.url));

function value(field) {
  const trimmed = field.trim();
  return trimmed.length >= 2 && trimmed.startsWith('"') && trimmed.endsWith('"')
    ? trimmed.slice(1, -1) : trimmed;
}

// { test: [{ name, column: value, ... }] }, read as tst_endtoend reads it.
export function endToEndCases() {
  const tests = {};
  let columns = null, rows = null;
  readFileSync(root + 'tests/endtoend_cases.txt', 'utf8').split('\n').forEach((line, i) => {
    if (!line.trim() || line.startsWith('#')) return;
    const header = line.match(/^== (\w+):(.*)$/);
    if (header) {
      columns = header[2].split('|').map((c) => c.trim());
      rows = tests[header[1]] = [];
      return;
    }
    const fields = line.split('|').map(value);
    if (!rows || fields.length !== columns.length + 1)
      throw new Error(`endtoend_cases.txt:${i + 1}: ${fields.length - 1} values, not ${columns?.length}`);
    const row = { name: fields[0] };
    columns.forEach((column, c) => { row[column] = fields[c + 1]; });
    rows.push(row);
  });
  return tests;
}

// Caption (without its "&") -> the point a click aims at, in CSS pixels from the calculator's
// top-left. As in the X11 test: a button's centre; an option or check box's mark, a few pixels
// in from its left edge, as only its mark and caption answer.
export function controlPoints() {
  const source = readFileSync(root + 'calculator/ControlTable.cpp', 'utf8');
  const row = /\{"[^"]*", K::(\w+), "([^"]*)", (?:"[^"]*"|nullptr), (\d+), (\d+), (\d+), (\d+), -?\d+\}/g;
  const px = (twips) => Math.floor((Number(twips) + 7) / 15);
  const points = {};
  for (const [, kind, caption, left, top, width, height] of source.matchAll(row)) {
    const [x, y, w, h] = [left, top, width, height].map(px);
    points[caption.replace('&', '')] = kind === 'Button' || kind === 'Display'
      ? { x: x + Math.floor((w - 1) / 2), y: y + Math.floor((h - 1) / 2) }
      : { x: x + 6, y: y + Math.floor((h - 1) / 2) };
  }
  if (Object.keys(points).length !== 34) throw new Error('ControlTable.cpp: not 34 controls');
  return points;
}
