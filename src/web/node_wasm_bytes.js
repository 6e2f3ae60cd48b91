// Under node, hand the module its .wasm file as bytes: node's fetch does not take a file
// path, and the module would otherwise try to fetch it.
if (typeof process === 'object' && process.versions && process.versions.node &&
    !Module['wasmBinary']) {
  Module['wasmBinary'] = require('fs').readFileSync(__filename.replace(/\.js$/, '.wasm'));
}
