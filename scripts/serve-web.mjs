// serve-web.mjs - serves a folder over HTTP on 127.0.0.1, for the browser
// build's page (make serve-web) and its tests.
//
// Usage: node scripts/serve-web.mjs FOLDER [PORT]; PORT defaults to 8080
// here and to 0 (any free one) for imports. Prints the page's address; a port
// that cannot be had is said in one line, with status 1.
//
// Only files under FOLDER are served: a request whose path cannot be read (a
// malformed percent escape, a NUL, a target that is not a path) is answered
// 400, and one that leads out of the folder 403; the server goes on serving.
import {createServer} from 'node:http';
import {readFile} from 'node:fs/promises';
import {extname, join, normalize, resolve, sep} from 'node:path';
import {fileURLToPath} from 'node:url';

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm', // so that the browser compiles it as it arrives
};

// The decoded path of a request's target ("/tarrow.js?x=1" gives
// "/tarrow.js"), or null when it has none.
function requestPath(target) {
  const raw = target.split(/[?#]/, 1)[0];
  if (!raw.startsWith('/')) return null;
  let path;
  try {
    path = decodeURIComponent(raw);
  } catch {
    return null; // a malformed escape, "%E0%A4%A"
  }
  return path.includes('\0') ? null : path;
}

// Starts serving `folder`; resolves to the server and its address.
export function serve(folder, port = 0) {
  const root = resolve(folder);
  const server = createServer(async (request, response) => {
    const path = requestPath(request.url);
    if (path === null) {
      response.writeHead(400).end();
      return;
    }
    const file = join(root, normalize(path === '/' ? '/index.html' : path));
    if (!file.startsWith(root + sep)) {
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

// Why the port could not be had, in the words of whoever asked for it.
function listenProblem(error, port) {
  switch (error.code) {
  case 'EADDRINUSE':
    return `port ${port} on 127.0.0.1 is taken; give another (make serve-web PORT=N)`;
  case 'EACCES':
    return `port ${port} on 127.0.0.1 is not open to this user; give one above 1023`;
  default:
    return `cannot serve on port ${port} of 127.0.0.1: ${error.message}`;
  }
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const folder = process.argv[2] || 'dist/web';
  const portText = process.argv[3] || '8080';
  const port = Number(portText);
  if (!/^\d+$/.test(portText) || port > 65535) {
    console.error(`serve-web: the port is a number from 0 to 65535, not '${portText}'`);
    process.exit(1);
  }
  try {
    const {address} = await serve(folder, port);
    console.log(`Serving ${folder} at ${address} (Ctrl-C stops it)`);
  } catch (error) {
    console.error(`serve-web: ${listenProblem(error, port)}`);
    process.exit(1);
  }
}
