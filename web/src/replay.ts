// Replays the core's drawing calls (see DrawResult in kelno.d.ts) as the desktop's surface
// does: logical units to whole CSS pixels (y up becomes y down), a pen of width 0 one device
// pixel wide, rectangles and ellipses outlined with the pen and filled with the brush,
// polygons filled without an outline, texts centred on their anchor with their top on it.
import type { DrawResult } from '../../src/web/kelno.js';

// Japanese sans-serif fonts of the devices the page meets: ChromeOS and Linux, iPadOS and
// macOS, Windows; the browser takes the first it has.
export const FONT_FAMILIES =
  '"Noto Sans CJK JP", "Noto Sans JP", "Hiragino Sans", "Hiragino Kaku Gothic ProN", ' +
  '"Yu Gothic UI", "Yu Gothic", Meiryo, "MS PGothic", IPAGothic, IPAPGothic, "VL Gothic", ' +
  'TakaoGothic, sans-serif';
export const LABEL_HEIGHT = 36; // logical units: the surface's own label height

const rgb = (r: number, g: number, b: number) => `rgb(${r},${g},${b})`;

export interface ReplayTarget {
  pixelsPerUnit: number; // CSS pixels per logical unit
  devicePixelRatio: number;
  // The visible part in CSS pixels from the logical origin: what lies wholly outside it is
  // not drawn (a large circuit is mostly outside the view).
  visible?: { left: number; top: number; right: number; bottom: number };
}

// The opcodes' operand counts for a walk over the buffer; polylines and polygons carry their
// own count.
const FIXED_OPERANDS: Record<number, number> = { 1: 4, 2: 3, 3: 2, 4: 3, 5: 4, 7: 4, 8: 4, 10: 7, 11: 3 };

interface Visitor {
  pen(r: number, g: number, b: number, width: number): void;
  brush(r: number, g: number, b: number): void;
  font(height: number, weight: number): void;
  textColor(r: number, g: number, b: number): void;
  line(x1: number, y1: number, x2: number, y2: number): void;
  polyline(points: number[]): void;
  rectangle(l: number, t: number, r: number, b: number): void;
  ellipse(l: number, t: number, r: number, b: number): void;
  polygon(points: number[]): void;
  fillRect(l: number, t: number, r: number, b: number, cr: number, cg: number, cb: number): void;
  text(x: number, y: number, text: string): void;
}

function walk(result: DrawResult, v: Visitor): void {
  const c = result.calls;
  let i = 0;
  while (i < c.length) {
    const op = c[i++];
    if (op === 6 || op === 9) {
      const n = c[i++];
      const points = Array.from(c.subarray(i, i + 2 * n));
      i += 2 * n;
      if (op === 6) v.polyline(points);
      else v.polygon(points);
      continue;
    }
    const count = FIXED_OPERANDS[op];
    if (count === undefined) throw new Error(`unknown drawing call ${op}`);
    const a = c.subarray(i, i + count);
    i += count;
    switch (op) {
      case 1: v.pen(a[0], a[1], a[2], a[3]); break;
      case 2: v.brush(a[0], a[1], a[2]); break;
      case 3: v.font(a[0], a[1]); break;
      case 4: v.textColor(a[0], a[1], a[2]); break;
      case 5: v.line(a[0], a[1], a[2], a[3]); break;
      case 7: v.rectangle(a[0], a[1], a[2], a[3]); break;
      case 8: v.ellipse(a[0], a[1], a[2], a[3]); break;
      case 10: v.fillRect(a[0], a[1], a[2], a[3], a[4], a[5], a[6]); break;
      case 11: v.text(a[0], a[1], result.texts[a[2]]); break;
    }
  }
}

export function fontCss(height: number, weight: number, pixelsPerUnit: number): string {
  const pixels = Math.max(1, Math.round((height > 0 ? height : LABEL_HEIGHT) * pixelsPerUnit));
  return `${weight} ${pixels}px ${FONT_FAMILIES}`;
}

// Draws on `ctx`, whose transform maps CSS pixels of the drawing area to its device pixels.
export function replay(ctx: CanvasRenderingContext2D, result: DrawResult, target: ReplayTarget): void {
  const k = target.pixelsPerUnit;
  const hair = 1 / target.devicePixelRatio;
  const X = (x: number) => Math.round(x * k);
  const Y = (y: number) => Math.round(-y * k);
  let penColour = '#000';
  let penWidth = hair;
  let brush = '#fff';
  let textColour = '#000';
  // Lines and polylines in a row with one pen go into one path, stroked once when something
  // else comes: the same pixels, far fewer strokes for a large circuit.
  let openLines = false;
  const flush = () => {
    if (!openLines) return;
    openLines = false;
    ctx.strokeStyle = penColour;
    ctx.lineWidth = penWidth;
    ctx.stroke();
  };
  const stroke = () => {
    ctx.strokeStyle = penColour;
    ctx.lineWidth = penWidth;
    ctx.stroke();
  };
  // Outlines run through the centres of device pixels, as a cosmetic pen does.
  const addLines = (points: number[]) => {
    if (!openLines) {
      ctx.beginPath();
      openLines = true;
    }
    for (let j = 0; j < points.length; j += 2) {
      const x = X(points[j]) + hair / 2;
      const y = Y(points[j + 1]) + hair / 2;
      if (j === 0) ctx.moveTo(x, y);
      else ctx.lineTo(x, y);
    }
  };
  const trace = (points: number[], close: boolean) => {
    flush();
    ctx.beginPath();
    for (let j = 0; j < points.length; j += 2) {
      const x = X(points[j]) + hair / 2;
      const y = Y(points[j + 1]) + hair / 2;
      if (j === 0) ctx.moveTo(x, y);
      else ctx.lineTo(x, y);
    }
    if (close) ctx.closePath();
  };
  const box = (l: number, t: number, r: number, b: number) => {
    const x1 = X(l), y1 = Y(t), x2 = X(r), y2 = Y(b);
    return [Math.min(x1, x2), Math.min(y1, y2), Math.abs(x2 - x1), Math.abs(y2 - y1)];
  };
  // Whether a box of logical corners lies wholly outside the visible part, with a margin
  // for pen widths, arrow heads and labels wider than their anchor.
  const view = target.visible;
  const margin = 200;
  const outside = (x1: number, y1: number, x2: number, y2: number) => {
    if (!view) return false;
    const px1 = x1 * k, px2 = x2 * k, py1 = -y1 * k, py2 = -y2 * k;
    return Math.max(px1, px2) < view.left - margin || Math.min(px1, px2) > view.right + margin ||
      Math.max(py1, py2) < view.top - margin || Math.min(py1, py2) > view.bottom + margin;
  };
  const outsidePoints = (points: number[]) => {
    if (!view) return false;
    let minX = Infinity, minY = Infinity, maxX = -Infinity, maxY = -Infinity;
    for (let j = 0; j < points.length; j += 2) {
      minX = Math.min(minX, points[j]); maxX = Math.max(maxX, points[j]);
      minY = Math.min(minY, points[j + 1]); maxY = Math.max(maxY, points[j + 1]);
    }
    return outside(minX, minY, maxX, maxY);
  };
  ctx.save();
  ctx.textBaseline = 'top';
  ctx.textAlign = 'center';
  ctx.lineCap = 'square';
  ctx.lineJoin = 'miter';
  ctx.font = fontCss(0, 400, k);
  walk(result, {
    pen(r, g, b, width) {
      const colour = rgb(r, g, b);
      const lineWidth = width > 0 ? Math.max(hair, width * k) : hair;
      if (colour === penColour && lineWidth === penWidth) return;
      flush();
      penColour = colour;
      penWidth = lineWidth;
    },
    brush(r, g, b) { brush = rgb(r, g, b); },
    font(height, weight) { ctx.font = fontCss(height, weight, k); },
    textColor(r, g, b) { textColour = rgb(r, g, b); },
    line(x1, y1, x2, y2) { if (!outside(x1, y1, x2, y2)) addLines([x1, y1, x2, y2]); },
    polyline(points) { if (!outsidePoints(points)) addLines(points); },
    rectangle(l, t, r, b) {
      if (outside(l, t, r, b)) return;
      flush();
      const [x, y, w, h] = box(l, t, r, b);
      ctx.fillStyle = brush;
      ctx.fillRect(x, y, w, h);
      ctx.beginPath();
      ctx.rect(x + hair / 2, y + hair / 2, w, h);
      stroke();
    },
    ellipse(l, t, r, b) {
      if (outside(l, t, r, b)) return;
      flush();
      const [x, y, w, h] = box(l, t, r, b);
      ctx.beginPath();
      ctx.ellipse(x + w / 2 + hair / 2, y + h / 2 + hair / 2, w / 2, h / 2, 0, 0, 2 * Math.PI);
      ctx.fillStyle = brush;
      ctx.fill();
      stroke();
    },
    polygon(points) {
      if (outsidePoints(points)) return;
      trace(points, true);
      ctx.fillStyle = brush;
      ctx.fill();
    },
    fillRect(l, t, r, b, cr, cg, cb) {
      if (outside(l, t, r, b)) return;
      flush();
      const [x, y, w, h] = box(l, t, r, b);
      ctx.fillStyle = rgb(cr, cg, cb);
      ctx.fillRect(x, y, w, h);
    },
    text(x, y, text) {
      if (outside(x, y, x, y)) return;
      flush();
      ctx.fillStyle = textColour;
      ctx.fillText(text, X(x), Y(y));
    },
  });
  flush();
  ctx.restore();
}

const escapeXml = (s: string) =>
  s.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');

// The same picture as SVG at the view's scale, every label as text.
export function toSvg(result: DrawResult, width: number, height: number, pixelsPerUnit: number): string {
  const k = pixelsPerUnit;
  const X = (x: number) => Math.round(x * k);
  const Y = (y: number) => Math.round(-y * k);
  const out: string[] = [];
  let pen = 'rgb(0,0,0)';
  let penWidth = 1;
  let brush = 'rgb(255,255,255)';
  let textColour = 'rgb(0,0,0)';
  let fontSize = Math.max(1, Math.round(LABEL_HEIGHT * k));
  let fontWeight = 400;
  const coords = (points: number[]) => {
    const list: string[] = [];
    for (let j = 0; j < points.length; j += 2) list.push(`${X(points[j]) + 0.5},${Y(points[j + 1]) + 0.5}`);
    return list.join(' ');
  };
  const strokeAttrs = () => `stroke="${pen}" stroke-width="${penWidth}"`;
  const rect = (l: number, t: number, r: number, b: number) => {
    const x1 = X(l), y1 = Y(t), x2 = X(r), y2 = Y(b);
    return [Math.min(x1, x2), Math.min(y1, y2), Math.abs(x2 - x1), Math.abs(y2 - y1)];
  };
  walk(result, {
    pen(r, g, b, w) { pen = rgb(r, g, b); penWidth = w > 0 ? Math.max(1, w * k) : 1; },
    brush(r, g, b) { brush = rgb(r, g, b); },
    font(h, w) { fontSize = Math.max(1, Math.round((h > 0 ? h : LABEL_HEIGHT) * k)); fontWeight = w; },
    textColor(r, g, b) { textColour = rgb(r, g, b); },
    line(x1, y1, x2, y2) { out.push(`<polyline points="${coords([x1, y1, x2, y2])}" fill="none" ${strokeAttrs()}/>`); },
    polyline(p) { out.push(`<polyline points="${coords(p)}" fill="none" ${strokeAttrs()}/>`); },
    rectangle(l, t, r, b) {
      const [x, y, w, h] = rect(l, t, r, b);
      out.push(`<rect x="${x + 0.5}" y="${y + 0.5}" width="${w}" height="${h}" fill="${brush}" ${strokeAttrs()}/>`);
    },
    ellipse(l, t, r, b) {
      const [x, y, w, h] = rect(l, t, r, b);
      out.push(`<ellipse cx="${x + w / 2 + 0.5}" cy="${y + h / 2 + 0.5}" rx="${w / 2}" ry="${h / 2}" fill="${brush}" ${strokeAttrs()}/>`);
    },
    polygon(p) { out.push(`<polygon points="${coords(p)}" fill="${brush}"/>`); },
    fillRect(l, t, r, b, cr, cg, cb) {
      const [x, y, w, h] = rect(l, t, r, b);
      out.push(`<rect x="${x}" y="${y}" width="${w}" height="${h}" fill="${rgb(cr, cg, cb)}"/>`);
    },
    text(x, y, text) {
      out.push(`<text x="${X(x)}" y="${Y(y)}" fill="${textColour}" font-size="${fontSize}" font-weight="${fontWeight}" text-anchor="middle" dominant-baseline="text-before-edge">${escapeXml(text)}</text>`);
    },
  });
  return `<?xml version="1.0" encoding="UTF-8"?>\n<svg xmlns="http://www.w3.org/2000/svg" width="${width}" height="${height}" viewBox="0 0 ${width} ${height}" font-family='${FONT_FAMILIES.replace(/"/g, '')}'>\n<rect width="100%" height="100%" fill="#fff"/>\n${out.join('\n')}\n</svg>\n`;
}
