// The commands of the editor, one entry each, with the desktop's texts: the menu text (with
// its access key and shortcut), the prompt for the status bar and the tool tip. Menus, the
// tool bar and the context menu are built from these tables.

export type CommandId =
  | 'new' | 'open' | 'save' | 'saveAs' | 'savePng' | 'saveSvg' | 'print'
  | 'undo' | 'redo' | 'cut' | 'copy' | 'paste' | 'selectAll'
  | 'grid' | 'comment' | 'options' | 'predict' | 'reveal' | 'potentials'
  | 'toolBar' | 'statusBar'
  | 'toolSelect' | 'toolWire' | 'toolBattery' | 'toolBulb' | 'toolResistor'
  | 'toolAmmeter' | 'toolVoltmeter' | 'toolSwitch'
  | 'about';

export interface CommandText {
  menu: string; // "元に戻す(&U)\tCtrl+Z"
  prompt: string;
  tip: string;
}

export const TEXTS: Record<CommandId, CommandText> = {
  new: { menu: '新規作成(&N)\tCtrl+N', prompt: '新規にﾌｧｲﾙを作成', tip: '新規ﾌｧｲﾙ' },
  open: { menu: '開く(&O)...\tCtrl+O', prompt: '既存のﾌｧｲﾙを開く', tip: '開く' },
  save: { menu: '上書き保存(&S)\tCtrl+S', prompt: '作業中のﾌｧｲﾙを上書きして保存', tip: '上書き保存' },
  saveAs: { menu: '名前を付けて保存(&A)...', prompt: '作業中のﾌｧｲﾙを新しい名前で保存', tip: '名前を付けて保存' },
  // The browser's pictures are PNG rather than the desktop's bitmap.
  savePng: { menu: 'PNG で保存(&B)...', prompt: 'PNG 形式で画面を保存します', tip: 'PNG で保存' },
  saveSvg: { menu: 'SVG で保存(&G)...', prompt: 'SVG 形式で画面を保存します', tip: 'SVG で保存' },
  print: { menu: '印刷(&P)...\tCtrl+P', prompt: '作業中のﾌｧｲﾙを印刷', tip: '印刷' },
  undo: { menu: '元に戻す(&U)\tCtrl+Z', prompt: '直前に行った動作を元に戻す', tip: '元に戻す' },
  redo: { menu: 'やり直す(&R)\tCtrl+R', prompt: '直前に行った動作を繰り返す', tip: 'やり直す' },
  cut: { menu: '切り取り(&T)\tCtrl+X', prompt: '選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存', tip: '切り取り' },
  copy: { menu: 'ｺﾋﾟｰ(&C)\tCtrl+C', prompt: '選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存', tip: 'ｺﾋﾟｰ' },
  paste: { menu: '貼り付け(&P)\tCtrl+V', prompt: 'ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付け', tip: '貼り付け' },
  selectAll: { menu: 'すべて選択(&L)\tCtrl+A', prompt: 'ﾌｧｲﾙ内のすべてを選択', tip: 'すべて選択' },
  grid: { menu: 'グリッド(&G)', prompt: 'グリッド表示', tip: 'グリッド' },
  comment: { menu: 'コメント(&C)', prompt: 'コメント', tip: 'コメント' },
  options: { menu: 'ｵﾌﾟｼｮﾝ(&O)', prompt: 'ｵﾌﾟｼｮﾝ', tip: 'ｵﾌﾟｼｮﾝ' },
  predict: { menu: '予想モード(&Y)', prompt: '計器の値、電球の明るさ、電流の向きを隠して予想させる', tip: '予想モード' },
  reveal: { menu: '結果を表示(&R)\tF5', prompt: '隠している値を次の編集まで表示', tip: '結果を表示' },
  potentials: { menu: '電位(&P)', prompt: '接続点の電位を表示', tip: '電位の表示' },
  toolBar: { menu: 'ﾂｰﾙ ﾊﾞｰ(&T)', prompt: 'ﾂｰﾙ ﾊﾞｰの表示/非表示', tip: 'ﾂｰﾙ ﾊﾞｰの表示切り替え' },
  statusBar: { menu: 'ｽﾃｰﾀｽ ﾊﾞｰ(&S)', prompt: 'ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示', tip: 'ｽﾃｰﾀｽ ﾊﾞｰの表示切り替え' },
  toolSelect: { menu: '選択(&S)\tEsc', prompt: '選択', tip: '選択' },
  toolWire: { menu: '導線(&N)\tTab', prompt: '導線', tip: '導線' },
  toolBattery: { menu: '乾電池(&B)', prompt: '乾電池', tip: '乾電池' },
  toolBulb: { menu: '電球(&L)', prompt: '電球', tip: '電球' },
  toolResistor: { menu: '抵抗(&R)', prompt: '抵抗', tip: '抵抗' },
  toolAmmeter: { menu: '電流計(&A)', prompt: '電流計', tip: '電流計' },
  toolVoltmeter: { menu: '電圧計(&V)', prompt: '電圧計', tip: '電圧計' },
  toolSwitch: { menu: 'スイッチ(&W)', prompt: 'スイッチ', tip: 'スイッチ' },
  about: { menu: 'ﾊﾞｰｼﾞｮﾝ情報(Kelno) (&A)...', prompt: 'ﾌﾟﾛｸﾞﾗﾑ情報、ﾊﾞｰｼﾞｮﾝ、著作権を表示', tip: 'ﾊﾞｰｼﾞｮﾝ情報' },
};

// null is a separator. A browser has no printer set-up, preview, recent files or exit of
// its own to offer: those items are left out.
export const MAIN_MENU: { title: string; items: (CommandId | null)[] }[] = [
  { title: 'ﾌｧｲﾙ(&F)', items: ['new', 'open', 'save', 'saveAs', 'savePng', 'saveSvg', null, 'print'] },
  { title: '編集(&E)', items: ['undo', 'redo', null, 'cut', 'copy', 'paste', null, 'selectAll'] },
  { title: '表示(&V)', items: ['grid', 'comment', 'options', null, 'predict', 'reveal', 'potentials', null, 'toolBar', 'statusBar'] },
  { title: '作成(&M)', items: ['toolSelect', 'toolWire', 'toolBattery', 'toolBulb', 'toolResistor', 'toolAmmeter', 'toolVoltmeter', 'toolSwitch'] },
  { title: 'ﾍﾙﾌﾟ(&H)', items: ['about'] },
];

export const TOOL_BAR: (CommandId | null)[] = [
  'new', 'open', 'save', null,
  'undo', 'redo', 'cut', 'copy', 'paste', null,
  'print', 'options', 'comment', 'about', null,
  'toolSelect', 'toolWire', 'toolBattery', 'toolBulb', 'toolResistor', 'toolAmmeter', 'toolVoltmeter', 'toolSwitch', null,
  'reveal',
];

export const CONTEXT_MENU: ([CommandId, string] | null)[] = [
  ['cut', '切り取り'], ['copy', 'ｺﾋﾟｰ'], ['paste', '貼り付け'], ['selectAll', 'すべて選択'], null,
  ['toolSelect', '選択'], ['toolWire', '導線'], ['toolBattery', '乾電池'], ['toolBulb', '電球'],
  ['toolResistor', '抵抗'], ['toolAmmeter', '電流計'], ['toolVoltmeter', '電圧計'], ['toolSwitch', 'スイッチ'],
];

// The core's tool numbers: -1 selection, 0 wire, then the element kinds.
export const TOOL_OF_COMMAND: Partial<Record<CommandId, number>> = {
  toolSelect: -1, toolWire: 0, toolBattery: 1, toolResistor: 2, toolAmmeter: 3,
  toolVoltmeter: 4, toolBulb: 5, toolSwitch: 6,
};

export function commandOfTool(tool: number): CommandId | undefined {
  return (Object.keys(TOOL_OF_COMMAND) as CommandId[]).find((c) => TOOL_OF_COMMAND[c] === tool);
}

// The menu text without its access-key marker, and its shortcut apart.
export function menuLabel(text: string): { label: string; key: string; access: string } {
  const [label, key = ''] = text.split('\t');
  const access = /\(&(.)\)/.exec(label)?.[1] ?? '';
  return { label: label.replace(/\(&(.)\)/, '($1)').replace(/\s*\(\)$/, ''), key, access };
}
