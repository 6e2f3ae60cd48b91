// The analysis of a circuit file in the WebAssembly module, warm, under node: the least
// time of several loads (reading the bytes and analysing), to set beside the desktop's
// BM_AnalyzeGrid benchmark of the same grid.
//   python3 tools/make_grid_circuit.py 71 /tmp/grid71.kel
//   node bench/web_analysis.mjs /tmp/grid71.kel [runs]
import { createRequire } from 'node:module';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const createKelnoModule = createRequire(import.meta.url)(path.join(root, 'build/web/kelno.js'));
const kelno = await createKelnoModule();
const bytes = readFileSync(process.argv[2]);
const runs = Number(process.argv[3] ?? 7);
const doc = new kelno.KelnoDocument();
// Wall time, and the process's processor time, which another busy program disturbs less.
let best = Infinity;
let bestCpu = Infinity;
for (let i = 0; i < runs; ++i) {
  const start = performance.now();
  const cpu = process.cpuUsage();
  const result = doc.load(bytes, true);
  const used = process.cpuUsage(cpu);
  best = Math.min(best, performance.now() - start);
  bestCpu = Math.min(bestCpu, (used.user + used.system) / 1000);
  if (result.status !== 'ok') throw new Error(result.error);
}
const report = doc.report();
console.log(`${process.argv[2]}: ${report.outcome}, ${report.loops} loops, ${report.sweeps} sweeps; ` +
            `best of ${runs}: ${best.toFixed(1)} ms, processor ${bestCpu.toFixed(1)} ms`);
