#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan/ and runs it. Every process of the run (the tests and the programs
# they start) writes its AddressSanitizer and leak reports to a file of its own, so
# such a report fails the run even where no test looks at that process's exit
# status. UBSan, linked as a runtime of its own by GCC, does not follow log_path:
# its reports end the process with status 86, which no test expects.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" "$root/build-asan" -DVANTREL_SANITIZE=ON -DVANTREL_BENCH=OFF
reports="$root/build-asan/sanitizer-reports"
sanitizer_status=86
rm -rf "$reports"
mkdir -p "$reports"
cd "$root/build-asan"
status=0
# The package tests check packaging, not code: the plain build runs them.
QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS="detect_leaks=1:log_path=$reports/asan:exitcode=$sanitizer_status" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:exitcode=$sanitizer_status" \
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
