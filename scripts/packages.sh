# The Debian packages that building and testing tavo uses, and what each is
# for. Sourced by scripts/bootstrap, which names a package it cannot install
# and what goes without it, and by scripts/test, which skips the tests that
# need a package that is not installed and says why.

# The native build: nothing builds or runs without these.
native_packages=(cmake make g++ libgtest-dev libgmock-dev)

declare -A package_purpose=(
  [cmake]="the build"
  [make]="the build"
  [g++]="the native build"
  [libgtest-dev]="the unit tests"
  [libgmock-dev]="the unit tests"
  [pkg-config]="the benchmarks"
  [libbenchmark-dev]="the benchmarks"
  [libicu-dev]="the benchmarks' width comparison"
  [g++-mingw-w64-i686-win32]="the 32-bit DLL"
  [g++-mingw-w64-x86-64-win32]="the 64-bit DLL"
  [wine]="the DLLs' tests under Wine"
  [wine64]="the 64-bit DLL's tests under Wine"
  [wine32:i386]="the 32-bit DLL's tests under Wine"
  [clang]="the fuzz targets"
  [libclang-rt-14-dev]="the fuzz targets"
  [valgrind]="the native memcheck tests"
  [locales]="the DLLs' tests under the Japanese code page (932)"
  [zip]="the release archives"
  [python3]="the checks of the charset tables and of the docs' links"
  [clang-22]="the wasm build"
  [lld-22]="the wasm build"
  [libc++-22-dev-wasm32]="the wasm build"
  [libc++abi-22-dev-wasm32]="the wasm build"
  [libclang-rt-22-dev-wasm32]="the wasm build"
  [wasi-libc]="the wasm build"
  [nodejs]="the wasm build and its tests in Node"
  [npm]="the playground's browser test (its driver comes from npm)"
  [chromium]="the playground's browser test"
  [fonts-ipafont-gothic]="Japanese text in the playground's screenshots"
)

all_packages=(
  "${native_packages[@]}" pkg-config libbenchmark-dev libicu-dev
  g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32
  wine wine64 wine32:i386
  clang libclang-rt-14-dev valgrind locales zip python3
  clang-22 lld-22 libc++-22-dev-wasm32 libc++abi-22-dev-wasm32 libclang-rt-22-dev-wasm32 wasi-libc
  chromium fonts-ipafont-gothic
)

# Whether a package is installed.
installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

# The packages of the arguments that are not installed, one per line.
not_installed() {
  local package
  for package in "$@"; do installed "$package" || echo "$package"; done
}
