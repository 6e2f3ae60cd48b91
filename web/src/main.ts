// The Kelno editor as a web page: the core (kelno.js) decides everything; this page turns
// the browser's events into calls on it and its drawing calls into pixels.
import type { KelnoDocument, KelnoModule, LoadResult, DrawResult, DetailsValues, AnalysisReport } from '../../src/web/kelno.js';
import { CONTEXT_MENU, MAIN_MENU, TEXTS, TOOL_BAR, TOOL_OF_COMMAND, commandOfTool, menuLabel } from './commands.js';
import type { CommandId } from './commands.js';
import { drawIcon, hasIcon, toolCursor } from './icons.js';
import { replay, toSvg } from './replay.js';
import { readWorkingCopy, storeWorkingCopy } from './storage.js';

declare const createKelnoModule: (overrides?: object) => Promise<KelnoModule>;

const APP_TITLE = 'Kelno 電気回路';
const IDLE_MESSAGE = 'ﾚﾃﾞｨ';
const UNTITLED = '無題';
const UNITS_PER_INCH = 254; // logical units are 0.1 mm
const CSS_PIXELS_PER_INCH = 96;
const BASE_SCALE = CSS_PIXELS_PER_INCH / UNITS_PER_INCH; // CSS pixels per unit at 100 %
const DOUBLE_CLICK_MS = 400;
const LONG_PRESS_MS = 550;
const CLASSROOM_KEY = 'kelno.classroom';
// From this many elements on, the analysis runs in a worker: a change of a larger circuit
// would hold the page for longer than a frame.
const WORKER_ELEMENTS = 1500;
const BYTES_PER_ELEMENT = 40; // about, in a .kel file: decides before a file is read

interface Classroom {
  predict: boolean;
  potentials: boolean;
  explainShort: boolean;
  unjoinedEnds: boolean; // a warning sign on ends that look joined and are not
  largeCurrent: boolean; // a warning sign on a battery beyond a dry cell's current
}

// The File System Access API where the browser has it (Chromium); elsewhere downloads.
interface FileHandle {
  name: string;
  getFile(): Promise<File>;
  createWritable?(): Promise<{ write(data: BufferSource | Blob): Promise<void>; close(): Promise<void> }>;
}
type PickerWindow = Window & {
  showOpenFilePicker?(options?: object): Promise<FileHandle[]>;
  showSaveFilePicker?(options?: object): Promise<FileHandle>;
};
const KEL_TYPES = [{ description: 'Kelno ﾌｧｲﾙ', accept: { 'application/octet-stream': ['.kel'] } }];

const $ = <T extends HTMLElement>(id: string) => document.getElementById(id) as T;

class Page {
  readonly doc: KelnoDocument;
  readonly canvas = $<HTMLCanvasElement>('view');
  readonly ctx = this.canvas.getContext('2d', { alpha: false })!;
  zoom = 1;
  panX = 0; // CSS pixels from the canvas's corner to logical (0, 0)
  panY = 0;
  fileName = UNTITLED;
  fileHandle: FileHandle | null = null;
  restoredUnsaved = false;
  classroom: Classroom = { predict: false, potentials: false, explainShort: true, unjoinedEnds: true, largeCurrent: true };
  revealed = false;
  revealedState = -1;
  controllerMessage = IDLE_MESSAGE;
  message = IDLE_MESSAGE; // what the status bar says when no prompt covers it
  drawnStatus = '';
  lastDraw: DrawResult | null = null;
  lastState = -1;
  clipboardText = ''; // what the page last put on the clipboard
  frameRequested = false;
  storeTimer = 0;
  pendingStore: Promise<unknown> = Promise.resolve();
  readonly buttons = new Map<CommandId, HTMLButtonElement>();
  readonly menuItems = new Map<CommandId, HTMLElement>();
  frameTimes: number[] = [];
  deferred = false;
  worker: Worker | null = null;
  workerGeneration = -1; // the generation the worker is analysing
  analysedWaiters: (() => void)[] = [];

  constructor(readonly kelno: KelnoModule) {
    this.doc = new kelno.KelnoDocument();
    try {
      Object.assign(this.classroom, JSON.parse(localStorage.getItem(CLASSROOM_KEY) ?? '{}'));
    } catch {
      // settings that cannot be read are the defaults
    }
    this.doc.setListener({
      status: (text) => this.setControllerMessage(text),
      repaint: () => this.requestFrame(),
      documentEvent: (name) => this.documentEvent(name),
      details: (values) => this.askDetails(values),
    });
    this.doc.setLargeCurrentWarning(this.classroom.largeCurrent);
    this.setScale();
    this.buildMenus();
    this.buildToolBar();
    this.bindPointer();
    this.bindKeys();
    this.bindClipboard();
    this.bindFiles();
    this.bindDialogs();
    new ResizeObserver(() => this.requestFrame()).observe(this.canvas);
    matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener('change', () => this.requestFrame());
    this.lastState = this.doc.historyState();
    this.refresh();
  }

  // --- View ------------------------------------------------------------------------------

  get pixelsPerUnit(): number {
    return BASE_SCALE * this.zoom;
  }

  setScale(): void {
    this.doc.setScale(this.pixelsPerUnit, this.pixelsPerUnit);
  }

  get readingsHidden(): boolean {
    return this.classroom.predict && !this.revealed;
  }

  requestFrame(): void {
    if (this.frameRequested) return;
    this.frameRequested = true;
    requestAnimationFrame(() => {
      this.frameRequested = false;
      this.render();
    });
  }

  render(): void {
    const started = performance.now();
    const dpr = window.devicePixelRatio || 1;
    const width = this.canvas.clientWidth;
    const height = this.canvas.clientHeight;
    const deviceWidth = Math.round(width * dpr);
    const deviceHeight = Math.round(height * dpr);
    if (this.canvas.width !== deviceWidth || this.canvas.height !== deviceHeight) {
      this.canvas.width = deviceWidth;
      this.canvas.height = deviceHeight;
    }
    const ctx = this.ctx;
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.fillStyle = '#fff';
    ctx.fillRect(0, 0, deviceWidth, deviceHeight);
    ctx.setTransform(dpr, 0, 0, dpr, Math.round(this.panX * dpr), Math.round(this.panY * dpr));
    this.doc.setReadingsHidden(this.readingsHidden);
    const result = this.draw(width - this.panX, height - this.panY);
    replay(ctx, result, {
      pixelsPerUnit: this.pixelsPerUnit,
      devicePixelRatio: dpr,
      visible: { left: -this.panX, top: -this.panY, right: width - this.panX, bottom: height - this.panY },
    });
    this.drawOverlay(dpr);
    this.lastDraw = result;
    this.setDrawnStatus(result.status);
    this.frameTimes.push(performance.now() - started);
    if (this.frameTimes.length > 1000) this.frameTimes.shift();
  }

  draw(width: number, height: number): DrawResult {
    return this.doc.draw({
      width: Math.max(0, Math.ceil(width)),
      height: Math.max(0, Math.ceil(height)),
      predict: this.readingsHidden,
      potentials: this.classroom.potentials,
      explain: this.classroom.explainShort,
      unjoinedEnds: this.classroom.unjoinedEnds,
      largeCurrent: this.classroom.largeCurrent,
    });
  }

  // What a press under the mouse would do, as the desktop shows it: the point ringed, the
  // link a pull would take off drawn thick, and while dragging the point a release joins.
  drawPressFeedback(): void {
    const { point, link, target } = this.doc.preview();
    if (!point && !link && !target) return;
    const k = this.pixelsPerUnit;
    const at = (x: number, y: number): [number, number] => [x * k, -y * k];
    const ring = 16; // CSS pixels, a little outside the grab tolerance of 14
    const ctx = this.ctx;
    ctx.save();
    if (link) {
      ctx.strokeStyle = 'rgba(255, 140, 0, 0.67)';
      ctx.lineWidth = 6;
      ctx.lineCap = 'round';
      ctx.beginPath();
      ctx.moveTo(...at(link[0], link[1]));
      ctx.lineTo(...at(link[2], link[3]));
      ctx.stroke();
    }
    for (const [where, colour, width] of [[point, 'rgb(230, 110, 0)', 2], [target, 'rgb(0, 150, 0)', 3]] as const) {
      if (!where) continue;
      ctx.strokeStyle = colour;
      ctx.lineWidth = width;
      ctx.beginPath();
      ctx.arc(...at(where[0], where[1]), ring, 0, 2 * Math.PI);
      ctx.stroke();
    }
    ctx.restore();
  }

  // The status bar's second pane: what a press or a release where the mouse is would do.
  showPressPrompt(): void {
    const prompt = this.doc.preview().prompt;
    const pane = $('prompt');
    if (pane.textContent !== prompt) pane.textContent = prompt;
  }

  // The rubber wire and rectangle of a gesture, over the picture.
  drawOverlay(dpr: number): void {
    this.drawPressFeedback();
    const { wire, band } = this.doc.overlay();
    if (!wire && !band) return;
    const k = this.pixelsPerUnit;
    const hair = 1 / dpr;
    const at = (x: number, y: number): [number, number] => [Math.round(x * k) + hair / 2, Math.round(-y * k) + hair / 2];
    const ctx = this.ctx;
    ctx.save();
    ctx.strokeStyle = '#000';
    ctx.lineWidth = hair;
    if (wire) {
      ctx.beginPath();
      ctx.moveTo(...at(wire[0], wire[1]));
      ctx.lineTo(...at(wire[2], wire[3]));
      ctx.stroke();
    }
    if (band) {
      const [x1, y1] = at(band[0], band[1]);
      const [x2, y2] = at(band[2], band[3]);
      ctx.setLineDash([2, 2]);
      ctx.strokeRect(Math.min(x1, x2), Math.min(y1, y2), Math.abs(x2 - x1), Math.abs(y2 - y1));
    }
    ctx.restore();
  }

  // --- The analysis in a worker ------------------------------------------------------------------

  // Large circuits are analysed in a worker; the readings of the last analysis stay on the
  // view, marked pending, until the newest change's result arrives. A change made while the
  // worker is busy ends that worker's work: its result could only be refused.
  analyseElsewhere(): void {
    // A circuit that has become small is analysed here again, at once if it waits.
    this.setDeferred(this.doc.elementCount() >= WORKER_ELEMENTS);
    const pending = this.doc.analysisPending();
    $('pending').hidden = !pending;
    if (!pending) {
      this.settle();
      return;
    }
    const generation = this.doc.analysisGeneration();
    if (generation === this.workerGeneration) return;
    if (this.worker && this.workerGeneration >= 0) {
      this.worker.terminate();
      this.worker = null;
    }
    if (!this.worker) {
      this.worker = new Worker('js/worker.js');
      this.worker.onmessage = (event) => this.analysed(event.data);
      this.worker.onerror = (event) => {
        this.workerGeneration = -1;
        this.showMessage(`計算できませんでした (${event.message})`);
      };
    }
    this.workerGeneration = generation;
    this.worker.postMessage({ generation, bytes: this.doc.save() });
  }

  setDeferred(deferred: boolean): void {
    if (deferred === this.deferred) return;
    this.deferred = deferred;
    this.doc.setAnalysisDeferred(deferred);
  }

  analysed(answer: { generation: number; error?: string; report?: Parameters<KelnoDocument['applyAnalysis']>[1] }): void {
    if (answer.generation === this.workerGeneration) this.workerGeneration = -1;
    if (answer.error) {
      void message(`${this.fileName}: 計算できませんでした (${answer.error})`);
      return;
    }
    if (answer.report && this.doc.applyAnalysis(answer.generation, answer.report)) {
      this.drawnStatus = '\0';
      this.analyseElsewhere();
      this.requestFrame();
      this.refresh();
    }
  }

  settle(): void {
    const waiters = this.analysedWaiters.splice(0);
    waiters.forEach((resolve) => resolve());
  }

  // Resolves once the readings belong to the circuit as it stands.
  whenAnalysed(): Promise<void> {
    if (!this.doc.analysisPending()) return Promise.resolve();
    return new Promise((resolve) => this.analysedWaiters.push(resolve));
  }

  // --- Status bar --------------------------------------------------------------------------

  setControllerMessage(text: string): void {
    this.controllerMessage = text || IDLE_MESSAGE;
    this.showMessage(this.controllerMessage);
  }

  // "Short" from the drawing, with its sentence when the short is explained.
  setDrawnStatus(status: string): void {
    if (status === this.drawnStatus) return;
    this.drawnStatus = status;
    if (status) {
      const sentence = this.classroom.explainShort ? this.doc.report().shortText : '';
      this.showMessage(sentence || status);
    } else {
      this.showMessage(this.controllerMessage);
    }
  }

  showMessage(text: string): void {
    this.message = text;
    $('message').textContent = text;
  }

  // A command's prompt while the pointer is on it; the message comes back after.
  showPrompt(command: CommandId | null): void {
    $('message').textContent = command ? TEXTS[command].prompt : this.message;
  }

  // --- Document events -----------------------------------------------------------------------

  documentEvent(name: string): void {
    const state = this.doc.historyState();
    if (state !== this.lastState) {
      this.lastState = state;
      if (this.revealed && state !== this.revealedState) this.revealed = false;
      this.scheduleStore();
    }
    if (name === 'modified' && !this.doc.modified()) this.scheduleStore();
    this.analyseElsewhere();
    this.requestFrame();
    this.refresh();
  }

  get unsaved(): boolean {
    return this.doc.modified() || this.restoredUnsaved;
  }

  // Enables the commands and shows the state of the tools and options.
  refresh(): void {
    const enabled: Partial<Record<CommandId, boolean>> = {
      undo: this.doc.canUndo(),
      redo: this.doc.canRedo(),
      cut: this.doc.canCut(),
      copy: this.doc.canCopy(),
      reveal: this.readingsHidden,
    };
    const checked: Partial<Record<CommandId, boolean>> = {
      grid: this.doc.showGrid(),
      predict: this.classroom.predict,
      potentials: this.classroom.potentials,
      toolBar: !$('toolbar').hidden,
      statusBar: !$('statusbar').hidden,
    };
    const tool = commandOfTool(this.doc.currentTool());
    if (tool) checked[tool] = true;
    for (const [id, element] of [...this.buttons, ...this.menuItems]) {
      const isEnabled = enabled[id] ?? true;
      element.toggleAttribute('disabled', !isEnabled);
      element.setAttribute('aria-disabled', String(!isEnabled));
      if (id in checked || TOOL_OF_COMMAND[id] !== undefined) {
        element.setAttribute('aria-checked', String(!!checked[id]));
        element.classList.toggle('checked', !!checked[id]);
      }
    }
    document.title = `${this.fileName}${this.unsaved ? '*' : ''} - ${APP_TITLE}`;
    this.canvas.style.cursor = tool && tool !== 'toolSelect' ? toolCursorOf(tool) : 'default';
  }

  // --- Commands -----------------------------------------------------------------------------

  async run(command: CommandId): Promise<void> {
    closeMenus();
    const tool = TOOL_OF_COMMAND[command];
    if (tool !== undefined) {
      if (this.doc.capturing()) this.doc.captureLost();
      this.doc.chooseTool(tool);
      this.refresh();
      return;
    }
    switch (command) {
      case 'new': if (await this.maySave()) { this.doc.newDocument(); this.opened(UNTITLED, null); } break;
      case 'open': await this.openByPicker(); break;
      case 'save': await this.save(false); break;
      case 'saveAs': await this.save(true); break;
      case 'savePng': this.savePng(); break;
      case 'saveSvg': this.saveSvg(); break;
      case 'print': this.print(); break;
      case 'undo': this.doc.undo(); break;
      case 'redo': this.doc.redo(); break;
      case 'cut': await this.writeClipboard(this.doc.cutText()); break;
      case 'copy': await this.writeClipboard(this.doc.copyText()); break;
      case 'paste': await this.pasteFromSystem(); break;
      case 'selectAll': this.doc.selectAll(); break;
      case 'grid': this.doc.toggleGrid(); break;
      case 'comment': this.editComment(); break;
      case 'options': this.editOptions(); break;
      case 'predict': this.classroom.predict = !this.classroom.predict; this.revealed = false; this.storeClassroom(); break;
      case 'reveal': this.reveal(); break;
      case 'potentials': this.classroom.potentials = !this.classroom.potentials; this.storeClassroom(); break;
      case 'toolBar': $('toolbar').hidden = !$('toolbar').hidden; break;
      case 'statusBar': $('statusbar').hidden = !$('statusbar').hidden; break;
      case 'about': this.about(); break;
    }
    this.requestFrame();
    this.refresh();
  }

  reveal(): void {
    if (!this.readingsHidden) return;
    this.revealed = true;
    this.revealedState = this.doc.historyState();
    this.requestFrame();
    this.refresh();
  }

  storeClassroom(): void {
    try {
      localStorage.setItem(CLASSROOM_KEY, JSON.stringify(this.classroom));
    } catch (error) {
      this.showMessage(`設定をﾌﾞﾗｳｻﾞに保存できません (${reason(error)})`);
    }
  }

  // --- Menus and tool bar ------------------------------------------------------------------------

  buildMenus(): void {
    const bar = $('menubar');
    for (const popup of MAIN_MENU) {
      const holder = document.createElement('div');
      holder.className = 'menu';
      const title = document.createElement('button');
      title.className = 'menu-title';
      title.textContent = menuLabel(popup.title).label;
      title.setAttribute('aria-haspopup', 'true');
      const list = document.createElement('div');
      list.className = 'menu-list';
      list.setAttribute('role', 'menu');
      for (const id of popup.items) {
        list.append(id ? this.menuItem(id, TEXTS[id].menu) : separator());
      }
      title.addEventListener('click', () => {
        const open = holder.classList.contains('open');
        closeMenus();
        if (!open) holder.classList.add('open');
        this.refresh();
      });
      title.addEventListener('pointerenter', () => {
        if (document.querySelector('.menu.open') && !holder.classList.contains('open')) {
          closeMenus();
          holder.classList.add('open');
        }
      });
      holder.append(title, list);
      bar.append(holder);
    }
    document.addEventListener('pointerdown', (e) => {
      if (!(e.target as Element).closest('.menu, .context-menu')) closeMenus();
    });
  }

  menuItem(id: CommandId, text: string, register = true): HTMLElement {
    const { label, key } = menuLabel(text);
    const item = document.createElement('button');
    item.className = 'menu-item';
    item.dataset.command = id;
    item.setAttribute('role', 'menuitem');
    item.innerHTML = '<span class="check"></span><span class="label"></span><span class="key"></span>';
    item.querySelector('.label')!.textContent = label;
    item.querySelector('.key')!.textContent = key;
    item.addEventListener('click', () => void this.run(id));
    item.addEventListener('pointerenter', () => this.showPrompt(id));
    item.addEventListener('pointerleave', () => this.showPrompt(null));
    if (register) this.menuItems.set(id, item);
    return item;
  }

  buildToolBar(): void {
    const bar = $('toolbar');
    for (const id of TOOL_BAR) {
      if (!id) {
        bar.append(Object.assign(document.createElement('span'), { className: 'tool-gap' }));
        continue;
      }
      const button = document.createElement('button');
      button.className = 'tool-button';
      button.dataset.command = id;
      button.title = TEXTS[id].tip;
      button.setAttribute('aria-label', TEXTS[id].tip);
      if (hasIcon(id)) button.append(document.createElement('canvas'));
      button.addEventListener('click', () => void this.run(id));
      button.addEventListener('pointerenter', () => this.showPrompt(id));
      button.addEventListener('pointerleave', () => this.showPrompt(null));
      this.buttons.set(id, button);
      bar.append(button);
    }
    this.drawIcons();
    matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener('change', () => this.drawIcons(), { once: true });
  }

  // Icons are drawn again for the screen's pixel ratio, whole device pixels per icon pixel.
  drawIcons(): void {
    const coarse = matchMedia('(pointer: coarse)').matches;
    for (const [id, button] of this.buttons) {
      const canvas = button.querySelector('canvas');
      if (canvas) drawIcon(canvas, id, coarse ? 1.5 : 1, window.devicePixelRatio || 1);
    }
  }

  showContextMenu(clientX: number, clientY: number): void {
    if (this.doc.capturing()) this.doc.captureLost();
    closeMenus();
    const menu = $('context-menu');
    menu.replaceChildren();
    for (const entry of CONTEXT_MENU) {
      menu.append(entry ? this.menuItem(entry[0], entry[1], false) : separator());
    }
    for (const item of menu.querySelectorAll<HTMLElement>('.menu-item')) {
      const id = item.dataset.command as CommandId;
      const off = (id === 'cut' && !this.doc.canCut()) || (id === 'copy' && !this.doc.canCopy());
      item.toggleAttribute('disabled', off);
      item.classList.toggle('checked', TOOL_OF_COMMAND[id] === this.doc.currentTool());
    }
    menu.hidden = false;
    // Centred on the press, and inside the window.
    const width = menu.offsetWidth;
    const height = menu.offsetHeight;
    menu.style.left = `${Math.max(0, Math.min(clientX - width / 2, innerWidth - width))}px`;
    menu.style.top = `${Math.max(0, Math.min(clientY, innerHeight - height))}px`;
  }

  // --- Pointer input --------------------------------------------------------------------------

  // CSS pixels of the drawing area, as the core's pixels (logical (0, 0) at the pan origin).
  at(e: { clientX: number; clientY: number }): [number, number] {
    const box = this.canvas.getBoundingClientRect();
    return [Math.round(e.clientX - box.left - this.panX), Math.round(e.clientY - box.top - this.panY)];
  }

  bindPointer(): void {
    const canvas = this.canvas;
    const touches = new Map<number, { x: number; y: number }>();
    let editing: number | null = null; // the pointer whose gesture the core follows
    let pinch: { distance: number; midX: number; midY: number; zoom: number; unitX: number; unitY: number } | null = null;
    let lastUp = { time: 0, x: 0, y: 0, type: '' };
    let longPress = 0;
    let pressAt = { x: 0, y: 0 };

    const cancelLongPress = () => {
      clearTimeout(longPress);
      longPress = 0;
    };
    const startPinch = () => {
      const [a, b] = [...touches.values()];
      const box = canvas.getBoundingClientRect();
      const midX = (a.x + b.x) / 2 - box.left;
      const midY = (a.y + b.y) / 2 - box.top;
      pinch = {
        distance: Math.hypot(a.x - b.x, a.y - b.y) || 1,
        midX, midY, zoom: this.zoom,
        unitX: (midX - this.panX) / this.pixelsPerUnit,
        unitY: (midY - this.panY) / this.pixelsPerUnit,
      };
    };

    canvas.addEventListener('pointerdown', (e) => {
      closeMenus();
      if (e.pointerType === 'mouse' && e.button !== 0) return;
      canvas.focus({ preventScroll: true });
      if (e.pointerType === 'touch') {
        touches.set(e.pointerId, { x: e.clientX, y: e.clientY });
        if (touches.size === 2) {
          // Two fingers move the view: the first finger's gesture is cut short.
          cancelLongPress();
          if (editing !== null && this.doc.capturing()) this.doc.captureLost();
          editing = null;
          startPinch();
          return;
        }
        if (touches.size > 2 || pinch) return;
      }
      canvas.setPointerCapture(e.pointerId);
      const [x, y] = this.at(e);
      const slop = e.pointerType === 'mouse' ? 4 : 16;
      const isDouble = e.timeStamp - lastUp.time < DOUBLE_CLICK_MS && lastUp.type === e.pointerType &&
        Math.abs(e.clientX - lastUp.x) <= slop && Math.abs(e.clientY - lastUp.y) <= slop;
      editing = e.pointerId;
      pressAt = { x: e.clientX, y: e.clientY };
      if (isDouble) {
        lastUp.time = 0;
        this.doc.doubleClick(x, y);
      } else {
        this.doc.press(x, y, e.shiftKey);
      }
      if (e.pointerType !== 'mouse') {
        longPress = window.setTimeout(() => {
          longPress = 0;
          editing = null;
          this.showContextMenu(pressAt.x, pressAt.y);
        }, LONG_PRESS_MS);
      }
      e.preventDefault();
    });

    canvas.addEventListener('pointermove', (e) => {
      if (e.pointerType === 'touch' && touches.has(e.pointerId)) {
        touches.set(e.pointerId, { x: e.clientX, y: e.clientY });
        if (pinch && touches.size >= 2) {
          const [a, b] = [...touches.values()];
          const box = canvas.getBoundingClientRect();
          this.zoom = Math.min(8, Math.max(0.25, (pinch.zoom * Math.hypot(a.x - b.x, a.y - b.y)) / pinch.distance));
          this.setScale();
          this.panX = (a.x + b.x) / 2 - box.left - pinch.unitX * this.pixelsPerUnit;
          this.panY = (a.y + b.y) / 2 - box.top - pinch.unitY * this.pixelsPerUnit;
          this.requestFrame();
          return;
        }
      }
      if (longPress && Math.hypot(e.clientX - pressAt.x, e.clientY - pressAt.y) > 8) cancelLongPress();
      if (editing !== null && e.pointerId !== editing) return;
      if (editing === null && e.pointerType === 'touch') return;
      // Coalesced events carry a pen's or finger's path; the last position is enough for
      // the gestures, which follow the pointer's place, not its path.
      const [x, y] = this.at(e);
      if (editing === null) {
        this.doc.hover(x, y, e.shiftKey); // a mouse or a pen above the screen
      } else {
        this.doc.hover(x, y, e.shiftKey); // keeps the point a release would join
        this.doc.move(x, y);
      }
      this.showPressPrompt();
      this.requestFrame();
    });
    canvas.addEventListener('pointerleave', (e) => {
      if (editing !== null || e.pointerType === 'touch') return;
      this.doc.hoverLeft();
      this.showPressPrompt();
      this.requestFrame();
    });

    const finish = (e: PointerEvent, cancelled: boolean) => {
      touches.delete(e.pointerId);
      if (pinch) {
        if (touches.size === 0) pinch = null;
        return;
      }
      cancelLongPress();
      if (editing !== e.pointerId) return;
      editing = null;
      if (cancelled) {
        if (this.doc.capturing()) this.doc.captureLost();
        return;
      }
      const [x, y] = this.at(e);
      this.doc.release(x, y);
      lastUp = { time: e.timeStamp, x: e.clientX, y: e.clientY, type: e.pointerType };
    };
    canvas.addEventListener('pointerup', (e) => finish(e, false));
    canvas.addEventListener('pointercancel', (e) => finish(e, true));
    canvas.addEventListener('lostpointercapture', (e) => {
      if (editing === e.pointerId) finish(e, true);
    });
    canvas.addEventListener('contextmenu', (e) => {
      e.preventDefault();
      if ((e as PointerEvent).pointerType === 'touch' || longPress) return; // the long press opens it
      this.showContextMenu(e.clientX, e.clientY);
    });
  }

  // --- Keyboard -------------------------------------------------------------------------------

  bindKeys(): void {
    document.addEventListener('keydown', (e) => {
      if (document.querySelector('dialog[open]') || isTextField(e.target)) return;
      const ctrl = e.ctrlKey || e.metaKey;
      const key = e.key.length === 1 ? e.key.toLowerCase() : e.key;
      const byKey: Record<string, CommandId> = ctrl
        ? { z: 'undo', y: 'redo', r: 'redo', a: 'selectAll', n: 'new', o: 'open', s: 'save', p: 'print' }
        : { Escape: 'toolSelect', Tab: 'toolWire', F5: 'reveal' };
      const arrows: Record<string, 0 | 1 | 2 | 3> = { ArrowLeft: 0, ArrowUp: 1, ArrowRight: 2, ArrowDown: 3 };
      if (!ctrl && key === 'Delete') {
        e.preventDefault();
        void this.run('cut');
      } else if (!ctrl && key in arrows) {
        e.preventDefault();
        this.doc.nudge(arrows[key]);
      } else if (key === 'Escape' && document.querySelector('.menu.open, #context-menu:not([hidden])')) {
        closeMenus();
      } else if (byKey[key]) {
        e.preventDefault();
        if (key === 'Escape' && this.doc.capturing()) this.doc.captureLost();
        void this.run(byKey[key]);
      }
    });
  }

  // --- Clipboard: the desktop's text on the system clipboard ---------------------------------

  bindClipboard(): void {
    const mine = (e: Event) => !isTextField(e.target) && !document.querySelector('dialog[open]');
    document.addEventListener('copy', (e) => {
      if (!mine(e) || !this.doc.canCopy()) return;
      e.preventDefault();
      this.clipboardText = this.doc.copyText();
      e.clipboardData?.setData('text/plain', this.clipboardText);
    });
    document.addEventListener('cut', (e) => {
      if (!mine(e) || !this.doc.canCut()) return;
      e.preventDefault();
      this.clipboardText = this.doc.cutText();
      e.clipboardData?.setData('text/plain', this.clipboardText);
    });
    document.addEventListener('paste', (e) => {
      if (!mine(e)) return;
      e.preventDefault();
      this.paste(e.clipboardData?.getData('text/plain') ?? '');
    });
  }

  async writeClipboard(text: string): Promise<void> {
    if (!text) return;
    this.clipboardText = text;
    try {
      await navigator.clipboard.writeText(text);
    } catch {
      // Without the browser's permission the text stays the page's own; Ctrl+C reaches
      // the system clipboard through the copy event.
    }
  }

  async pasteFromSystem(): Promise<void> {
    let text = this.clipboardText;
    try {
      text = await navigator.clipboard.readText();
    } catch {
      if (!text) {
        await message('ｸﾘｯﾌﾟﾎﾞｰﾄﾞを読めませんでした。Ctrl+V で貼り付けてください。');
        return;
      }
    }
    this.paste(text);
  }

  paste(text: string): void {
    const result = this.doc.paste(text);
    if (!result.ok) {
      void message(`貼り付けできませんでした。${result.error ? `\n${result.error}` : ''}`);
      return;
    }
    // The next paste lands a step further on, as on the desktop.
    void this.writeClipboard(result.clipboard);
    this.refresh();
  }

  // --- Files ----------------------------------------------------------------------------------

  bindFiles(): void {
    const input = $<HTMLInputElement>('file-input');
    input.addEventListener('change', () => {
      const file = input.files?.[0];
      input.value = '';
      if (file) void this.openFile(file, null);
    });
    document.addEventListener('dragover', (e) => {
      e.preventDefault();
      if (e.dataTransfer) e.dataTransfer.dropEffect = 'copy';
    });
    document.addEventListener('drop', (e) => {
      e.preventDefault();
      const file = e.dataTransfer?.files[0];
      if (file) void this.openFile(file, null);
    });
    // A tab that goes away writes its circuit at once.
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState === 'hidden' && this.storeTimer) this.storeNow();
    });
    window.addEventListener('beforeunload', (e) => {
      if (this.storeTimer) this.storeNow();
      if (this.unsaved) e.preventDefault();
    });
  }

  async openByPicker(): Promise<void> {
    if (!(await this.maySave())) return;
    const picker = (window as PickerWindow).showOpenFilePicker;
    if (!picker) {
      $<HTMLInputElement>('file-input').click();
      return;
    }
    let handle: FileHandle;
    try {
      [handle] = await picker.call(window, { types: KEL_TYPES });
    } catch {
      return; // the picker was closed
    }
    try {
      await this.openFile(await handle.getFile(), handle, false);
    } catch (error) {
      await message(`${handle.name}: ﾌｧｲﾙを開けません (${reason(error)})`);
    }
  }

  async openFile(file: File, handle: FileHandle | null, ask = true): Promise<void> {
    if (ask && !(await this.maySave())) return;
    let bytes: Uint8Array;
    try {
      bytes = new Uint8Array(await file.arrayBuffer());
    } catch (error) {
      await message(`${file.name}: ﾌｧｲﾙを開けません (${reason(error)})`);
      return;
    }
    await this.openBytes(bytes, file.name, handle);
  }

  async openBytes(bytes: Uint8Array, name: string, handle: FileHandle | null): Promise<LoadResult> {
    this.setDeferred(bytes.length >= WORKER_ELEMENTS * BYTES_PER_ELEMENT);
    let result = this.doc.load(bytes, false);
    if (result.status === 'newer') {
      const version = (result.newerVersion / 100).toFixed(2);
      if (await confirmBox(`${name} は新しいﾊﾞｰｼﾞｮﾝ (${version}) の Kelno で作られています。開きますか?`)) {
        result = this.doc.load(bytes, true);
      }
    }
    if (result.status !== 'ok') {
      if (result.status !== 'newer') await message(`${name}: ${result.error || 'ﾌｧｲﾙの形式が正しくありません'}`);
      return result;
    }
    this.opened(name, handle);
    if (result.showComment) this.editComment();
    return result;
  }

  opened(name: string, handle: FileHandle | null): void {
    this.fileName = name;
    this.fileHandle = handle;
    this.restoredUnsaved = false;
    this.revealed = false;
    this.lastState = this.doc.historyState();
    this.scheduleStore();
    this.analyseElsewhere();
    this.requestFrame();
    this.refresh();
  }

  saveBytes(): Uint8Array {
    return this.doc.save();
  }

  async save(asNew: boolean): Promise<boolean> {
    if (this.doc.analysisPending()) {
      this.showMessage('計算中です。終わり次第保存します…');
      await this.whenAnalysed();
    }
    const bytes = new Uint8Array(this.saveBytes());
    const name = this.fileName === UNTITLED ? `${UNTITLED}.kel` : this.fileName;
    let handle = asNew ? null : this.fileHandle;
    const picker = (window as PickerWindow).showSaveFilePicker;
    if (!handle && picker) {
      try {
        handle = await picker.call(window, { suggestedName: name, types: KEL_TYPES });
      } catch {
        return false; // the picker was closed
      }
    }
    if (handle?.createWritable) {
      try {
        const writable = await handle.createWritable();
        await writable.write(bytes);
        await writable.close();
      } catch (error) {
        await message(`${handle.name}: 保存できませんでした (${reason(error)})`);
        return false;
      }
      this.fileHandle = handle;
      this.fileName = handle.name;
    } else {
      download(new Blob([bytes], { type: 'application/octet-stream' }), name);
      this.fileName = name;
    }
    this.doc.markSaved();
    this.restoredUnsaved = false;
    this.scheduleStore();
    this.refresh();
    return true;
  }

  // The one "save changes?" step before a new or another circuit.
  async maySave(): Promise<boolean> {
    if (!this.unsaved) return true;
    const answer = await ask(`${this.fileName} への変更を保存しますか?`, ['はい(Y)', 'いいえ(N)', 'ｷｬﾝｾﾙ']);
    if (answer === 0) return this.save(false);
    return answer === 1;
  }

  // --- The working copy in IndexedDB ----------------------------------------------------------

  scheduleStore(): void {
    clearTimeout(this.storeTimer);
    this.storeTimer = window.setTimeout(() => this.storeNow(), 50);
  }

  storeNow(): Promise<unknown> {
    clearTimeout(this.storeTimer);
    this.storeTimer = 0;
    const copy = { bytes: this.saveBytes(), name: this.fileName, unsaved: this.unsaved, time: Date.now() };
    this.pendingStore = this.pendingStore
      .then(() => storeWorkingCopy(copy))
      .catch((error) => this.showMessage(`作業中の回路をﾌﾞﾗｳｻﾞに保存できません (${reason(error)})`));
    return this.pendingStore;
  }

  // Whether the circuit kept in the browser came back.
  async offerRestore(): Promise<boolean> {
    let copy;
    try {
      copy = await readWorkingCopy();
    } catch (error) {
      this.showMessage(`作業中の回路を読み出せません (${reason(error)})`);
      return false;
    }
    if (!copy?.unsaved) return false;
    const when = new Date(copy.time).toLocaleString('ja-JP');
    if (!(await confirmBox(`保存していない回路「${copy.name}」(${when}) があります。復元しますか?`, '復元する', '破棄する'))) {
      void this.storeNow();
      return false;
    }
    this.setDeferred(copy.bytes.length >= WORKER_ELEMENTS * BYTES_PER_ELEMENT);
    const result = this.doc.load(copy.bytes, true);
    if (result.status !== 'ok') {
      await message(`${copy.name}: 復元できませんでした (${result.error})`);
      return false;
    }
    this.opened(copy.name, null);
    this.restoredUnsaved = true;
    this.refresh();
    return true;
  }

  // --- Pictures and printing ----------------------------------------------------------------------

  savePng(): void {
    this.canvas.toBlob((blob) => {
      if (blob) download(blob, baseName(this.fileName) + '.png');
      else void message(`${baseName(this.fileName)}.png: 画像を作れませんでした`);
    }, 'image/png');
  }

  saveSvg(): void {
    const width = this.canvas.clientWidth;
    const height = this.canvas.clientHeight;
    const svg = toSvg(this.draw(width, height), width, height, this.pixelsPerUnit);
    download(new Blob([svg], { type: 'image/svg+xml' }), baseName(this.fileName) + '.svg');
  }

  // The printed page: the drawing at 100 %, where a CSS pixel is exactly 1/96 inch on
  // paper, so that a logical unit is 0.1 mm. The picture reaches from the view's corner to
  // the circuit's far side with room for its labels, so that the page need not shrink it.
  printPicture(): string {
    const zoom = this.zoom;
    this.zoom = 1;
    this.setScale();
    try {
      const k = this.pixelsPerUnit;
      const { points } = this.doc.geometry();
      const margin = 150; // units: the labels below and beside the symbols
      const right = Math.max(0, ...points.map(([x]) => x)) + margin;
      const bottom = Math.max(0, ...points.map(([, y]) => -y)) + margin;
      const width = Math.ceil(right * k);
      const height = Math.ceil(bottom * k);
      const svg = toSvg(this.draw(width, height), width, height, k);
      const mm = (px: number) => `${((px / CSS_PIXELS_PER_INCH) * 25.4).toFixed(3)}mm`;
      return svg.replace(/width="(\d+)" height="(\d+)" viewBox/, (_, w, h) => `width="${mm(+w)}" height="${mm(+h)}" viewBox`);
    } finally {
      this.zoom = zoom;
      this.setScale();
    }
  }

  preparePrint(): void {
    $('print-area').innerHTML = this.printPicture().replace(/^<\?xml[^>]*>\s*/, '');
  }

  print(): void {
    this.preparePrint();
    window.print();
  }

  // --- Dialogs ---------------------------------------------------------------------------------

  bindDialogs(): void {
    // The browser's own print command as well.
    window.addEventListener('beforeprint', () => this.preparePrint());
  }

  askDetails(values: DetailsValues): void {
    const dialog = $<HTMLDialogElement>('details-dialog');
    const resistance = $<HTMLInputElement>('details-resistance');
    const emf = $<HTMLInputElement>('details-emf');
    const Document = this.kelno.KelnoDocument;
    resistance.value = Document.formatDetailsValue(values.resistance);
    emf.value = Document.formatDetailsValue(values.emf);
    // In predict mode the current is not there to read.
    const current = $<HTMLInputElement>('details-current');
    current.value = values.currentHidden ? '' : Document.formatDetailsValue(values.current);
    current.disabled = values.currentHidden;
    dialog.returnValue = '';
    dialog.onclose = async () => {
      if (dialog.returnValue !== 'ok') {
        this.doc.answerDetails(false, 0, 0);
      } else {
        // The boxes are read by the desktop dialog's rules; a refused box keeps the dialog open.
        const read = Document.readDetails(resistance.value, emf.value, values.negativeResistanceAllowed);
        if (!read.ok) {
          await message(read.error);
          dialog.returnValue = '';
          dialog.showModal();
          const box = read.box === 'resistance' ? resistance : emf;
          box.focus();
          box.select();
          return;
        }
        this.doc.answerDetails(true, read.resistance, read.emf);
      }
      this.requestFrame();
      this.refresh();
    };
    dialog.showModal();
  }

  editComment(): void {
    const dialog = $<HTMLDialogElement>('comment-dialog');
    const text = $<HTMLTextAreaElement>('comment-text');
    const show = $<HTMLInputElement>('comment-show');
    text.value = this.doc.comment().replace(/\r\n/g, '\n');
    show.checked = this.doc.showCommentOnOpen() !== 0;
    dialog.returnValue = '';
    dialog.onclose = () => {
      if (dialog.returnValue !== 'ok') return;
      this.doc.setComment(text.value.replace(/\r?\n/g, '\r\n'), show.checked ? 1 : 0);
      this.refresh();
    };
    dialog.showModal();
  }

  editOptions(): void {
    const dialog = $<HTMLDialogElement>('options-dialog');
    const options = this.doc.options();
    const box = (id: string) => $<HTMLInputElement>(id);
    box('opt-no-diagonal').checked = options.noDiagonalWires;
    box('opt-smooth').checked = options.smoothDisplay;
    box('opt-flow').checked = options.showCurrentFlow;
    box('opt-explain').checked = this.classroom.explainShort;
    box('opt-undo').value = String(options.undoBufferSize);
    dialog.returnValue = '';
    dialog.onclose = () => {
      if (dialog.returnValue !== 'ok') return;
      const undoSize = Math.round(Number(box('opt-undo').value));
      this.doc.setOptions({
        noDiagonalWires: box('opt-no-diagonal').checked,
        smoothDisplay: box('opt-smooth').checked,
        showCurrentFlow: box('opt-flow').checked,
        undoBufferSize: Number.isFinite(undoSize) && undoSize >= 0 ? undoSize : options.undoBufferSize,
      });
      this.classroom.explainShort = box('opt-explain').checked;
      this.storeClassroom();
      this.drawnStatus = '\0'; // says the short again in the chosen form
      this.requestFrame();
      this.refresh();
    };
    dialog.showModal();
  }

  about(): void {
    $('about-version').textContent = `Kelno ﾌｧｲﾙ形式 ${this.kelno.formatVersion()}`;
    $<HTMLDialogElement>('about-dialog').showModal();
  }

  // --- For tests and scripting ---------------------------------------------------------------------

  // The page's point in client CSS pixels of a logical point.
  clientOf(x: number, y: number): [number, number] {
    const box = this.canvas.getBoundingClientRect();
    return [box.left + this.panX + x * this.pixelsPerUnit, box.top + this.panY - y * this.pixelsPerUnit];
  }
}

// --- Helpers ---------------------------------------------------------------------------------------

const cursors = new Map<CommandId, string>();
function toolCursorOf(command: CommandId): string {
  if (!cursors.has(command)) cursors.set(command, toolCursor(command));
  return cursors.get(command)!;
}

function separator(): HTMLElement {
  return Object.assign(document.createElement('div'), { className: 'menu-separator' });
}

function closeMenus(): void {
  document.querySelectorAll('.menu.open').forEach((m) => m.classList.remove('open'));
  $('context-menu').hidden = true;
}

function isTextField(target: EventTarget | null): boolean {
  return target instanceof HTMLInputElement || target instanceof HTMLTextAreaElement;
}

function reason(error: unknown): string {
  if (error instanceof DOMException) {
    const known: Record<string, string> = {
      NotAllowedError: '許可されていません',
      NotFoundError: 'ﾌｧｲﾙが見つかりません',
      NotReadableError: 'ﾌｧｲﾙを読めません',
      QuotaExceededError: '空き容量が足りません',
      InvalidStateError: 'ﾌｧｲﾙが変更されています',
    };
    return known[error.name] ?? error.message;
  }
  return error instanceof Error ? error.message : String(error);
}

function baseName(name: string): string {
  return name.replace(/\.kel$/i, '');
}

function download(blob: Blob, name: string): void {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(blob);
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10_000);
}

// A message box with buttons; resolves to the index of the button chosen (-1: closed).
function ask(text: string, buttons: string[]): Promise<number> {
  const dialog = $<HTMLDialogElement>('message-dialog');
  $('message-text').textContent = text;
  const row = $('message-buttons');
  row.replaceChildren();
  return new Promise((resolve) => {
    buttons.forEach((label, index) => {
      const button = document.createElement('button');
      button.textContent = label;
      button.value = String(index);
      button.addEventListener('click', () => dialog.close(String(index)));
      row.append(button);
    });
    dialog.returnValue = '-1';
    dialog.onclose = () => resolve(Number(dialog.returnValue));
    dialog.showModal();
    (row.firstElementChild as HTMLElement | null)?.focus();
  });
}

async function message(text: string): Promise<void> {
  await ask(text, ['OK']);
}

async function confirmBox(text: string, yes = 'はい(Y)', no = 'いいえ(N)'): Promise<boolean> {
  return (await ask(text, [yes, no])) === 0;
}

// --- Start ---------------------------------------------------------------------------------------------

// The automation object for tests and scripting; see web/README.md.
interface KelnoAutomation {
  openBytes(bytes: number[] | Uint8Array, name?: string): Promise<LoadResult>;
  saveBytes(): Promise<number[]>; // once the readings belong to the circuit
  analysisPending(): boolean;
  analysed(): Promise<void>;
  report(): AnalysisReport;
  view(): { scale: number; originX: number; originY: number; devicePixelRatio: number };
  clientOf(x: number, y: number): [number, number];
  geometry(): ReturnType<KelnoDocument['geometry']>;
  statusText(): string;
  clipboardText(): string;
  readingsHidden(): boolean;
  takeFrameTimes(): number[]; // the drawing times of the frames since the last call
  drawnTexts(): string[];
  preparePrint(): void;
  stored(): Promise<unknown>;
}

declare global {
  interface Window {
    kelnoPage?: KelnoAutomation;
    kelnoReady?: Promise<KelnoAutomation>;
  }
}

async function openLink(page: Page, link: string): Promise<void> {
  const name = decodeURIComponent(link.split('/').pop() || link);
  try {
    const response = await fetch(link);
    if (!response.ok) throw new Error(`HTTP ${response.status} ${response.statusText}`);
    await page.openBytes(new Uint8Array(await response.arrayBuffer()), name, null);
  } catch (error) {
    await message(`${name}: ﾌｧｲﾙを開けません (${reason(error)})`);
  }
}

async function start(): Promise<KelnoAutomation> {
  let kelno: KelnoModule;
  try {
    kelno = await createKelnoModule();
  } catch (error) {
    $('message').textContent = `Kelno を起動できませんでした (${reason(error)})`;
    throw error;
  }
  const page = new Page(kelno);
  const automation: KelnoAutomation = {
    openBytes: (bytes, name = 'test.kel') => page.openBytes(Uint8Array.from(bytes), name, null),
    saveBytes: async () => {
      await page.whenAnalysed();
      return Array.from(page.saveBytes());
    },
    analysisPending: () => page.doc.analysisPending(),
    analysed: () => page.whenAnalysed(),
    report: () => page.doc.report(),
    view: () => {
      const [originX, originY] = page.clientOf(0, 0);
      return { scale: page.pixelsPerUnit, originX, originY, devicePixelRatio: devicePixelRatio };
    },
    clientOf: (x, y) => page.clientOf(x, y),
    geometry: () => page.doc.geometry(),
    statusText: () => page.message,
    clipboardText: () => page.clipboardText,
    readingsHidden: () => page.readingsHidden,
    takeFrameTimes: () => page.frameTimes.splice(0),
    drawnTexts: () => page.lastDraw?.texts.slice() ?? [],
    preparePrint: () => page.preparePrint(),
    stored: () => page.storeNow(),
  };
  window.kelnoPage = automation;
  // The circuit the browser kept is offered back first; then ?open=circuit.kel opens a
  // circuit that lies beside the page (a teacher's link), unless the kept one came back.
  const link = new URLSearchParams(location.search).get('open');
  void page.offerRestore().then((restored) => {
    if (link && !restored) void openLink(page, link);
  });
  if ('serviceWorker' in navigator && location.protocol !== 'file:') {
    navigator.serviceWorker.register('sw.js').catch(() => {
      // the page works without; only offline use needs it
    });
  }
  page.requestFrame();
  return automation;
}

window.kelnoReady = start();
