#!/usr/bin/env bash
# The Windows setup program end to end under Wine: CPack builds it into this
# run's folder, then it installs and uninstalls silently in a private Wine
# prefix on a private Xvfb display (1280x720, 24 bits). Files are checked on
# the prefix's disk, settings as `wine reg query` reads them back. Every wait
# has a deadline generous enough for a busy machine; each check prints
# "ok NAME" or "FAIL NAME"; nothing is left running afterwards.
#
# usage: wine_setup_e2e.sh <work root> <CPackConfig.cmake> <project version> <aquarium.scr>
# shellcheck disable=SC2016,SC2034  # check's conditions expand when check evaluates them
set -uo pipefail

root=$1 cpack_config=$2 version=$3 built_scr=$4
mkdir -p "$root"
run=$(mktemp -d "$(realpath "$root")/setup.XXXXXX")
export WINEPREFIX=$run/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
Deadline=30  # seconds any awaited condition may take
xvfb_pid=

stop_all() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
    rm -rf "$WINEPREFIX"
}
trap stop_all EXIT

failed=()
pass() { echo "ok   $1"; }
fail() { echo "FAIL $1${2:+: $2}"; failed+=("$1"); }
# check NAME CONDITION: CONDITION is shell code, evaluated when check runs.
check() { if eval "$2"; then pass "$1"; else fail "$1"; return 1; fi; }

poll_until() {  # command...: true once the command succeeds, false at the deadline
    local end=$((SECONDS + Deadline))
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.05
    done
}
ended() { ! kill -0 "$1" 2>/dev/null; }
# Waits for process $1 to end; its status in $status, or 124 at the deadline.
wait_exit() {
    if poll_until ended "$1"; then wait "$1"; status=$?; else status=124; fi
}

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Aquarium'
desktop_key='HKCU\Control Panel\Desktop'
sys32=$WINEPREFIX/drive_c/windows/system32
saver_path='C:\windows\system32\aquarium.scr'
other_saver='C:\windows\system32\other.scr'

# Reads KEY into $key_values, one "NAME<tab>TYPE<tab>DATA" line a value;
# false when the key does not exist.
read_key() {
    key_values=$(wine reg query "$1" 2>/dev/null | tr -d '\r' |
        sed -n 's/^    \(.*\)    \(REG_[A-Z_]*\)    \(.*\)$/\1\t\2\t\3/p; s/^    \(.*\)    \(REG_[A-Z_]*\)$/\1\t\2\t/p')
    wine reg query "$1" >/dev/null 2>&1
}
value() { awk -F'\t' -v n="$1" '$1 == n { print $3; f = 1 } END { exit !f }' <<<"$key_values"; }
desktop_value() { read_key "$desktop_key" && value "$1"; }

# Runs the setup program with ARGS, waiting for every process it started;
# its exit status in $status.
setup() {
    wine "$setup_exe" "$@" >>"$run/setup.log" 2>&1 &
    wait_exit $!
    timeout "$Deadline" wineserver -w || status=wineserver-timeout
}

# Runs the QuietUninstallString of the registered key as a command line:
# the quoted program, then its arguments. Wine's processes all end before
# it returns; $status is the uninstaller's.
quiet_uninstall() {
    read_key "$uninstall_key" || { status=missing; return; }
    local line program arguments
    line=$(value QuietUninstallString)
    program=$(sed -n 's/^"\([^"]*\)" .*$/\1/p' <<<"$line")
    arguments=$(sed -n 's/^"[^"]*" //p' <<<"$line")
    # shellcheck disable=SC2086  # the arguments split on purpose
    wine "$program" $arguments >>"$run/setup.log" 2>&1 &
    wait_exit $!
    timeout "$Deadline" wineserver -w || status=wineserver-timeout
}

# Every file, folder and key the setup program makes is gone (FOLDER: the
# prefix's path of the install folder).
nothing_left() {
    leftovers=$(find "$sys32" -maxdepth 1 -iname 'aquarium.scr*'; find "$1" 2>/dev/null)
    ! read_key "$uninstall_key" || leftovers+=" $uninstall_key"
    [ -z "$leftovers" ]
}

# Sizes in KB, rounded up, of the files given.
size_kb() { echo $((($(cat "$@" | wc -c) + 1023) / 1024)); }

# True when a new screenshot shows the tank's pale floor.
floor_shows() {
    xwd -root -silent | convert xwd:- "png:$run/saver.png"
    [ "$(convert "$run/saver.png" -crop 500x60+400+650 +repage -format '%[fx:int(255*mean)]' info:)" -gt 180 ]
}
drawn_or_ended() { ended "$saver" || floor_shows; }

# --- the setup program, as `--target package` makes it
setup_exe=$run/pkg/aquarium-$version-setup.exe
(cd "$run" && cpack -G External --config "$cpack_config" -B "$run/pkg" >cpack.log 2>&1)
check "CPack writes aquarium-$version-setup.exe" '[ -s "$setup_exe" ]'
[ -s "$setup_exe" ] || { cat "$run/cpack.log"; exit 1; }

# --- start Xvfb and the prefix
Xvfb -displayfd 3 -screen 0 1280x720x24 -noreset -nolisten tcp 3>"$run/display" 2>"$run/xvfb.log" &
xvfb_pid=$!
poll_until grep -q '^[0-9]' "$run/display" || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -n1 "$run/display")
wineboot --init >"$run/wineboot.log" 2>&1
# Unmanaged windows: no window manager to wait for when a window closes.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
# The user's own choice: another saver, switched off; read back before the
# setup program runs (a busy machine may lose a write to a prefix that is still
# starting).
desktop_as_chosen() {
    read_key "$desktop_key" && [ "$(value SCRNSAVE.EXE)" = "$other_saver" ] &&
        [ "$(value ScreenSaveActive)" = 0 ]
}
choose_other_saver() {
    wine reg add "$desktop_key" /v SCRNSAVE.EXE /t REG_SZ /d "$other_saver" /f >/dev/null 2>&1
    wine reg add "$desktop_key" /v ScreenSaveActive /t REG_SZ /d 0 /f >/dev/null 2>&1
    desktop_as_chosen
}
poll_until choose_other_saver || { echo "the other saver's setting does not read back"; exit 1; }
program_files=$WINEPREFIX/drive_c/Program\ Files/Aquarium

# --- a saver that cannot be written stops the setup with an error status
mkdir "$sys32/aquarium.scr"
setup /S
check "/S fails with status 2 when the saver cannot be written, leaving nothing" \
    '[ "$status" = 2 ] && rmdir "$sys32/aquarium.scr" && nothing_left "$program_files"'
[ -z "${leftovers:-}" ] || echo "   left: $leftovers"

# --- /S installs, registers, and leaves the user's saver alone
start=$SECONDS
setup /S
echo "   /S took $((SECONDS - start)) s"
check "/S exits 0" '[ "$status" = 0 ]'
check "/S puts aquarium.scr, as built, in the 64-bit system folder" 'cmp -s "$sys32/aquarium.scr" "$built_scr"'
check "/S puts README.txt and uninstall.exe in Program Files\\Aquarium" \
    '[ -s "$program_files/README.txt" ] && [ -s "$program_files/uninstall.exe" ]'
read_key "$uninstall_key"
echo "   $uninstall_key:"
sed 's/^/     /' <<<"$key_values"
check "DisplayVersion is the project's version, $version" '[ "$(value DisplayVersion)" = "$version" ]'
check "DisplayName and Publisher name it" \
    '[ "$(value DisplayName)" = "Aquarium screen saver" ] && [ -n "$(value Publisher)" ]'
check "DisplayIcon is the installed saver" '[ "$(value DisplayIcon)" = "$saver_path" ]'
check "InstallLocation is the uninstaller's folder" '[ "$(value InstallLocation)" = "C:\\Program Files\\Aquarium" ]'
check "UninstallString and QuietUninstallString run uninstall.exe, the quiet one with /S" \
    '[ "$(value UninstallString)" = "\"C:\\Program Files\\Aquarium\\uninstall.exe\"" ] &&
     [ "$(value QuietUninstallString)" = "\"C:\\Program Files\\Aquarium\\uninstall.exe\" /S" ]'
estimated=$(size_kb "$sys32/aquarium.scr" "$program_files"/*)
check "EstimatedSize is what the files take, $estimated KB" \
    '[ "$(value EstimatedSize)" = "$(printf "0x%x" "$estimated")" ]'
check "NoModify and NoRepair are 1" '[ "$(value NoModify)" = 0x1 ] && [ "$(value NoRepair)" = 0x1 ]'
check "/S leaves the current saver and its switch as they were" desktop_as_chosen ||
    sed 's/^/     /' <<<"$key_values"

# --- /S /CURRENT over it makes it the current saver
setup /S /CURRENT
check "/S /CURRENT exits 0" '[ "$status" = 0 ]'
check "/S /CURRENT makes it the current saver, switched on" \
    'read_key "$desktop_key" && [ "$(value SCRNSAVE.EXE)" = "$saver_path" ] &&
     [ "$(value ScreenSaveActive)" = 1 ]'

# --- the current saver, as Windows would start it, draws and closes on input
xdotool mousemove 640 360
wine "$(desktop_value SCRNSAVE.EXE)" /s 2>/dev/null &
saver=$!
if poll_until drawn_or_ended && ! ended "$saver"; then
    pass "the installed saver's /s shows the floor"
    xdotool mousemove_relative 1 0
    wait_exit "$saver"
    check "a one-pixel move ends it with status 0" '[ "$status" = 0 ]'
else
    fail "the installed saver's /s shows the floor" "($run/saver.png)"
    kill "$saver" 2>/dev/null
fi

# --- the quiet uninstall removes it all and clears its saver as current, by
# a name in any case (Windows' own settings may write it so)
wine reg add "$desktop_key" /v SCRNSAVE.EXE /t REG_SZ /d 'C:\WINDOWS\SYSTEM32\AQUARIUM.SCR' /f >/dev/null 2>&1
quiet_uninstall
check "the quiet uninstall exits 0" '[ "$status" = 0 ]'
check "the quiet uninstall leaves no file, folder or key" 'nothing_left "$program_files"'
[ -z "${leftovers:-}" ] || echo "   left: $leftovers"
check "the quiet uninstall clears SCRNSAVE.EXE naming its saver" '! desktop_value SCRNSAVE.EXE >/dev/null'

# --- elsewhere (/D=), with another saver current: that saver stays chosen
wine reg add "$desktop_key" /v SCRNSAVE.EXE /t REG_SZ /d "$other_saver" /f >/dev/null 2>&1
setup /S '/D=C:\Savers\Aquarium'
elsewhere=$WINEPREFIX/drive_c/Savers/Aquarium
check "/S /D=FOLDER puts the uninstaller in FOLDER" \
    '[ "$status" = 0 ] && [ -s "$elsewhere/uninstall.exe" ] && read_key "$uninstall_key" &&
     [ "$(value InstallLocation)" = "C:\\Savers\\Aquarium" ]'
setup /S
check "a second /S installs where the first one did" \
    '[ "$status" = 0 ] && [ -s "$elsewhere/uninstall.exe" ] && [ ! -e "$program_files" ]'
quiet_uninstall
check "the quiet uninstall from FOLDER leaves no file, folder or key" \
    '[ "$status" = 0 ] && nothing_left "$elsewhere"'
[ -z "${leftovers:-}" ] || echo "   left: $leftovers"
check "the quiet uninstall leaves another current saver alone" \
    '[ "$(desktop_value SCRNSAVE.EXE)" = "$other_saver" ]'

stop_all
trap - EXIT
echo "${#failed[@]} failed${failed[*]:+: $(printf '"%s" ' "${failed[@]}")}"
if [ ${#failed[@]} = 0 ]; then rm -rf "$run"; else echo "pictures and logs kept in $run"; fi
[ ${#failed[@]} = 0 ]
