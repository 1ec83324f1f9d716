# Shared by scripts/run, scripts/test and scripts/bench: build, then a private
# Wine prefix, a persistent wineserver and a free X display, all stopped on exit.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD=${BUILD:-$ROOT/build}
export BUILD

# varnel_configure DIR TOOLCHAIN [CMAKE ARGUMENTS...]: a Ninja build tree, configured once.
varnel_configure() {
    local dir=$1 toolchain=$2
    shift 2
    [ -f "$dir/build.ninja" ] && return 0
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache
                                              -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$toolchain" \
        -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" "$@" >/dev/null
}

varnel_build() {
    "$ROOT/scripts/setup"
    varnel_configure "$BUILD" mingw-w64-x86_64.cmake
    # Paths relative to the checkout, so other checkouts of the tree share the cache.
    export CCACHE_BASEDIR="$ROOT"
    cmake --build "$BUILD" -- -j"$(nproc)"
}

# The second compiler: everything built again with Clang and LLD for the same target, in
# $BUILD/clang, where any warning fails the build. Nothing of it runs.
varnel_build_clang() {
    varnel_configure "$BUILD/clang" mingw-w64-x86_64-clang.cmake \
        -DVARNEL_DEPS_DIR="$BUILD/deps" -DVARNEL_WARNINGS_AS_ERRORS=ON
    export CCACHE_BASEDIR="$ROOT"
    cmake --build "$BUILD/clang" -- -j"$(nproc)"
}

VARNEL_XVFB_PID=""
varnel_cleanup() {
    # Only the wineserver this run started: another run's must keep going.
    if [ -n "${VARNEL_WINESERVER_STARTED:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
        VARNEL_WINESERVER_STARTED=""
    fi
    if [ -n "$VARNEL_XVFB_PID" ]; then
        kill "$VARNEL_XVFB_PID" >/dev/null 2>&1 || true
        wait "$VARNEL_XVFB_PID" 2>/dev/null || true
        VARNEL_XVFB_PID=""
    fi
}

# Starts Xvfb on the first free display and exports DISPLAY, with a resource file as a
# desktop session has one. With no X resources at all, Xlib reads its resource files again
# on every lookup, and Wine looks its font settings up on every font selection: that made
# a list of thousands of items half again as slow to lay out as on a desktop.
varnel_start_xvfb() {
    mkdir -p "$BUILD"
    printf 'varnel.session: test\n' >"$BUILD/xresources"
    export XENVIRONMENT="$BUILD/xresources"
    local n
    for n in $(seq 91 160); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
        VARNEL_XVFB_PID=$!
        local i
        for i in $(seq 1 100); do
            [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
            kill -0 "$VARNEL_XVFB_PID" 2>/dev/null || break
            sleep 0.05
        done
        kill "$VARNEL_XVFB_PID" >/dev/null 2>&1 || true
        VARNEL_XVFB_PID=""
    done
    echo "no free X display" >&2
    return 1
}

# Private prefix in the build tree and a wineserver that lives for the run.
varnel_start_wine() {
    export WINEPREFIX="$BUILD/wineprefix"
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEARCH=win64
    export WINEDLLOVERRIDES="mscoree=;mshtml="
    trap varnel_cleanup EXIT
    trap 'varnel_cleanup; exit 130' INT TERM
    [ -n "${DISPLAY:-}" ] || varnel_start_xvfb
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix in $WINEPREFIX"
        varnel_env wineboot -i >/dev/null 2>&1 || true
        varnel_env wineserver -w || true
    fi
    varnel_wine_managed "${VARNEL_WINE_MANAGED:-N}"
    if ! varnel_env wineserver -p; then
        echo "A wineserver is already running for $WINEPREFIX (another run, or one left over)." >&2
        echo "Stop it with: WINEPREFIX=$WINEPREFIX wineserver -k" >&2
        exit 1
    fi
    VARNEL_WINESERVER_STARTED=1
    # Start Wine's own services now, detached from our output: started by the
    # first test they would inherit its pipes and keep CTest waiting.
    varnel_env wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# varnel_wine_managed Y|N: whether a window manager may manage the prefix's windows.
# Without one (a private Xvfb), managed windows make Wine wait about two seconds on every
# destroy or hide for an answer that never comes, so the tests' prefix says N. Every Wine
# process reads the value once as it starts, the desktop process that hosts the tray too,
# so it is written before the run's wineserver starts, by a server of its own that has
# ended (and saved it to user.reg) when this returns; a prefix that has it already is not
# touched.
varnel_wine_managed() {
    local value=$1
    grep -qx "\"Managed\"=\"$value\"" "$WINEPREFIX/user.reg" 2>/dev/null && return 0
    varnel_env wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$value" /f \
        </dev/null >/dev/null 2>&1 || true
    varnel_env wineserver -w || true
}

# Runs a command with the locale Wine takes its code page from: 936 and CJK font
# links, as on the players' machines. Passed through env so this shell does not
# need the locale installed.
varnel_env() {
    env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$@"
}
