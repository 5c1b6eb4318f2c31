#!/usr/bin/env bash
# Installs what is missing, builds, checks that the set-up covers the build, runs every test,
# then the core tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
# Everything the build found must come from the set-up's own package list.
scripts/check-setup.sh build
# The include layering of src/.
scripts/check-structure.sh
# The tests run on a German desktop (decimal comma): nothing the program reads or writes may
# change with the user's locale.
locale_env=()
mkdir -p build/locale
if localedef -i de_DE -f UTF-8 build/locale/de_DE.UTF-8 >/dev/null 2>&1; then
  locale_env=(LOCPATH="$PWD/build/locale" LC_ALL=de_DE.UTF-8)
else
  echo "warning: no German locale could be made; the tests run in the default locale"
fi
(cd build && env "${locale_env[@]}" QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")

cmake -S . -B build-asan -DOSTIVA_CORE_ONLY=ON -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all" >/dev/null
cmake --build build-asan -j "$(nproc)" --target core_tests
env "${locale_env[@]}" ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  build-asan/bin/core_tests --gtest_brief=1
