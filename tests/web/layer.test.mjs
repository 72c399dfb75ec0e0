// layer.test.mjs - the page's program reaches WebGL only through Emscripten's
// emscripten_gl* names: every plain GL and GLU name it calls is the GL 1.1
// layer's own, so none can fall through to WebGL's meaning of it unseen. The
// imports are read from the table the page's JavaScript hands the program
// (asmLibraryArg: the import's short name, then the function given for it).
import assert from 'node:assert/strict';
import {readFile} from 'node:fs/promises';
import {join} from 'node:path';
import {test} from 'node:test';

const kPage = process.env.TARROW_PAGE || 'dist/web';

test('the program imports no GL or GLU name, only emscripten_gl ones', async () => {
  const script = await readFile(join(kPage, 'tarrow.js'), 'utf8');
  const table = /asmLibraryArg\s*=\s*\{([^}]*)\}/.exec(script);
  assert.ok(table, 'no import table in tarrow.js');
  const imported = [...table[1].matchAll(/:\s*([\w$]+)/g)].map((match) => match[1]);
  const wasm = new WebAssembly.Module(await readFile(join(kPage, 'tarrow.wasm')));
  assert.equal(imported.length, WebAssembly.Module.imports(wasm).filter((i) => i.kind === 'function').length);
  assert.deepEqual(imported.filter((name) => /^_glu?[A-Z]/.test(name)), []);
  assert.ok(imported.includes('_emscripten_glDrawElements'), imported.join(' '));
});
