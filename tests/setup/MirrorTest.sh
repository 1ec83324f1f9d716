#!/usr/bin/env bash
# scripts/setup fetches source packages from the mirror of the machine's own apt lists and
# from nowhere else: read from either list format, and a clear stop without one.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/scripts/lib/mirror.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
expect() { # what, expected, actual
    if [ "$2" == "$3" ]; then
        echo "PASS $1"
    else
        echo "FAIL $1: expected '$2', got '$3'"
        failures=$((failures + 1))
    fi
}

# deb822 lists: the security archive, a disabled source and comments are passed over.
etc=$work/deb822
mkdir -p "$etc/sources.list.d"
cat > "$etc/sources.list.d/debian.sources" <<'LIST'
Types: deb
# URIs: http://commented.example/debian
URIs: http://mirror.example/debian-security
Suites: bookworm-security
Components: main

Types: deb
Enabled: no
URIs: http://off.example/debian
Suites: bookworm

Types: deb deb-src
URIs: http://first.example/debian http://second.example/debian
Suites: bookworm bookworm-updates
Components: main
LIST
expect "deb822 list" "http://first.example/debian" "$(machine_mirror "$etc")"

# One-line lists, with options in brackets before the address.
etc=$work/one-line
mkdir -p "$etc/sources.list.d"
cat > "$etc/sources.list" <<'LIST'
# deb http://commented.example/debian bookworm main
deb [arch=amd64 signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://line.example/debian bookworm main
LIST
expect "one-line list with options" "http://line.example/debian" "$(machine_mirror "$etc")"
echo "deb http://plain.example/debian bookworm main" > "$etc/sources.list"
expect "one-line list" "http://plain.example/debian" "$(machine_mirror "$etc")"

# No list, or only the security archive: no address at all, never one of the script's own.
etc=$work/none
mkdir -p "$etc/sources.list.d"
expect "no lists" "" "$(machine_mirror "$etc")"
echo "deb http://mirror.example/debian-security bookworm-security main" > "$etc/sources.list"
expect "only the security archive" "" "$(machine_mirror "$etc")"

# Setup itself stops with a message naming the lists, and writes no sources list.
# (Its packages are installed by now, so it goes straight to the source packages.)
build=$work/build
output=$(BUILD=$build VARNEL_APT_ETC=$etc "$ROOT/scripts/setup" 2>&1)
status=$?
expect "setup without a mirror fails" "1" "$status"
case "$output" in
*"apt source lists"*) expect "setup says why" "yes" "yes" ;;
*) expect "setup says why" "message naming the apt source lists" "$output" ;;
esac
expect "setup wrote no sources list" "" "$(cat "$build/deps/apt/deps.sources" 2>/dev/null)"

# No script carries an archive address of its own.
addresses=$(grep -n -E '(https?|ftp)://[A-Za-z0-9-]+\.[A-Za-z]' "$ROOT/scripts/setup" \
    "$ROOT/scripts/lib/"*.sh)
expect "no archive address in the scripts" "" "$addresses"

[ "$failures" -eq 0 ]
