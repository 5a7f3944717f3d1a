#!/usr/bin/env bash
# lsimg and mkdir with names outside ASCII under one Wine locale, checked on
# disk from the Linux side: the files names-test lists are made here, and the
# folders it makes must appear here under their own names.
#   names_test.sh LOCALE CODE_PAGE NAMES_TEST MODULE LAUNCHER...
set -uo pipefail
locale=$1 code_page=$2 host=$3 module=$4
shift 4
root=$(mktemp -d "${TMPDIR:-/tmp}/tavo-names.XXXXXX") || exit 1
trap 'rm -rf "$root"' EXIT

mkdir "$root/絵" "$root/photos" "$root/été" "$root/mixed"
touch "$root/絵/写真.png" "$root/絵/風景.JPG" "$root/絵/メモ.txt" "$root/photos/写真.png" \
      "$root/été/noël.png" "$root/mixed/noël.png" "$root/mixed/¥100.png"
# Folders whose names end in a character whose second byte in code page 932
# is 0x5C, the backslash; and the folder the same bytes name in code page 1252.
trail_entries=()
for folder in 表 ソ 能 •; do
  mkdir "$root/$folder"
  touch "$root/$folder/$folder.png" "$root/$folder/$folder.txt"
  trail_entries+=("d $folder" "f $folder/$folder.png" "f $folder/$folder.txt")
done

TAVO_WINE_LOCALE=$locale "$@" "$host" "$module" "$root" "$code_page"
status=$?

# The folder the legacy caller made, named in its code page.
case $code_page in
  932) legacy=控え ;;
  1252) legacy=café ;;
  *) legacy="" ;;
esac
expected=$(printf '%s\n' "d 絵" "f 絵/写真.png" "f 絵/風景.JPG" "f 絵/メモ.txt" "d photos" \
             "f photos/写真.png" "d été" "f été/noël.png" "d mixed" "f mixed/noël.png" "f mixed/¥100.png" \
             "d 画像フォルダ" "d 画像フォルダ/保存" "d 作成" "d 日本" \
             ${legacy:+"d $legacy"} "${trail_entries[@]}" | LC_ALL=C sort)
found=$(cd "$root" && find . -mindepth 1 -printf '%y %P\n' | LC_ALL=C sort)
echo "on disk under code page $code_page:"
sed 's/^/  /' <<<"$found"
if [ "$found" != "$expected" ]; then
  echo "FAIL the names on disk differ; expected:"
  sed 's/^/  /' <<<"$expected"
  status=1
fi
exit "$status"
