// Time from navigation to the page's first WebGL draw, in fresh headless Chromium profiles.
//   node bench/web_first_draw.mjs SITE_DIR RUNS
import { launch, serve } from '../tests/web/browser.mjs';

const [site, runs = '5'] = process.argv.slice(2);

// Marks the first draw call on any WebGL context, in the page's own time (0 = navigation).
const watchDraws = () => {
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

const draws = [], loads = [];
try {
  for (let run = 0; run < Number(runs); ++run) {
    const browser = await launch();
    try {
      const page = await browser.newPage();
      await page.evaluateOnNewDocument(watchDraws);
      await page.goto(origin, { waitUntil: 'load' });
      await page.waitForFunction(() => window.firstDraw !== undefined, { timeout: 60000 });
      const timing = await page.evaluate(() => ({
        draw: window.firstDraw,
        load: performance.getEntriesByType('navigation')[0].loadEventEnd,
      }));
      draws.push(timing.draw);
      loads.push(timing.load);
    } finally {
      await browser.close();
    }
  }
} finally {
  await server.stop();
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const list = (values) => values.map((value) => (value / 1000).toFixed(2)).join(' ');
console.log(`load event   median ${(median(loads) / 1000).toFixed(2)} s  (runs: ${list(loads)})`);
console.log(`first draw   median ${(median(draws) / 1000).toFixed(2)} s  (runs: ${list(draws)})`);
