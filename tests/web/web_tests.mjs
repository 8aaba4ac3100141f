// Ostrel's page in headless Chromium, black-box: keys and clicks in; the clipboard, the
// screen and the page's own files out.  node web_tests.mjs SITE_DIR
import { readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { allowReading, context, launch, serve } from './browser.mjs';
import { Calculator, kViewport } from './calculator.mjs';
import { difference, locate, readPng, shrink, unlikeBackground } from './pixels.mjs';
import { controlPoints, endToEndCases } from './tables.mjs';

const root = fileURLToPath(new URL('../../', import.meta.url));
const version = readFileSync(root + 'CMakeLists.txt', 'utf8').match(/VERSION (\d+\.\d+\.\d+)/)[1];
const linuxShot = readPng(root + 'packaging/screenshot.png'); // the calculator at 3x
const linuxAt1x = shrink(linuxShot, 3);
const px = (twips) => Math.floor((twips + 7) / 15);
const kSize = { width: px(4290), height: px(2970) };
// As on the desktop: the about window's client area at 3450,3570 twips and the calculator's
// at 4470,3705, a one-pixel border round the about window.
const kAbout = { x: px(3450) - px(4470) - 1, y: px(3570) - px(3705) - 1,
  width: px(7230) + 2, height: px(4245) + 2 };
const kDisplay = { x: px(1905), y: px(15), width: px(1725), height: px(420) };
const kFewPixels = 100;           // what a redraw of the same picture may differ by
const kScreenshotTolerance = { channel: 24, pixels: 1000 };

let passed = 0, failed = 0;
const began = Date.now();
function finish(status) {
  console.log(`took ${((Date.now() - began) / 1000).toFixed(0)} s`);
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(status);
}
for (const event of ['uncaughtException', 'unhandledRejection'])
  process.on(event, (error) => {
    ++failed;
    console.log(`FAIL   ${error?.stack ?? error}`);
    finish(1);
  });
// OSTREL_WEB_ONLY=regex runs only the tests so named (and the start every test needs).
const only = process.env.OSTREL_WEB_ONLY ? new RegExp(process.env.OSTREL_WEB_ONLY) : null;
async function test(name, body) {
  if (only && !only.test(name) && !name.startsWith('start:')) return;
  const start = Date.now();
  try {
    const note = await body();
    ++passed;
    console.log(`PASS   ${name} (${Date.now() - start} ms)${note ? ': ' + note : ''}`);
  } catch (error) {
    ++failed;
    console.log(`FAIL   ${name} (${Date.now() - start} ms): ${error.message}`);
  }
}
function check(condition, message) {
  if (!condition) throw new Error(message);
}
const show = (value) => JSON.stringify(value);
function same(actual, expected, what = 'copied') {
  check(actual === expected, `${what} ${show(actual)}, expected ${show(expected)}`);
}
const moved = (rect, by) => ({ ...rect, x: rect.x + by.x, y: rect.y + by.y });

const site = process.argv[2];
if (!site) throw new Error('usage: node web_tests.mjs SITE_DIR');
const server = await serve(site);
const url = server.origin + '/';
const browser = await launch();
const ctx = await context(browser, server.origin);
const cases = endToEndCases();
const controls = controlPoints();

// A start: the page with the about window in front, then with the calculator alone after
// "a". At 1x the first start finds the calculator by the Linux screenshot's picture, and
// later starts are checked against these pictures.
const layout = {};
async function firstStart(scale) {
  const calculator = await Calculator.open(ctx, url, { scale, origin: layout.origin });
  const withAbout = await calculator.waitFor((shot) => unlikeBackground(shot).count > 60000 * scale * scale,
    'the about window drawn');
  await calculator.play('a');
  const alone = await calculator.waitFor(
    (shot) => difference(shot, withAbout, { tolerance: 8 }).count > 5000 * scale * scale,
    'the about window closed by "a"');
  return { calculator, withAbout, alone };
}

// The page for the cases, loaded afresh for each.
let main = null;
async function started({ close = 'a', calculator = main } = {}) {
  await calculator.load(url);
  await calculator.waitForLike(layout.withAbout, layout.about, 'the about window at start', kFewPixels);
  if (close === 'click')
    await calculator.clickAt(layout.about.x + layout.about.width / 2, layout.about.y + layout.about.height / 2);
  else
    await calculator.play(close);
  await calculator.waitForLike(layout.alone, layout.about, `the about window closed by ${close}`, kFewPixels);
  return calculator;
}

function oneCase(name, options, body) {
  return test(name, async () => body(await started(options)));
}

// The commonest case: a script played, then the text Copy (by) gives.
const copiedAfter = (row, by) => async (calculator) => {
  await calculator.play(row.script);
  same(await calculator.copy(by), row.copied);
};

await test('start: the about window in front, then the calculator as on Linux', async () => {
  const { calculator, withAbout, alone } = await firstStart(1);
  main = calculator;
  const found = locate(alone, linuxAt1x);
  const where = `calculator at ${found.x},${found.y} (mean difference ${found.meanDifference.toFixed(1)})`;
  check(found.meanDifference < 20, `nothing like the Linux calculator: best match ${where}`);
  // Its window as drawn, with a frame where the page draws one.
  const window = unlikeBackground(alone, { x: found.x - 40, y: found.y - 40, width: kSize.width + 80,
    height: kSize.height + 80 }).box;
  const about = difference(withAbout, alone, { tolerance: 8 }).box;
  // Later starts look for the about window where it was seen, wherever that is.
  Object.assign(layout, { withAbout, alone, window, origin: { x: found.x, y: found.y },
    about: about ?? moved(kAbout, window), display: moved(kDisplay, found) });
  main.origin = layout.origin;
  return `${where}, its window ${show(window)}, the about window ${show(about)}`;
});
if (!layout.origin) {
  await browser.close();
  await server.stop();
  finish(1);
}

// As on a desktop, where a window is placed by its frame's corner.
await test('the about window over the calculator as on the desktop', async () => {
  const expected = moved(kAbout, layout.window);
  check(['x', 'y', 'width', 'height'].every((k) => Math.abs(layout.about[k] - expected[k]) <= 1),
    `at ${show(layout.about)}, expected ${show(expected)}`);
});

await test('the calculator window centred across the page', async () => {
  const centred = (kViewport.width - layout.window.width) / 2;
  check(Math.abs(layout.window.x - centred) <= 1, `its left edge at ${layout.window.x}, centred at ${centred}`);
});

await oneCase('the page: title, icon, manifest, no scroll bars, version and licences', {}, async ({ page }) => {
  const seen = await page.evaluate(async () => {
    const link = document.querySelector('link[rel="manifest"]');
    const manifest = link ? await (await fetch(link.href)).json() : {};
    const icons = [...document.querySelectorAll('link[rel~="icon"]'), ...(manifest.icons ?? [])]
      .map((icon) => new URL(icon.href ?? icon.src, link?.href ?? location.href).href);
    const missing = [];
    for (const icon of icons) if (!(await fetch(icon)).ok) missing.push(icon);
    const root = document.scrollingElement;
    return { title: document.title, manifest, icons: icons.length, missing, text: document.body.innerText,
      scrolls: root.scrollWidth > root.clientWidth || root.scrollHeight > root.clientHeight,
      licences: [...document.querySelectorAll('a')].some((a) => /licen[cs]e/i.test(a.textContent + a.href)) };
  });
  same(seen.title, 'Ostrel', 'title');
  same(seen.manifest.name, 'Ostrel', 'manifest name');
  same(seen.manifest.display, 'standalone', 'manifest display');
  check(seen.icons >= 2 && !seen.missing.length, `icons: ${seen.icons}, missing ${seen.missing}`);
  check(!seen.scrolls, 'the page scrolls');
  check(seen.text.includes(version), `no version ${version} on the page`);
  check(seen.licences, 'no link to the licences');
});

for (const row of cases.aboutWindow)
  await oneCase(`aboutWindow: ${row.name}`, { close: row.closeWith }, copiedAfter(row, 'alt+o'));

for (const test of ['calculate', 'accessKeys', 'memories'])
  for (const row of cases[test])
    await oneCase(`${test}: ${row.name}`, {}, copiedAfter(row));

for (const row of cases.copyText)
  await oneCase(`copyText: ${row.name}`, {}, async (calculator) => {
    await calculator.play(row.script);
    const text = await calculator.copy(row.copyBy);
    check(!text.includes('\0'), `a NUL in ${show(text)}`);
    same(text, row.copied);
  });

// The message is seen as a large change to the screen outside the display box, over the
// calculator, and gone after Enter. Its text is drawn, not in the page's DOM.
for (const row of cases.rangeMessage)
  await oneCase(`rangeMessage: ${row.name}`, {}, async (calculator) => {
    const outside = (shot) => difference(shot, layout.alone, { except: layout.display, tolerance: 8 });
    await calculator.play(row.before);
    const start = Date.now();
    const shown = await calculator.waitFor((shot) => outside(shot).count > 3000, 'the range message', 5000);
    const waited = Date.now() - start;
    const { box, count } = outside(shown);
    const centre = { x: box.x + box.width / 2 - layout.origin.x, y: box.y + box.height / 2 - layout.origin.y };
    check(centre.x > 0 && centre.x < kSize.width && centre.y > 0 && centre.y < kSize.height,
      `the message ${show(box)} is not over the calculator`);
    // A click on the calculator beside the message leaves the keys with the message: Enter
    // still closes it. (Zero, the one digit button clear of its frame, adds nothing if typed.)
    const zero = { x: layout.origin.x + controls['0'].x, y: layout.origin.y + controls['0'].y };
    check(zero.y > box.y + box.height + 10, `the 0 button is not clear of the message ${show(box)}`);
    await calculator.play('[0] ret');
    // Gone: what is left changed is the calculator's own, a focus frame or an option.
    await calculator.waitFor((shot) => outside(shot).count < count / 4, 'the message closed by Enter', 5000);
    await calculator.play(row.after);
    same(await calculator.copy(), row.copied);
    return `message ${box.width}x${box.height} at ${box.x},${box.y}, seen ${waited} ms after the key's events`;
  });

// A digit counts when its key is released, not while it is held.
await oneCase('keys: a digit shown when its key is released', {}, async (calculator) => {
  const display = () => calculator.shot(layout.display);
  const unlike = (a, b) => difference(a, b, { tolerance: 8 }).count;
  const before = await display();
  await calculator.play('7');
  const typed = await display();
  const glyph = unlike(typed, before);
  check(glyph > 0, 'the test cannot tell 7 from the empty display');
  await calculator.play('esc');
  await calculator.page.keyboard.down('Digit7');
  await calculator.settle();
  const held = unlike(await display(), before);
  await calculator.page.keyboard.up('Digit7');
  await calculator.settle();
  const released = unlike(await display(), typed);
  check(held === 0 && released === 0, `${held} pixels changed while held, ${released} differ from 7 after`);
  await calculator.play('kp+ 1 end');
  same(await calculator.copy(), '00:00:00:08');
});

// Keys the end-to-end table has no words for, and keys read by their place whatever
// character the layout makes of them.
const keyRows = [
  { name: 'Option+P (π) on a Mac picks PAL', script: 'mac+p 2 4 2 4 kp+ 1 end', copied: '00:00:25:00' },
  { name: 'Option+D (∂) picks DF, Option+O (ø) copies', script: 'mac+d 5 9 2 9 kp+ 1 end', by: 'mac+o',
    copied: '00:01:00;02' },
  { name: 'digit keys on a French layout (& é)', script: 'fr:1 fr:2 kp+ fr:3 end', copied: '00:00:00:15' },
  { name: 'keypad digits with Num Lock on', script: 'num:1 num:2 kp+ num:3 end', copied: '00:00:00:15' },
  // As on Linux: Space erases the digit, then presses the focused button, that digit's.
  { name: 'Space erases and presses the focused digit again', script: '5 kp+ 9 space 3 end',
    copied: '00:00:03:08' },
  { name: 'Delete removes the last digit', script: '5 kp+ 9 del 3 end', copied: '00:00:00:08' },
  { name: 'Enter presses the operator last used', script: '5 kp+ ret', copied: '00:00:00:10' },
];
for (const row of keyRows)
  await oneCase(`keys: ${row.name}`, {}, copiedAfter(row, row.by));

// Paste puts the clipboard's text into the display box, or the last Copy's text where the
// page may not read the clipboard, and brings back the copied value. With no leading zeros
// and no marks, the box then looks as if its text had been typed.
const pasteRows = [
  { name: 'shows the clipboard text, brings back the copied value', read: true, shows: '2 1 1 3 0 4' },
  { name: 'without clipboard reading shows the last Copy\'s text', read: false, shows: '1 2 1 3 0 4' },
];
for (const row of pasteRows)
  await test(`paste: ${row.name}`, async () => {
    const into = row.read ? ctx : await context(browser, server.origin, { read: 'denied' });
    const calculator = row.read ? main : await Calculator.open(into, url, { origin: layout.origin });
    try {
      await started({ calculator });
      // "12" copied, then "1304" (12 seconds 34 frames) on show.
      await calculator.play('alt+l alt+m 1 2 [Copy] 3 4');
      await calculator.setClipboard('21');
      const before = await calculator.shot(layout.display);
      await calculator.play('[Paste]');
      const pasted = await calculator.waitFor((shot) => difference(shot, before).count > 0,
        'a change in the display box', 2000, layout.display).catch(() => before);
      if (!row.read) await allowReading(into, server.origin, 'granted');
      await calculator.play('kp+ 1 end');
      same(await calculator.copy(), '13', 'copied after Paste, + 1 =');
      await calculator.play(`esc ${row.shows}`);
      const typed = await calculator.shot(layout.display);
      check(difference(before, typed).count > kFewPixels, 'the test cannot tell the texts apart');
      const count = difference(pasted, typed, { tolerance: 8 }).count;
      check(count <= kFewPixels, `the box after Paste is not as if "${row.shows}" had been typed `
        + `(${count} pixels differ)`);
    } finally {
      if (!row.read) await into.close();
    }
  });

// A browser window made small and large again: the calculator comes back to its place.
await oneCase('resize: the page shrunk to 200x150 and back', {}, async (calculator) => {
  await calculator.page.setViewport({ width: 200, height: 150 });
  await calculator.waitFor(() => true, 'a steady small page', 5000);
  await calculator.page.setViewport(kViewport);
  await calculator.waitForLike(layout.alone, layout.window, 'the calculator back in its place', kFewPixels, 5000)
    .catch(async (error) => {
      const found = locate(await calculator.shot(), linuxAt1x);
      throw new Error(`${error.message}; it is at ${found.x},${found.y}, not ${layout.origin.x},${layout.origin.y}`);
    });
});

// At three times the pixels, the state packaging/make_screenshot.sh makes on Linux.
await test('screenshot: the calculator at 3x as on Linux', async () => {
  const { calculator } = await firstStart(3);
  try {
    await calculator.play('alt+d 5 9 2 9 kp+ 1 end');
    await calculator.waitFor(() => true, 'a steady screen');
    const picture = await calculator.shot({ ...layout.origin, ...kSize });
    check(picture.width === linuxShot.width && picture.height === linuxShot.height,
      `${picture.width}x${picture.height}, not ${linuxShot.width}x${linuxShot.height}`);
    const { count } = difference(picture, linuxShot, { tolerance: kScreenshotTolerance.channel });
    const note = `${count} of ${picture.width * picture.height} pixels differ`;
    check(count <= kScreenshotTolerance.pixels, note);
    return note;
  } finally {
    await calculator.page.close();
  }
});

// At twice the pixels: a canvas pixel for each device pixel, and the calculator where and as
// it is at 1x.
await test('2x: the calculator drawn at device pixels, as at 1x', async () => {
  const { calculator, alone } = await firstStart(2);
  try {
    const canvas = await calculator.page.evaluate(() => {
      const screen = document.querySelector('canvas');
      return { width: screen.width, height: screen.height, css: [screen.clientWidth, screen.clientHeight] };
    });
    check(canvas.width === 2 * canvas.css[0] && canvas.height === 2 * canvas.css[1],
      `canvas ${canvas.width}x${canvas.height} for ${canvas.css.join('x')} CSS pixels`);
    const found = locate(shrink(alone, 2), linuxAt1x);
    check(found.x === layout.origin.x && found.y === layout.origin.y && found.meanDifference < 20,
      `calculator at ${found.x},${found.y} (mean difference ${found.meanDifference.toFixed(1)})`);
  } finally {
    await calculator.page.close();
  }
});

// After one visit the service worker starts the page with the server gone.
await test('offline: the page starts from its service worker', async () => {
  const own = await serve(site);
  const into = await context(browser, own.origin);
  try {
    const calculator = await Calculator.open(into, own.origin + '/', { origin: layout.origin });
    await calculator.waitForLike(layout.withAbout, layout.about, 'the about window at start', kFewPixels);
    await calculator.page.evaluate(() => navigator.serviceWorker.ready);
    await own.stop();
    check(await fetch(own.origin + '/').then(() => false, () => true), 'the server still answers');
    await calculator.page.setCacheEnabled(false);
    await calculator.page.reload({ waitUntil: 'domcontentloaded' });
    await calculator.waitForLike(layout.withAbout, layout.about, 'the about window offline', kFewPixels);
    check(await calculator.page.evaluate(() => !!navigator.serviceWorker.controller), 'no service worker');
    await calculator.play('a alt+d 5 9 2 9 kp+ 1 end');
    same(await calculator.copy(), '00:01:00;02');
  } finally {
    await own.stop();
    await into.close();
  }
});

await test('the pages fetched nothing but their own files', async () => {
  const foreign = main.foreignRequests(server.origin);
  check(!foreign.length, `fetched ${[...new Set(foreign)].join(', ')}`);
});

await browser.close();
await server.stop();
finish(failed ? 1 : 0);
