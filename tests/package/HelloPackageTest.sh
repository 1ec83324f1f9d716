#!/usr/bin/env bash
# SkinUI as another program sees it: installs the library from the build tree into a
# staging folder, builds examples/hello and examples/gallery against the installed package
# (find_package, the same toolchain), then runs hello under Wine, checks that its window
# shows and paints its skin, and closes it with its own close button.
#
# Runs inside the suite's environment (scripts/test: DISPLAY, WINEPREFIX, LANG).
#   HelloPackageTest.sh BUILD SOURCE TOOLCHAIN [LAUNCHER]
set -uo pipefail
BUILD=$1 SOURCE=$2 TOOLCHAIN=$3 LAUNCHER=${4:-}
WORK=$BUILD/package
STAGE=$WORK/stage
HELLO_BUILD=$WORK/hello
readonly TITLE='Hello SkinUI' SKIN_WIDTH=360 SKIN_HEIGHT=200
readonly BACKGROUND='#2B5797' # the skin's background colour

fail() { echo "FAIL: $*"; exit 1; }

rm -rf "$WORK"
cmake --install "$BUILD" --prefix "$STAGE" >"$WORK.install.log" 2>&1 ||
    { cat "$WORK.install.log"; fail "cmake --install"; }
[ -f "$STAGE/include/skinui/SkinUI.h" ] || fail "no include/skinui/SkinUI.h in the package"
[ -f "$STAGE/lib/cmake/SkinUI/SkinUIConfigVersion.cmake" ] || fail "no package version file"

# Every installed header compiles on its own, and the umbrella names every public one.
for header in $(cd "$STAGE/include/skinui" && find . -name '*.h' | sed 's|^\./||' | sort); do
    case "$header" in
    SkinUI.h | Version.h | render/HtmlLayout.h | render/HtmlMarkup.h | render/StbImage.h | \
        control/LayoutMath.h | core/ContainerGrowth.h | core/Sse2.h) ;;
    *) grep -q "^#include \"$header\"$" "$STAGE/include/skinui/SkinUI.h" ||
        fail "SkinUI.h does not include $header" ;;
    esac
done

launcher=()
[ -n "$LAUNCHER" ] && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER="$LAUNCHER")
cmake -S "$SOURCE/examples/hello" -B "$HELLO_BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_FIND_ROOT_PATH="$STAGE" "${launcher[@]}" >"$WORK/configure.log" 2>&1 ||
    { cat "$WORK/configure.log"; fail "configuring examples/hello against the package"; }
cmake --build "$HELLO_BUILD" >"$WORK/build.log" 2>&1 ||
    { cat "$WORK/build.log"; fail "building examples/hello"; }
grep -q -i 'warning' "$WORK/build.log" && { cat "$WORK/build.log"; fail "warnings building hello"; }
echo "PASS: examples/hello builds against the installed package"

# The gallery's CMakeLists also stands alone against the package.
GALLERY_BUILD=$WORK/gallery
cmake -S "$SOURCE/examples/gallery" -B "$GALLERY_BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_FIND_ROOT_PATH="$STAGE" "${launcher[@]}" >"$WORK/gallery-configure.log" 2>&1 ||
    { cat "$WORK/gallery-configure.log"; fail "configuring examples/gallery against the package"; }
cmake --build "$GALLERY_BUILD" >"$WORK/gallery-build.log" 2>&1 ||
    { cat "$WORK/gallery-build.log"; fail "building examples/gallery"; }
[ -f "$GALLERY_BUILD/gallery.exe" ] && [ -f "$GALLERY_BUILD/skin/gallery.xml" ] ||
    fail "no gallery.exe with its skin beside it"
echo "PASS: examples/gallery builds against the installed package"

wine "$HELLO_BUILD/hello.exe" </dev/null >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null' EXIT

window=""
for _ in $(seq 1 200); do
    for candidate in $(xdotool search --name '^Hello SkinUI$' 2>/dev/null); do
        [ "$(xdotool getwindowname "$candidate" 2>/dev/null)" = "$TITLE" ] && window=$candidate
    done
    [ -n "$window" ] && break
    kill -0 $pid 2>/dev/null || fail "hello.exe ended before showing its window"
    sleep 0.1
done
[ -n "$window" ] || fail "no window named \"$TITLE\" within 20 s"
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" -eq $SKIN_WIDTH ] && [ "$HEIGHT" -eq $SKIN_HEIGHT ] ||
    fail "window is ${WIDTH}x${HEIGHT}, the skin says ${SKIN_WIDTH}x${SKIN_HEIGHT}"
echo "PASS: the window shows at ${X},${Y}, ${WIDTH}x${HEIGHT}"

# The skin's background, painted: sampled in the empty middle of the window.
colour=""
for _ in $(seq 1 50); do
    colour=$(import -window root -crop "1x1+$((X + SKIN_WIDTH / 2))+$((Y + SKIN_HEIGHT / 2))" -depth 8 txt:- 2>/dev/null |
        grep -o '#[0-9A-F]\{6\}' | head -n 1)
    [ "$colour" = "$BACKGROUND" ] && break
    sleep 0.1
done
[ "$colour" = "$BACKGROUND" ] || fail "the window's middle is $colour, not the skin's $BACKGROUND"
echo "PASS: the window paints its skin"

# The skin's close button (named closebtn) sits at the top right, inside the inset.
xdotool mousemove $((X + SKIN_WIDTH - 16 - 12)) $((Y + 8 + 12)) click 1
for _ in $(seq 1 100); do
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
done
kill -0 $pid 2>/dev/null && fail "hello.exe still runs 10 s after its close button was clicked"
wait $pid
status=$?
trap - EXIT
[ $status -eq 0 ] || fail "hello.exe ended with $status"
echo "PASS: the close button ends the program"
