// The working circuit in the browser's storage (IndexedDB), written after every change so
// that a reloaded or closed tab loses nothing.

export interface WorkingCopy {
  bytes: Uint8Array;
  name: string;
  unsaved: boolean; // changed since it was last opened or saved
  time: number;
}

const DATABASE = 'kelno';
const STORE = 'working';
const KEY = 'current';

function open(): Promise<IDBDatabase> {
  return new Promise((resolve, reject) => {
    const request = indexedDB.open(DATABASE, 1);
    request.onupgradeneeded = () => request.result.createObjectStore(STORE);
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
}

async function transact<T>(mode: IDBTransactionMode, work: (store: IDBObjectStore) => IDBRequest<T>): Promise<T> {
  const db = await open();
  try {
    return await new Promise<T>((resolve, reject) => {
      const tx = db.transaction(STORE, mode);
      const request = work(tx.objectStore(STORE));
      tx.oncomplete = () => resolve(request.result);
      tx.onerror = () => reject(tx.error);
      tx.onabort = () => reject(tx.error);
    });
  } finally {
    db.close();
  }
}

export function storeWorkingCopy(copy: WorkingCopy): Promise<unknown> {
  return transact('readwrite', (store) => store.put(copy, KEY));
}

export async function readWorkingCopy(): Promise<WorkingCopy | undefined> {
  return (await transact('readonly', (store) => store.get(KEY))) as WorkingCopy | undefined;
}
