#!/usr/bin/env bash
# The test command: installs what is missing, builds the project with Ninja (RelWithDebInfo, then
# with AddressSanitizer and UndefinedBehaviorSanitizer), starts a throwaway PostgreSQL cluster,
# runs every test of both builds against SQLite and PostgreSQL, and finally checks that clang++
# builds everything too. Warnings are errors in every build. Exits non-zero when anything fails.
#
#   bash scripts/test.sh             all of it
#   bash scripts/test.sh --no-asan   without the sanitizer build and its tests
#   bash scripts/test.sh --no-clang  without the clang++ build
#
# Environment: ORV_JOBS (parallel jobs, default 2), ORV_PG_PORT (port of the test cluster,
# default a random one; the cluster listens only on a unix socket in its own folder).
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

with_asan=1
with_clang=1
for arg in "$@"; do
    case "$arg" in
    --no-asan) with_asan=0 ;;
    --no-clang) with_clang=0 ;;
    -h | --help)
        sed -n '2,12p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'
        exit 0
        ;;
    *)
        echo "Unbekannte Option: $arg (erlaubt: --no-asan, --no-clang)" >&2
        exit 2
        ;;
    esac
done

jobs=${ORV_JOBS:-2}
started=$SECONDS
summary=()
failures=0
total_passed=0
total_failed=0

note() { printf '\n==== %s ====\n' "$*"; }
record() { summary+=("$(printf '%-22s %-16s %6ss' "$1" "$2" "$3")"); }

# Runs one step, records its outcome and time; returns the step's exit code.
step() {
    local label=$1
    shift
    local t0=$SECONDS rc=0
    "$@" || rc=$?
    if [ $rc -eq 0 ]; then
        record "$label" "ok" $((SECONDS - t0))
    else
        record "$label" "FEHLER ($rc)" $((SECONDS - t0))
        failures=$((failures + 1))
    fi
    return $rc
}

configure_and_build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_COMPILE_WARNING_AS_ERROR=ON "$@" &&
        cmake --build "$dir" -j "$jobs"
}

# The throwaway PostgreSQL cluster: unix socket only, in a folder of its own, stopped on any exit.
pg_dir=""
stop_cluster() {
    if [ -n "$pg_dir" ]; then
        # Clusters of single tests that did not live to stop their own.
        local own
        for own in "$pg_dir"/eigen.*; do
            [ -d "$own" ] && bash "$root/scripts/pg-test-cluster.sh" stop "$own"
        done
        bash "$root/scripts/pg-test-cluster.sh" stop "$pg_dir" || true
        pg_dir=""
    fi
}
trap stop_cluster EXIT
trap 'exit 130' INT TERM

cluster_tried=0
start_cluster() {
    [ $cluster_tried -eq 0 ] || return 0
    cluster_tried=1
    note "PostgreSQL-Testcluster starten"
    export ORV_PG_PORT=${ORV_PG_PORT:-$((55000 + RANDOM % 5000))}
    pg_dir=$(mktemp -d /tmp/orv-testpg.XXXXXX)
    local t0=$SECONDS conninfo
    if conninfo=$(bash scripts/pg-test-cluster.sh start "$pg_dir"); then
        export ORV_TEST_PG=$conninfo
        export ORV_TEST_PG_RESTART="bash '$root/scripts/pg-test-cluster.sh' restart '$pg_dir'"
        export ORV_TEST_PG_OWN_DIR=$pg_dir
        echo "ORV_TEST_PG=$ORV_TEST_PG"
        record "PostgreSQL-Cluster" "ok" $((SECONDS - t0))
        return 0
    fi
    cat "$pg_dir/server.log" 2>/dev/null || true
    stop_cluster
    unset ORV_TEST_PG ORV_TEST_PG_RESTART ORV_TEST_PG_OWN_DIR
    if [ "${CI:-}" = true ]; then
        echo "Der PostgreSQL-Testcluster startet nicht; unter CI zählt das als Fehler." >&2
        record "PostgreSQL-Cluster" "FEHLER" $((SECONDS - t0))
        failures=$((failures + 1))
    else
        echo "Der PostgreSQL-Testcluster startet nicht; die PostgreSQL-Tests werden übersprungen." >&2
        record "PostgreSQL-Cluster" "übersprungen" $((SECONDS - t0))
    fi
}

# Runs the tests of one build and adds its counts to the totals.
run_ctest() {
    local dir=$1 log rc line failed count
    log=$(mktemp)
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 600 2>&1 | tee "$log"
    rc=${PIPESTATUS[0]}
    line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -n "$line" ]; then
        failed=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
        count=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
        total_passed=$((total_passed + count - failed))
        total_failed=$((total_failed + failed))
    else
        echo "In $dir lief kein Test." >&2
        rc=1
    fi
    rm -f "$log"
    return "$rc"
}

note "Pakete prüfen"
if ! step "Pakete" bash scripts/setup-deps.sh; then
    echo "Die benötigten Pakete ließen sich nicht installieren." >&2
    exit 1
fi

note "Build RelWithDebInfo (build/release)"
if step "Build release" configure_and_build build/release \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_BUILD_TESTS=ON -DORV_BUILD_BENCH=ON; then
    start_cluster
    note "Tests RelWithDebInfo"
    step "Tests release" run_ctest build/release
fi

if [ $with_asan -eq 1 ]; then
    note "Build ASan+UBSan (build/asan)"
    if step "Build asan" configure_and_build build/asan \
        -DCMAKE_BUILD_TYPE=Debug -DORV_SANITIZE=ON -DORV_BUILD_TESTS=ON -DORV_BUILD_BENCH=OFF; then
        start_cluster
        note "Tests ASan+UBSan"
        export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:print_stacktrace=1"
        export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
        step "Tests asan" run_ctest build/asan
        unset ASAN_OPTIONS UBSAN_OPTIONS
    fi
fi
stop_cluster

if [ $with_clang -eq 1 ]; then
    note "Build clang++ (build/clang)"
    step "Build clang++" configure_and_build build/clang \
        -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DORV_BUILD_TESTS=ON \
        -DORV_BUILD_BENCH=ON
fi

note "Zusammenfassung"
printf '%s\n' "${summary[@]}"
printf 'Dauer insgesamt: %ss\n' $((SECONDS - started))
if [ $failures -ne 0 ]; then
    echo "FEHLGESCHLAGEN: $failures Schritt(e) mit Fehler."
else
    echo "Alles bestanden."
fi
echo "Gesamt: $total_passed passed, $total_failed failed"
[ $failures -eq 0 ]
