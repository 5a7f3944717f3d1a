#!/usr/bin/env bash
# tavo-cli as script authors use it: output lines and exit statuses.
#   cli_test.sh TAVO_CLI [LAUNCHER...]   (a launcher such as Wine comes first)
# TAVO_VERSION in the environment is the version tavo-cli must report.
set -uo pipefail
cli=$1
shift
launcher=("$@")
failures=0
passes=0

check() {  # check NAME EXPECTED_STATUS EXPECTED_OUTPUT ARG...
  local name=$1 want_status=$2 want_output=$3
  shift 3
  local output status
  output=$("${launcher[@]}" "$cli" "$@" 2>/dev/null)
  status=$?
  if [ "$status" = "$want_status" ] && [ "$output" = "$want_output" ]; then
    passes=$((passes + 1))
  else
    failures=$((failures + 1))
    printf 'FAIL %s: status %s (want %s), output [%s] (want [%s])\n' \
      "$name" "$status" "$want_status" "$output" "$want_output"
  fi
}

check "result line" 0 "3" length "abc"
check "Japanese arguments arrive as UTF-8" 0 "5" length "あいうえお"
check "values follow the result" 0 $'2\nりんご\nみかん' split "りんご、みかん" "、"
check "a 204 answer" 0 "" if 0 yes
check "a 400 answer" 1 "引数が正しくありません。" at abc
check "an unknown command" 1 "Error: 'nosuch'という名前の命令は定義されていません。" nosuch
check "a missing module" 3 "" --module /nonexistent/tavo-module length abc
check "no command" 4 ""
check "--module without a path" 4 "" --module
check "--module without a command" 4 "" --module /nonexistent/tavo-module
check "--convention without a name" 4 "" --convention
check "an unknown convention" 4 "" --convention other length abc
check "--raw with a command" 4 "" --raw length
check "the version" 0 "tavo-cli ${TAVO_VERSION:-}" --version
check "--charset sends Shift_JIS and reads it back" 0 "いう" --charset Shift_JIS substr "あいうえお" 1 2
check "--charset EUC-JP, a 400 answer read back" 1 "引数が正しくありません。" --charset euc-jp at "表"
check "--charset with a character Shift_JIS has no code for" 0 "?" --charset sjis at "¥" 0
check "--charset UTF-8" 0 "5" --charset UTF-8 length "あいうえお"
check "an unknown charset" 4 "" --charset latin-1 length abc
check "--charset with --raw" 4 "" --charset sjis --raw
check "the Windows-style exports by name" 0 "3" --convention windows length abc
check "a missing module through the stem" 3 "" --convention posix --module /nonexistent/tavo-module length abc
if [[ $cli == *.exe ]]; then
  # The DLL carries only the Windows-style exports.
  check "the DLL has no stem exports" 3 "" --convention posix length abc
else
  check "the stem exports with an instance id" 0 $'2\nりんご\nみかん' --convention posix split "りんご、みかん" "、"
  check "options in either order" 0 "3" --convention posix --module "$(dirname "$cli")/tavo.so" length abc
fi

raw=$(printf 'GET Version SAORI/1.0\r\n\r\n' | "${launcher[@]}" "$cli" --raw | od -An -c | tr -s ' \n' ' ')
want=$(printf 'SAORI/1.0 200 OK\r\nCharset: UTF-8\r\n\r\n' | od -An -c | tr -s ' \n' ' ')
if [ "$raw" = "$want" ]; then passes=$((passes + 1)); else
  failures=$((failures + 1)); echo "FAIL raw GET Version: [$raw]"; fi

# Redirected output carries the UTF-8 bytes themselves, also from a Windows build.
bytes=$("${launcher[@]}" "$cli" at "あい" 1 | od -An -tx1 | tr -d ' \n')
if [ "$bytes" = "e381840a" ]; then passes=$((passes + 1)); else
  failures=$((failures + 1)); echo "FAIL redirected output bytes: [$bytes]"; fi

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
