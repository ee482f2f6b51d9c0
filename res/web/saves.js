// The player's folder (/save in the game's file system) kept in IndexedDB, one record a file, in the
// database and records the browser build has kept them in from the start (a path, and its contents,
// mode and time), so players keep what they saved. The game reaches it as Module.web.saves
// (src/platform/web/files.cpp): every save writes or deletes only the files it names and returns
// whether IndexedDB took it, so a refused save (site data blocked, the quota full) fails as a full
// disk would, and a second tab never deletes what another one saved.
'use strict';

const SAVES = '/save';
const SAVES_DB = '/save', SAVES_DB_VERSION = 21, FILES = 'FILE_DATA';
const FILE_MODE = 0o100600;
const READ_ATTEMPTS = [0, 300, 1500];  // ms before each try to read the saves at start

const saves = { db: null, readable: false };

function openSaves() {
  return new Promise((resolve, reject) => {
    const request = indexedDB.open(SAVES_DB, SAVES_DB_VERSION);  // throws where site data is blocked
    request.onupgradeneeded = () => {
      const db = request.result;
      const files = db.objectStoreNames.contains(FILES) ? request.transaction.objectStore(FILES)
                                                        : db.createObjectStore(FILES);
      if (!files.indexNames.contains('timestamp')) files.createIndex('timestamp', 'timestamp', { unique: false });
    };
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
    request.onblocked = () => reject(new Error('the saves are held by an older copy of the page'));
  });
}

// Every stored file as [path, bytes]; folders are not needed, they are made again from the paths.
function readAllSaves(db) {
  return new Promise((resolve, reject) => {
    const found = [];
    const transaction = db.transaction([FILES], 'readonly');
    const cursor = transaction.objectStore(FILES).openCursor();
    cursor.onsuccess = () => {
      const at = cursor.result;
      if (!at) return;
      if (at.value && at.value.contents) found.push([String(at.key), new Uint8Array(at.value.contents)]);
      at.continue();
    };
    transaction.oncomplete = () => resolve(found);
    transaction.onerror = transaction.onabort = () => reject(transaction.error || new Error('read aborted'));
  });
}

// One change in one transaction: true once IndexedDB has committed it, false on any failure.
function changeSaves(steps) {
  return new Promise((resolve) => {
    const refused = (why) => {
      console.warn('korvex: a save did not reach IndexedDB:', why);
      resolve(false);
    };
    if (!saves.db) return refused('no saves');
    let transaction;
    try {
      transaction = saves.db.transaction([FILES], 'readwrite', { durability: 'strict' });
      steps(transaction.objectStore(FILES));
    } catch (error) {
      if (transaction) transaction.abort();
      return refused(error);
    }
    transaction.oncomplete = () => resolve(true);
    transaction.onabort = () => refused(transaction.error || 'aborted');  // a full quota ends here too
  });
}

const record = (bytes) => ({ timestamp: new Date(), mode: FILE_MODE, contents: bytes });
saves.put = (path, bytes) => changeSaves((files) => files.put(record(bytes), path));
saves.move = (from, to, bytes) => changeSaves((files) => {
  files.put(record(bytes), to);
  files.delete(from);
});
saves.remove = (path) => changeSaves((files) => files.delete(path));

function writeSaves(FS, found) {
  for (const [path, bytes] of found) {
    if (!path.startsWith(`${SAVES}/`)) continue;
    const parts = path.split('/').filter(Boolean);
    for (let k = 1; k < parts.length; ++k) {
      const folder = `/${parts.slice(0, k).join('/')}`;
      if (!FS.analyzePath(folder).exists) FS.mkdir(folder);
    }
    FS.writeFile(path, bytes);
  }
}

// Reads the saves into the game's folder before the game starts, trying again a little later when
// the browser fails; if it still cannot, the game plays without saving (files.cpp) rather than save
// over files it could not read, and `told` says so.
async function loadSaves(FS, told) {
  FS.mkdir(SAVES);
  let why = null;
  for (const wait of READ_ATTEMPTS) {
    await new Promise((resolve) => setTimeout(resolve, wait));
    try {
      const db = saves.db || (saves.db = await openSaves());
      writeSaves(FS, await readAllSaves(db));
      db.onclose = () => { saves.db = null; };  // the browser took the store away: saves fail
      saves.readable = true;
      return;
    } catch (error) {
      why = error;
      if (saves.db) saves.db.close();
      saves.db = null;
    }
  }
  console.warn('korvex: the saved games could not be read:', why);
  told('Saved games cannot be read in this browser now, so nothing of this visit will be saved.');
}

// Asks the browser to keep the saves when it runs short of space; it may still say no.
function keepSaves() {
  if (navigator.storage && navigator.storage.persist) navigator.storage.persist().catch(() => {});
}
