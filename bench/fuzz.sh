#!/usr/bin/env bash
# Runs fuzz targets one after another, each for the given number of seconds, and prints
# per target the executions, the speed, the coverage reached and what was found.
#
#   bench/fuzz.sh TARGET... SECONDS      e.g. bench/fuzz.sh smf_fuzzer listfile_fuzzer 600
#   bench/fuzz.sh all SECONDS            every target in fuzz/
#
# Builds in build-fuzz/ (clang-14, libFuzzer, ASan and UBSan; SONOLUX_FUZZ=ON) with at most
# two compile jobs. Each target keeps a working corpus in build-fuzz/corpus/TARGET, seeded
# on its first run from the shared test fixtures (../shared/fixtures) and from fuzz/seeds;
# what a run finds goes to build-fuzz/artifacts/TARGET/ and its log to build-fuzz/logs/.
#
# The archive targets run in libFuzzer's fork mode with timeouts and out-of-memory cases
# recorded rather than fatal: libarchive 3.6.2 loops forever on some damaged archives (a
# hang the product bounds in its helper process). Every such case is kept as an artifact
# and must be looked at: a hang or allocation in our code is a bug. A crash stops any
# target at once.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${SONOLUX_FUZZ_BUILD:-$root/build-fuzz}"
fixtures="${SONOLUX_FIXTURES_DIR:-$root/../shared/fixtures}"
timeout_seconds=10

all_targets=(smf_fuzzer loader_fuzzer rcpcv_fuzzer
    archive_lha_fuzzer archive_zip_fuzzer archive_cab_fuzzer archive_tar_fuzzer
    archive_rar_fuzzer archive_arj_fuzzer oldcodec_fuzzer
    commandline_fuzzer listfile_fuzzer settingsfile_fuzzer designfile_fuzzer)

# A fixture on which libarchive 3.6.2 itself loops or allocates without bound (the product
# bounds it in its helper process).
known_hangs=(test_read_filter_gzip_recursive.gz)

usage()
{
    echo "usage: $0 TARGET... SECONDS   (TARGET: all, ${all_targets[*]})" >&2
    exit 2
}

[ $# -ge 2 ] || usage
seconds="${*: -1}"
[[ "$seconds" =~ ^[0-9]+$ ]] || usage
targets=()
for t in "${@:1:$#-1}"; do
    if [ "$t" = all ]; then
        targets+=("${all_targets[@]}")
    elif [[ " ${all_targets[*]} " == *" $t "* ]]; then
        targets+=("$t")
    else
        usage
    fi
done

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DSONOLUX_FUZZ=ON >/dev/null
fi
cmake --build "$build" -j2 --target "${targets[@]}"

# Copies the files found under the given folders (matching the name patterns) into the
# corpus, except the known hangs.
seed_from()
{
    local corpus="$1" folder="$2"
    shift 2
    [ -d "$folder" ] || return 0
    local args=() pattern
    for pattern in "$@"; do
        args+=(-o -iname "$pattern")
    done
    find "$folder" -type f \( -false "${args[@]}" \) -print0 |
        while IFS= read -r -d '' file; do
            local name
            name="$(basename "$file")"
            [[ " ${known_hangs[*]} " == *" $name "* ]] && continue
            cp "$file" "$corpus/$(printf '%s' "$file" | sha1sum | cut -c1-16)-$name"
        done
}

seed()
{
    local target="$1" corpus="$2"
    local midi=("$fixtures/midi" "$fixtures/rmi")
    case "$target" in
    smf_fuzzer)
        for f in "${midi[@]}"; do seed_from "$corpus" "$f" '*.mid' '*.rmi'; done
        seed_from "$corpus" "$root/build/dist/format" '*.mid' ;;
    loader_fuzzer)
        for f in "${midi[@]}"; do seed_from "$corpus" "$f" '*.mid' '*.rmi'; done
        seed_from "$corpus" "$fixtures/rcp" '*' ;;
    rcpcv_fuzzer) seed_from "$corpus" "$fixtures/rcp" '*' ;;
    archive_lha_fuzzer) seed_from "$corpus" "$fixtures/archives/libarchive/lha" '*' ;;
    archive_zip_fuzzer)
        seed_from "$corpus" "$fixtures/archives/libarchive/zip" '*'
        seed_from "$corpus" "$fixtures/archives/old" '*.zip' ;;
    archive_cab_fuzzer) seed_from "$corpus" "$fixtures/archives/libarchive/cab" '*' ;;
    archive_tar_fuzzer) seed_from "$corpus" "$fixtures/archives/libarchive/tar" '*' ;;
    archive_rar_fuzzer)
        seed_from "$corpus" "$fixtures/archives/libarchive/rar4" '*'
        seed_from "$corpus" "$fixtures/archives/libarchive/rar5" '*'
        seed_from "$corpus" "$fixtures/archives/old" '*.rar' ;;
    archive_arj_fuzzer) seed_from "$corpus" "$fixtures/archives/arj" '*.arj' '*.a0?' ;;
    commandline_fuzzer) seed_from "$corpus" "$root/fuzz/seeds/commandline" '*' ;;
    listfile_fuzzer) seed_from "$corpus" "$root/fuzz/seeds/listfile" '*' ;;
    settingsfile_fuzzer) seed_from "$corpus" "$root/fuzz/seeds/settingsfile" '*' ;;
    designfile_fuzzer)
        seed_from "$corpus" "$root/fuzz/seeds/designfile" '*'
        seed_from "$corpus" "$root/build/dist/skin" '*.mbd' ;;
    esac
}

count()
{
    find "$1" -maxdepth 1 -type f -name "$2" 2>/dev/null | wc -l
}

summary=()
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target"
    # The files a target writes for each input go to memory when it can.
    scratch_base="$build/tmp"
    [ -d /dev/shm ] && [ -w /dev/shm ] && scratch_base="/dev/shm/sonolux-fuzz-$$"
    scratch="$scratch_base/$target"
    log="$build/logs/$target.log"
    mkdir -p "$corpus" "$artifacts" "$scratch" "$(dirname "$log")"
    if [ -z "$(ls -A "$corpus")" ]; then
        seed "$target" "$corpus"
    fi
    options=(-max_total_time="$seconds" -timeout="$timeout_seconds" -rss_limit_mb=2048
        -print_final_stats=1 -artifact_prefix="$artifacts/")
    asan_options=""
    if [[ "$target" == archive_* ]]; then
        options+=(-fork=1 -ignore_timeouts=1 -ignore_ooms=1 -ignore_crashes=0)
        # libarchive asks for absurd sizes on some damaged headers and copes when the
        # allocator says no. The helper process runs it under a 2 GiB address-space limit,
        # so requests beyond that are refused here too instead of being reported as
        # out-of-memory; memory actually used still counts against -rss_limit_mb.
        asan_options="allocator_may_return_null=1:max_allocation_size_mb=2048"
    fi
    echo "== $target: $seconds s, corpus $(count "$corpus" '*') files"
    status=0
    TMPDIR="$scratch" ASAN_OPTIONS="$asan_options" UBSAN_OPTIONS=print_stacktrace=1 \
        "$build/fuzz/$target" "${options[@]}" "$corpus" </dev/null >"$log" 2>&1 ||
        status=$?
    rm -rf "$scratch"

    # The last status line: "#RUNS ... cov: C ft: F corp: N/..." (fork mode: "#RUNS: cov: ...").
    last="$(grep -E '^#[0-9]+:?[[:space:]]' "$log" | tail -n 1 || true)"
    runs="$(sed -E 's/^#([0-9]+).*/\1/' <<<"$last")"
    cov="$(grep -oE 'cov: [0-9]+' <<<"$last" | cut -d' ' -f2 || true)"
    ft="$(grep -oE 'ft: [0-9]+' <<<"$last" | cut -d' ' -f2 || true)"
    elapsed="$(grep -oE 'stat::.*|Done [0-9]+ runs in [0-9]+ second' "$log" | grep -oE 'in [0-9]+ second' | grep -oE '[0-9]+' | tail -n 1 || true)"
    [ -n "$elapsed" ] && [ "$elapsed" -gt 0 ] || elapsed="$seconds"
    speed=$(( ${runs:-0} / elapsed ))
    crashes=$(( $(count "$artifacts" 'crash-*') + $(count "$artifacts" 'leak-*') ))
    timeouts="$(count "$artifacts" 'timeout-*')"
    ooms="$(count "$artifacts" 'oom-*')"
    line="$(printf '%-22s runs %10s  exec/s %6s  cov %5s  ft %6s  corpus %5s  crashes %s  timeouts %s  ooms %s  exit %s' \
        "$target" "${runs:-?}" "$speed" "${cov:-?}" "${ft:-?}" "$(count "$corpus" '*')" \
        "$crashes" "$timeouts" "$ooms" "$status")"
    echo "$line"
    summary+=("$line")
done

rmdir "$scratch_base" 2>/dev/null || true

echo
echo "== summary ($seconds s per target; artifacts in $build/artifacts)"
printf '%s\n' "${summary[@]}"
