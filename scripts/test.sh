#!/usr/bin/env bash
# Installs what is missing, builds and runs every test:
#   native under AddressSanitizer + UndefinedBehaviorSanitizer, the threading tests again under
#   ThreadSanitizer, and the Windows build under Wine (in a virtual X display): the 32-bit one, or
#   the 64-bit one where the machine does not run 32-bit programs (or VRX_WINDOWS_ARCH=x86_64).
set -uo pipefail
source "$(dirname "$0")/env.sh"
cd "$VRX_ROOT"
bash scripts/install-deps.sh || exit 1
vrx_windows_fallback

passed=0
failed=0
status=0

# Runs ctest and adds its counts to the totals.
run_ctest() {
  local label=$1
  shift
  local log
  log=$(mktemp)
  echo "== $label"
  "$@" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    local total fails
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    fails=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - fails))
    failed=$((failed + fails))
  fi
  [ "$rc" -eq 0 ] || status=1
  rm -f "$log"
}

build() {
  local dir=$1
  shift
  cmake -S . -B "$VRX_BUILD/$dir" -G Ninja "$@" >/dev/null &&
    cmake --build "$VRX_BUILD/$dir" -j "$VRX_JOBS"
}

# The house style: every source as clang-format writes it.
echo "== formatting"
unformatted=$(git ls-files -co --exclude-standard -- '*.cpp' '*.h' 2>/dev/null |
  xargs -r clang-format --dry-run 2>&1 | grep -c 'warning:' || true)
if [ "${unformatted:-0}" -ne 0 ]; then
  echo "clang-format would change $unformatted places; run clang-format -i on the files above"
  git ls-files -co --exclude-standard -- '*.cpp' '*.h' | xargs -r clang-format --dry-run 2>&1 |
    grep 'warning:' | cut -d: -f1 | sort -u
  status=1
fi

if build native-asan -DCMAKE_BUILD_TYPE=Debug -DVRX_SANITIZE=address; then
  run_ctest "native (ASan+UBSan)" ctest --test-dir "$VRX_BUILD/native-asan" --output-on-failure \
    -j "$VRX_JOBS" --timeout 300
else
  echo "native build failed"; status=1
fi

if build native-tsan -DCMAKE_BUILD_TYPE=Debug -DVRX_SANITIZE=thread; then
  run_ctest "native threading (TSan)" ctest --test-dir "$VRX_BUILD/native-tsan" \
    --output-on-failure -L threads -j "$VRX_JOBS" --timeout 300
else
  echo "TSan build failed"; status=1
fi

# Runs every test of a Windows build folder under its Wine, in a virtual X display.
run_windows_tests() {
  vrx_wine_prefix
  run_ctest "$1" xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$VRX_BUILD/$VRX_WINDOWS_BUILD" --output-on-failure -j 1 --timeout 180
  "$VRX_WINESERVER" -k 2>/dev/null || true
}

# The 32-bit program is built on every machine and its files are checked everywhere (reading a file
# needs no 32-bit kernel); the 64-bit build is compiled everywhere, so that it cannot rot unseen.
# The Windows tests run on the build this machine can run.
vrx_say_windows_arch "Windows tests on the 64-bit build under the 64-bit Wine; of the 32-bit build only its file checks"
if build win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$(vrx_toolchain win32)"; then
  if [ "$VRX_WINDOWS_BUILD" = win32 ]; then
    run_windows_tests "Windows build under Wine"
  else
    run_ctest "32-bit Windows build: file checks" ctest --test-dir "$VRX_BUILD/win32" \
      --output-on-failure -L file_check
  fi
else
  echo "Windows build failed"; status=1
fi

if build win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$(vrx_toolchain win64)"; then
  [ "$VRX_WINDOWS_BUILD" = win32 ] || run_windows_tests "64-bit Windows build under the 64-bit Wine"
else
  echo "64-bit Windows build failed"; status=1
fi

[ $((passed + failed)) -gt 0 ] || status=1
echo
echo "tests: $passed passed, $failed failed"
exit $status
