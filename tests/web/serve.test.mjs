// serve.test.mjs - make serve-web's server, as a program: it serves its
// folder and nothing outside it, answers a request it cannot read with 400
// and goes on serving, and says in one line that its port is taken. Requests
// are sent with their paths as written, so that no client tidies them first.
import assert from 'node:assert/strict';
import {spawn} from 'node:child_process';
import {once} from 'node:events';
import {mkdir, mkdtemp, rm, writeFile} from 'node:fs/promises';
import {request as request_} from 'node:http';
import {createServer} from 'node:net';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {createInterface} from 'node:readline';
import {after, before, describe, test} from 'node:test';
import {fileURLToPath} from 'node:url';

const kScript = fileURLToPath(new URL('../../scripts/serve-web.mjs', import.meta.url));

function start(folder, port) {
  return spawn(process.execPath, [kScript, folder, String(port)],
               {stdio: ['ignore', 'pipe', 'pipe']});
}

// Status and body of `GET target`, the target sent as it is: Node's client
// leaves a request's path as given.
async function get(port, target) {
  const request = request_({host: '127.0.0.1', port, path: target, agent: false});
  request.end();
  const [response] = await once(request, 'response');
  let body = '';
  for await (const chunk of response) body += chunk;
  return {status: response.statusCode, body};
}

describe('serve-web.mjs', () => {
  let base;
  let server;
  let port;

  before(async () => {
    // The served folder, with a file beside it that must stay out of reach.
    base = await mkdtemp(join(tmpdir(), 'tarrow-serve-'));
    await mkdir(join(base, 'page', 'sub'), {recursive: true});
    await writeFile(join(base, 'page', 'index.html'), 'the page');
    await writeFile(join(base, 'secret.txt'), 'not served');
    server = start(join(base, 'page'), 0); // port 0: any free one, said in its line
    const [line] = await once(createInterface({input: server.stdout}), 'line');
    port = Number(/127\.0\.0\.1:(\d+)\//.exec(line)[1]);
  });

  after(async () => {
    server?.kill();
    await rm(base, {recursive: true, force: true});
  });

  test('serves its folder', async () => {
    assert.deepEqual(await get(port, '/'), {status: 200, body: 'the page'});
    assert.deepEqual(await get(port, '/index.html?seed=1'), {status: 200, body: 'the page'});
  });

  // Each of these stopped the server once.
  for (const [target, status] of [['/%E0%A4%A', 400], ['/index.html%', 400], ['/%00', 400],
                                  ['//', 404]]) {
    test(`answers ${target} with ${status} and goes on serving`, async () => {
      assert.equal((await get(port, target)).status, status);
      assert.equal((await get(port, '/')).status, 200);
    });
  }

  for (const target of ['/../secret.txt', '/%2e%2e/secret.txt', '/%2E%2E%2Fsecret.txt',
                        '/..%2fsecret.txt', '/sub/..%2F..%2F..%2fsecret.txt']) {
    test(`serves nothing outside its folder for ${target}`, async () => {
      const answer = await get(port, target);
      assert.notEqual(answer.status, 200);
      assert.ok(!answer.body?.includes('not served'), answer.body);
    });
  }

  test('says in one line that its port is taken, with status 1', async () => {
    const holder = createServer();
    holder.listen(0, '127.0.0.1');
    await once(holder, 'listening');
    const taken = holder.address().port;
    try {
      const second = start(join(base, 'page'), taken);
      let said = '';
      second.stderr.on('data', (chunk) => { said += chunk; });
      const [status] = await once(second, 'exit');
      assert.equal(status, 1);
      assert.equal(said, `serve-web: port ${taken} on 127.0.0.1 is taken; ` +
                             'give another (make serve-web PORT=N)\n');
    } finally {
      holder.close();
    }
  });
});
