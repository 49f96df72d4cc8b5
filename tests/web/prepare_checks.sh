#!/usr/bin/env bash
# Readies the browser checks in the folder $1: the check scripts and, from npm, puppeteer-core,
# selenium-webdriver and lighthouse at the versions package.json pins, their own dependencies at
# those package-lock.json records, without puppeteer's browser download (Debian's browsers are used).
# npm runs again only when the lock file changed.
#
# Lighthouse names two of its dependencies by the registry's tag "latest". When that tag moves past
# the lock file, `npm ci` refuses the lock; the checks are then installed with `npm install`, which
# takes the same pinned packages and what the tag names now, and says so.
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
INTO=${1:?usage: prepare_checks.sh FOLDER}
INSTALLED_LOCK=.installed-lock.json   # in FOLDER: the lock file of the last install, as this folder gave it

mkdir -p "$INTO"
cp "$HERE"/*.mjs "$INTO/"
if ! cmp -s "$HERE/package-lock.json" "$INTO/$INSTALLED_LOCK" || [ ! -d "$INTO/node_modules/puppeteer-core" ]; then
  rm -f "$INTO/$INSTALLED_LOCK"
  cp "$HERE/package.json" "$HERE/package-lock.json" "$INTO/"
  if ! (cd "$INTO" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error); then
    echo "prepare_checks: npm ci refused the lock file (a dependency named by a tag such as \"latest\" may have moved" \
         "on the registry); installing with npm install instead"
    (cd "$INTO" && PUPPETEER_SKIP_DOWNLOAD=1 npm install --no-audit --no-fund --loglevel=error)
  fi
  cp "$HERE/package-lock.json" "$INTO/$INSTALLED_LOCK"
fi
echo "prepare_checks: browser checks ready in $INTO"
