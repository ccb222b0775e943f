#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan/ and runs it. Every process of the run (the tests and the programs
# they start) writes a sanitizer report to a file of its own, so a report fails the
# run even where a test only looks at a child's exit status.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" "$root/build-asan" -DVANTREL_SANITIZE=ON -DVANTREL_BENCH=OFF
reports="$root/build-asan/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"
cd "$root/build-asan"
status=0
# The package tests check packaging, not code: the plain build runs them.
QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS="detect_leaks=1:log_path=$reports/asan" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan" \
    ctest --output-on-failure -j "$(nproc)" -LE package "$@" || status=$?
if compgen -G "$reports/*" >/dev/null; then
    echo "Sanitizer reports:" >&2
    for report in "$reports"/*; do
        echo "== $report" >&2
        cat "$report" >&2
    done
    exit 1
fi
exit "$status"
