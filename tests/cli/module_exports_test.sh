#!/usr/bin/env bash
# The module file exports exactly load, unload, request and getversionlist,
# and the native library also tavo_saori_load, tavo_saori_unload and
# tavo_saori_request; a DLL imports only system DLLs.
#   module_exports_test.sh MODULE OBJDUMP
set -uo pipefail
module=$1 objdump=$2
want_exports=$'getversionlist\nload\nrequest\nunload'

if [[ $module == *.dll ]]; then
  dump=$("$objdump" -p "$module")
  exports=$(awk '/\[Ordinal\/Name Pointer\] Table/ {on=1; next} on && /^[[:space:]]*\[ *[0-9]+\]/ {print $NF; next} on {on=0}' <<<"$dump" | sort)
  imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr '[:lower:]' '[:upper:]' | sort -u)
  unexpected=$(grep -vxE 'KERNEL32.DLL|USER32.DLL|MSVCRT.DLL' <<<"$imports")
else
  want_exports=$(printf '%s\ntavo_saori_load\ntavo_saori_request\ntavo_saori_unload\n' "$want_exports" | sort)
  exports=$(nm -D --defined-only "$module" | awk '{print $3}' | sort)
  unexpected=""
fi

status=0
if [ "$exports" != "$want_exports" ]; then
  echo "FAIL exports: $(tr '\n' ' ' <<<"$exports")"; status=1
fi
if [ -n "$unexpected" ]; then
  echo "FAIL imports beyond the system DLLs: $(tr '\n' ' ' <<<"$unexpected")"; status=1
fi
if [ $status -eq 0 ]; then echo "2 passed, 0 failed"; fi
exit $status
