#!/usr/bin/env bash
# Builds the Debian package from the build folder into a scratch folder, unpacks it
# into a scratch root and runs the programs from there; checks what it installs,
# that its dependencies were computed, and that each man page names exactly the
# options its program's --help names.
# Usage: package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 \
    || { cat "$scratch/cpack.log" >&2; fail "cpack did not make the package"; }
deb="$scratch/out/vantrel_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $(basename "$deb"); made: $(ls "$scratch/out")"

for path in ./usr/bin/vantrel ./usr/bin/vantrel-cli ./usr/bin/vantrel-sim \
            ./usr/share/applications/vantrel.desktop \
            ./usr/share/icons/hicolor/128x128/apps/vantrel.png \
            ./usr/share/man/man1/vantrel.1.gz ./usr/share/man/man1/vantrel-cli.1.gz \
            ./usr/share/man/man1/vantrel-sim.1.gz \
            ./usr/share/bash-completion/completions/vantrel-cli \
            ./usr/share/vantrel/sounds/menu.wav ./usr/share/vantrel/sounds/end.wav \
            ./usr/share/vantrel/sounds/critical.wav ./usr/share/doc/vantrel/copyright; do
    dpkg-deb -c "$deb" | awk '{print $6}' | grep -qx "$path" || fail "$path is not in the package"
done

# Computed dependencies name the C library and Qt with versions.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6multimedia6; do
    pattern="(^|, )${library//+/\\+}(:any)? \(>= [^)]+\)"
    [[ $depends =~ $pattern ]] \
        || fail "Depends lacks $library with a version: $depends"
done

root="$scratch/root"
dpkg -x "$deb" "$root"
help=$("$root/usr/bin/vantrel-cli" --help) || fail "vantrel-cli --help failed"
grep -q "^usage: vantrel-cli " <<<"$help" || fail "unexpected help: $help"
grep -q "^  ports" <<<"$help" || fail "the packaged vantrel-cli lacks ports"
# vantrel-sim prints its terminal first and serves until stopped.
"$root/usr/bin/vantrel-sim" >"$scratch/sim.out" 2>&1 &
sim=$!
for _ in $(seq 50); do
    [ -s "$scratch/sim.out" ] && break
    sleep 0.1
done
first=$(head -n1 "$scratch/sim.out")
[ -c "$first" ] || { kill "$sim"; fail "vantrel-sim printed no terminal: $first"; }
"$root/usr/bin/vantrel-cli" --port "$first" frame 0B 00 00 00 00 >"$scratch/frame.out" \
    || { kill "$sim"; fail "no frame through the packaged programs"; }
kill "$sim"
wait "$sim" 2>/dev/null || true

# Each man page names the options its program's --help names, no more, no fewer.
options() { grep -o -- '--[a-z][a-z-]*' | sort -u; }
for program in vantrel vantrel-cli vantrel-sim; do
    from_help=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/$program" --help 2>&1 | options)
    from_man=$(zcat "$root/usr/share/man/man1/$program.1.gz" | sed 's/\\-/-/g' | options)
    [ "$from_help" = "$from_man" ] \
        || fail "$program: man page options differ from --help:
$(diff <(echo "$from_help") <(echo "$from_man"))"
done
echo "package $(basename "$deb") is whole and runs"
