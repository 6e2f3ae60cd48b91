// Measures the page: the transfer size of a first visit (gzipped, as a web server would
// send it), the time from navigation to the first drawn circuit from a local server, and
// the time of a frame while a point of a 2,000-element circuit is dragged.
//   node web/tools/measure.mjs   (after scripts/build-web.sh)
import { cpSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { gzipSync } from 'node:zlib';
import { execFileSync } from 'node:child_process';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { launch, root, site } from '../../tests/web/browser.mjs';
import { serve } from './serve.mjs';

// The site with a circuit beside it, as a school would host it.
const dir = mkdtempSync(path.join(tmpdir(), 'kelno-measure-'));
cpSync(site, dir, { recursive: true });
cpSync(path.join(root, 'examples', 'meters.kel'), path.join(dir, 'meters.kel'));
execFileSync('python3', [path.join(root, 'tools', 'make_grid_circuit.py'), '32', path.join(dir, 'grid32.kel')]);
const server = await serve(dir, 0);
const url = `http://127.0.0.1:${server.address().port}/`;
const browser = await launch();

try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1366, height: 768 });
  const sizes = new Map();
  page.on('requestfinished', async (request) => {
    const response = request.response();
    if (!response || !request.url().startsWith(url)) return;
    const body = await response.buffer().catch(() => null);
    if (body) sizes.set(new URL(request.url()).pathname, { raw: body.length, gzip: gzipSync(body, { level: 9 }).length });
  });
  await page.goto(`${url}?open=meters.kel`, { waitUntil: 'load' });
  const firstCircuit = await page.evaluate(async () => {
    await window.kelnoReady;
    while (!window.kelnoPage.drawnTexts().length) await new Promise((r) => requestAnimationFrame(r));
    return performance.now(); // from the start of navigation
  });
  await new Promise((resolve) => setTimeout(resolve, 1000)); // the service worker's and worker's fetches
  const pageFiles = [...sizes].filter(([file]) => !file.endsWith('.kel'));
  const total = pageFiles.reduce((sum, [, s]) => sum + s.gzip, 0);
  console.log('first visit, gzipped (fonts are the device\'s):');
  for (const [file, s] of pageFiles) console.log(`  ${file.padEnd(24)} ${String(s.raw).padStart(8)} B  ${String(s.gzip).padStart(7)} B gzipped`);
  console.log(`  total ${(total / 1024).toFixed(1)} KiB gzipped`);
  // Fetched apart from the page: the service worker (which then caches the files above,
  // revalidating them), and the analysis worker, for large circuits only.
  for (const file of ['sw.js', 'js/worker.js']) {
    const body = readFileSync(path.join(site, file));
    console.log(`  later: /${file.padEnd(17)} ${String(body.length).padStart(8)} B  ${String(gzipSync(body, { level: 9 }).length).padStart(7)} B gzipped`);
  }
  console.log(`first drawn circuit (meters.kel) ${firstCircuit.toFixed(0)} ms after navigation`);

  // A point of the grid dragged with the selection tool, one frame per move.
  await page.goto(`${url}?open=grid32.kel`, { waitUntil: 'load' });
  await page.evaluate(() => window.kelnoReady);
  await page.waitForFunction(() => window.kelnoPage.geometry().elements.length > 0);
  await page.evaluate(() => window.kelnoPage.analysed());
  const elements = (await page.evaluate(() => window.kelnoPage.geometry())).elements.length;
  await page.keyboard.press('Escape');
  const [x, y] = await page.evaluate(() => {
    const g = window.kelnoPage.geometry();
    return window.kelnoPage.clientOf(...g.points[1]);
  });
  await page.evaluate(() => window.kelnoPage.takeFrameTimes());
  await page.mouse.move(x, y);
  await page.mouse.down();
  for (let i = 1; i <= 60; ++i) {
    await page.mouse.move(x + i * 2, y + i);
    await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => r())));
  }
  await page.mouse.up();
  const frames = (await page.evaluate(() => window.kelnoPage.takeFrameTimes())).sort((a, b) => a - b);
  const at = (q) => frames[Math.min(frames.length - 1, Math.floor(q * frames.length))].toFixed(1);
  console.log(`drag on ${elements} elements: ${frames.length} frames, median ${at(0.5)} ms, 90th ${at(0.9)} ms, max ${at(1)} ms (drawing calls and canvas replay)`);
} finally {
  await browser.close();
  server.close();
  rmSync(dir, { recursive: true, force: true });
}
