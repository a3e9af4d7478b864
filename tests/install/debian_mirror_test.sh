#!/usr/bin/env bash
# debian_mirror (tools/debian.sh) against apt configurations of the kinds
# machines have: one-line and deb822 files, options, comments, disabled
# stanzas and files apt does not read.
#   debian_mirror_test.sh tools/debian.sh
set -euo pipefail
# shellcheck source=/dev/null
source "$1"
root=$(mktemp -d "${TMPDIR:-/tmp}/t27-apt.XXXXXX")
trap 'rm -rf "$root"' EXIT
failed=0
case_of() {  # name, wanted ("" for none); the files are in $root/$name
    local got
    got=$(debian_mirror "$root/$1") || got=""
    if [ "$got" != "$2" ]; then
        echo "debian_mirror_test: $1: wanted '$2', got '$got'" >&2
        failed=1
    fi
}
add() {  # case, file, contents
    mkdir -p "$(dirname "$root/$1/$2")"
    printf '%s\n' "$3" >"$root/$1/$2"
}

add one-line sources.list '# deb http://old.example/debian bookworm main
deb-src http://src.example/debian bookworm main
deb [arch=amd64 signed-by=/k.gpg] http://mirror.example/debian/ bookworm main contrib
deb http://later.example/debian bookworm main'
case_of one-line http://mirror.example/debian

add deb822 sources.list.d/debian.sources 'Types: deb
# http://snapshot.example/archive
URIs: http://deb.example/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://deb.example/debian-security
Suites: bookworm-security
Components: main'
add deb822 sources.list.d/other.list.disabled-by-farm 'deb http://off.example/debian bookworm main'
case_of deb822 http://deb.example/debian

add disabled sources.list.d/a.sources 'Enabled: no
Types: deb
URIs: http://disabled.example/debian
Suites: bookworm'
add disabled sources.list.d/b.sources 'types: deb-src deb
uris: https://on.example/debian
suites: bookworm'
case_of disabled https://on.example/debian

add security-only sources.list 'deb http://security.example/debian-security bookworm-security main'
case_of security-only ""
mkdir -p "$root/empty"
case_of empty ""
add sid sources.list 'deb http://sid.example/debian sid main'
case_of sid ""
[ "$(debian_mirror "$root/sid" sid)" = http://sid.example/debian ] || { echo "debian_mirror_test: suite argument" >&2; failed=1; }

[ $failed -eq 0 ] && echo "debian_mirror_test: all cases"
exit $failed
