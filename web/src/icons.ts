// The tool bar's pictures, drawn as the desktop draws them: on a grid of 16 × 15 icon pixels,
// scaled to the device pixels of the screen, with shapes through pixel centres so that a
// line one icon pixel wide covers whole device pixels at every whole device pixel ratio.
import type { CommandId } from './commands.js';

export const ICON_WIDTH = 16;
export const ICON_HEIGHT = 15;

type Ctx = CanvasRenderingContext2D;
type Pt = [number, number];

const INK = '#000';
const PAPER = '#fff';
const BATTERY_GREEN = 'rgb(192,255,192)';
const AMMETER_PINK = 'rgb(255,224,224)';
const VOLTMETER_BLUE = 'rgb(224,224,255)';
const BULB_LIT = 'rgb(255,255,0)';
const SWITCH_BLUE = 'rgb(0,0,255)';
const SHADOW = 'rgb(128,128,128)';
const SILVER = 'rgb(192,192,192)';
const BLADE = 'rgb(96,96,96)';
const FOLDER = 'rgb(255,224,96)';
const FOLDER_LIGHT = 'rgb(255,238,150)';
const FOLDER_DARK = 'rgb(160,112,0)';
const NAVY = 'rgb(0,0,160)';
const BOARD = 'rgb(192,128,64)';
const NOTE = 'rgb(255,255,192)';
const LED = 'rgb(0,192,0)';

let hair = 1; // one device pixel in icon pixels

function fill(p: Ctx, x: number, y: number, w: number, h: number, colour: string): void {
  p.fillStyle = colour;
  p.fillRect(x, y, w, h);
}

function box(p: Ctx, x: number, y: number, w: number, h: number, inside: string, edge = INK): void {
  fill(p, x, y, w, h, edge);
  fill(p, x + 1, y + 1, w - 2, h - 2, inside);
}

function path(p: Ctx, cells: Pt[]): void {
  p.beginPath();
  cells.forEach(([x, y], i) => (i ? p.lineTo(x + 0.5, y + 0.5) : p.moveTo(x + 0.5, y + 0.5)));
}

function line(p: Ctx, cells: Pt[], colour = INK, width = 1): void {
  path(p, cells);
  p.strokeStyle = colour;
  p.lineWidth = width;
  p.lineCap = 'square';
  p.lineJoin = 'miter';
  p.stroke();
}

function shape(p: Ctx, cells: Pt[], inside: string, edge = INK): void {
  path(p, cells);
  p.closePath();
  p.fillStyle = inside;
  p.fill();
  p.strokeStyle = edge;
  p.lineWidth = 1;
  p.lineJoin = 'miter';
  p.stroke();
}

function oval(p: Ctx, x: number, y: number, w: number, h: number, inside: string | null, edge = INK): void {
  p.beginPath();
  p.ellipse(x + w / 2, y + h / 2, (w - 1) / 2, (h - 1) / 2, 0, 0, 2 * Math.PI);
  if (inside) {
    p.fillStyle = inside;
    p.fill();
  }
  p.strokeStyle = edge;
  p.lineWidth = 1;
  p.stroke();
}

// Letters and marks as pixel patterns: '#' is a pixel of `colour`.
function glyph(p: Ctx, x: number, y: number, rows: string[], colour: string): void {
  rows.forEach((row, r) => {
    for (let c = 0; c < row.length; ++c) {
      if (row[c] === '#') fill(p, x + c, y + r, 1, 1, colour);
    }
  });
}

function writing(p: Ctx, x: number, y: number, width: number, lines: number, spacing = 2): void {
  for (let i = 0; i < lines; ++i) fill(p, x, y + i * spacing, width, hair, SHADOW);
}

function page(p: Ctx, x: number, y: number, w: number, h: number): void {
  const fold = 3;
  shape(p, [[x, y], [x + w - 1 - fold, y], [x + w - 1, y + fold], [x + w - 1, y + h - 1], [x, y + h - 1]], PAPER);
  line(p, [[x + w - 1 - fold, y], [x + w - 1 - fold, y + fold], [x + w - 1, y + fold]]);
}

function leads(p: Ctx, y: number, left: number, right: number): void {
  fill(p, 0, y, left, 1, INK);
  fill(p, right + 1, y, ICON_WIDTH - right - 1, 1, INK);
}

function undo(p: Ctx): void {
  p.beginPath();
  p.moveTo(5, 5);
  p.lineTo(9, 5);
  p.bezierCurveTo(14, 5, 14, 13, 9, 13);
  p.lineTo(6, 13);
  p.strokeStyle = NAVY;
  p.lineWidth = 2;
  p.lineCap = 'square';
  p.stroke();
  p.beginPath();
  p.moveTo(0, 5);
  p.lineTo(6, 0);
  p.lineTo(6, 10);
  p.closePath();
  p.fillStyle = NAVY;
  p.fill();
}

function meter(p: Ctx, face: string, letter: string[]): void {
  leads(p, 6, 1, 14);
  p.beginPath();
  p.ellipse(8, 6.5, 6.5, 6, 0, Math.PI, 2 * Math.PI);
  p.closePath();
  p.fillStyle = PAPER;
  p.fill();
  p.strokeStyle = INK;
  p.lineWidth = 1;
  p.stroke();
  box(p, 1, 6, 14, 9, face);
  glyph(p, 5, 8, letter, INK);
  line(p, [[8, 6], [12, 2]]);
}

const ART: Partial<Record<CommandId, (p: Ctx) => void>> = {
  new: (p) => page(p, 2, 0, 12, 15),
  open: (p) => {
    shape(p, [[0, 3], [1, 2], [5, 2], [6, 3], [11, 3], [11, 13], [0, 13]], FOLDER, FOLDER_DARK);
    shape(p, [[0, 13], [3, 7], [15, 7], [12, 13]], FOLDER_LIGHT, FOLDER_DARK);
    line(p, [[9, 4], [11, 1], [14, 1]]);
    line(p, [[12, 0], [14, 1], [13, 3]]);
  },
  save: (p) => {
    box(p, 1, 0, 14, 15, NAVY);
    box(p, 3, 0, 10, 7, PAPER);
    writing(p, 5, 2, 6, 2);
    box(p, 4, 10, 8, 5, SILVER);
    fill(p, 6, 11, 2, 3, NAVY);
  },
  undo,
  redo: (p) => {
    p.translate(ICON_WIDTH, 0);
    p.scale(-1, 1);
    undo(p);
  },
  cut: (p) => {
    line(p, [[4, 9], [10, 0]], BLADE);
    line(p, [[11, 9], [5, 0]], BLADE);
    oval(p, 1, 9, 6, 6, null, NAVY);
    oval(p, 9, 9, 6, 6, null, NAVY);
  },
  copy: (p) => {
    page(p, 1, 0, 9, 11);
    writing(p, 3, 4, 4, 3);
    page(p, 6, 4, 9, 11);
    writing(p, 8, 8, 4, 3);
  },
  paste: (p) => {
    box(p, 1, 1, 11, 14, BOARD);
    box(p, 4, 0, 5, 3, SILVER);
    page(p, 6, 5, 9, 10);
    writing(p, 8, 9, 4, 2);
  },
  print: (p) => {
    page(p, 4, 0, 8, 6);
    box(p, 1, 5, 14, 7, SILVER);
    fill(p, 11, 7, 2, 1, LED);
    box(p, 3, 10, 10, 5, PAPER);
    writing(p, 5, 12, 6, 1);
  },
  options: (p) => {
    box(p, 0, 0, 16, 15, SILVER);
    fill(p, 1, 1, 14, 2, NAVY);
    for (const y of [4, 9]) {
      box(p, 2, y, 5, 5, PAPER);
      glyph(p, 3, y + 1, ['..#', '#.#', '.#.'], INK);
      fill(p, 8, y + 2, 6, 1, INK);
    }
  },
  comment: (p) => {
    shape(p, [[1, 0], [14, 0], [15, 1], [15, 9], [14, 10], [7, 10], [3, 14], [4, 10], [1, 10], [0, 9], [0, 1]], NOTE);
    writing(p, 3, 3, 10, 3);
  },
  about: (p) => {
    oval(p, 1, 0, 14, 14, NAVY, NAVY);
    glyph(p, 5, 2, ['.###.', '##.##', '...##', '..##.', '..#..', '.....', '..#..', '..#..'], PAPER);
    fill(p, 6, 2, 1, 1, PAPER);
  },
  reveal: (p) => {
    shape(p, [[0, 7], [4, 3], [11, 3], [15, 7], [11, 11], [4, 11]], PAPER);
    oval(p, 5, 4, 6, 7, NAVY);
    fill(p, 7, 6, 2, 3, INK);
    fill(p, 6, 5, 1, 1, PAPER);
  },
  toolSelect: (p) => shape(p, [[4, 0], [4, 12], [7, 9], [9, 14], [11, 13], [9, 9], [13, 9]], PAPER),
  toolWire: (p) => {
    line(p, [[2, 12], [13, 2]]);
    oval(p, 1, 11, 3, 3, PAPER);
    oval(p, 12, 1, 3, 3, PAPER);
  },
  toolBattery: (p) => {
    leads(p, 7, 2, 12);
    box(p, 2, 3, 9, 9, BATTERY_GREEN);
    box(p, 10, 5, 3, 5, PAPER);
  },
  toolBulb: (p) => {
    leads(p, 13, 6, 9);
    line(p, [[1, 1], [2, 2]]);
    line(p, [[14, 1], [13, 2]]);
    line(p, [[0, 5], [1, 5]]);
    line(p, [[14, 5], [15, 5]]);
    oval(p, 3, 0, 10, 10, BULB_LIT);
    line(p, [[7, 8], [7, 5], [8, 5], [8, 8]], INK, hair);
    box(p, 5, 8, 6, 5, PAPER);
    fill(p, 6, 10, 4, 1, INK);
    fill(p, 6, 12, 4, 3, INK);
  },
  toolResistor: (p) => {
    leads(p, 7, 1, 13);
    line(p, [[1, 7], [2, 3], [4, 11], [6, 3], [8, 11], [10, 3], [12, 11], [13, 7]]);
  },
  toolAmmeter: (p) => meter(p, AMMETER_PINK, ['..#..', '.#.#.', '#...#', '#####', '#...#', '#...#']),
  toolVoltmeter: (p) => meter(p, VOLTMETER_BLUE, ['#...#', '#...#', '#...#', '.#.#.', '.#.#.', '..#..']),
  toolSwitch: (p) => {
    leads(p, 7, 1, 14);
    box(p, 1, 2, 14, 11, PAPER);
    glyph(p, 3, 5, ['.##..#..#', '#..#.##.#', '#..#.#.##', '#..#.#..#', '.##..#..#'], SWITCH_BLUE);
  },
};

// Draws the command's picture on `canvas`, sized in CSS pixels to `cssScale` icon pixels
// per icon pixel, at the screen's device pixel ratio (rounded up to whole device pixels).
export function drawIcon(canvas: HTMLCanvasElement, command: CommandId, cssScale: number, dpr: number): void {
  const perIconPixel = Math.max(1, Math.round(cssScale * dpr));
  canvas.width = ICON_WIDTH * perIconPixel;
  canvas.height = ICON_HEIGHT * perIconPixel;
  canvas.style.width = `${(ICON_WIDTH * perIconPixel) / dpr}px`;
  canvas.style.height = `${(ICON_HEIGHT * perIconPixel) / dpr}px`;
  const p = canvas.getContext('2d')!;
  p.setTransform(perIconPixel, 0, 0, perIconPixel, 0, 0);
  p.imageSmoothingEnabled = false;
  hair = 1 / perIconPixel;
  ART[command]?.(p);
}

export function hasIcon(command: CommandId): boolean {
  return ART[command] !== undefined;
}

// The pointer with its tip at (0, 0): 'X' black, '#' white.
const POINTER = [
  'X..........', 'XX.........', 'X#X........', 'X##X.......', 'X###X......', 'X####X.....',
  'X#####X....', 'X######X...', 'X#######X..', 'X########X.', 'X#####XXXXX', 'X##X##X....',
  'X#X.X##X...', 'XX..X##X...', 'X....X##X..', '.....X##X..', '......XX...',
];

// A tool's cursor: the pointer, and the tool's picture below and right of it.
export function toolCursor(command: CommandId): string {
  const canvas = document.createElement('canvas');
  canvas.width = 32;
  canvas.height = 32;
  const p = canvas.getContext('2d')!;
  POINTER.forEach((row, y) => {
    for (let x = 0; x < row.length; ++x) {
      if (row[x] !== '.') fill(p, x, y, 1, 1, row[x] === 'X' ? INK : PAPER);
    }
  });
  p.translate(16, 17);
  hair = 1;
  ART[command]?.(p);
  return `url(${canvas.toDataURL()}) 0 0, crosshair`;
}
