# Sourced by tools/package.sh and tools/bench.sh: how Debian builds and where
# this machine's apt fetches from.

# The CMake options of a build with Debian's compiler and linker flags
# (dpkg-buildflags: -O2, _FORTIFY_SOURCE, the stack protector, RELRO, and
# whatever DEB_BUILD_MAINT_OPTIONS adds), one a line. CMake reads no
# CPPFLAGS, so they go in front of the compiler flags; the build type None
# adds nothing of its own, as Debian's cmake builds do.
debian_cmake_flags() {
    local cppflags cxxflags ldflags
    cppflags=$(dpkg-buildflags --get CPPFLAGS)
    cxxflags=$(dpkg-buildflags --get CXXFLAGS)
    ldflags=$(dpkg-buildflags --get LDFLAGS)
    printf '%s\n' -DCMAKE_BUILD_TYPE=None "-DCMAKE_CXX_FLAGS=$cppflags $cxxflags" \
        "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" "-DCMAKE_SHARED_LINKER_FLAGS=$ldflags"
}

# The Debian mirror this machine's apt uses.
#   debian_mirror [APT_DIR] [SUITE]
# prints the URI of the first enabled "deb" source of SUITE (default
# bookworm) in the sources in force under APT_DIR (default /etc/apt):
# sources.list, then sources.list.d/*.list and *.sources (deb822) in name
# order, as apt reads them. Prints nothing and fails when there is none.
debian_mirror() {
    local apt_dir=${1:-/etc/apt} suite=${2:-bookworm} f
    local files=()
    [ -f "$apt_dir/sources.list" ] && files+=("$apt_dir/sources.list")
    for f in "$apt_dir"/sources.list.d/*; do
        case $f in *.list | *.sources) [ -f "$f" ] && files+=("$f") ;; esac
    done
    [ ${#files[@]} -gt 0 ] || return 1
    local uri
    uri=$(for f in "${files[@]}"; do
        case $f in
            *.sources) _deb822_uris "$suite" <"$f" ;;
            *) _one_line_uris "$suite" <"$f" ;;
        esac
    done | head -n 1)
    [ -n "$uri" ] || return 1
    echo "${uri%/}"
}

# One-line format: deb [options] URI SUITE COMPONENT...
_one_line_uris() {
    awk -v suite="$1" '
        { sub(/#.*/, "") }
        $1 != "deb" { next }
        {
            i = 2
            if ($i ~ /^\[/) { while (i <= NF && $i !~ /\]$/) i++; i++ }
            if ($(i + 1) == suite) print $i
        }'
}

# deb822: stanzas of "Field: value" lines separated by blank lines.
_deb822_uris() {
    awk -v suite="$1" '
        function flush() {
            if (types ~ /(^| )deb( |$)/ && enabled != "no" && (" " suites " ") ~ (" " suite " "))
                print uris
            types = ""; uris = ""; suites = ""; enabled = ""
        }
        /^[ \t]*#/ { next }
        /^[ \t]*$/ { flush(); next }
        {
            field = tolower($1); sub(/:$/, "", field)
            value = $0; sub(/^[^:]*:[ \t]*/, "", value); sub(/[ \t]+$/, "", value)
            if (field == "types") types = value
            else if (field == "uris") { split(value, u, /[ \t]+/); uris = u[1] }
            else if (field == "suites") suites = value
            else if (field == "enabled") enabled = tolower(value)
        }
        END { flush() }'
}
