#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian package that the debian_package test built, starts the installed program,
# purges the package, and checks that nothing is left behind: no file outside dpkg's and apt's
# own records and the desktop caches, no dpkg record, nothing in the user's home. It runs only
# where kestrune is not installed already.
# Usage: check_install_start_purge.sh PACKAGE_DIR WORK_DIR
set -euo pipefail
package_dir=$1
work=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

# It changes the system, so it needs root: as root (CI) it runs itself; elsewhere it runs through
# sudo when that needs no password, and otherwise reports itself as not run (ctest: skipped),
# never as passed.
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
        exec sudo -n bash "$0" "$@"
    fi
    echo "SKIPPED: installing and purging the package needs root or password-less sudo" >&2
    exit 77
fi
for tool in apt-get dpkg-query flock timeout; do
    command -v "$tool" >/dev/null || fail "$tool is missing"
done
shopt -s nullglob
packages=("$package_dir"/kestrune_*.deb)
[ ${#packages[@]} -eq 1 ] || fail "expected one kestrune_*.deb in $package_dir, found ${#packages[@]}"
package=$(realpath "${packages[0]}")

# One run at a time on this machine.
lock=${TMPDIR:-/tmp}/kestrune-install-start-purge.lock
exec 9>"$lock" || fail "cannot open the lock file $lock"
flock -w 900 9 || fail "another run of this test holds $lock"

installed() { [ "$(dpkg-query -W -f='${db:Status-Status}' kestrune 2>/dev/null)" = installed ]; }
if installed || dpkg-query -W kestrune >/dev/null 2>&1; then
    fail "kestrune is already known to dpkg here; purge it first (apt-get purge kestrune)"
fi

rm -rf "$work"
mkdir -p "$work/home"
# Every file and folder of the system outside dpkg's and apt's records, logs, caches and
# temporary folders, and the caches the desktop triggers rewrite.
snapshot() {
    find /etc /opt /usr /var -xdev \
        \( -path /var/lib/dpkg -o -path /var/lib/apt -o -path /var/cache -o -path /var/log \
        -o -path /var/tmp -o -path /var/backups -o -path /var/lib/systemd \) -prune \
        -o ! -name icon-theme.cache ! -name mimeinfo.cache -print | sort
}
snapshot >"$work/before"

apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -q -y -o DPkg::Lock::Timeout=600 "$@"; }
trap 'installed && apt_get purge kestrune >/dev/null 2>&1' EXIT
apt_get install --no-install-recommends "$package" >"$work/install.log" 2>&1 ||
    fail "apt-get cannot install $package: $(tail -20 "$work/install.log")"
installed || fail "kestrune is not installed after apt-get install"
[ "$(command -v kestrune)" = /usr/bin/kestrune ] || fail "kestrune is not on PATH as /usr/bin/kestrune"

# Still running after five seconds, as a user would leave it; then ended by the timeout.
status=0
HOME=$work/home XDG_CONFIG_HOME= XDG_DATA_HOME= XDG_CACHE_HOME= \
    timeout 5 kestrune -platform offscreen >"$work/run.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "the installed kestrune ended with status $status: $(cat "$work/run.log")"

apt_get purge kestrune >"$work/purge.log" 2>&1 || fail "apt-get cannot purge kestrune: $(cat "$work/purge.log")"
if dpkg-query -W kestrune >/dev/null 2>&1; then
    fail "dpkg still knows kestrune after the purge"
fi
leftovers=(/var/lib/dpkg/info/kestrune.*)
[ ${#leftovers[@]} -eq 0 ] || fail "dpkg records left: ${leftovers[*]}"
snapshot >"$work/after"
changes=$(diff "$work/before" "$work/after" || true)
[ -z "$changes" ] || fail "install and purge changed the system:"$'\n'"$changes"
traces=$(find "$work/home" -iname '*kestrune*')
[ -z "$traces" ] || fail "the program left files in its home: $traces"
echo "installed, started and purged $(basename "$package"); nothing left behind"
