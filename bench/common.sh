# Sourced by the benchmark scripts; $repo is the repository's top folder.

# The patterns the generator is measured on: code and clue count.
bench_patterns=(
    "01C1880314800251802307 22"
    "00285041AC2C686B041428 26"
    "00F32B218102810309A99E 30"
)

# Sets cli to the cluemill-cli to measure: $CLUEMILL_CLI when set (it must
# be executable), else build-bench/src/cluemill-cli, configured (Release, no
# window, no tests) and brought up to date first.
cluemill_bench_cli() {
    if [ -n "${CLUEMILL_CLI:-}" ]; then
        cli=$CLUEMILL_CLI
        if [ ! -x "$cli" ]; then
            echo "CLUEMILL_CLI='$CLUEMILL_CLI' is not an executable file" >&2
            exit 2
        fi
        return
    fi
    cli="$repo/build-bench/src/cluemill-cli"
    if [ ! -f "$repo/build-bench/CMakeCache.txt" ]; then
        cmake -S "$repo" -B "$repo/build-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCLUEMILL_BUILD_TESTS=OFF -DCLUEMILL_BUILD_GUI=OFF >/dev/null
    fi
    cmake --build "$repo/build-bench" --target cluemill-cli >/dev/null
}
