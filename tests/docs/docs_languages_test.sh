#!/usr/bin/env bash
# The Japanese pages keep in step with the English ones:
#   docs_languages_test.sh DOCS_DIR
# every page under DOCS_DIR has its page at the same path under DOCS_DIR/ja and the
# other way round; each pair holds the same plain fenced blocks (the requests and
# responses) byte for byte, in the same order; and each page links to the other
# on the third line, right under its title.
set -uo pipefail
export LC_ALL=C
cd "${1:?usage: docs_languages_test.sh DOCS_DIR}" || exit 2
failures=0
fail() { echo "$*"; failures=$((failures + 1)); }

# The lines of the plain blocks as "LINE<TAB>TEXT", each block closed by a "```"
# line. A fence with a language opens a block that is skipped; as in docs-examples,
# any line starting with ``` closes a block.
examples() {
  awk '
    fence && /^```/ { if (plain) print NR "\t```"; fence = plain = 0; next }
    /^```/ { fence = 1; plain = ($0 == "```"); next }
    plain { print NR "\t" $0 }
  ' "$1"
}

# Prints where the examples of two pages first differ, and fails if they do.
same_examples() {
  awk -F'\t' -v en="$1" -v ja="$2" '
    function text() { return substr($0, length($1) + 2) }
    FILENAME == ARGV[1] { line[++n] = $1; shown[n] = text(); next }
    { ++m }
    m > n || text() != shown[m] {
      printf "%s:%s and %s:%s: the examples differ\n", en, (m > n ? "end" : line[m]), ja, $1
      bad = 1
      exit 1
    }
    END { if (!bad && m < n) { printf "%s:%s and %s:end: the examples differ\n", en, line[m + 1], ja; exit 1 } }
  ' <(examples "$1") <(examples "$2")
}

# The link line of a page: third line, after the title and an empty line.
has_link() {
  [[ $(sed -n 1p "$1") == "# "* && -z $(sed -n 2p "$1") && $(sed -n 3p "$1") == "$2" ]] ||
    fail "$1: line 3 should be $2, under the title and an empty line"
}

pages=0
blocks=0
while IFS= read -r page; do
  [[ -f ja/$page ]] || { fail "ja/$page: missing (the Japanese page of $page)"; continue; }
  up=$(sed 's|[^/]*/|../|g; s|[^/]*$||' <<<"$page")  # one ../ per folder of the path
  has_link "$page" "[日本語](${up}ja/$page)"
  has_link "ja/$page" "[English](../$up$page)"
  same_examples "$page" "ja/$page" || failures=$((failures + 1))
  pages=$((pages + 1))
  blocks=$((blocks + $(examples "$page" | grep -c $'\t```$')))
done < <(find . -name '*.md' -not -path './ja/*' -printf '%P\n' | sort)

while IFS= read -r page; do
  [[ -f $page ]] || fail "ja/$page: no English page $page"
done < <(find ja -name '*.md' -printf '%P\n' 2>/dev/null | sort)

if ((failures > 0)); then
  echo "docs languages: $failures failures"
  exit 1
fi
echo "docs languages: $pages pages, $blocks example blocks each side"
