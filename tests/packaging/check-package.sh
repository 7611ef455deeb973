#!/usr/bin/env bash
# Builds the Debian package from a build folder with CPack, checks it with lintian,
# unpacks it into a throw-away root and runs what it installed from there.
#
#   check-package.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "check-package: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack failed"; }
debs=("$work"/out/ovra-clock_*.deb)
[[ -f ${debs[0]} ]] || fail "cpack made no ovra-clock package"
deb=${debs[0]}

# No errors and no warnings; lintian says so on stderr when it runs as root.
lintian --fail-on error,warning --no-tag-display-limit "$deb" || fail "lintian found problems"

root=$work/root
dpkg-deb -x "$deb" "$root"
for f in usr/bin/ovra-clock usr/share/applications/ovra-clock.desktop \
    usr/share/icons/hicolor/scalable/apps/ovra-clock.svg \
    usr/share/metainfo/ovra-clock.metainfo.xml usr/share/man/man1/ovra-clock.1.gz \
    usr/share/bash-completion/completions/ovra-clock usr/share/zsh/vendor-completions/_ovra-clock \
    usr/share/doc/ovra-clock/copyright usr/share/doc/ovra-clock/changelog.gz \
    usr/share/ovra-clock/translations/ovra-clock_de.qm \
    usr/share/ovra-clock/translations/ovra-clock_fr.qm \
    usr/share/ovra-clock/sounds/alarm.wav \
    usr/lib/ovra-clock/plugins/ovra-clock-sound.so; do
    [[ -f $root/$f ]] || fail "the package does not install $f"
done
# The sound module, stripped, still offers the one entry the clock looks up.
nm -D --defined-only "$root/usr/lib/ovra-clock/plugins/ovra-clock-sound.so" | grep -qw ovra_create_alarm_sound_3 ||
    fail "the sound module does not export its entry"
desktop-file-validate "$root/usr/share/applications/ovra-clock.desktop" ||
    fail "the desktop entry does not validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/ovra-clock.metainfo.xml" ||
    fail "the AppStream metadata does not validate"
python3 "$source/tests/packaging/check-options.py" "$root/usr/bin/ovra-clock" \
    "$root/usr/share/man/man1/ovra-clock.1.gz"

# The installed program runs from the unpacked root, with a HOME of its own.
home=$work/home
mkdir -p "$home/runtime"
chmod 700 "$home/runtime"
run() { # in the language LANG names
    env HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
        XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/runtime" LC_ALL= LC_MESSAGES= LANGUAGE= \
        QT_QPA_PLATFORM=offscreen "$root/usr/bin/ovra-clock" "$@"
}
version=$(run --version)
expected="Ovra Clock $(sed -n 's/^Version: //p' < <(dpkg-deb -f "$deb"))"
[[ $version == "$expected" ]] || fail "--version says \"$version\", not \"$expected\""
run --render "$work/face.png" --at "2026-12-07 10:08:37"
[[ $(head -c 8 "$work/face.png" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] ||
    fail "--render wrote no PNG picture"
# The installed catalogues are found from wherever the package was unpacked.
german=$(LANG=de_DE.UTF-8 run --no-such-option 2>&1 >/dev/null || true)
[[ $german == *"Unbekannte Option --no-such-option"* ]] ||
    fail "the unpacked program does not speak German: \"$german\""
echo "check-package: $(basename "$deb") is clean and runs from a throw-away root"
