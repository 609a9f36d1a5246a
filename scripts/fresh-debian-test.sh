#!/usr/bin/env bash
# Runs the README's test command on a truly fresh Debian 12: a minimal root made by debootstrap from the
# mirror apt already uses, with the committed tree copied in, once as root and once as a user with sudo.
# Slow (every package is downloaded and installed, everything built and tested twice), so not part of CI.
# Needs root on the host (debootstrap, chroot, mounts).
# Usage: scripts/fresh-debian-test.sh [WORK_DIR] [root|sudo]...   (default: a new temporary folder; both modes)
# An existing WORK_DIR/base (a finished debootstrap) is reused. Logs: WORK_DIR/<mode>.log.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "fresh-debian-test: needs root (debootstrap and chroot)" >&2; exit 1; }
command -v debootstrap >/dev/null || { echo "fresh-debian-test: run scripts/install-deps.sh first" >&2; exit 1; }

work=${1:-$(mktemp -d /var/tmp/mahjong-fresh.XXXXXX)}
shift || true
modes=("$@")
[ ${#modes[@]} -gt 0 ] || modes=(root sudo)
mirror=$(sed -n 's/^URIs: *\(http[^ ]*debian\)\/*$/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
mirror=${mirror:-http://deb.debian.org/debian}
mkdir -p "$work"

if [ ! -f "$work/base/etc/debian_version" ]; then
    echo "fresh-debian-test: debootstrap bookworm from $mirror into $work/base"
    debootstrap --variant=minbase bookworm "$work/base.tmp" "$mirror" >"$work/debootstrap.log" 2>&1
    mv "$work/base.tmp" "$work/base"
    cat >"$work/base/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb ${mirror%/debian}/debian-security bookworm-security main
EOF
fi

status=0
for mode in "${modes[@]}"; do
    root="$work/$mode"
    rm -rf "$root"
    cp -a "$work/base" "$root"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    mounts=(proc sys dev dev/pts)
    for m in "${mounts[@]}"; do mount --bind "/$m" "$root/$m"; done
    mount -t tmpfs tmpfs "$root/dev/shm" 2>/dev/null || true
    home=/root
    if [ "$mode" = sudo ]; then
        # The user's own set-up, not the game's: sudo and an account that may use it.
        chroot "$root" sh -c 'apt-get update -qq && apt-get install -y -qq sudo >/dev/null &&
            useradd -m player && echo "player ALL=(ALL) NOPASSWD: ALL" >/etc/sudoers.d/player'
        home=/home/player
    fi
    mkdir -p "$root$home/mahjong"
    git archive HEAD | tar -x -C "$root$home/mahjong"
    run=(chroot "$root" env -i HOME="$home" PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
         LANG=C.UTF-8 sh -c "cd $home/mahjong && scripts/test.sh")
    if [ "$mode" = sudo ]; then
        chroot "$root" chown -R player:player "$home/mahjong"
        run=(chroot --userspec=player:player "$root" env -i HOME="$home" USER=player
             PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 sh -c "cd $home/mahjong && scripts/test.sh")
    fi
    echo "fresh-debian-test: $mode: scripts/test.sh in $root (log: $work/$mode.log)"
    start=$(date +%s)
    if "${run[@]}" >"$work/$mode.log" 2>&1; then
        echo "fresh-debian-test: $mode: passed in $(( $(date +%s) - start )) s"
    else
        echo "fresh-debian-test: $mode: FAILED after $(( $(date +%s) - start )) s; the end of the log:"
        tail -n 30 "$work/$mode.log"
        status=1
    fi
    umount "$root/dev/shm" 2>/dev/null || true
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount "$root/${mounts[i]}"; done
done
exit $status
