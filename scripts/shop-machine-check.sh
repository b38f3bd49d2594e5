#!/usr/bin/env bash
# Takes the path a shop machine takes, on this machine: builds the Debian package, installs it
# with apt into a clean Debian 12 root made from this machine's own apt sources (so every
# dependency must come from the package's Depends), checks the unit, the polkit rule and the udev
# rule, and inside the root, as the package's kiosk user, runs the installed kiosk under the
# installed cage on wlroots' headless backend, takes a screenshot with grim, runs the installed
# quindle-admin check and proves that a press on a thumbnail is heard through the package's sound
# server. Finally the screenshot is checked against the screen-fit rule.
#
#   shop-machine-check.sh BUILD-DIR [--no-screen-fit]
#
# BUILD-DIR is a configured build tree of the project. The clean root's tarball and the
# downloaded packages are kept under BUILD-DIR/shop-machine/cache between runs; the screenshot,
# the demo kiosk folder it shows and the logs stay in BUILD-DIR/shop-machine/result.
# --no-screen-fit leaves the screenshot's pixel check to scripts/shop-machine-screen.py.
# Exit status: 0 every step passed, 1 a step failed, 77 this machine cannot make the check (the
# reason is printed).
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 BUILD-DIR [--no-screen-fit]" >&2; exit 2; }
build=$(cd "$1" && pwd) || exit 2
screenFit=yes
[ "${2:-}" = "--no-screen-fit" ] && screenFit=no

work=$build/shop-machine
cache=$work/cache
result=$work/result
root=$work/root
started=$(date +%s)

skip() { echo "SKIPPED: $*"; exit 77; }
# A running check's root is left alone: its own cleanup unmounts it. One that was killed before
# it could clean up (a test time-out kills outright) left its mounts behind: they go now.
mkdir -p "$work"
if [ -f "$work/running.pid" ] && kill -0 "$(cat "$work/running.pid")" 2>/dev/null; then
    echo "FAILED: another run of this check ($(cat "$work/running.pid")) uses $work"
    exit 1
fi
echo $$ >"$work/running.pid"
# What a killed run started outside the root (its X server, its recorder) ends too.
if [ -f "$work/started.pids" ]; then
    kill $(cat "$work/started.pids") 2>/dev/null
    rm -f "$work/started.pids"
fi
# Ends every process inside the root and unmounts everything under it.
removeRoot() {
    local inside=()
    for entry in /proc/[0-9]*; do
        [ "$(readlink "$entry/root" 2>/dev/null)" = "$root" ] && inside+=("${entry#/proc/}")
    done
    if [ ${#inside[@]} -gt 0 ]; then
        kill "${inside[@]}" 2>/dev/null
        sleep 2
        kill -KILL "${inside[@]}" 2>/dev/null
    fi
    if mountpoint -q "$root"; then
        umount -R "$root" 2>/dev/null || { sleep 2; umount -R -l "$root"; }
    fi
    rmdir "$root" 2>/dev/null
}
removeRoot
# Nothing of an earlier run may pass for this one's.
rm -rf "$result"

# --- What this machine must have ------------------------------------------------------------
[ "$(id -u)" = 0 ] || skip "needs root (mmdebstrap, chroot and mounts); run as root"
missing=()
for tool in mmdebstrap duk grim parecord pactl Xvfb xdotool convert identify python3 cpack; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
[ ${#missing[@]} -eq 0 ] ||
    skip "missing ${missing[*]} (install with: bash scripts/install-deps.sh shopmachine)"
[ -f "$build/CPackConfig.cmake" ] || skip "$build is not a configured build tree"

# The root is made from this machine's Debian 12 sources only: other vendors' lists stay out.
mkdir -p "$cache" "$result"
sources=$cache/sources.list
{
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
        awk '$1 == "deb" && $3 ~ /^bookworm(-[a-z]+)?$/'
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        awk 'BEGIN { RS = ""; FS = "\n" }
             { types = uris = suites = comps = ""
               for (i = 1; i <= NF; ++i) {
                   if ($i ~ /^Types:/) types = substr($i, 7)
                   if ($i ~ /^URIs:/) uris = substr($i, 6)
                   if ($i ~ /^Suites:/) suites = substr($i, 8)
                   if ($i ~ /^Components:/) comps = substr($i, 12)
               }
               if (types !~ /(^| )deb( |$)/) next
               nu = split(uris, u, " "); ns = split(suites, s, " ")
               for (a = 1; a <= nu; ++a) for (b = 1; b <= ns; ++b)
                   if (s[b] ~ /^bookworm(-[a-z]+)?$/) print "deb " u[a] " " s[b] " " comps }' "$file"
    done
} | sed 's/  */ /g' | sort -u >"$sources"
[ -s "$sources" ] || skip "this machine's apt sources name no Debian 12 (bookworm) archive"
reachable=no
for uri in $(awk '{ print $2 }' "$sources" | sort -u); do
    hostPort=${uri#*://}
    hostPort=${hostPort%%/*}
    port=80
    [ "${uri%%://*}" = https ] && port=443
    host=${hostPort%%:*}
    [ "$host" != "$hostPort" ] && port=${hostPort#*:}
    timeout 10 bash -c "exec 3<>/dev/tcp/$host/$port" 2>/dev/null && reachable=yes
done
[ $reachable = yes ] || skip "no apt mirror of $sources answers (no network)"

# --- Steps ------------------------------------------------------------------------------------
failed=0
passed=0
report=()
step() {
    stepName=$1
    stepStart=$(date +%s)
    echo
    echo "=== $stepName"
}
pass() {
    passed=$((passed + 1))
    report+=("PASS  $(printf '%4ss' $(($(date +%s) - stepStart)))  $stepName")
}
fail() {
    echo "FAILED: $stepName: $*"
    failed=$((failed + 1))
    report+=("FAIL  $(printf '%4ss' $(($(date +%s) - stepStart)))  $stepName: $*")
}
finish() {
    echo
    echo "=== Summary ($(($(date +%s) - started)) s in all)"
    printf '%s\n' "${report[@]}"
    echo "$passed passed, $failed failed"
    [ $failed -eq 0 ]
    exit $?
}

# Everything started here is ended by its process id, so is every process inside the root, and
# everything mounted under the root is unmounted, whatever happens. The root itself is a tmpfs,
# so nothing of it is left on disk.
pids=()
cleanup() {
    # QUINDLE_SHOP_HOLD=SECONDS keeps the root and what runs in it that long, to look inside.
    sleep "${QUINDLE_SHOP_HOLD:-0}"
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    removeRoot
    rm -f "$work/running.pid" "$work/started.pids"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

inRoot() { chroot "$root" "$@"; }
# Runs a command in the root as the kiosk user, with only the environment a session gives it.
asKiosk() {
    chroot "$root" runuser -u kiosk -- env -i PATH=/usr/bin:/bin HOME=/var/lib/quindle \
        XDG_RUNTIME_DIR="/run/user/$kioskUid" "$@"
}
# The same, started in the background: the background's subshell becomes runuser, so that the
# process id that $! gives ends the session with everything in it.
spawnAsKiosk() {
    exec chroot "$root" runuser -u kiosk -- env -i PATH=/usr/bin:/bin HOME=/var/lib/quindle \
        XDG_RUNTIME_DIR="/run/user/$kioskUid" "$@"
}
waitFor() { # seconds, then a command that succeeds once the thing is there
    local until=$((SECONDS + $1))
    shift
    while [ $SECONDS -lt $until ]; do "$@" && return 0; sleep 0.2; done
    return 1
}

step "Debian package built with cpack"
cmake --build "$build" --target quindle quindle-admin wdogusb quindle-demo-kiosk >"$result/build.log" 2>&1 &&
    rm -f "$work"/package/quindle_*.deb &&
    (cd "$build" && cpack --config CPackConfig.cmake -G DEB -B "$work/package") >"$result/cpack.log" 2>&1
package=$(ls "$work"/package/quindle_*.deb 2>/dev/null | head -1)
if [ -z "$package" ]; then
    fail "no package (see $result/build.log and $result/cpack.log)"
    finish
fi
echo "$package"
dpkg-deb -f "$package" Depends
pass

step "Clean Debian 12 root from this machine's apt sources"
# The tarball is made again when the sources change, and weekly, so that it stays current.
tarball=$cache/bookworm-$(sha256sum "$sources" | cut -c1-12).tar
find "$cache" -maxdepth 1 -name 'bookworm-*.tar' -mtime +7 -delete
if [ ! -f "$tarball" ]; then
    rm -f "$cache"/bookworm-*.tar
    # mmdebstrap tells the format by the name's ending.
    mmdebstrap --variant=apt bookworm "$cache/partial.tar" "$sources" >"$result/mmdebstrap.log" 2>&1 &&
        mv "$cache/partial.tar" "$tarball"
fi
# A tmpfs: dpkg's many small synchronous writes cost nothing there.
mkdir -p "$root" && mount -t tmpfs -o size=4g,mode=0755 quindle-shop-root "$root" &&
    tar -xf "$tarball" -C "$root" 2>"$result/tar.log"
if [ ! -x "$root/usr/bin/apt-get" ]; then
    fail "no root (see $result/mmdebstrap.log)"
    finish
fi
mkdir -p "$cache/archives/partial"
for target in dev dev/shm sys; do mount --bind "/$target" "$root/$target"; done
mount -t proc proc "$root/proc"
mount --bind "$cache/archives" "$root/var/cache/apt/archives"
# No service starts inside the root while packages are installed.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d" && chmod 755 "$root/usr/sbin/policy-rc.d"
pass

step "apt install ./$(basename "$package")"
cp "$package" "$root/tmp/"
if inRoot apt-get update -qq >"$result/apt.log" 2>&1 &&
    inRoot env DEBIAN_FRONTEND=noninteractive apt-get install -y -q -o DPkg::Options::=--force-unsafe-io \
        "/tmp/$(basename "$package")" >>"$result/apt.log" 2>&1; then
    echo "$(grep -c '^Setting up' "$result/apt.log") packages set up"
    # The kept downloads lose the versions that the archive no longer has.
    inRoot apt-get autoclean -qq >/dev/null 2>&1
    pass
else
    tail -20 "$result/apt.log"
    fail "apt could not install the package (see $result/apt.log)"
    finish
fi
kioskUid=$(inRoot id -u kiosk)

step "Every library of the installed programs found"
unresolved=$(inRoot sh -c 'for f in /usr/bin/quindle /usr/bin/quindle-admin /usr/bin/cage /usr/lib/libwdogusb.so \
    /usr/lib/*/qt6/plugins/platforms/libqwayland-*.so; do ldd "$f" | sed -n "s|^|$f: |; /not found/p"; done')
if [ -z "$unresolved" ]; then pass; else
    echo "$unresolved"
    fail "libraries missing from the package's dependencies"
fi

step "systemd-analyze verify quindle.service"
# It exits 0 on some errors, so its standard error decides.
inRoot systemd-analyze verify /lib/systemd/system/quindle.service >"$result/verify.out" 2>"$result/verify.err"
status=$?
cat "$result/verify.out" "$result/verify.err"
if [ $status -eq 0 ] && [ ! -s "$result/verify.err" ]; then pass; else fail "systemd-analyze complained"; fi

step "polkit rule read by polkitd's JavaScript engine (Duktape)"
# polkitd runs its rules in Duktape, an ECMAScript 5.1 engine: newer syntax fails there, so the
# rule is run in the same engine, with the cases of who may restart the machine.
rule=$root/usr/share/polkit-1/rules.d/50-quindle.rules
cat >"$result/polkit-before.js" <<'JS'
var polkit = { Result: { YES: "yes", NO: "no", AUTH_ADMIN: "auth_admin", NOT_HANDLED: null },
               rules: [], addRule: function (rule) { this.rules.push(rule); } };
JS
cat >"$result/polkit-cases.js" <<'JS'
var cases = [
    ["kiosk", "org.freedesktop.login1.reboot", "yes"],
    ["kiosk", "org.freedesktop.login1.reboot-multiple-sessions", "yes"],
    ["kiosk", "org.freedesktop.login1.reboot-ignore-inhibit", "yes"],
    ["kiosk", "org.freedesktop.login1.power-off", null],
    ["kiosk", "org.freedesktop.packagekit.package-install", null],
    ["visitor", "org.freedesktop.login1.reboot", null]
];
var wrong = 0;
for (var i = 0; i < cases.length; ++i) {
    var answer = null;
    for (var r = 0; r < polkit.rules.length && answer === null; ++r)
        answer = polkit.rules[r]({ id: cases[i][1] }, { user: cases[i][0] });
    if (answer !== cases[i][2]) {
        print("user " + cases[i][0] + ", " + cases[i][1] + ": " + answer + ", expected " + cases[i][2]);
        ++wrong;
    }
}
if (polkit.rules.length !== 1) { print("rules added: " + polkit.rules.length); ++wrong; }
if (wrong > 0) throw new Error(wrong + " wrong answers");
print("every case answered as expected");
JS
if duk "$result/polkit-before.js" "$rule" "$result/polkit-cases.js"; then pass; else fail "see above"; fi

step "Demo kiosk folder in the kiosk user's home"
# The generator is not part of the package: the folder stands for the one a shop copies in.
# A 4:3 backdrop on the 16:9 headless output leaves bars at both sides.
"$build/tools/demo-kiosk/quindle-demo-kiosk" --output "$root/var/lib/quindle" --width 1024 --height 768 \
    --categories 3 --pictures-per-category 14 --picture-size 600x450 --thumbnail-size 240x180 --slides 2 \
    2>&1 | grep -v XDG_RUNTIME_DIR
inRoot chown -R kiosk:kiosk /var/lib/quindle
inRoot install -d -o kiosk -g kiosk -m 0700 "/run/user/$kioskUid"
if [ -f "$root/var/lib/quindle/quindleFolder.ini" ]; then pass; else fail "no demo folder"; fi

step "quindle-admin check (installed) on the demo folder"
if asKiosk quindle-admin check --program-folder /var/lib/quindle; then pass; else fail "the check found errors"; fi

step "Kiosk under cage on the headless backend, screenshot with grim"
runtime=$root/run/user/$kioskUid
# The output is turned by 180 degrees (grim turns the screenshot back). Unturned, cage hands a
# window that covers the output straight to the headless output (which, unlike a real screen,
# takes it) instead of drawing it; the frame that a screenshot makes it draw then redraws only
# what changed since it last drew, over a frame still black. A window's turn never matches a
# turned output's, so cage draws every frame.
spawnAsKiosk WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    /usr/bin/cage -r -r -- /usr/bin/quindle --program-folder /var/lib/quindle >"$result/cage.log" 2>&1 &
cagePid=$!
pids+=("$cagePid")
shot=$result/cage-screen.png
grab() { XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=wayland-0 grim "$1" 2>/dev/null; }
# The screen is taken once it has settled: two grabs a second apart alike, and not all one colour.
settled() {
    grab "$result/previous.png" && sleep 1 && grab "$shot" &&
        [ "$(compare -metric AE "$result/previous.png" "$shot" null: 2>&1)" = 0 ] &&
        [ "$(identify -format '%k' "$shot")" -gt 1 ]
}
if ! waitFor 20 test -S "$runtime/wayland-0"; then
    cat "$result/cage.log"
    fail "cage did not open its Wayland socket"
elif ! waitFor 30 settled; then
    cat "$result/cage.log"
    fail "no settled kiosk screen"
elif ! kill -0 "$cagePid" 2>/dev/null; then
    fail "cage ended"
else
    echo "$shot: $(identify -format '%wx%h' "$shot")"
    pass
fi
kill "$cagePid" 2>/dev/null
waitFor 10 test ! -S "$runtime/wayland-0"
# The screen check reads the folder the screen shows.
rm -rf "$result/demo" && cp -r "$root/var/lib/quindle" "$result/demo"

step "A press on a thumbnail is heard through the package's sound server (under Xvfb)"
# wlroots' headless backend takes no input from outside, so the press comes from an X server:
# the kiosk runs in the root as the kiosk user on Xvfb's display, the sound server in the root
# for the kiosk user with a null sink, and the sink's monitor is recorded.
soundServer=""
if [ -x "$root/usr/bin/pulseaudio" ]; then
    spawnAsKiosk pulseaudio --daemonize=no --exit-idle-time=-1 -n \
        --load="module-native-protocol-unix auth-anonymous=1" \
        --load="module-null-sink sink_name=visitor norewinds=1" >"$result/sound-server.log" 2>&1 &
    soundServer=$!
    pids+=("$soundServer")
fi
export PULSE_SERVER=unix:$runtime/pulse/native
# A display number no other X server uses, on this machine or behind another mount namespace
# (its abstract socket then clashes, and Xvfb says so).
display=""
for number in $(seq 140 199); do
    [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
    Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >"$result/xvfb.log" 2>&1 &
    xvfb=$!
    if DISPLAY=:$number waitFor 10 xdotool getdisplaygeometry >/dev/null 2>&1 && kill -0 $xvfb 2>/dev/null &&
        ! grep -q "already running" "$result/xvfb.log"; then
        display=:$number
        pids+=($xvfb)
        echo $xvfb >>"$work/started.pids"
        break
    fi
    kill $xvfb 2>/dev/null
    wait $xvfb 2>/dev/null
done
record=$result/click.wav
if [ -z "$display" ]; then
    fail "no free X display for Xvfb"
elif [ -z "$soundServer" ]; then
    fail "the package brought no sound server (pulseaudio)"
elif ! waitFor 10 pactl info >/dev/null 2>&1; then
    cat "$result/sound-server.log"
    fail "the sound server did not start"
else
    # The output is chosen the way INSTALL.md tells the owner to choose it.
    pactl set-default-sink visitor
    spawnAsKiosk DISPLAY="$display" QT_QPA_PLATFORM=xcb QT_LOGGING_RULES="qt.multimedia.soundeffect=true" \
        /usr/bin/quindle --program-folder /var/lib/quindle \
        >"$result/xvfb-kiosk.log" 2>&1 &
    pids+=($!)
    # Slot 1 of the grid, from the folder's own settings: the window covers the 1024x768 screen.
    read -r slotLeft slotTop slotWidth slotHeight < <(sed -n 's/^grid *= *[0-9]*,[0-9]*,\([0-9]*\),\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\3 \4 \1 \2/p' \
        "$root/var/lib/quindle/Showroom/quindle.ini" | tr -d '\r')
    # The kiosk is ready for the press once its window is up and it holds its sound server's
    # connection.
    if ! DISPLAY=$display waitFor 20 sh -c 'xdotool search --onlyvisible --class quindle >/dev/null' ||
        ! waitFor 20 sh -c 'pactl list short clients | grep -q quindle'; then
        cat "$result/xvfb-kiosk.log"
        fail "no kiosk window on Xvfb"
    else
        sleep 2
        # A monitor delivers what its sink renders, in pieces as long as the latency asked for;
        # the null sink's own (2 s) would leave the click in the sink when the recording stops.
        # The sink takes no rewinds: a rewound sink's monitor has already passed on the silence
        # that a short sound is mixed into afterwards.
        parecord --latency-msec=20 -d visitor.monitor --file-format=wav "$record" &
        recorder=$!
        pids+=("$recorder")
        echo "$recorder" >>"$work/started.pids"
        sleep 1
        DISPLAY=$display xdotool mousemove $((slotLeft + slotWidth / 2)) $((slotTop + slotHeight / 3)) click 1
        sleep 3
        kill -INT "$recorder"
        wait "$recorder" 2>/dev/null
        peak=$(python3 -c '
import sys, wave, array
with wave.open(sys.argv[1]) as w:
    samples = array.array("h", w.readframes(w.getnframes()))
print(max((abs(s) for s in samples), default=0))' "$record")
        echo "loudest sample of the recording: ${peak:-none} of 32767"
        if [ "${peak:-0}" -gt 1000 ]; then pass; else
            cat "$result/xvfb-kiosk.log"
            fail "the recording is silence"
        fi
    fi
fi
unset PULSE_SERVER

step "udev rule read by the installed udev"
# Debian 12's udevadm has no "verify" yet: "udevadm test" reads every rules file and names each
# line it cannot use. udev is added to the root only now, after the checks of what the package
# itself brings.
inRoot env DEBIAN_FRONTEND=noninteractive apt-get install -y -q -o DPkg::Options::=--force-unsafe-io udev \
    >>"$result/apt.log" 2>&1
udevRule=/lib/udev/rules.d/60-quindle-watchdog.rules
inRoot udevadm test --action=add /sys/class/mem/null >"$result/udev.log" 2>&1
complaints=$(grep -F "$(basename "$udevRule")" "$result/udev.log" | grep -iv 'reading rules file')
if ! grep -qF "$(basename "$udevRule")" "$result/udev.log"; then
    fail "udevadm did not read $udevRule (see $result/udev.log)"
elif [ -n "$complaints" ]; then
    echo "$complaints"
    fail "udevadm cannot use lines of $udevRule"
else
    echo "$udevRule read without a complaint"
    pass
fi

if [ $screenFit = yes ]; then
    step "Screen fit: the demo's first page scaled to the output, centred between black bars"
    if python3 "$top/scripts/shop-machine-screen.py" "$shot" "$result/demo"; then pass; else fail "see above"; fi
fi
finish
