#!/usr/bin/env bash
# Builds the Debian package from the build folder (cpack -G DEB) and checks it
# with lintian; with --verify, also proves it installs and runs on a Debian 12
# machine that has nothing else:
#   bash tools/package.sh            # build-deb/ (or $BUILD_DIR) -> build-deb/t27-controller_<v>_amd64.deb
#   bash tools/package.sh --verify   # ... then install it into a minimal bookworm root and run it
# The package is built as Debian builds its own: in a tree of its own with
# dpkg-buildflags' compiler and linker flags (fortify, stack protector,
# relro, and -z now: see docs/performance.md), without the test suite.
# The minimal root is made once with debootstrap and kept in $T27_VERIFY_CACHE
# (default /var/cache/t27-controller/bookworm); each check works on a copy.
# Its mirror is the one this machine's apt uses (/etc/apt/sources.list and
# sources.list.d), unless $T27_DEBIAN_MIRROR names another.
# Needs root for --verify (debootstrap, chroot, mount).
set -euo pipefail
cd "$(dirname "$0")/.."
root_dir=$PWD
build_dir=${BUILD_DIR:-build-deb}
# shellcheck source=tools/debian.sh
source tools/debian.sh
verify=0
for a in "$@"; do
    case $a in
        --verify) verify=1 ;;
        *) echo "usage: tools/package.sh [--verify]" >&2; exit 64 ;;
    esac
done

need=(dpkg-dev file lintian)
[ $verify -eq 1 ] && need+=(debootstrap)
bash tools/need_packages.sh "${need[@]}"

# -z now as well: it cost no start-up time measurably (docs/performance.md).
export DEB_BUILD_MAINT_OPTIONS=${DEB_BUILD_MAINT_OPTIONS:-hardening=+bindnow}
mapfile -t flags < <(debian_cmake_flags)
cmake -S . -B "$build_dir" -G Ninja "${flags[@]}" -DT27_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j2

# ---- the package --------------------------------------------------------------
rm -f "$build_dir"/t27-controller_*.deb
(cd "$build_dir" && cpack -G DEB >cpack.log 2>&1) || { cat "$build_dir/cpack.log"; exit 1; }
deb=$(ls "$build_dir"/t27-controller_*_amd64.deb)
echo "== $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Suggests Section Installed-Size
dpkg-deb --contents "$deb" | awk '{print $6}' | grep -v '/$' | grep -v '/bmp/'

# What lintian's hardening tags look for, checked on the programs themselves.
echo "== hardening"
for prog in t27-controller t27ctl t27-unit-sim t27ctl-link; do
    f=$build_dir/bin/$prog
    readelf -lW "$f" | grep -q GNU_RELRO || { echo "tools/package.sh: $prog has no RELRO" >&2; exit 1; }
    syms=$(readelf -sW --dyn-syms "$f")
    protector=$(grep -c '__stack_chk_fail' <<<"$syms" || true)
    fortified=$(grep -c '__[a-z_]*_chk@' <<<"$syms" || true)
    bindnow=$(readelf -dW "$f" | grep -c 'BIND_NOW' || true)
    echo "$prog: relro; stack protector: $([ "$protector" -gt 0 ] && echo yes || echo no);" \
        "$fortified fortified calls; bind now: $([ "$bindnow" -gt 0 ] && echo yes || echo no)"
done

# Errors fail the build; warnings and notes are listed for the record.
echo "== lintian"
lintian_out=$(lintian --display-info --tag-display-limit 0 "$deb" 2>&1 | grep -v 'root privileges') || true
echo "${lintian_out:-(no tags)}"
if grep -q '^E: ' <<<"$lintian_out"; then
    echo "tools/package.sh: lintian reports errors" >&2
    exit 1
fi

[ $verify -eq 1 ] || exit 0

# ---- install and run it on a bare Debian 12 ------------------------------------------
cache=${T27_VERIFY_CACHE:-/var/cache/t27-controller/bookworm}
mirror=${T27_DEBIAN_MIRROR:-$(debian_mirror || true)}
if [ -z "$mirror" ]; then
    echo "tools/package.sh: no bookworm source in /etc/apt; set T27_DEBIAN_MIRROR" >&2
    exit 1
fi
security=$(debian_mirror /etc/apt bookworm-security || echo "${mirror%/debian}/debian-security")
echo "== Debian mirror: $mirror (security: $security)"
if [ ! -x "$cache/bin/sh" ]; then
    echo "== debootstrap into $cache (kept for the next run)"
    rm -rf "$cache.new"
    mkdir -p "$(dirname "$cache")"
    debootstrap --variant=minbase bookworm "$cache.new" "$mirror" >"$build_dir/debootstrap.log" 2>&1 ||
        { tail -30 "$build_dir/debootstrap.log"; exit 1; }
    cat >"$cache.new/etc/apt/sources.list" <<SOURCES
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb $security bookworm-security main
SOURCES
    mv "$cache.new" "$cache"
fi

work=$(mktemp -d /var/tmp/t27-verify.XXXXXX)
cleanup() {
    umount "$work/proc" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
echo "== a copy of the bare root in $work"
cp -a "$cache/." "$work/"
mount -t proc proc "$work/proc"
cp "$deb" "$work/tmp/"
cp tests/data/edid/hdmi-tv-hd.bin "$work/tmp/sample.bin"
in_root() { chroot "$work" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@"; }

echo "== apt-get install ./$(basename "$deb") (its Depends bring everything else)"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "/tmp/$(basename "$deb")" >"$build_dir/verify-install.log" 2>&1 ||
    { tail -30 "$build_dir/verify-install.log"; exit 1; }
# Later runs take the same packages from the cache instead of the network.
cp -n "$work"/var/cache/apt/archives/*.deb "$cache/var/cache/apt/archives/" 2>/dev/null || true

echo "== runs inside the root, as a user who may not write to /usr"
in_root useradd --create-home tester
as_user() { chroot --userspec=tester:tester "$work" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/home/tester "$@"; }
as_user t27ctl --version
as_user t27-unit-sim --version
as_user t27-controller --version
as_user t27ctl edid report /tmp/sample.bin >"$work/tmp/report.txt"
head -4 "$work/tmp/report.txt"
test -s "$work/usr/share/man/man1/t27ctl.1.gz"
test -s "$work/usr/share/bash-completion/completions/t27ctl"

# As that user, and as root (who could write beside the program but must not):
# the shipped files are found in /usr/share and the settings land in the
# user's data folder.
check_user_files() {  # home
    local dir=$work$1/.config/t27-controller f
    for f in Daveri_ini.txt v4_timing_pattern_fav.ini; do
        if [ ! -s "$dir/$f" ]; then
            echo "tools/package.sh: $f is not in $1/.config/t27-controller" >&2
            ls -la "$dir" >&2 || true
            exit 1
        fi
    done
    # The catalogue is read where the package put it, so an upgrade reaches it.
    if [ -e "$dir/v4_timing_pattern.ini" ]; then
        echo "tools/package.sh: the shipped catalogue was copied to $1/.config/t27-controller" >&2
        exit 1
    fi
}
as_user env QT_QPA_PLATFORM=offscreen T27_SHOWN_EXIT=1 t27-controller >/dev/null
check_user_files /home/tester
mkdir -p "$work/tmp/roothome"
in_root env HOME=/tmp/roothome QT_QPA_PLATFORM=offscreen T27_SHOWN_EXIT=1 t27-controller >/dev/null
check_user_files /tmp/roothome
if [ -n "$(find "$work/usr" -name Daveri_ini.txt)" ]; then
    echo "tools/package.sh: settings were written under /usr" >&2
    exit 1
fi
echo "== installed and ran: shipped files from /usr/share/t27-controller, settings in ~/.config"
