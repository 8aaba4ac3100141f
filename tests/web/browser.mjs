// The site served from a loopback port by Python's http.server, and Debian's Chromium
// headless with a profile of its own.
import { spawn } from 'node:child_process';
import { once } from 'node:events';
import { mkdtempSync, rmSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';

async function freePort() {
  const probe = createServer().listen(0, '127.0.0.1');
  await once(probe, 'listening');
  const { port } = probe.address();
  probe.close();
  await once(probe, 'close');
  return port;
}

// The servers still running, ended with the test however it ends.
const servers = new Set();
process.on('exit', () => servers.forEach((server) => server.kill()));

// { origin, stop() }: the server answers before this returns.
export async function serve(site) {
  const port = await freePort();
  const server = spawn('python3', ['-m', 'http.server', '--bind', '127.0.0.1', '--directory', site,
    String(port)], { stdio: 'ignore' });
  servers.add(server);
  server.on('exit', () => servers.delete(server));
  const origin = `http://127.0.0.1:${port}`;
  for (let tries = 0; ; ++tries) {
    try {
      if ((await fetch(origin + '/')).ok) break;
    } catch (error) {
      if (tries >= 100 || server.exitCode !== null) throw new Error(`no server on ${origin}: ${error}`);
    }
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  return {
    origin,
    async stop() {
      if (server.exitCode === null && server.signalCode === null) {
        server.kill();
        await once(server, 'exit');
      }
    },
  };
}

export async function launch() {
  const profile = mkdtempSync(join(tmpdir(), 'ostrel-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.OSTREL_CHROMIUM || '/usr/bin/chromium',
    headless: false, // the flag below, as given
    userDataDir: profile,
    args: ['--headless=new', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--no-first-run', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--disable-quic'],
  });
  // Gone with the browser, or with the test when it ends first.
  const remove = () => rmSync(profile, { recursive: true, force: true, maxRetries: 5 });
  browser.process().once('exit', remove);
  process.once('exit', remove);
  return browser;
}

// A browser context of its own, its own service workers and storage, where pages of origin
// may write the clipboard, and read it when read is 'granted' (else 'denied' or 'prompt').
export async function context(browser, origin, { read = 'granted' } = {}) {
  const ctx = await browser.createBrowserContext();
  await allowReading(ctx, origin, read);
  return ctx;
}

export function allowReading(ctx, origin, read) {
  return ctx.setPermission(origin, { permission: { name: 'clipboard-write' }, state: 'granted' },
    { permission: { name: 'clipboard-read' }, state: read });
}
