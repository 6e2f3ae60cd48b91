// The core's JavaScript interface under node: files, pointer editing, the details request,
// clipboard text and drawing calls, against the desktop's own bytes and numbers.
//   node --test tests/web/module_test.mjs   (KELNO_WEB_MODULE: build/web/kelno.js,
//                                            KELNO_NATIVE_CLI: the desktop's kelno-cli)
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { createRequire } from 'node:module';
import { readFileSync, readdirSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..', '..');
const modulePath = process.env.KELNO_WEB_MODULE ?? path.join(root, 'build/web/kelno.js');
const nativeCli = process.env.KELNO_NATIVE_CLI ?? path.join(root, 'build/default/src/cli/kelno-cli');
const examples = path.join(root, 'examples');
const createKelnoModule = createRequire(import.meta.url)(modulePath);
const kelno = await createKelnoModule();

const exampleFiles = readdirSync(examples).filter((f) => f.endsWith('.kel')).sort();
const PIXELS_PER_UNIT = 96 / 254; // a 96 dpi screen: 0.1 mm per unit

function opened(file) {
  const doc = new kelno.KelnoDocument();
  const result = doc.load(readFileSync(path.join(examples, file)), false);
  assert.equal(result.status, 'ok', `${file}: ${result.error}`);
  return doc;
}

// Device pixels of a logical point on a 96 dpi view.
function pixel([x, y]) {
  return [Math.round(x * PIXELS_PER_UNIT), Math.round(-y * PIXELS_PER_UNIT)];
}

test('every example saves back to its own bytes and reads as the desktop reads it', () => {
  for (const file of exampleFiles) {
    const doc = opened(file);
    assert.deepEqual(Buffer.from(doc.save()), readFileSync(path.join(examples, file)), file);
    const desktop = JSON.parse(execFileSync(nativeCli, ['analyze', path.join(examples, file), '--json']));
    assert.deepEqual(doc.report().currents, desktop.elements.map((e) => e.current), file);
    doc.delete();
  }
});

test('a damaged file is refused with a message and leaves the document as it was', () => {
  const doc = opened(exampleFiles[0]);
  const before = Buffer.from(doc.save());
  const result = doc.load(new Uint8Array([1, 2, 3]), false);
  assert.equal(result.status, 'malformed');
  assert.notEqual(result.error, '');
  assert.deepEqual(Buffer.from(doc.save()), before);
  doc.delete();
});

test('a ring built with pointer events carries the current of 1.5 V over 5.1 ohms', () => {
  const doc = new kelno.KelnoDocument();
  doc.setScale(PIXELS_PER_UNIT, PIXELS_PER_UNIT);
  const place = (tool, x, y) => {
    doc.chooseTool(tool);
    doc.press(x, y, false);
    doc.release(x, y);
  };
  place(1, 200, 100); // battery
  place(5, 200, 300); // bulb
  const { points } = doc.geometry();
  assert.equal(points.length, 4);
  // A wire from the rim of one point (10 px off its centre) to the other point.
  const wire = (from, to) => {
    doc.chooseTool(0);
    const [fx, fy] = pixel(points[from]);
    const [tx, ty] = pixel(points[to]);
    doc.press(fx + 10, fy, false);
    doc.move(tx, ty);
    doc.release(tx, ty);
  };
  wire(1, 3);
  wire(2, 0);
  const report = doc.report();
  assert.equal(report.outcome, 'solved');
  assert.equal(report.currents.length, 4);
  for (const current of report.currents) {
    assert.equal(Math.abs(current), 0.29411764705882354);
  }
  doc.delete();
});

test('the details dialog is a request answered later, and cancel changes nothing', () => {
  const doc = opened('bulb-and-battery.kel');
  doc.setScale(PIXELS_PER_UNIT, PIXELS_PER_UNIT);
  const asked = [];
  doc.setListener({ details: (values) => asked.push(values) });
  doc.chooseTool(-1);
  const { points, elements } = doc.geometry();
  const bulb = elements.findIndex((e) => e[2] === 5);
  const [ax, ay] = pixel(points[elements[bulb][0]]);
  const [bx, by] = pixel(points[elements[bulb][1]]);
  const middle = [Math.round((ax + bx) / 2), Math.round((ay + by) / 2)];
  // A double click as a browser delivers it: the first click selects, the second opens.
  const doubleClick = () => {
    doc.press(...middle, false);
    doc.release(...middle);
    doc.doubleClick(...middle);
    doc.release(...middle);
  };
  doubleClick();
  assert.equal(asked.length, 1);
  assert.equal(asked[0].resistance, 5);
  const before = doc.report().currents[bulb];
  doc.answerDetails(false, 0, 0);
  assert.equal(doc.report().currents[bulb], before);
  doubleClick();
  doc.answerDetails(true, 10, 0);
  assert.notEqual(Math.abs(doc.report().currents[bulb]), Math.abs(before));
  assert.equal(doc.canUndo(), true);
  doc.delete();
});

test('clipboard text is the desktop text and pastes back beside the original', () => {
  const doc = opened('bulbs-in-series.kel');
  doc.selectAll();
  const text = doc.copyText();
  assert.match(text, /^KelnoData/);
  const count = doc.geometry().elements.length;
  const pasted = doc.paste(text);
  assert.equal(pasted.ok, true, pasted.error);
  assert.equal(doc.geometry().elements.length, 2 * count);
  assert.notEqual(pasted.clipboard, text, 'the next paste lands a step further');
  const refused = doc.paste('KelnoData\r\nnonsense');
  assert.equal(refused.ok, false);
  assert.notEqual(refused.error, '');
  assert.equal(doc.geometry().elements.length, 2 * count);
  doc.delete();
});

// The desktop's draw-calls listing as numbers and texts, to compare with draw().
function desktopCalls(file, args) {
  const listing = execFileSync(nativeCli, ['draw-calls', path.join(examples, file), ...args], {
    encoding: 'utf8',
  });
  const numbers = [];
  const texts = [];
  const opcodes = { pen: 1, brush: 2, font: 3, color: 4, line: 5, polyline: 6, rectangle: 7,
    ellipse: 8, polygon: 9, fill: 10, text: 11 };
  for (const line of listing.split('\n')) {
    const text = line.match(/^text (\S+) (\S+) "(.*)"$/);
    if (text) {
      numbers.push(11, Number(text[1]), Number(text[2]), texts.length);
      texts.push(text[3]);
    } else if (line && !line.startsWith('status')) {
      const [name, ...operands] = line.split(' ');
      numbers.push(opcodes[name], ...operands.map(Number));
    }
  }
  return { numbers, texts };
}

test('drawing calls reach the page exactly as the desktop surface receives them', () => {
  for (const file of exampleFiles) {
    for (const [args, options] of [[[], {}], [['--predict', '--potentials'], { predict: true, potentials: true }]]) {
      const doc = opened(file);
      doc.setScale(PIXELS_PER_UNIT, PIXELS_PER_UNIT);
      const rect = doc.windowRect();
      const drawn = doc.draw({ width: rect.right - rect.left, height: rect.bottom - rect.top, ...options });
      const desktop = desktopCalls(file, args);
      assert.deepEqual(Array.from(drawn.calls), desktop.numbers, file);
      assert.deepEqual(drawn.texts, desktop.texts, file);
      doc.delete();
    }
  }
});

// The page analyses a large circuit in a worker from its saved bytes: the reloaded circuit
// must give the very doubles of the live one, after edits that add and remove points.
test('a circuit edited live and its saved bytes reloaded give the same currents', () => {
  for (const file of exampleFiles) {
    const doc = opened(file);
    doc.selectAll();
    doc.paste(doc.copyText());
    doc.paste(doc.copyText());
    doc.selectAll();
    doc.nudge(2);
    const reloaded = new kelno.KelnoDocument();
    assert.equal(reloaded.load(doc.save(), false).status, 'ok');
    assert.deepEqual(reloaded.report().currents, doc.report().currents, file);
    // And the deferred analysis takes exactly that report back.
    doc.setAnalysisDeferred(true);
    doc.undo();
    assert.equal(doc.analysisPending(), true);
    const again = new kelno.KelnoDocument();
    again.load(doc.save(), false);
    assert.equal(doc.applyAnalysis(doc.analysisGeneration(), again.report()), true);
    assert.deepEqual(doc.report().currents, again.report().currents, file);
    for (const d of [doc, reloaded, again]) d.delete();
  }
});

test('what a press would do is shown before the press, and the press does it', () => {
  const doc = opened('bulb-and-battery.kel');
  doc.setScale(PIXELS_PER_UNIT, PIXELS_PER_UNIT);
  doc.chooseTool(0);
  const { points } = doc.geometry();
  const [px, py] = pixel(points[0]);
  const cases = [
    // [dx, dy from the point, expected action]
    [0, 0, 'move-point'],
    [-9, 9, 'start-wire'],
    [200, 200, null],
  ];
  for (const [dx, dy, action] of cases) {
    doc.hover(px + dx, py + dy, false);
    const preview = doc.preview();
    if (action === null) {
      assert.notEqual(preview.action, 'move-point');
      assert.equal(preview.point, null);
    } else {
      assert.equal(preview.action, action, `${dx}, ${dy}`);
      assert.deepEqual(preview.point, points[0]);
      assert.notEqual(preview.prompt, '');
    }
  }
  // The press at the rim starts a wire, as the preview said: a release on another point joins it.
  const before = doc.geometry().elements.length;
  doc.hover(px - 9, py + 9, false);
  doc.press(px - 9, py + 9, false);
  const [tx, ty] = pixel(points[3]); // the bulb's far end, not yet joined to point 0
  doc.hover(tx, ty, false);
  doc.move(tx, ty);
  assert.deepEqual(doc.preview().target, points[3], 'the point a release joins is shown');
  doc.release(tx, ty);
  assert.equal(doc.geometry().elements.length, before + 1);
  doc.delete();
});

test('the details boxes are read by the desktop dialog rules', () => {
  const read = kelno.KelnoDocument.readDetails;
  const cases = [
    // [resistance, emf, negative allowed, ok, box refused, resistance read]
    ['２０', '－１．５', false, true, null, 20],
    ['-5', '0', false, false, 'resistance', null],
    ['-1', '0', true, true, null, -1],
    ['', '0', false, false, 'resistance', null],
    ['10', 'abc', false, false, 'emf', null],
  ];
  for (const [r, v, negative, ok, box, resistance] of cases) {
    const answer = read(r, v, negative);
    assert.equal(answer.ok, ok, `${r} ${v}`);
    if (ok) {
      assert.equal(answer.resistance, resistance);
    } else {
      assert.equal(answer.box, box);
      assert.notEqual(answer.error, '');
    }
  }
  assert.equal(kelno.KelnoDocument.formatDetailsValue(0.1), '0.1');
});
