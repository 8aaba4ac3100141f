// The calculator in a page as a user meets it: physical keys and mouse clicks in, pixels and
// the browser's clipboard out. Scripts are those of tests/endtoend_cases.txt.
import { controlPoints } from './tables.mjs';
import { decode, difference } from './pixels.mjs';

export const kViewport = { width: 800, height: 600 };
const kResting = { x: 2, y: 2 };     // the pointer away from every window
const kKeyGapMs = 10;
const kAccessKeyClickMs = 130;       // Qt clicks a button 100 ms after its access key
const kNothingCopied = '\u2400 nothing copied';
const controls = controlPoints();

const namedKeys = {
  'kp+': 'NumpadAdd', 'kp-': 'NumpadSubtract', 'kp*': 'NumpadMultiply', 'kp/': 'NumpadDivide',
  end: 'End', ret: 'Enter', esc: 'Escape', bksp: 'Backspace', space: 'Space', del: 'Delete',
};
// Keys as other keyboards send them, where the page must read the key's place: Option+key on
// a Mac's US layout, the main-row digits unshifted on a French layout, and the keypad's digits
// with Num Lock on (puppeteer's keypad digits are those with Num Lock off: End, Down...).
const macOption = { p: 'π', d: '∂', o: 'ø', t: '†', s: 'ß', r: '®', f: 'ƒ', c: 'ç', m: 'µ', l: '¬' };
const french = ['à', '&', 'é', '"', "'", '(', '-', 'è', '_', 'ç'];
const layouts = {
  mac: (letter) => ({ key: macOption[letter], code: keyCode(letter), windowsVirtualKeyCode:
    letter.toUpperCase().charCodeAt(0), modifiers: 1 }),
  fr: (digit) => ({ key: french[digit], code: keyCode(digit), windowsVirtualKeyCode: 0x30 + Number(digit) }),
  num: (digit) => ({ key: digit, code: 'Numpad' + digit, windowsVirtualKeyCode: 0x60 + Number(digit),
    location: 3 }),
};

function keyCode(name) {
  if (namedKeys[name]) return namedKeys[name];
  if (/^[0-9]$/.test(name)) return 'Digit' + name;
  if (/^[a-z]$/.test(name)) return 'Key' + name.toUpperCase();
  throw new Error(`no key for "${name}"`);
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

export class Calculator {
  // origin: the calculator's top-left in CSS pixels, once known.
  constructor(page, origin = null) {
    this.page = page;
    this.origin = origin;
    this.requests = [];
    page.on('request', (request) => this.requests.push(request.url()));
  }

  // A page of its own in context, scale device pixels to a CSS pixel, showing url.
  static async open(context, url, { scale = 1, origin = null } = {}) {
    const page = await context.newPage();
    await page.setViewport({ ...kViewport, deviceScaleFactor: scale });
    const calculator = new Calculator(page, origin);
    await calculator.load(url);
    return calculator;
  }

  // The page loaded afresh: the program starts again.
  async load(url) {
    await this.page.goto(url, { waitUntil: 'domcontentloaded' });
  }

  // Until the browser has drawn what the page did so far: two animation frames.
  async settle() {
    await this.page.evaluate(() => new Promise((resolve) =>
      requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(resolve, 0)))));
  }

  // Never beyond the viewport: for that Chromium resizes the page for a moment, and the
  // program sees it.
  async shot(clip = undefined) {
    return decode(await this.page.screenshot({ type: 'png', clip, captureBeyondViewport: false }));
  }

  // The first screenshot (of clip, or all) for which test(shot) holds and that the next one
  // repeats.
  async waitFor(test, what, timeoutMs = 20000, clip = undefined) {
    const start = Date.now();
    let last = null;
    for (;;) {
      const raw = Buffer.from(await this.page.screenshot({ type: 'png', clip, captureBeyondViewport: false }));
      if (last && raw.equals(last)) {
        const shot = decode(raw);
        if (test(shot)) return shot;
      }
      last = raw;
      if (Date.now() - start > timeoutMs) throw new Error(`not seen within ${timeoutMs} ms: ${what}`);
      await sleep(50);
    }
  }

  // Until the screen's region rect looks as it does in picture, a full screenshot: at most
  // maxPixels differ.
  async waitForLike(picture, rect, what, maxPixels, timeoutMs = 20000) {
    const start = Date.now();
    for (;;) {
      const { count } = difference(await this.shot(rect), picture, { rect: { ...rect, x: 0, y: 0 },
        dx: -rect.x, dy: -rect.y, tolerance: 8 });
      if (count <= maxPixels) return;
      if (Date.now() - start > timeoutMs)
        throw new Error(`not seen within ${timeoutMs} ms: ${what} (${count} pixels differ)`);
      await sleep(30);
    }
  }

  async tap(code) {
    await this.page.keyboard.down(code);
    await sleep(kKeyGapMs);
    await this.page.keyboard.up(code);
    await this.settle();
  }

  async withAlt(action) {
    await this.page.keyboard.down('AltLeft');
    await sleep(kKeyGapMs);
    await action();
    await this.page.keyboard.up('AltLeft');
    await this.settle();
    await sleep(kAccessKeyClickMs);
    await this.settle();
  }

  // A key as another layout sends it: the code names the key, the key the character the
  // layout makes of it.
  async layoutKey(layout, name) {
    const client = await this.page.createCDPSession();
    const event = layouts[layout](name);
    await client.send('Input.dispatchKeyEvent', { type: 'keyDown', text: event.key, ...event });
    await sleep(kKeyGapMs);
    await client.send('Input.dispatchKeyEvent', { type: 'keyUp', ...event });
    await client.detach();
    await this.settle();
  }

  async clickAt(x, y) {
    await this.page.mouse.click(x, y, { delay: kKeyGapMs });
    await this.page.mouse.move(kResting.x, kResting.y);
    await this.settle();
  }

  // Words: "5", "kp+", "end" a key tapped; "alt+d" with Alt held; "mac+d" with Option held on
  // a Mac; "fr:1" the key 1 on a French layout; "num:1" the keypad's 1 with Num Lock on;
  // "[MS1]" the control with that caption clicked.
  async play(script) {
    for (const word of script.split(' ').filter(Boolean)) {
      const caption = word.match(/^\[(.+)\]$/)?.[1];
      const chord = word.match(/^alt\+(.)$/)?.[1];
      const other = word.match(/^(mac)\+(.)$/) ?? word.match(/^(fr|num):(.)$/);
      if (caption) {
        if (!controls[caption]) throw new Error(`no control "${caption}"`);
        await this.clickAt(this.origin.x + controls[caption].x, this.origin.y + controls[caption].y);
      } else if (chord) {
        await this.withAlt(() => this.tap(keyCode(chord)));
      } else if (other?.[1] === 'mac') {
        await this.withAlt(() => this.layoutKey('mac', other[2]));
      } else if (other) {
        await this.layoutKey(other[1], other[2]);
      } else {
        await this.tap(keyCode(word));
      }
    }
  }

  clipboard() {
    return this.page.evaluate(() => navigator.clipboard.readText());
  }

  setClipboard(text) {
    return this.page.evaluate((t) => navigator.clipboard.writeText(t), text);
  }

  // The text Copy (the script by, "[Copy]" or "alt+o") puts on the browser's clipboard.
  async copy(by = '[Copy]') {
    await this.setClipboard(kNothingCopied);
    await this.play(by);
    for (const start = Date.now(); Date.now() - start < 3000; await sleep(20)) {
      const text = await this.clipboard();
      if (text !== kNothingCopied) return text;
    }
    throw new Error(`${by} put nothing on the clipboard`);
  }

  // Requests for anything but the page's own files.
  foreignRequests(origin) {
    return this.requests.filter((url) => !url.startsWith(origin + '/') && !/^(data|blob):/.test(url));
  }
}
