# Helpers of the package tests: make the Debian package of the build, and install or remove it
# with apt-get. Sourced after tests/support/lib.sh, which sets RUN_DIR, BUILD_DIR and fail.

PACKAGE=quoravint
APT_LOCK_WAIT=600   # s to wait for the package lock, which other apt users on the machine may hold

[ -n "$BUILD_DIR" ] || fail "usage: $0 <run dir> <build dir>"

# Makes the package of the build and prints its path.
build_package() {
  cmake --build "$BUILD_DIR" --target deb >"$WORK_DIR/build-deb.log" 2>&1 ||
    fail "the package could not be made: $(tail -n 5 "$WORK_DIR/build-deb.log")"
  local debs=("$BUILD_DIR"/${PACKAGE}_*.deb)
  [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one package in $BUILD_DIR, found: ${debs[*]}"
  echo "${debs[0]}"
}

# How this test becomes root for apt-get: it is root already, or sudo needs no password;
# "none" when neither.
if [ "$(id -u)" -eq 0 ]; then
  AS_ROOT=""
elif sudo -n true 2>/dev/null; then
  AS_ROOT="sudo -n"
else
  AS_ROOT=none
fi

# Runs apt-get with ARGS non-interactively, as root, waiting for the package lock if another
# apt holds it.
apt_get() {
  [ "$AS_ROOT" != none ] || fail "apt-get $1 needs root or sudo without a password"
  $AS_ROOT env DEBIAN_FRONTEND=noninteractive apt-get -q -y -o DPkg::Lock::Timeout="$APT_LOCK_WAIT" "$@"
}

# Whether the package is installed.
package_installed() {
  dpkg-query -W -f='${Status}' "$PACKAGE" 2>/dev/null | grep -q "install ok installed"
}

# Removes the package with its configuration, if it is installed.
purge_package() {
  package_installed || return 0
  apt_get remove --purge "$PACKAGE" >"$WORK_DIR/purge.log" 2>&1 ||
    fail "apt-get could not remove $PACKAGE: $(tail -n 3 "$WORK_DIR/purge.log")"
}
