// The JavaScript interface of the Kelno core (build/web/kelno.js), for TypeScript.

export type LoadStatus = 'ok' | 'unreadable' | 'newer' | 'malformed';
export type AnalysisOutcome =
  | 'solved'
  | 'zero-resistance-loop'
  | 'current-limit'
  | 'no-convergence'
  | 'non-finite-value';
export type DocumentEventName = 'repaint' | 'modified' | 'tool' | 'replaced';

export interface LoadResult {
  status: LoadStatus;
  error: string; // for the user, when status is not 'ok'
  showComment: boolean; // the file asks for its comment to be shown on opening
  newerVersion: number; // with 'newer': the file's version (107 for 1.07)
}

export interface WindowRect {
  left: number;
  top: number;
  right: number;
  bottom: number;
}

export interface DocumentOptions {
  noDiagonalWires: boolean;
  smoothDisplay: boolean;
  showCurrentFlow: boolean;
  undoBufferSize: number;
}

export interface PasteResult {
  ok: boolean;
  error: string;
  clipboard: string; // what the clipboard should hold next
}

export interface AnalysisReport {
  outcome: AnalysisOutcome;
  loops: number;
  sweeps: number;
  currents: number[]; // amperes, element by element in the circuit's order
  failingLoop: number[]; // after a failure: positions of the failing loop's elements
  potentials: (number | null)[]; // volts at each point after a success, else empty
  shortText: string; // "Short" and its sentence after a failure, else ""
}

export interface Geometry {
  points: [number, number][]; // logical units (0.1 mm, y up)
  elements: [number, number, number, boolean][]; // end1, end2 (positions in points), kind, selected
}

export interface DetailsValues {
  resistance: number;
  emf: number;
  current: number;
  currentHidden: boolean; // predict mode: the current box stays empty
  negativeResistanceAllowed: boolean; // only a switch
}

export interface DetailsReading {
  ok: boolean;
  resistance: number;
  emf: number;
  error: string; // the message for the user when refused
  box: 'resistance' | 'emf'; // the box refused
}

export type PressAction =
  | 'move-point'
  | 'start-wire'
  | 'detach-link'
  | 'select-element'
  | 'deselect-element'
  | 'place-component'
  | 'select-area';

export interface PressPreview {
  action: PressAction | null; // null while a gesture holds the pointer
  prompt: string; // for the status bar
  point: [number, number] | null; // the point to ring (logical units)
  link: [number, number, number, number] | null; // the link a pull takes off
  target: [number, number] | null; // while dragging: the point a release joins
}

export interface DocumentListener {
  status?(text: string): void;
  repaint?(): void;
  capture?(taken: boolean): void;
  documentEvent?(name: DocumentEventName): void;
  // The details dialog: answer later with KelnoDocument.answerDetails.
  details?(initial: DetailsValues): void;
}

export interface DrawOptions {
  width: number; // the drawing area in device pixels
  height: number;
  grid?: boolean;
  noFlow?: boolean;
  explain?: boolean;
  predict?: boolean;
  potentials?: boolean;
  unjoinedEnds?: boolean; // a warning sign on ends that look joined and are not
  largeCurrent?: boolean; // a warning sign on a battery beyond 3 A
}

// Opcodes in DrawResult.calls, each followed by its operands:
// 1 pen r g b width · 2 brush r g b · 3 font height weight · 4 textColor r g b
// 5 line x1 y1 x2 y2 · 6 polyline n x1 y1 … · 7 rectangle l t r b · 8 ellipse l t r b
// 9 polygon n x1 y1 … · 10 fillRect l t r b r g b · 11 text x y textIndex
export interface DrawResult {
  calls: Float64Array;
  texts: string[];
  status: string; // "Short" when the circuit has no finite solution
}

export interface Overlay {
  wire: [number, number, number, number] | null; // logical units
  band: [number, number, number, number] | null;
}

export declare class KelnoDocument {
  constructor();
  delete(): void;
  setListener(listener: DocumentListener): void;

  newDocument(): void;
  load(bytes: Uint8Array, openNewer: boolean): LoadResult;
  save(): Uint8Array;
  saveWithWindow(left: number, top: number, right: number, bottom: number): Uint8Array;
  markSaved(): void;
  modified(): boolean;
  windowRect(): WindowRect;

  undo(): boolean;
  redo(): boolean;
  canUndo(): boolean;
  canRedo(): boolean;
  historyState(): number; // changes with every change of the circuit, not with a selection
  currentTool(): number; // -1 selection, 0 wire, 1..6 battery .. switch
  chooseTool(tool: number): void; // a number that is no tool's changes nothing
  comment(): string;
  showCommentOnOpen(): number;
  setComment(text: string, showOnOpen: number): void;
  options(): DocumentOptions;
  setOptions(options: DocumentOptions): void;

  canCopy(): boolean;
  canCut(): boolean;
  copyText(): string;
  cutText(): string;
  paste(text: string): PasteResult;

  report(): AnalysisReport;
  geometry(): Geometry;
  elementCount(): number;

  // The analysis elsewhere: while deferred, changes leave the readings pending until
  // applyAnalysis hands back the report of the generation analysed (false when superseded).
  setAnalysisDeferred(deferred: boolean): void;
  analysisPending(): boolean;
  analysisGeneration(): number;
  applyAnalysis(
    generation: number,
    report: Pick<AnalysisReport, 'outcome' | 'loops' | 'sweeps' | 'currents' | 'failingLoop'>,
  ): boolean;

  setScale(pixelsPerUnitX: number, pixelsPerUnitY: number): void;
  press(x: number, y: number, shift: boolean): void;
  move(x: number, y: number): void;
  release(x: number, y: number): void;
  doubleClick(x: number, y: number): void;
  captureLost(): void;
  capturing(): boolean;
  nudge(arrow: 0 | 1 | 2 | 3): void;
  selectAll(): void;
  toggleGrid(): void;
  showGrid(): boolean;
  setReadingsHidden(hidden: boolean): void;
  answerDetails(ok: boolean, resistance: number, emf: number): void;
  overlay(): Overlay;
  hover(x: number, y: number, shift: boolean): void;
  hoverLeft(): void;
  preview(): PressPreview;
  setLargeCurrentWarning(on: boolean): void;
  static readDetails(resistance: string, emf: string, negativeResistanceAllowed: boolean): DetailsReading;
  static formatDetailsValue(value: number): string;

  draw(options: DrawOptions): DrawResult;
}

export interface KelnoModule {
  KelnoDocument: typeof KelnoDocument;
  formatVersion(): string;
}

export default function createKelnoModule(overrides?: object): Promise<KelnoModule>;
