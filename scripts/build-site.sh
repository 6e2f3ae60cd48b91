#!/usr/bin/env bash
# Assembles the web page into build/web/site/: the HTML, CSS, the TypeScript compiled by tsc,
# the manifest, the service worker and the icon, beside the module build/web/kelno.js and
# kelno.wasm (built by scripts/build-web.sh). Everything in it is a static file.
#   scripts/build-site.sh [MODULE_DIR]   (default build/web)
set -euo pipefail
cd "$(dirname "$0")/.."
module_dir=${1:-build/web}
site=build/web/site
for file in kelno.js kelno.wasm; do
    if [[ ! -f "$module_dir/$file" ]]; then
        echo "build-site: $module_dir/$file is missing; run scripts/build-web.sh first" >&2
        exit 1
    fi
done
# TypeScript and the browser tests' driver from npm, exactly as the lockfile says.
if [[ ! -d web/node_modules || web/package-lock.json -nt web/node_modules/.package-lock.json ]]; then
    (cd web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
fi
rm -rf build/web/site-js "$site"
(cd web && node_modules/.bin/tsc -p .)
mkdir -p "$site/js"
cp web/index.html web/style.css web/manifest.webmanifest web/icon.svg "$site/"
cp "$module_dir/kelno.js" "$module_dir/kelno.wasm" "$site/"
# Workers are classic scripts: tsc's module marker comes off. The service worker stands at
# the site's root, so that its scope is the whole site.
for js in build/web/site-js/*.js; do
    case $(basename "$js") in
        sw.js) grep -v '^export {};$' "$js" > "$site/sw.js" ;;
        worker.js) grep -v '^export {};$' "$js" > "$site/js/worker.js" ;;
        *) cp "$js" "$site/js/" ;;
    esac
done
echo "build-site: $site"
