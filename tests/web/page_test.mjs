// The web page in Debian's chromium, driven by real pointer, touch and key events at
// positions computed from the circuit, checked through the page's automation object and
// against the desktop's kelno-cli.
//   node --test tests/web/page_test.mjs   (KELNO_SITE: the assembled site,
//                                          KELNO_NATIVE_CLI: the desktop's kelno-cli)
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, writeFileSync, existsSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { launch, openEditor, startServer, clientOf, chooseTool, nativeCli, root } from './browser.mjs';

const RING_CURRENT = 0.29411764705882354; // 1.5 V over the battery's and the bulb's 5.1 ohms
const examples = path.join(root, 'examples');
const exampleFiles = readdirSync(examples).filter((f) => f.endsWith('.kel')).sort();
const scratch = mkdtempSync(path.join(tmpdir(), 'kelno-page-'));

let browser;
let server;
let url;

before(async () => {
  ({ server, url } = await startServer());
  browser = await launch();
});

after(async () => {
  await browser?.close();
  server?.close();
});

// A page in a context of its own, so that no test sees another's stored circuit.
async function freshPage(viewport) {
  const context = await browser.createBrowserContext();
  const page = await openEditor(context, url, viewport);
  page.context = context;
  return page;
}

async function openExample(page, file) {
  const bytes = Array.from(readFileSync(path.join(examples, file)));
  const result = await page.evaluate((b, name) => window.kelnoPage.openBytes(b, name), bytes, file);
  assert.equal(result.status, 'ok', `${file}: ${result.error}`);
}

const desktopCurrents = (file) =>
  JSON.parse(execFileSync(nativeCli, ['analyze', file, '--json'], { maxBuffer: 1 << 28 })).elements.map((e) => e.current);

async function saveToFile(page, name) {
  const file = path.join(scratch, name);
  writeFileSync(file, Buffer.from(await page.evaluate(() => window.kelnoPage.saveBytes())));
  return file;
}

async function canvasCorner(page) {
  return page.$eval('#view', (canvas) => {
    const box = canvas.getBoundingClientRect();
    return { x: box.left, y: box.top };
  });
}

// Gestures of one input kind at client positions.
const mouse = (page) => ({
  tap: (x, y) => page.mouse.click(x, y),
  drag: async (from, to) => {
    await page.mouse.move(...from);
    await page.mouse.down();
    await page.mouse.move(...to, { steps: 6 });
    await page.mouse.up();
  },
});
const touch = (page) => ({
  tap: (x, y) => page.touchscreen.tap(x, y),
  drag: async (from, to) => {
    await page.touchscreen.touchStart(...from);
    for (let i = 1; i <= 6; ++i) {
      await page.touchscreen.touchMove(from[0] + ((to[0] - from[0]) * i) / 6, from[1] + ((to[1] - from[1]) * i) / 6);
    }
    await page.touchscreen.touchEnd();
  },
});

// A battery and a bulb placed with their tools, joined by two wires drawn from the rim of
// one point (10 px off its centre) to another point.
async function buildRing(page, input, second = '電球') {
  const corner = await canvasCorner(page);
  await chooseTool(page, '乾電池');
  await input.tap(corner.x + 200, corner.y + 100);
  await chooseTool(page, second);
  await input.tap(corner.x + 200, corner.y + 300);
  const { points } = await page.evaluate(() => window.kelnoPage.geometry());
  assert.equal(points.length, 4, 'two components, four points');
  for (const [from, to] of [[1, 3], [2, 0]]) {
    await chooseTool(page, '導線');
    const [fx, fy] = await clientOf(page, ...points[from]);
    const [tx, ty] = await clientOf(page, ...points[to]);
    await input.drag([fx + 10, fy], [tx, ty]);
  }
}

async function assertRing(page, name) {
  const report = await page.evaluate(() => window.kelnoPage.report());
  assert.equal(report.outcome, 'solved');
  assert.deepEqual(report.currents.map(Math.abs), [RING_CURRENT, RING_CURRENT, RING_CURRENT, RING_CURRENT]);
  const file = await saveToFile(page, name);
  assert.deepEqual(desktopCurrents(file), report.currents, 'the desktop reads the saved file the same');
}

test('a ring built with the mouse carries 0.294 A in every element, in the saved file too', async () => {
  const page = await freshPage();
  await buildRing(page, mouse(page));
  await assertRing(page, 'ring-mouse.kel');
  // Undo and redo by their keys; Ctrl+R is redo as on the desktop, not the browser's reload.
  const count = async () => (await page.evaluate(() => window.kelnoPage.geometry())).elements.length;
  for (const [key, expected] of [['z', 3], ['y', 4], ['z', 3], ['r', 4]]) {
    await page.keyboard.down('Control');
    await page.keyboard.press(key);
    await page.keyboard.up('Control');
    assert.equal(await count(), expected, `Ctrl+${key}`);
  }
  assert.deepEqual(page.errors, []);
  await page.context.close();
});

test('a ring built with a finger; a long press opens the context menu', async () => {
  const page = await freshPage({ width: 1024, height: 1366, deviceScaleFactor: 2, hasTouch: true, isMobile: true });
  await buildRing(page, touch(page));
  await assertRing(page, 'ring-touch.kel');
  const corner = await canvasCorner(page);
  await page.touchscreen.touchStart(corner.x + 500, corner.y + 500);
  await new Promise((resolve) => setTimeout(resolve, 800));
  await page.touchscreen.touchEnd();
  assert.equal(await page.$eval('#context-menu', (menu) => !menu.hidden), true);
  assert.equal((await page.evaluate(() => window.kelnoPage.geometry())).elements.length, 4, 'the hold changed nothing');
  // Two fingers spread apart zoom the view about their middle; the circuit stays as it is.
  await page.keyboard.press('Escape'); // closes the menu
  assert.equal(await page.$eval('#context-menu', (menu) => menu.hidden), true);
  const before = await page.evaluate(() => window.kelnoPage.view());
  const session = await page.createCDPSession();
  const fingers = (spread) => [{ x: 400 - spread, y: 600, id: 1 }, { x: 400 + spread, y: 600, id: 2 }];
  await session.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: fingers(50) });
  for (let spread = 60; spread <= 100; spread += 10) {
    await session.send('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: fingers(spread) });
  }
  await session.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  const zoomed = await page.evaluate(() => window.kelnoPage.view());
  assert.ok(Math.abs(zoomed.scale / before.scale - 2) < 0.01, `zoom ${zoomed.scale / before.scale}`);
  assert.equal((await page.evaluate(() => window.kelnoPage.geometry())).elements.length, 4);
  await page.context.close();
});

test('files: every example saves byte for byte; the picker, Ctrl+S and a damaged file', async () => {
  const page = await freshPage();
  for (const file of exampleFiles) {
    await openExample(page, file);
    const saved = await page.evaluate(() => window.kelnoPage.saveBytes());
    assert.deepEqual(Buffer.from(saved), readFileSync(path.join(examples, file)), file);
  }
  // Through the file input and a download, as a browser without file handles does.
  const downloads = mkdtempSync(path.join(scratch, 'downloads-'));
  const session = await browser.target().createCDPSession();
  await session.send('Browser.setDownloadBehavior', {
    behavior: 'allow', downloadPath: downloads, browserContextId: page.context.id,
  });
  await page.evaluate(() => { window.showSaveFilePicker = undefined; window.showOpenFilePicker = undefined; });
  await (await page.$('#file-input')).uploadFile(path.join(examples, 'meters.kel'));
  await page.waitForFunction(() => document.title.startsWith('meters.kel'));
  await page.keyboard.down('Control');
  await page.keyboard.press('s');
  await page.keyboard.up('Control');
  const saved = path.join(downloads, 'meters.kel');
  for (let i = 0; i < 50 && !existsSync(saved); ++i) await new Promise((resolve) => setTimeout(resolve, 100));
  assert.deepEqual(readFileSync(saved), readFileSync(path.join(examples, 'meters.kel')));

  const broken = path.join(scratch, 'broken.kel');
  writeFileSync(broken, readFileSync(path.join(examples, 'switch.kel')).subarray(0, 30));
  await (await page.$('#file-input')).uploadFile(broken);
  await page.waitForSelector('#message-dialog[open]');
  const text = await page.$eval('#message-text', (p) => p.textContent);
  assert.match(text, /^broken\.kel: \S/, 'the message names the file and the reason');
  await page.click('#message-buttons button');
  assert.deepEqual(Buffer.from(await page.evaluate(() => window.kelnoPage.saveBytes())),
    readFileSync(path.join(examples, 'meters.kel')), 'the circuit open stays as it was');
  await page.context.close();
});

// Paste and copy as the browser fires them for Ctrl+V and Ctrl+C.
const clipboardEvent = (page, type, text) =>
  page.evaluate((kind, data) => {
    const transfer = new DataTransfer();
    if (data !== null) transfer.setData('text/plain', data);
    document.dispatchEvent(new ClipboardEvent(kind, { clipboardData: transfer, bubbles: true, cancelable: true }));
    return transfer.getData('text/plain');
  }, type, text);

test('the desktop clipboard text pastes and copies back byte for byte; other text is refused', async () => {
  const page = await freshPage();
  const textFile = path.join(scratch, 'series.txt');
  execFileSync(nativeCli, ['convert', path.join(examples, 'bulbs-in-series.kel'), textFile]);
  const desktopText = readFileSync(textFile, 'latin1');
  await clipboardEvent(page, 'paste', desktopText);
  const { elements } = await page.evaluate(() => window.kelnoPage.geometry());
  assert.equal(elements.length, desktopCurrents(path.join(examples, 'bulbs-in-series.kel')).length);
  // Copy shifts the points a step (50, -50), so that its paste lands beside; cut does not.
  const lines = desktopText.split('\r\n');
  const pointCount = Number(lines[1].split(' ')[0]);
  const shifted = lines.map((line, i) => {
    if (i < 2 || i >= 2 + pointCount) return line;
    const [x, y] = line.split(' ').map(Number);
    return `${x + 50} ${y - 50}`;
  }).join('\r\n');
  assert.equal(await clipboardEvent(page, 'copy', null), shifted);
  await clipboardEvent(page, 'paste', 'これは回路ではありません');
  await page.waitForSelector('#message-dialog[open]');
  assert.match(await page.$eval('#message-text', (p) => p.textContent), /^貼り付けできませんでした。/);
  await page.click('#message-buttons button');
  assert.equal((await page.evaluate(() => window.kelnoPage.geometry())).elements.length, elements.length);
  assert.equal(await clipboardEvent(page, 'cut', null), desktopText);
  assert.equal((await page.evaluate(() => window.kelnoPage.geometry())).elements.length, 0);
  await page.context.close();
});

async function menuCommand(page, title, command) {
  const [menu] = await page.$$(`xpath/.//button[contains(@class, "menu-title")][starts-with(., "${title}")]`);
  await menu.click();
  await page.click(`.menu.open .menu-item[data-command="${command}"]`);
}

const drawnTexts = (page) => page.evaluate(async () => {
  await new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));
  return window.kelnoPage.drawnTexts();
});

test('predict mode hides the readings, F5 reveals them until the next change', async () => {
  const page = await freshPage();
  await openExample(page, 'meters.kel');
  assert.ok((await drawnTexts(page)).includes('294.1 mA'));
  await menuCommand(page, '表示', 'predict');
  assert.equal(await page.evaluate(() => window.kelnoPage.readingsHidden()), true);
  assert.ok(!(await drawnTexts(page)).some((t) => /mA|mW/.test(t)), 'no reading while predicting');
  assert.equal(await page.$eval('.tool-button[data-command="reveal"]', (b) => b.disabled), false);

  await page.keyboard.press('F5');
  assert.ok((await drawnTexts(page)).includes('294.1 mA'), 'F5 shows the readings');
  await page.keyboard.down('Control');
  await page.keyboard.press('a');
  await page.keyboard.up('Control');
  assert.ok((await drawnTexts(page)).includes('294.1 mA'), 'selecting is no change');
  await page.keyboard.press('ArrowRight');
  assert.ok(!(await drawnTexts(page)).some((t) => /mA|mW/.test(t)), 'a change hides them again');
  await page.context.close();
});

test('電位 writes the potential of every point, the same as the core computes', async () => {
  const page = await freshPage();
  await openExample(page, 'bulbs-in-series.kel');
  const plain = await drawnTexts(page);
  await menuCommand(page, '表示', 'potentials');
  const added = (await drawnTexts(page)).filter((t) => !plain.includes(t));
  const { potentials } = await page.evaluate(() => window.kelnoPage.report());
  assert.equal(added.length, potentials.length, 'one label per point');
  assert.ok(added.includes('1.49 V') && added.includes('0.743 V'), added.join(' '));
  await menuCommand(page, '表示', 'potentials');
  assert.deepEqual(await drawnTexts(page), plain);
  await page.context.close();
});

// Pixels of the view that are plainly red (the short's band is a light red).
const redPixels = (page) => page.evaluate(async () => {
  await new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));
  const canvas = document.getElementById('view');
  const { data } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
  let count = 0;
  for (let i = 0; i < data.length; i += 4) count += data[i] > 200 && data[i + 1] < 170 && data[i + 2] < 170;
  return count;
});

test('a shorted battery: its loop in red and the reason in the status bar, both off by option', async () => {
  const page = await freshPage();
  // A ring of a battery and a switch; the details dialog makes the battery 0 ohms.
  await buildRing(page, mouse(page), 'スイッチ');
  const { points, elements } = await page.evaluate(() => window.kelnoPage.geometry());
  const battery = elements.find((e) => e[2] === 1);
  const [ax, ay] = await clientOf(page, ...points[battery[0]]);
  const [bx, by] = await clientOf(page, ...points[battery[1]]);
  await page.keyboard.press('Escape');
  await page.mouse.click((ax + bx) / 2, (ay + by) / 2, { clickCount: 1 });
  await page.mouse.click((ax + bx) / 2, (ay + by) / 2, { clickCount: 2 });
  await page.waitForSelector('#details-dialog[open]');
  await page.$eval('#details-resistance', (input) => { input.value = '0'; });
  await page.click('#details-dialog button[value="ok"]');
  // The dialog's answer goes to the core when its close event comes, a task later.
  await page.waitForFunction(() => window.kelnoPage.report().outcome !== 'solved', { timeout: 5000 }).catch(() => {});
  const report = await page.evaluate(() => window.kelnoPage.report());
  assert.notEqual(report.outcome, 'solved');
  assert.ok(report.failingLoop.length >= 2);
  const status = await page.evaluate(() => window.kelnoPage.statusText());
  assert.ok(status.startsWith('Short') && status.length > 'Short'.length, status);
  assert.ok((await redPixels(page)) > 200, 'the loop is drawn in red');

  await menuCommand(page, '表示', 'options');
  await page.click('#opt-explain');
  await page.click('#options-dialog button[value="ok"]');
  await page.waitForFunction(() => window.kelnoPage.statusText() === 'Short', { timeout: 5000 }).catch(() => {});
  assert.equal(await page.evaluate(() => window.kelnoPage.statusText()), 'Short');
  assert.equal(await redPixels(page), 0);
  await page.context.close();
});

// The width in millimetres of the battery's green body on a page printed at 254 dpi,
// where a pixel is 0.1 mm.
function batteryWidthOnPaper(pdf) {
  const base = pdf.replace(/\.pdf$/, '');
  execFileSync('pdftoppm', ['-r', '254', '-f', '1', '-l', '1', '-singlefile', pdf, base]);
  const ppm = readFileSync(`${base}.ppm`);
  const header = ppm.toString('latin1', 0, 40).split(/\s+/);
  const [width, height] = [Number(header[1]), Number(header[2])];
  const offset = ppm.indexOf('\n', ppm.indexOf('\n', ppm.indexOf('\n') + 1) + 1) + 1;
  let best = 0;
  for (let y = 0; y < height; ++y) {
    let run = 0;
    for (let x = 0; x < width; ++x) {
      const i = offset + 3 * (y * width + x);
      const green = ppm[i] > 150 && ppm[i] < 230 && ppm[i + 1] > 240 && ppm[i + 2] > 150 && ppm[i + 2] < 230;
      run = green ? run + 1 : 0;
      best = Math.max(best, run);
    }
  }
  return (best + 2) / 10; // the fill, and the outline on either side
}

test('printed, a battery body measures 16 mm on paper', async () => {
  const page = await freshPage();
  await openExample(page, 'meters.kel');
  await page.evaluate(() => window.kelnoPage.preparePrint());
  const pdf = path.join(scratch, 'meters.pdf');
  await page.pdf({ path: pdf, format: 'A4', landscape: true, printBackground: true });
  const width = batteryWidthOnPaper(pdf);
  assert.ok(Math.abs(width - 16) <= 0.3, `battery body ${width} mm`);
  await page.context.close();
});

test('a 71 × 71 grid analyses in a worker while the page answers within 50 ms', async () => {
  const grid = path.join(scratch, 'grid71.kel');
  execFileSync('python3', [path.join(root, 'tools', 'make_grid_circuit.py'), '71', grid]);
  const page = await freshPage();
  const bytes = readFileSync(grid).toString('base64');
  const opened = await page.evaluate(async (data) => {
    const raw = Uint8Array.from(atob(data), (c) => c.charCodeAt(0));
    const started = performance.now();
    const result = await window.kelnoPage.openBytes(raw, 'grid71.kel');
    return { status: result.status, ms: performance.now() - started, pending: window.kelnoPage.analysisPending() };
  }, bytes);
  assert.equal(opened.status, 'ok');
  assert.equal(opened.pending, true, 'the analysis runs elsewhere');
  // Let the first picture of the grid be drawn, then move the pointer over the view while
  // the worker works: each move's wait from its event to its handling, as the page saw it.
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0))));
  await page.evaluate(() => {
    window.probe = [];
    document.getElementById('view').addEventListener('pointermove', (event) => {
      if (window.kelnoPage.analysisPending()) window.probe.push(performance.now() - event.timeStamp);
    });
  });
  const corner = await canvasCorner(page);
  const started = Date.now();
  for (let i = 0; await page.evaluate(() => window.kelnoPage.analysisPending()); ++i) {
    await page.mouse.move(corner.x + 300 + (i % 50), corner.y + 300);
    assert.ok(Date.now() - started < 15000, 'the readings arrive');
  }
  const waits = await page.evaluate(() => window.probe);
  assert.ok(waits.length >= 5, `${waits.length} moves during the analysis`);
  assert.ok(Math.max(...waits) < 50, `moves waited up to ${Math.max(...waits).toFixed(1)} ms`);
  const report = await page.evaluate(() => window.kelnoPage.report());
  assert.deepEqual(report.currents, desktopCurrents(grid), 'the worker gives the desktop\'s doubles');
  await page.context.close();
});

test('a reload offers back the circuit that was not saved', async () => {
  const page = await freshPage();
  const corner = await canvasCorner(page);
  await chooseTool(page, '乾電池');
  await page.mouse.click(corner.x + 200, corner.y + 150);
  await page.evaluate(() => window.kelnoPage.stored());
  const before = await page.evaluate(() => window.kelnoPage.saveBytes());
  const warnings = [];
  page.on('dialog', (dialog) => {
    warnings.push(dialog.type());
    void dialog.accept();
  });
  await page.reload();
  await page.evaluate(() => window.kelnoReady);
  await page.waitForSelector('#message-dialog[open]');
  assert.match(await page.$eval('#message-text', (p) => p.textContent), /復元しますか/);
  await page.click('#message-buttons button');
  // The answer is taken when the dialog's close event comes, a task later.
  await page.waitForFunction(() => window.kelnoPage.geometry().elements.length > 0, { timeout: 5000 }).catch(() => {});
  assert.deepEqual(await page.evaluate(() => window.kelnoPage.saveBytes()), before);
  assert.match(await page.title(), /^無題\*/, 'still unsaved');
  assert.deepEqual(warnings, ['beforeunload'], 'leaving unsaved work asked first');
  await page.context.close();
});

test('after the first visit the page opens without a network', async () => {
  const page = await freshPage();
  await page.evaluate(async () => {
    const registration = await navigator.serviceWorker.ready;
    // Wait for the cache to hold the page: the worker is active once its install ended.
    while (!registration.active || registration.active.state !== 'activated') {
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
  });
  await page.setOfflineMode(true);
  await page.reload();
  await page.evaluate(() => window.kelnoReady);
  await openExample(page, 'bulb-and-battery.kel');
  assert.equal((await page.evaluate(() => window.kelnoPage.report())).outcome, 'solved');
  await page.context.close();
});
