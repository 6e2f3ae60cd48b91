// The analysis of a large circuit away from the page: a document of its own loads the
// circuit's bytes, which analyses it, and the report goes back with the generation it
// belongs to. The page ends this worker when a newer change supersedes its work.
/// <reference lib="webworker" />
import type { KelnoModule } from '../../src/web/kelno.js';
export {};

declare const createKelnoModule: (overrides?: object) => Promise<KelnoModule>;
declare const self: DedicatedWorkerGlobalScope;

self.importScripts('../kelno.js');
const ready = createKelnoModule({ locateFile: (file: string) => new URL(`../${file}`, self.location.href).href });

self.onmessage = async (event: MessageEvent<{ generation: number; bytes: Uint8Array }>) => {
  const { generation, bytes } = event.data;
  const kelno = await ready;
  const doc = new kelno.KelnoDocument();
  try {
    const result = doc.load(bytes, true);
    if (result.status !== 'ok') {
      self.postMessage({ generation, error: result.error });
      return;
    }
    const { outcome, loops, sweeps, currents, failingLoop } = doc.report();
    self.postMessage({ generation, report: { outcome, loops, sweeps, currents, failingLoop } });
  } finally {
    doc.delete();
  }
};
