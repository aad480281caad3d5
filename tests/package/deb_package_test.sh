#!/usr/bin/env bash
# The Debian package end to end, in a fresh Debian 12 root of the test's own:
# lintian finds nothing to warn about; `apt-get install ./aquarium_*.deb`
# pulls in what the programs need; the real xscreensaver daemon, run as an
# ordinary user on an Xvfb of the test's own, starts the installed hack, which
# draws into the daemon's window and ends with status 0 when the daemon stops
# it; `apt-get purge` leaves nothing of the package behind.
#
# Usage: deb_package_test.sh BUILD_DIR VERSION CACHE_DIR
#   BUILD_DIR  a configured build of the linux preset, built (its CPackConfig.cmake)
#   VERSION    the project's version: the package must carry it
#   CACHE_DIR  where the Debian 12 root with xscreensaver installed is kept as a
#              tar file between runs (made on the first run: a few minutes)
# Needs root (debootstrap, chroot, mount), the Debian mirror of
# /etc/apt/sources.list.d (or AQUARIUM_DEBIAN_MIRROR), debootstrap, lintian,
# Xvfb, xwd, xwininfo and ImageMagick. Exits 77 (skipped) when not root.
# Every wait is for a condition, up to a deadline; runs may overlap.
set -uo pipefail
build=$1 version=$2 cache=$3
Deadline=60  # seconds any awaited condition may take
CacheRecipe=1  # bump when the cached root is made differently

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: debootstrap, chroot and mount need root"
  exit 77
fi
# Mounts made here stay in a mount namespace of the test's own, and go with it.
if [ -z "${AQUARIUM_DEB_TEST_NS:-}" ]; then
  AQUARIUM_DEB_TEST_NS=1 exec unshare --mount --propagation private bash "$0" "$@"
fi

work=$(realpath "$(mktemp -d "${TMPDIR:-/tmp}/aquarium-deb.XXXXXX")")
root=$work/root
mounted=()
xvfb=""
start=$SECONDS

note() { echo "[$((SECONDS - start)) s] $*"; }

# Processes whose root is this test's own root: all started here.
root_pids() {
  local p
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$1" ] && echo "${p#/proc/}"
  done
}

stop_root_processes() {  # root
  local pids
  pids=$(root_pids "$1")
  [ -n "$pids" ] || return 0
  # shellcheck disable=SC2086  # one pid a word
  kill -TERM $pids 2>/dev/null
  poll_until no_root_processes "$1" && return 0
  pids=$(root_pids "$1")
  # shellcheck disable=SC2086
  [ -z "$pids" ] || kill -KILL $pids 2>/dev/null
}
no_root_processes() { [ -z "$(root_pids "$1")" ]; }

unmount_all() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" 2>/dev/null
  done
  mounted=()
}

# Deletes a tree only when nothing is mounted inside it, and never crosses
# into another file system.
remove_tree() {
  [ -e "$1" ] || return 0
  if grep -qF " $1/" /proc/self/mountinfo; then
    echo "still mounted under $1: left in place" >&2
    return 1
  fi
  rm -rf --one-file-system "$1"
}

cleanup() {
  [ -d "$root" ] && stop_root_processes "$root"
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  unmount_all
  if [ -n "${building:-}" ]; then
    stop_root_processes "$building"
    unmount_all
    remove_tree "$building"
  fi
  remove_tree "$root"
  if [ -n "${kept:-}" ]; then
    echo "logs and pictures kept in $work" >&2
  else
    remove_tree "$work"
  fi
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

fail() {
  echo "FAIL: $*" >&2
  [ -s "$root/tmp/saver-home/log" ] && cp "$root/tmp/saver-home/log" "$work/xscreensaver.log" &&
    tail -25 "$work/xscreensaver.log" | sed 's/^/  xscreensaver: /' >&2
  kept=1
  exit 1
}

poll_until() {  # command...: true once the command succeeds, false at the deadline
  local end=$((SECONDS + Deadline))
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.1
  done
}

mount_for_chroot() {  # root: /proc and /dev, as apt and the programs need them
  mount -t proc proc "$1/proc" && mounted+=("$1/proc") &&
    mount --bind /dev "$1/dev" && mounted+=("$1/dev")
}

in_root() {  # command...: run as root inside the root, without the host's environment
  chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
    LC_ALL=C.UTF-8 "$@"
}

as_user() {  # command...: run as nobody inside the root, on the test's display
  chroot --userspec=65534:65534 "$root" env -i PATH=/usr/bin:/bin HOME=/tmp/saver-home \
    DISPLAY="${DISPLAY:-}" LP_NUM_THREADS=1 "$@"
}

debian_mirror() {
  local uri
  uri=${AQUARIUM_DEBIAN_MIRROR:-$(cat /etc/apt/sources.list.d/*.sources /etc/apt/sources.list \
        2>/dev/null | grep -oE '^(URIs:|deb) +https?://[^ ]+' | grep -v security |
        awk '{ print $2; exit }')}
  echo "${uri:-http://deb.debian.org/debian}"
}

# == The package, built into the test's own folder from the build's CPack setup.
note "building the package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$work/pkg/aquarium_${version}_amd64.deb
[ -f "$deb" ] || fail "no $(basename "$deb") (made: $(ls "$work/pkg"))"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
dpkg-deb -f "$deb" Package Version Depends Enhances Section Priority

note "lintian"
lintian --fail-on error,warning "$deb" 2>&1 | grep -v 'running with root privileges'
[ "${PIPESTATUS[0]}" -eq 0 ] || fail "lintian reports errors or warnings"

# == A Debian 12 root with the xscreensaver daemon: made once, kept as a tar file.
base=$cache/bookworm-xscreensaver-$CacheRecipe.tar
mkdir -p "$cache"
cache=$(realpath "$cache")
exec 9>"$cache/lock"
flock -w 1800 9 || fail "the cache of the Debian root stayed locked"
# Made again after two weeks, so that its package lists stay those of the mirror.
[ -n "$(find "$base" -mtime +13 2>/dev/null)" ] && rm -f "$base"
if [ ! -f "$base" ]; then
  mirror=$(debian_mirror)
  note "making the Debian 12 root from $mirror (once; kept in $base)"
  building=$(mktemp -d "$cache/making.XXXXXX")
  debootstrap --variant=minbase bookworm "$building" "$mirror" >"$work/debootstrap.log" 2>&1 ||
    { tail -20 "$work/debootstrap.log"; fail "debootstrap failed"; }
  cp /etc/resolv.conf "$building/etc/resolv.conf"
  mount_for_chroot "$building" || fail "cannot mount /proc and /dev in the root"
  # The daemon, and the libraries the package needs fetched ahead (apt still
  # installs them from its cache), so that later runs need no download.
  cp "$deb" "$building/tmp/"
  root=$building in_root sh -c "apt-get install -y --no-install-recommends xscreensaver &&
      apt-get clean && cd /tmp && apt-get install -y --download-only ./${deb##*/} &&
      rm -f ./${deb##*/} /var/cache/apt/archives/aquarium_*" >"$work/daemon-install.log" 2>&1 ||
    { tail -20 "$work/daemon-install.log"; fail "installing xscreensaver failed"; }
  stop_root_processes "$building"
  unmount_all
  tar -C "$building" --numeric-owner -cf "$base.tmp.$$" . ||
    { rm -f "$base.tmp.$$"; fail "cannot write $base"; }
  mv "$base.tmp.$$" "$base"
  remove_tree "$building"
  building=""
fi
flock -u 9

note "unpacking the root"
mkdir "$root"
tar -C "$root" --numeric-owner -xpf "$base" || fail "cannot unpack $base"
chmod 755 "$root"  # made by mktemp: nobody could not enter it
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount_for_chroot "$root" || fail "cannot mount /proc and /dev in the root"

# Every path of the root, less what apt, dpkg and the programs' users change.
listing() {
  (cd "$root" && find . -xdev \( -path ./proc -o -path ./dev -o -path ./tmp -o -path ./run \
     -o -path ./var/cache/apt -o -path ./var/lib/apt -o -path ./var/lib/dpkg -o -path ./var/log \
     -o -path ./var/cache/debconf -o -path ./var/cache/ldconfig \) -prune -o -print) |
    LC_ALL=C sort
}
listing >"$work/before"
# shellcheck disable=SC2016  # dpkg-query's own ${...}
in_root dpkg-query -W -f='${Package}\n' | sort >"$work/packages-before"

# == Install.
note "apt-get install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
in_root sh -c "cd /tmp && apt-get install -y ./$(basename "$deb")" >"$work/install.log" 2>&1 ||
  { tail -20 "$work/install.log"; fail "apt-get install failed"; }
# shellcheck disable=SC2016
in_root dpkg-query -W -f='${Package}\n' | sort >"$work/packages-after"
pulled=$(comm -13 "$work/packages-before" "$work/packages-after" | grep -vx aquarium)
[ -n "$pulled" ] || fail "the install pulled in no package besides aquarium"
echo "pulled in: $(paste -sd' ' <<<"$pulled")"
# Every dependency is met, and every library the programs load is there.
if ! in_root dpkg --audit >"$work/audit" 2>&1 || [ -s "$work/audit" ]; then
  cat "$work/audit"
  fail "dpkg --audit finds broken packages"
fi
for program in /usr/libexec/xscreensaver/aquarium /usr/bin/aquarium-render \
               /usr/bin/aquarium-meshtool; do
  in_root ldd "$program" >"$work/ldd" 2>&1 || fail "ldd $program failed"
  if grep -q 'not found' "$work/ldd"; then cat "$work/ldd"; fail "$program misses a library"; fi
done
in_root dpkg -L aquarium >"$work/files"
for path in /usr/libexec/xscreensaver/aquarium /usr/share/xscreensaver/config/aquarium.xml \
            /usr/share/man/man6/aquarium.6.gz /usr/share/doc/aquarium/copyright; do
  grep -qx "$path" "$work/files" || fail "the package has no $path"
done
for program in /usr/libexec/xscreensaver/aquarium /usr/bin/aquarium-render \
               /usr/bin/aquarium-meshtool; do
  said=$(in_root "$program" --version) || fail "$program --version failed"
  [ "$said" = "$(basename "$program") $version" ] || fail "$program --version says '$said'"
done
# The renderer draws offscreen with the Mesa the package pulled in.
mkdir -p "$root/tmp/saver-home"
chown 65534:65534 "$root/tmp/saver-home"
as_user aquarium-render --size 64x36 --frames 2 --out /tmp/saver-home/render.png \
  >"$work/render.log" 2>&1 || { cat "$work/render.log"; fail "aquarium-render failed"; }

# == The daemon, as nobody, with the aquarium as its one hack.
exec 3>"$work/display"
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 640x360x24 2>"$work/xvfb.log" &
xvfb=$!
exec 3>&-
has_line() { grep -q '^[0-9]' "$1" 2>/dev/null; }
poll_until has_line "$work/display" || fail "Xvfb did not start"
DISPLAY=":$(head -1 "$work/display")"
export DISPLAY
cat >"$root/tmp/saver-home/.xscreensaver" <<'EOF'
mode:		one
selected:	0
timeout:	1:00:00
lock:		False
fade:		False
unfade:		False
splash:		False
dpmsEnabled:	False
grabDesktopImages:	False
programs:	GL: aquarium --root \n\

EOF
chown 65534:65534 "$root/tmp/saver-home/.xscreensaver"
note "starting xscreensaver on $DISPLAY"
as_user xscreensaver -no-splash -verbose -log /tmp/saver-home/log >"$work/daemon.out" 2>&1 &
daemon=$!
daemon_up() { as_user xscreensaver-command -time >/dev/null 2>&1; }
poll_until daemon_up || fail "the daemon did not start"

hack=$root/usr/libexec/xscreensaver/aquarium
hack_pids() {
  local p
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/exe" 2>/dev/null)" = "$hack" ] && echo "${p#/proc/}"
  done
}
one_hack() { hack_pid=$(hack_pids); [ -n "$hack_pid" ] && [ "$(wc -w <<<"$hack_pid")" = 1 ]; }
no_hack() { [ -z "$(hack_pids)" ]; }

count() {  # file geometry expression: pixels in WxH+X+Y for which the fx expression holds
  convert "$1" -crop "$2" +repage -fx "$3" -format '%[fx:round(mean*w*h)]' info:
}
# The tank as the camera first sees it: a grey line at the top of its back
# wall, and the pale floor at the bottom centre, in a shot of the window.
shows_tank() {  # window
  local f=$work/daemon-window.png w=640 h=360 frame floor
  xwd -silent -id "$1" | convert xwd:- "png:$f" || return 1
  frame=$(count "$f" "3x$((h / 14))+$((w / 2 - 1))+$((h * 21 / 100))" \
          "abs(r-g)<0.02 && abs(g-b)<0.02 && r>0.2 && r<0.8")
  floor=$(count "$f" "$((w / 4))x$((h / 40 + 1))+$((w * 3 / 8))+$((h * 96 / 100))" \
          "r>0.6 && g>0.6 && b>0.6")
  [ "$frame" -gt 0 ] && [ "$floor" -gt $((w * (h / 40 + 1) / 8)) ]
}

note "activating"
as_user xscreensaver-command -activate >/dev/null || fail "xscreensaver-command -activate failed"
poll_until one_hack || fail "the daemon started no aquarium (or several: $(hack_pids))"
# It draws into the daemon's window, which covers the screen.
window=$(tr '\0' '\n' <"/proc/$hack_pid/environ" | sed -n 's/^XSCREENSAVER_WINDOW=//p')
[ -n "$window" ] || fail "the hack was started without XSCREENSAVER_WINDOW"
tr '\0' ' ' <"/proc/$hack_pid/cmdline" | grep -qx 'aquarium --root ' ||
  fail "the hack's command line is '$(tr '\0' ' ' <"/proc/$hack_pid/cmdline")'"
covers_screen() {  # window: mapped, over the whole screen
  xwininfo -id "$1" >"$work/window" 2>&1 && grep -q 'Map State: IsViewable' "$work/window" &&
    grep -q 'geometry 640x360+0+0' "$work/window"
}
poll_until covers_screen "$window" ||
  { cat "$work/window"; fail "the daemon's window $window is not shown over the screen"; }
poll_until shows_tank "$window" || fail "no tank in the daemon's window after $Deadline s"
note "the aquarium draws in the daemon's window $window"

# Picking the hack again makes the daemon stop it (SIGTERM) and report how it ended.
first=$hack_pid
as_user xscreensaver-command -select 1 >/dev/null || fail "xscreensaver-command -select failed"
reported() {
  grep -qE "child pid $first \(aquarium\) (exited|terminated)" "$root/tmp/saver-home/log"
}
poll_until reported || fail "the daemon did not report the end of pid $first"
grep -qE "child pid $first \(aquarium\) exited .*status 0$" "$root/tmp/saver-home/log" ||
  fail "the hack did not end with status 0: $(grep "child pid $first" "$root/tmp/saver-home/log")"
new_hack() { one_hack && [ "$hack_pid" != "$first" ]; }
poll_until new_hack || fail "the daemon started no second aquarium"

note "deactivating"
as_user xscreensaver-command -deactivate >/dev/null || fail "xscreensaver-command -deactivate"
poll_until no_hack || fail "aquarium still runs $Deadline s after the unblanking: $(hack_pids)"
as_user xscreensaver-command -exit >/dev/null
daemon_gone() { ! kill -0 "$daemon" 2>/dev/null; }
poll_until daemon_gone || fail "the daemon did not exit"
stop_root_processes "$root"

# == Purge: nothing of the package stays, and with the libraries it pulled in
# removed too the root is as it was.
note "apt-get purge aquarium"
in_root apt-get purge -y aquarium >"$work/purge.log" 2>&1 ||
  { tail -20 "$work/purge.log"; fail "apt-get purge failed"; }
while IFS= read -r path; do
  [ -e "$root$path" ] && [ ! -d "$root$path" ] && fail "$path is left after the purge"
done <"$work/files"
in_root apt-get autoremove --purge -y >"$work/autoremove.log" 2>&1 ||
  { tail -20 "$work/autoremove.log"; fail "apt-get autoremove failed"; }
listing >"$work/after"
if ! cmp -s "$work/before" "$work/after"; then
  diff "$work/before" "$work/after" | head -40
  fail "the root differs from before the install"
fi
note "PASS"
