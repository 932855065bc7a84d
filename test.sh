#!/usr/bin/env bash
# Builds Varnel and runs every test: the unit and golden-picture tests, the fuzz corpora, the
# network load sources against real exporter and server programs the tests start and stop, the
# end-to-end test of the real program under Xvfb (bare and under openbox; on two monitors and a
# shrinking screen under Xephyr), the command lines, the Debian package, and the core tests again
# under AddressSanitizer and UndefinedBehaviorSanitizer.
# Installs what is missing. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
need_packages "${BUILD_PACKAGES[@]}" libgtest-dev libbenchmark-dev xvfb xdotool x11-utils x11-apps openbox \
  xserver-xephyr x11-xserver-utils wmctrl \
  "${PACKAGE_PACKAGES[@]}" "${REMOTE_TEST_PACKAGES[@]}"

jobs=2
echo "== build (RelWithDebInfo)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
echo "== tests"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== sanitizer build of the core (ASan + UBSan)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVARNEL_SANITIZE=ON -DVARNEL_UI=OFF \
  -DVARNEL_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" -E '^e2e'
echo "All tests passed."
