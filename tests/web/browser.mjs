// Shared by the browser tests: Debian's chromium, headless, driven by puppeteer-core, on the
// assembled site served from 127.0.0.1. Each browser has a fresh profile of its own.
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';
import { fileURLToPath } from 'node:url';

export const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..', '..');
const require = createRequire(path.join(root, 'web', 'package.json'));
const puppeteer = require('puppeteer-core');
const { serve } = await import(path.join(root, 'web', 'tools', 'serve.mjs'));

export const site = process.env.KELNO_SITE ?? path.join(root, 'build', 'web', 'site');
export const nativeCli = process.env.KELNO_NATIVE_CLI ?? path.join(root, 'build', 'default', 'src', 'cli', 'kelno-cli');
const chromium = process.env.KELNO_CHROMIUM ?? '/usr/bin/chromium';

export async function startServer() {
  const server = await serve(site, 0);
  return { server, url: `http://127.0.0.1:${server.address().port}/` };
}

export async function launch() {
  const profile = mkdtempSync(path.join(tmpdir(), 'kelno-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--font-render-hinting=none', `--user-data-dir=${profile}`],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// A page of the editor, ready, with the page's errors collected.
export async function openEditor(browser, url, viewport = { width: 1366, height: 768 }) {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.setViewport(viewport);
  await page.goto(url);
  await page.evaluate(() => window.kelnoReady);
  page.errors = errors;
  return page;
}

// The client position of a logical point of the circuit.
export function clientOf(page, x, y) {
  return page.evaluate((px, py) => window.kelnoPage.clientOf(px, py), x, y);
}

export async function chooseTool(page, tip) {
  await page.click(`.tool-button[title="${tip}"]`);
}
