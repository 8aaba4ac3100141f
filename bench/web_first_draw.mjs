// Time from navigation to the page's first WebGL draw, in fresh headless Chromium profiles.
// A browser just started spends its first seconds on its own work, which on two cores delays a
// page by up to a second at random; so each run first lets the browser settle, as a user's
// browser is when a page is opened. The last line times the page in a browser just started.
//   node bench/web_first_draw.mjs SITE_DIR RUNS
import { launch, serve } from '../tests/web/browser.mjs';

const [site, runs = '5'] = process.argv.slice(2);

// Marks the first draw call on any WebGL context, in the page's own time (0 = navigation), and
// when the module was compiled and instantiated.
const watchDraws = () => {
  window.marks = {};
  for (const name of ['compile', 'compileStreaming', 'instantiate']) {
    const step = WebAssembly[name];
    WebAssembly[name] = function (...args) {
      return step.apply(this, args).then((result) => {
        window.marks[name] = performance.now();
        return result;
      });
    };
  }
  for (const type of [window.WebGLRenderingContext, window.WebGL2RenderingContext]) {
    for (const name of ['drawArrays', 'drawElements']) {
      const draw = type.prototype[name];
      type.prototype[name] = function (...args) {
        if (window.firstDraw === undefined)
          window.firstDraw = performance.now();
        return draw.apply(this, args);
      };
    }
  }
};

const server = await serve(site);
const origin = server.origin + '/';

const kSettleMs = 2000;
const draws = [], loads = [], fetched = [], compiled = [], instantiated = [], coldDraws = [];
try {
  for (let run = 0; run < 2 * Number(runs); ++run) {
    const cold = run % 2 === 1;
    const browser = await launch();
    try {
      const page = await browser.newPage();
      await page.evaluateOnNewDocument(watchDraws);
      if (cold) {
        await page.goto(origin, { waitUntil: 'load' });
        await page.waitForFunction(() => window.firstDraw !== undefined, { timeout: 60000 });
        coldDraws.push(await page.evaluate(() => window.firstDraw));
        continue;
      }
      await new Promise((resolve) => setTimeout(resolve, kSettleMs));
      await page.goto(origin, { waitUntil: 'load' });
      await page.waitForFunction(() => window.firstDraw !== undefined, { timeout: 60000 });
      const timing = await page.evaluate(() => ({
        draw: window.firstDraw,
        load: performance.getEntriesByType('navigation')[0].loadEventEnd,
        fetched: performance.getEntriesByType('resource')
          .find((entry) => entry.name.endsWith('/ostrel.wasm')).responseEnd,
        compiled: window.marks.compileStreaming ?? window.marks.compile,
        instantiated: window.marks.instantiate,
      }));
      draws.push(timing.draw);
      loads.push(timing.load);
      fetched.push(timing.fetched);
      compiled.push(timing.compiled);
      instantiated.push(timing.instantiated);
    } finally {
      await browser.close();
    }
  }
} finally {
  await server.stop();
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const list = (values) => values.map((value) => (value / 1000).toFixed(2)).join(' ');
const line = (label, values) =>
  console.log(`${label.padEnd(13)}median ${(median(values) / 1000).toFixed(2)} s  (runs: ${list(values)})`);
line('load event', loads);
line('wasm fetched', fetched);
line('compiled', compiled);
line('instantiated', instantiated);
line('first draw', draws);
line('cold browser', coldDraws);
