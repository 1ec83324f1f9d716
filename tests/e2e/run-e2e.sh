#!/usr/bin/env bash
# End-to-end test of the micro-client: starts copies of the real, stamped microclient.exe
# under Wine and drives them from outside, the way a player would. Input goes through the
# X server (xdotool); e2e_probe.exe answers questions about windows from inside Wine; the
# stand-in browser takes the system browser's place and logs what it was asked; a recorder
# takes the place of the program that opens http addresses.
#
# Runs inside the suite's environment (scripts/test: DISPLAY, WINEPREFIX, LANG). It never
# touches that prefix: it runs in a private copy with its own wineserver, where the
# stand-in and the recorder are registered, and throws the copy away at the end.
# Each check prints one PASS or FAIL line; the exit code is 1 when any check failed.
#
#   run-e2e.sh --client EXE --stand-in DLL --probe EXE --recorder EXE --out DIR
set -uo pipefail

usage() {
    echo "usage: run-e2e.sh --client EXE --stand-in DLL --probe EXE --recorder EXE --out DIR" >&2
    exit 2
}

CLIENT="" STANDIN="" PROBE="" RECORDER="" OUT=""
while [ $# -gt 0 ]; do
    [ $# -ge 2 ] || usage
    case "$1" in
    --client) CLIENT=$2 ;;
    --stand-in) STANDIN=$2 ;;
    --probe) PROBE=$2 ;;
    --recorder) RECORDER=$2 ;;
    --out) OUT=$2 ;;
    *) usage ;;
    esac
    shift 2
done
[ -n "$CLIENT" ] && [ -n "$STANDIN" ] && [ -n "$PROBE" ] && [ -n "$RECORDER" ] && [ -n "$OUT" ] ||
    usage
if [ -z "${DISPLAY:-}" ] || [ -z "${WINEPREFIX:-}" ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "run-e2e.sh needs the suite's display and Wine prefix: run it through scripts/test" >&2
    exit 2
fi
for tool in wine wineserver xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "run-e2e.sh: $tool is missing" >&2; exit 2; }
done

mkdir -p "$OUT" && OUT=$(cd "$OUT" && pwd) || exit 2

# What the client is configured and stamped with, and what the stand-in shows.
readonly GAME_ADDRESS='http://www.varnel.example/game/play?client=pc&server=1'
readonly SERVICE_ADDRESS='http://www.varnel.example/ServiceCenter'
readonly STANDIN_CLASS=VarnelStandInBrowser
readonly FRAME_WIDTH=1112 FRAME_HEIGHT=645
readonly WEB_LEFT=301 WEB_TOP=139 WEB_WIDTH=700 WEB_HEIGHT=430
readonly MIN_BUTTON_X=991 MIN_BUTTON_Y=118     # centre of miniRect 981,108,1002,129
readonly CLOSE_BUTTON_X=1022 CLOSE_BUTTON_Y=137 # centre of closeRect 1009,124,1035,150
readonly RESTORED_WIDTH=1286 RESTORED_HEIGHT=768
readonly QUIT_QUESTION='正在游戏是否退出？'
readonly ALREADY_RUNNING='微端已经运行了。'
readonly DIALOG_CAPTION='提示'
# Window messages and their arguments.
readonly WM_SYSCOMMAND=0x0112 SC_RESTORE=0xF120
readonly TRAY_CALLBACK=0x0401 WM_RBUTTONDOWN=0x0204
readonly IDOK=1 IDYES=6 IDNO=7

RUN=$OUT/run
PREFIX=$RUN/prefix
SUITE_PREFIX=$WINEPREFIX
CLIENT_PID=""
failures=0
started=$SECONDS

# --- reporting ---------------------------------------------------------------------------

pass() { echo "PASS $*"; }
fail() {
    echo "FAIL $*"
    failures=$((failures + 1))
}
# check NAME COMMAND...: PASS when the command succeeds.
check() {
    local name=$1
    shift
    if "$@"; then pass "$name"; else fail "$name"; fi
}
note() { echo "     $*"; }

# --- Wine, probe and input helpers ---------------------------------------------------------

# Windows path of a file in the Unix tree (Z: is the root).
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# The probe's arguments may hold CJK text: Wine converts them with the C library's
# character set, which must be UTF-8 (the suite's zh_CN locale may not be installed).
probe() { env -u LC_ALL LC_CTYPE=C.UTF-8 wine "$PROBE" "$@" 2>/dev/null; }

# field LINE KEY: the value of "KEY=value" in a probe line (the text runs to the end).
field() {
    if [ "$2" = text ]; then
        printf '%s' "${1#* text=}"
    elif [[ " $1" =~ \ $2=([^ ]*) ]]; then
        printf '%s' "${BASH_REMATCH[1]}"
    fi
}

# rect LINE KEY: sets L T R B from a "KEY=l,t,r,b" field.
rect() { IFS=, read -r L T R B <<<"$(field "$1" "$2")"; }

click() { xdotool mousemove --sync "$1" "$2" click 1; }

screenshot() { import -window root "$1"; }

# crop SHOT LEFT TOP WIDTH HEIGHT OUT
crop() { convert "$1" -crop "${4}x${5}+${2}+${3}" +repage "$6"; }

# light_pixels SHOT LEFT TOP WIDTH HEIGHT: how many pixels of the region are light.
light_pixels() {
    convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -colorspace gray -threshold 75% \
        -format '%[fx:round(mean*w*h)]' info:
}

# poll TIMEOUT_S COMMAND...: runs the command until it succeeds or the time is up.
poll() {
    local limit=$1
    shift
    local deadline=$((SECONDS + limit))
    until "$@"; do
        [ $SECONDS -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

log_has() { grep -qxF -- "$2" "$1" 2>/dev/null; }

# The game window's notification icon (id 0) is there.
has_tray() { probe tray "$PLAY" 0 >/dev/null; }

# becomes WINDOW STATE [TIMEOUT_MS]: waits (10 s by default) until the window is in that state.
# On a time-out it notes the state the window was left in.
becomes() {
    local state
    state=$(probe wait "$1" "$2" --timeout "${3:-10000}") && return 0
    note "not $2: $state"
    return 1
}

# --- the private prefix ------------------------------------------------------------------

stop_everything() {
    if [ -n "$CLIENT_PID" ]; then
        kill "$CLIENT_PID" 2>/dev/null
        wait "$CLIENT_PID" 2>/dev/null
        CLIENT_PID=""
    fi
    # Ends whatever still runs in the private prefix, then the prefix's server.
    if [ "${WINEPREFIX:-}" = "$PREFIX" ]; then
        wineserver -k >/dev/null 2>&1
        wineserver -w >/dev/null 2>&1
    fi
    rm -rf "$PREFIX"
}
trap stop_everything EXIT
trap 'exit 130' INT TERM

# A copy of the suite's prefix. Wine rewrites registry and ini files in place, so all
# of it is copied except the large DLL folders, which Wine never writes after set-up and
# which are hard-linked (a full copy costs about 700 MB).
make_prefix() {
    rm -rf "$RUN"
    mkdir -p "$PREFIX"
    local shared=(drive_c/windows/system32 drive_c/windows/syswow64 drive_c/windows/winsxs)
    local excluded=() folder
    for folder in "${shared[@]}"; do excluded+=(--exclude="./$folder"); done
    tar -C "$SUITE_PREFIX" "${excluded[@]}" --exclude=./wineserver -cf - . |
        tar -C "$PREFIX" -xf - || return 1
    for folder in "${shared[@]}"; do
        [ -d "$SUITE_PREFIX/$folder" ] || continue
        cp -al "$SUITE_PREFIX/$folder" "$PREFIX/$folder" 2>/dev/null ||
            cp -a "$SUITE_PREFIX/$folder" "$PREFIX/$folder" || return 1
    done
    # Wine's virtual desktop as large as the X screen, so Win32 and X coordinates agree:
    # without a window manager Wine leaves a maximised window at its old size on screen
    # (it waits for the manager to resize it), while in its own desktop it places and
    # sizes windows as Windows does, and its taskbar carries the tray icons.
    local size
    size=$(xdotool getdisplaygeometry | tr ' ' x)
    printf '\n[Software\\\\Wine\\\\Explorer] 0\n"Desktop"="Default"\n' >>"$PREFIX/user.reg"
    printf '\n[Software\\\\Wine\\\\Explorer\\\\Desktops] 0\n"Default"="%s"\n' "$size" >>"$PREFIX/user.reg"
    export WINEPREFIX=$PREFIX
    # Lingers only seconds after the last process, should this script be killed outright.
    wineserver -p10 || return 1
    # Wine's own services start now, detached from CTest's pipes.
    wine cmd /c exit </dev/null >/dev/null 2>&1
    # The stand-in answers for the system browser's class id; the recorder opens http.
    wine regsvr32 /s "$(winpath "$STANDIN")" </dev/null >/dev/null 2>&1 || return 1
    wine reg add 'HKCR\http\shell\open\command' /ve /f \
        /d "\"$(winpath "$RECORDER")\" \"%1\"" </dev/null >/dev/null 2>&1
}

# --- the client ----------------------------------------------------------------------------

# start_client EXE NAME: starts a client with its own stand-in log, NAME.log.
start_client() {
    VARNEL_STANDIN_LOG=$(winpath "$RUN/$2.log") VARNEL_E2E_RECORD=$(winpath "$RUN/http.txt") \
        wine "$1" </dev/null >"$RUN/$2.out" 2>&1 &
    CLIENT_PID=$!
}

# wait_exit PID TIMEOUT_S: waits for a client to end; EXIT_CODE is its exit code.
EXIT_CODE=""
wait_exit() {
    EXIT_CODE=""
    poll "$2" eval "! kill -0 $1 2>/dev/null" || return 1
    wait "$1"
    EXIT_CODE=$?
}

running() { kill -0 "$CLIENT_PID" 2>/dev/null; }

# answer_dialog TEXT BUTTON PID: finds the "提示" box of process PID, checks its text and
# clicks the button; DIALOG is its handle.
DIALOG=""
answer_dialog() {
    local answer button x y
    answer=$(probe dialog "$DIALOG_CAPTION" --pid "$3" --timeout 5000) || return 1
    DIALOG=$(field "$answer" hwnd)
    local message
    message=$(sed -n 's/^message=//p' <<<"$answer")
    if [ "$message" != "$1" ]; then
        note "dialog says \"$message\""
        return 1
    fi
    button=$(grep "^button=$2 " <<<"$answer") || return 1
    x=$(field "$button" x)
    y=$(field "$button" y)
    click "$x" "$y"
    becomes "$DIALOG" gone
}

# --- the checks ----------------------------------------------------------------------------

LOGIN="" WEB="" PLAY="" PID=""

check_login_frame() {
    local web login work
    web=$(probe find Varnel KestoWindow --visible --timeout 15000) ||
        { fail "login frame and web window appear"; return 1; }
    WEB=$web
    web=$(probe info "$WEB")
    LOGIN=$(field "$web" owner)
    login=$(probe info "$LOGIN")
    PID=$(field "$login" pid)
    check "login frame appears (class Varnel, text Varnel, visible)" \
        test "$(field "$login" class) $(field "$login" text) $(field "$login" visible)" = "Varnel Varnel 1"
    rect "$login" window
    local left=$L top=$T right=$R bottom=$B
    check "login frame is ${FRAME_WIDTH} x ${FRAME_HEIGHT}" \
        test "$((right - left))x$((bottom - top)) $(field "$login" client)" = \
        "${FRAME_WIDTH}x${FRAME_HEIGHT} ${FRAME_WIDTH},${FRAME_HEIGHT}"
    work=$(probe work-area "$LOGIN")
    rect "$work" work
    local x=$(((L + R) / 2 - FRAME_WIDTH / 2)) y=$(((T + B) / 2 - FRAME_HEIGHT / 2))
    check "login frame is centred in the work area (at $x,$y)" \
        test $((left - x)) -ge -1 -a $((left - x)) -le 1 -a $((top - y)) -ge -1 -a $((top - y)) -le 1
    check "web window is owned by the login frame, layered and visible" \
        test "$(field "$web" owner) $(field "$web" layered) $(field "$web" visible)" = "$LOGIN 1 1"
    check_web_follows "web window lies at ($WEB_LEFT, $WEB_TOP), $WEB_WIDTH x $WEB_HEIGHT"
}

# The web window sits at its offset from the login frame's corner, with its size.
web_at_offset() {
    local login web
    login=$(probe info "$LOGIN")
    web=$(probe info "$WEB")
    rect "$login" window
    local left=$L top=$T
    rect "$web" window
    test "$((L - left)),$((T - top)) $((R - L))x$((B - T))" = \
        "$WEB_LEFT,$WEB_TOP ${WEB_WIDTH}x${WEB_HEIGHT}"
}
check_web_follows() { check "$1" web_at_offset; }

# above A B: A comes before B in the Z order of the client's windows.
above() {
    local order
    order=$(probe list Varnel - --pid "$PID" | sed -n 's/^hwnd=\([0-9]*\) .*/ \1 /p' | tr -d '\n')
    [[ " $order" == *" $1 "*" $2 "* ]] || { note "Z order (top first):$order"; return 1; }
}

# Wine's X windows can stay stacked in the order they were mapped while the Win32 order
# (checked above) puts the owned web window over its owner; on screen the frame's
# picture would then hide the page. Raising the X window shows what Windows shows.
raise_web_on_screen() {
    local window
    for window in $(xdotool search --name '^KestoWindow$' 2>/dev/null); do
        xdotool windowraise "$window"
    done
}

check_login_page() {
    check "web window lies above the login frame" above "$WEB" "$LOGIN"
    raise_web_on_screen
    local page
    if page=$(probe descendant "$WEB" "$STANDIN_CLASS" --contains /Client/login --timeout 10000); then
        pass "login page is shown ($(field "$page" text))"
        LOGIN_PAGE=$(field "$page" hwnd)
    else
        fail "login page is shown (no stand-in page in the web window)"
        LOGIN_PAGE=""
    fi
    probe idle "$PID" --timeout 5000 >/dev/null
    local shot=$RUN/login-shot.png login
    screenshot "$shot"
    login=$(probe info "$LOGIN")
    rect "$login" window
    crop "$shot" "$L" "$T" $((R - L)) $((B - T)) "$OUT/login.png" &&
        note "screenshot: $OUT/login.png"
}

check_second_copy() {
    local before after
    before=$(probe count Varnel -)
    VARNEL_STANDIN_LOG=$(winpath "$RUN/second.log") wine "$RUN/client/microclient.exe" \
        </dev/null >"$RUN/second.out" 2>&1 &
    local second=$!
    local answer pid
    if answer=$(probe dialog "$DIALOG_CAPTION" --not-pid "$PID" --timeout 10000) &&
        pid=$(field "$answer" pid) && [ "$pid" != "$PID" ]; then
        after=$(probe count Varnel - --pid "$pid")
        check "second copy makes no window" test "$after" = 0
        check "second copy says \"$ALREADY_RUNNING\"" answer_dialog "$ALREADY_RUNNING" $IDOK "$pid"
    else
        fail "second copy shows a message box"
    fi
    if wait_exit "$second" 10; then
        check "second copy exits with 0" test "$EXIT_CODE" = 0
    else
        fail "second copy exits"
        kill "$second" 2>/dev/null
    fi
    check "first copy keeps running with its windows" \
        test "$(probe count Varnel -)" = "$before" -a -n "$(running && echo yes)"
}

check_move() {
    local login
    login=$(probe info "$LOGIN")
    rect "$login" window
    local left=$L top=$T
    # Dragging the picture outside its buttons moves the frame. Each step waits for the
    # client: the pointer moves once the press has started the frame's move loop, and is
    # released once the frame has followed (Wine reads a queued motion relative to where the
    # window is when the motion is handled, so motions sent ahead count twice).
    local x=$((left + 120)) y=$((top + FRAME_HEIGHT - 40))
    xdotool mousemove --sync $x $y mousedown 1
    becomes "$LOGIN" moving || note "no move loop seen"
    xdotool mousemove --sync $((x + 60)) $((y - 40))
    poll 5 eval '[ "$(field "$(probe info "$LOGIN")" window)" != "$(field "$login" window)" ]'
    xdotool mouseup 1
    login=$(probe info "$LOGIN")
    rect "$login" window
    check "dragging moves the login frame (by $((L - left)),$((T - top)))" \
        test $((L - left)) = 60 -a $((T - top)) = -40
    check_web_follows "web window follows the frame"
}

check_minimise() {
    local login
    login=$(probe info "$LOGIN")
    rect "$login" window
    click $((L + MIN_BUTTON_X)) $((T + MIN_BUTTON_Y))
    check "minimise button minimises the login frame" becomes "$LOGIN" iconic
    check "... and hides the web window" becomes "$WEB" hidden
    # What the taskbar does for a minimised window.
    probe post "$LOGIN" $WM_SYSCOMMAND $SC_RESTORE 0
    check "restoring shows the frame again" becomes "$LOGIN" restored
    check "... and the web window at its place" \
        poll 5 eval 'probe wait "$WEB" visible --timeout 100 >/dev/null && web_at_offset'
    check "... above the frame" above "$WEB" "$LOGIN"
}

# Clicks the stand-in's "log in" button; the game window must open.
check_enter_game() {
    if [ -z "$LOGIN_PAGE" ]; then
        fail "entering the game (no login page to log in on)"
        return 1
    fi
    local point
    point=$(probe login-button "$LOGIN_PAGE") || { fail "log in button found"; return 1; }
    raise_web_on_screen
    click $point
    local play
    if ! play=$(probe find Varnel Varnel --not "$LOGIN" --pid "$PID" --visible --timeout 10000); then
        fail "logging in opens the game window"
        return 1
    fi
    PLAY=$play
    pass "logging in opens the game window"
    check "game window opens maximised" becomes "$PLAY" zoomed
    check "login frame is hidden" becomes "$LOGIN" hidden
    check "web window is hidden" becomes "$WEB" hidden
    local page
    if page=$(probe descendant "$PLAY" "$STANDIN_CLASS" --contains "$GAME_ADDRESS" --timeout 10000); then
        check "game page is on the address cut at \"http://\"" \
            test "$(field "$page" text)" = "$GAME_ADDRESS"
        GAME_PAGE=$(field "$page" hwnd)
    else
        fail "game page is on the game address"
        GAME_PAGE=""
    fi
}

# The label's text is light on the dark title bar: enough light pixels in the label's part
# (after the 10-pixel margin, the 16-pixel logo and a 4-pixel gap; left of the bar's
# centre), spanning a short word, and none in a stretch of bar as wide in the middle.
title_reads_varnel() {
    local shot=$RUN/title.png
    screenshot "$shot"
    rect "$(probe info "$PLAY")" window
    TITLE_PIXELS=$(light_pixels "$shot" $((L + 30)) "$T" 300 32)
    TITLE_WIDTH=$(convert "$shot" -crop "300x32+$((L + 30))+$T" +repage -colorspace gray \
        -threshold 75% -trim -format '%w' info: 2>/dev/null)
    local middle
    middle=$(light_pixels "$shot" $(((L + R) / 2 - 150)) "$T" 300 32)
    [ "${TITLE_PIXELS:-0}" -ge 30 ] && [ "${TITLE_WIDTH:-0}" -ge 20 ] &&
        [ "${TITLE_WIDTH:-0}" -le 80 ] && [ "${middle:-1}" -lt 5 ]
}

check_game_window() {
    poll 10 log_has "$RUN/client.log" "DocumentComplete $GAME_ADDRESS"
    TITLE_PIXELS=0 TITLE_WIDTH=0
    if poll 5 title_reads_varnel; then
        pass "title label shows the name once the page has a title ($TITLE_PIXELS light pixels, $TITLE_WIDTH wide)"
    else
        fail "title label shows the name once the page has a title ($TITLE_PIXELS light pixels, $TITLE_WIDTH wide)"
    fi
    check "tray icon is there" has_tray
    probe idle "$PID" --timeout 5000 >/dev/null
    local shot=$RUN/game-shot.png play
    screenshot "$shot"
    play=$(probe info "$PLAY")
    rect "$play" window
    crop "$shot" "$L" "$T" $((R - L)) $((B - T)) "$OUT/game.png" && note "screenshot: $OUT/game.png"
}

# title_button INDEX: screen point of the title bar's buttons, counted from the left
# (0 service center, 1 refresh, 2 minimise, 3 restore or maximise, 4 close).
title_button() {
    local play
    play=$(probe info "$PLAY")
    rect "$play" window
    echo $((R - 135 + 27 * $1 + 13)) $((T + 13))
}

check_title_buttons() {
    click $(title_button 3)
    check "restore button restores the game window" becomes "$PLAY" restored
    check "restored game window is $RESTORED_WIDTH x $RESTORED_HEIGHT" \
        test "$(field "$(probe info "$PLAY")" client)" = "$RESTORED_WIDTH,$RESTORED_HEIGHT"
    # The maximise button has taken the restore button's place.
    click $(title_button 3)
    check "maximise button in its place maximises it again" becomes "$PLAY" zoomed

    click $(title_button 1)
    check "refresh reaches the browser completely (Refresh2 3)" poll 5 log_has "$RUN/client.log" "Refresh2 3"

    click $(title_button 0)
    check "service-center button opens $SERVICE_ADDRESS" poll 10 log_has "$RUN/http.txt" "$SERVICE_ADDRESS"
}

# ask_to_quit HOW ANSWER: brings up the quit question one way and answers it.
ask_to_quit() {
    case "$1" in
    button) click $(title_button 4) ;;
    alt-f4)
        # A click on the page makes the game window active and gives it the keyboard.
        local page
        page=$(probe info "$GAME_PAGE")
        rect "$page" window
        click $(((L + R) / 2)) $(((T + B) / 2))
        xdotool key alt+F4
        ;;
    tray)
        # A right click on the icon in the taskbar's notification area, the only icon there.
        local taskbar
        if taskbar=$(probe find Shell_TrayWnd - --visible --timeout 2000); then
            rect "$(probe info "$taskbar")" window
            xdotool mousemove --sync $((R - 10)) $(((T + B) / 2)) click 3
        else
            note "no taskbar: the tray's message is posted to the game window instead"
            xdotool mousemove --sync 800 500
            probe post "$PLAY" $TRAY_CALLBACK 0 $WM_RBUTTONDOWN
        fi
        local menu
        menu=$(probe menu --timeout 5000) || { note "no tray menu"; return 1; }
        rect "$menu" window
        # "退出游戏" is the second of two items of equal height.
        click $(((L + R) / 2)) $((T + (B - T) * 3 / 4))
        ;;
    esac
    answer_dialog "$QUIT_QUESTION" "$2" "$PID"
}

check_quit() {
    local how
    for how in button alt-f4 tray; do
        if ask_to_quit $how $IDNO; then
            check "quit by $how asks \"$QUIT_QUESTION\"; no keeps the game running" \
                eval 'running && becomes "$PLAY" visible 2000 && has_tray'
        else
            fail "quit by $how asks \"$QUIT_QUESTION\""
        fi
    done
    if ask_to_quit tray $IDYES; then
        pass "quit by tray menu asks again; answering yes"
    else
        fail "quit by tray menu asks again; answering yes"
    fi
    if wait_exit "$CLIENT_PID" 10; then
        CLIENT_PID=""
        check "yes ends the client with exit code 0" test "$EXIT_CODE" = 0
    else
        fail "yes ends the client"
    fi
    check "tray icon is gone" eval '! has_tray'
}

# Closes the login frame with its close button.
close_login() {
    local login
    login=$(probe info "$LOGIN")
    rect "$login" window
    click $((L + CLOSE_BUTTON_X)) $((T + CLOSE_BUTTON_Y))
    if wait_exit "$CLIENT_PID" 10; then
        CLIENT_PID=""
        check "$1" test "$EXIT_CODE" = 0
    else
        fail "$1"
    fi
}

check_without_record() {
    probe strip-record "$(winpath "$RUN/client/microclient.exe")" \
        "$(winpath "$RUN/norecord/microclient.exe")" >/dev/null ||
        { fail "copy without an address record made"; return 1; }
    start_client "$RUN/norecord/microclient.exe" norecord
    local web
    if ! web=$(probe find Varnel KestoWindow --visible --timeout 15000); then
        fail "client without an address record shows its login frame"
        return 1
    fi
    WEB=$web
    LOGIN=$(field "$(probe info "$WEB")" owner)
    PID=$(field "$(probe info "$LOGIN")" pid)
    probe idle "$PID" --timeout 5000 >/dev/null
    pass "client without an address record shows its login frame"
    check "... with a blank page (no login page, nothing navigated to it)" \
        eval '! probe descendant "$WEB" "$STANDIN_CLASS" --contains login --timeout 300 >/dev/null &&
              ! grep -qi "^Navigate.*login" "$RUN/norecord.log" 2>/dev/null'
    check "... and no message" test "$(probe count '#32770' - --pid "$PID" --visible)" = 0
    check "... and keeps running" running
    close_login "... and ends with 0 by its close button"
}

# --- the run -------------------------------------------------------------------------------

if ! make_prefix; then
    echo "FAIL private Wine prefix set up"
    exit 1
fi
note "private prefix ready after $((SECONDS - started)) s"
mkdir -p "$RUN/client" "$RUN/norecord"
cp "$CLIENT" "$RUN/client/microclient.exe"

start_client "$RUN/client/microclient.exe" client
if check_login_frame; then
    check_login_page
    check_second_copy
    check_move
    check_minimise
    if check_enter_game; then
        check_game_window
        check_title_buttons
        check_quit
    else
        close_login "client without a way into the game still ends with 0 by its close button"
    fi
fi
stop_client_if_running() {
    if [ -n "$CLIENT_PID" ] && running; then
        fail "client still running at the end of its checks"
        kill "$CLIENT_PID" 2>/dev/null
        wait "$CLIENT_PID" 2>/dev/null
    fi
    CLIENT_PID=""
}
stop_client_if_running
check_without_record
stop_client_if_running

echo "e2e: $failures failed, $((SECONDS - started)) s"
[ "$failures" -eq 0 ]
