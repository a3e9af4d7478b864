#!/usr/bin/env bash
# `cmake --install` to ~/.local under a scratch home, as the README says, with
# the window used between two installs: the tick and the setting made after
# the first install are still there after the second, a catalogue the second
# install changed is the one read, and the program itself writes nothing
# under the prefix. Then the same files seen through an install to a second
# prefix.
#   install_roundtrip.sh BUILD_DIR SESSION_PROGRAM
set -euo pipefail
build=$1
session=$2

home=$(mktemp -d "${TMPDIR:-/tmp}/t27-home.XXXXXX")
trap 'rm -rf "$home"' EXIT
export HOME=$home
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_STATE_HOME
export XDG_RUNTIME_DIR=$home/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen
prefix=$HOME/.local
shipped=$prefix/share/t27-controller
user=$HOME/.config/t27-controller

fail() {
    echo "install_roundtrip: $*" >&2
    exit 1
}
install_to() {
    cmake --install "$build" --prefix "$1" >"$home/install.log" 2>&1 || { cat "$home/install.log"; fail "install to $1 failed"; }
}
# Every file and folder under the prefix with its size, time and contents:
# a file written again unchanged, or a probe made and removed, shows too.
snapshot() {
    (cd "$1" && find . -printf '%y %p %s %T@\n' | sort && find . -type f -print0 | sort -z | xargs -0 sha256sum)
}
value() {  # key, session output
    sed -n "s/^$1=//p" <<<"$2"
}
expect() {  # what, wanted, got
    [ "$2" = "$3" ] || fail "$1: wanted '$2', got '$3'"
}
first_timing_of() {
    sed -n '2{s/\r$//;s/^"//;s/"$//;p;q}' "$1"
}

install_to "$prefix"
# The release installed first shipped another name for the first timing.
sed -i '2s/^.*$/"Old release timing"\r/' "$shipped/v4_timing_pattern.ini"
before=$(snapshot "$prefix")

out=$("$session" "$prefix/bin" tick) || fail "first session: $out"
expect "shipped folder" "$shipped" "$(value shipped "$out")"
expect "user folder" "$user" "$(value user "$out")"
expect "first timing, first release" "Old release timing" "$(value timing1 "$out")"
ticked=$(value favourite_timings "$out")
[[ " $ticked" == *" 3 "* ]] || fail "the tick of timing 3 is not among the favourites: '$ticked'"
shown=$(env T27_SHOWN_EXIT=1 "$prefix/bin/t27-controller") || fail "t27-controller did not run"
expect "installed t27-controller" "shown" "$shown"

[ "$(snapshot "$prefix")" = "$before" ] || {
    diff <(echo "$before") <(snapshot "$prefix") >&2 || true
    fail "the programs wrote under the prefix"
}
for f in Daveri_ini.txt v4_timing_pattern_fav.ini; do
    [ -s "$user/$f" ] || fail "$f is not in $user"
done
[ ! -e "$user/v4_timing_pattern.ini" ] || fail "the shipped catalogue was copied to $user"

install_to "$prefix"
new_name=$(first_timing_of "$shipped/v4_timing_pattern.ini")
[ -n "$new_name" ] && [ "$new_name" != "Old release timing" ] || fail "the second install did not replace the catalogue"
out=$("$session" "$prefix/bin" show) || fail "second session: $out"
expect "first timing after the upgrade" "$new_name" "$(value timing1 "$out")"
expect "favourites after the second install" "$ticked" "$(value favourite_timings "$out")"
expect "interface after the second install" "1" "$(value interface "$out")"

# Installed again somewhere else: the same user's files, untouched by it.
install_to "$HOME/opt"
out=$("$session" "$HOME/opt/bin" show) || fail "session of the second prefix: $out"
expect "shipped folder of the second prefix" "$HOME/opt/share/t27-controller" "$(value shipped "$out")"
expect "favourites seen from the second prefix" "$ticked" "$(value favourite_timings "$out")"
expect "interface seen from the second prefix" "1" "$(value interface "$out")"
echo "install_roundtrip: ticks and settings kept over two installs; the new catalogue read"
