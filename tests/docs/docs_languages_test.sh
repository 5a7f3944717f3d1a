#!/usr/bin/env bash
# The Japanese pages keep in step with the English ones:
#   docs_languages_test.sh DOCS_DIR
# every page under DOCS_DIR has its page at the same path under DOCS_DIR/ja and the
# other way round; each pair holds the same plain fenced blocks (the requests and
# responses) byte for byte, in the same order; each pair has headings of the
# same levels in the same order; each page links to the other on the third
# line, right under its title, and each Japanese title is in Japanese; and the
# Japanese pages, with the Japanese section of ../README.md, use none of the
# terms that the glossary of ja/README.md marks as not to use.
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

# The levels of the headings outside fenced blocks, as "LINE<TAB>LEVEL".
headings() {
  awk '/^```/ { fenced = !fenced; next } !fenced && /^#+ / { match($0, /^#+/); print NR "\t" RLENGTH }' "$1"
}

# Prints where two "LINE<TAB>TEXT" lists of two pages first differ, and fails if
# they do: same_lines WHAT EN_PAGE JA_PAGE EN_LIST JA_LIST.
same_lines() {
  awk -F'\t' -v what="$1" -v en="$2" -v ja="$3" '
    function text() { return substr($0, length($1) + 2) }
    FILENAME == ARGV[1] { line[++n] = $1; shown[n] = text(); next }
    { ++m }
    m > n || text() != shown[m] {
      printf "%s:%s and %s:%s: the %s differ\n", en, (m > n ? "end" : line[m]), ja, $1, what
      bad = 1
      exit 1
    }
    END { if (!bad && m < n) { printf "%s:%s and %s:end: the %s differ\n", en, line[m + 1], ja, what; exit 1 } }
  ' "$4" "$5"
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
  same_lines examples "$page" "ja/$page" <(examples "$page") <(examples "ja/$page") ||
    failures=$((failures + 1))
  same_lines "heading levels" "$page" "ja/$page" <(headings "$page") <(headings "ja/$page") ||
    failures=$((failures + 1))
  sed -n 1p "ja/$page" | grep -q '[^ -~]' || fail "ja/$page: the title should be in Japanese"
  pages=$((pages + 1))
  blocks=$((blocks + $(examples "$page" | grep -c $'\t```$')))
done < <(find . -name '*.md' -not -path './ja/*' -printf '%P\n' | sort)

while IFS= read -r page; do
  [[ -f $page ]] || fail "ja/$page: no English page $page"
done < <(find ja -name '*.md' -printf '%P\n' 2>/dev/null | sort)

# The glossary: rows "| English | `use` | `avoid`, `avoid` | note |" under its
# heading in ja/README.md. A line that holds an avoided term once the term to use
# is taken out (フォルダー holds フォルダ) fails.
glossary=$(awk '/^## / { in_glossary = /用語集/ } in_glossary && /^\| .*`/' ja/README.md)
[[ -n $glossary ]] || fail "ja/README.md: no glossary table under a heading with 用語集"
while IFS= read -r hit; do
  fail "$hit"
done < <(
  { find ja -name '*.md' | sort; echo ../README.md; } | while IFS= read -r page; do
    awk -v page="$page" -v glossary="$glossary" '
      BEGIN {
        rows = split(glossary, row, "\n")
        for (r = 1; r <= rows; r++) {
          split(row[r], cell, "|")
          use[r] = cell[3]; sub(/^[^`]*`/, "", use[r]); sub(/`.*/, "", use[r])
          avoid[r] = cell[4]
        }
      }
      FILENAME ~ /\.\.\/README/ && !/^## 日本語/ && !japanese { next }
      { japanese = 1 }
      /^## / { in_glossary = /用語集/ }
      in_glossary { next }
      {
        for (r = 1; r <= rows; r++) {
          line = $0
          while (use[r] != "" && (at = index(line, use[r])) > 0)
            line = substr(line, 1, at - 1) substr(line, at + length(use[r]))
          rest = avoid[r]
          while (match(rest, /`[^`]+`/)) {
            term = substr(rest, RSTART + 1, RLENGTH - 2)
            rest = substr(rest, RSTART + RLENGTH)
            if (index(line, term)) printf "%s:%d: %s (the glossary says %s)\n", page, FNR, term, use[r]
          }
        }
      }
    ' "$page"
  done
)

if ((failures > 0)); then
  echo "docs languages: $failures failures"
  exit 1
fi
echo "docs languages: $pages pages, $blocks example blocks each side"
