// serve-web.mjs - serves a folder over HTTP on 127.0.0.1, for the browser
// build's page (make serve-web) and its tests.
//
// Usage: node scripts/serve-web.mjs FOLDER [PORT]; port 0 (the default for
// imports) takes any free one. Prints the page's address.
import {createServer} from 'node:http';
import {readFile} from 'node:fs/promises';
import {extname, join, normalize, resolve} from 'node:path';
import {fileURLToPath} from 'node:url';

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm', // so that the browser compiles it as it arrives
};

// Starts serving `folder`; resolves to the server and its address.
export function serve(folder, port = 0) {
  const root = resolve(folder);
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
    const file = join(root, normalize(path === '/' ? '/index.html' : path));
    if (!file.startsWith(root)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const body = await readFile(file);
      response.writeHead(200, {
        'Content-Type': kTypes[extname(file)] || 'application/octet-stream',
        'Cache-Control': 'no-store',
      });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  return new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, '127.0.0.1', () => {
      done({server, address: `http://127.0.0.1:${server.address().port}/`});
    });
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const folder = process.argv[2] || 'dist/web';
  const {address} = await serve(folder, Number(process.argv[3] || 8080));
  console.log(`Serving ${folder} at ${address} (Ctrl-C stops it)`);
}
