// A static file server for the assembled site, on 127.0.0.1 only.
//   node web/tools/serve.mjs [SITE_DIR] [PORT]   (port 0: any free port; the URL is printed)
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import path from 'node:path';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.css': 'text/css; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8', '.wasm': 'application/wasm',
  '.webmanifest': 'application/manifest+json', '.svg': 'image/svg+xml', '.png': 'image/png',
  '.kel': 'application/octet-stream',
};

export function serve(root, port = 0) {
  const base = path.resolve(root);
  const server = createServer(async (request, response) => {
    let pathname = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    if (pathname.endsWith('/')) pathname += 'index.html';
    const file = path.join(base, path.normalize(pathname));
    if (!file.startsWith(base + path.sep)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const info = await stat(file);
      if (!info.isFile()) throw new Error('not a file');
      // Revalidated on every use, answered 304 while unchanged, as a school's server would.
      const modified = new Date(Math.floor(info.mtimeMs / 1000) * 1000).toUTCString();
      const headers = {
        'Content-Type': TYPES[path.extname(file)] ?? 'application/octet-stream',
        'Cache-Control': 'no-cache',
        'Last-Modified': modified,
      };
      if (request.headers['if-modified-since'] === modified) {
        response.writeHead(304, headers).end();
        return;
      }
      response.writeHead(200, headers);
      response.end(await readFile(file));
    } catch {
      response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found');
    }
  });
  return new Promise((resolve) => {
    server.listen(port, '127.0.0.1', () => resolve(server));
  });
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const server = await serve(process.argv[2] ?? 'build/web/site', Number(process.argv[3] ?? 0));
  console.log(`Kelno: http://127.0.0.1:${server.address().port}/`);
}
