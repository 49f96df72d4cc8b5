#!/usr/bin/env bash
# Prints the address of the Debian archive this machine's apt already uses (a local mirror, a proxy's
# address, ...), read from apt's own configuration (sources.list, sources.list.d's .list and deb822
# .sources files) through `apt-get indextargets`, so the clean room and the source package come from
# where every other package of this machine comes from. Ends with status 1 and a message when apt
# names no Debian archive.
set -euo pipefail

# Prints "TYPE SUITE ADDRESS ORIGIN" for each package index apt would fetch; $1 may be
# --no-release-info, for a machine whose apt has not fetched the archives' Release files yet.
index_targets() {
  apt-get indextargets "$@" --format '$(TARGET_OF) $(RELEASE) $(REPO_URI) $(ORIGIN)' 'Created-By: Packages'
}

# The archive is the first binary source whose suite is a release itself (bookworm, trixie, stable:
# not -updates, -security nor a third party's suite with a dash), and whose Release file says
# "Origin: Debian". The Release file is read first; without one (an apt that was never updated)
# apt prints the field's name, and the suite alone decides.
mirror=$({ index_targets; index_targets --no-release-info; } |
  awk '$1 == "deb" && $2 !~ /[-\/]/ && ($4 == "Debian" || $4 == "$(ORIGIN)") { sub(/\/$/, "", $3); print $3; exit }')
[ -n "$mirror" ] || { echo "debian-mirror: apt's sources name no Debian archive (see /etc/apt/sources.list.d)" >&2; exit 1; }
echo "$mirror"
