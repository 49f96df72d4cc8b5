#!/usr/bin/env bash
# Readies the browser checks in the folder $1: the check scripts and, from npm, puppeteer-core,
# selenium-webdriver and lighthouse at the versions package-lock.json pins, without puppeteer's
# browser download (Debian's browsers are used).
# npm runs again only when the lock file changed.
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
INTO=${1:?usage: prepare_checks.sh FOLDER}

mkdir -p "$INTO"
cp "$HERE"/*.mjs "$INTO/"
if ! cmp -s "$HERE/package-lock.json" "$INTO/package-lock.json" || [ ! -d "$INTO/node_modules/puppeteer-core" ]; then
  cp "$HERE/package.json" "$HERE/package-lock.json" "$INTO/"
  (cd "$INTO" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
fi
echo "prepare_checks: browser checks ready in $INTO"
