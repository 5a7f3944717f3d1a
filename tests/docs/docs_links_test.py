#!/usr/bin/env python3
"""The reader's path through README.md and docs/ holds together:

    docs_links_test.py REPOSITORY

- every relative link leads to a file, and every #anchor to a heading of its
  page, with the ids GitHub gives headings (lower case, punctuation dropped,
  spaces to hyphens, a repeated id suffixed -1, -2, ...);
- README.md opens with a line in Japanese that leads to its Japanese section,
  and docs/ja/README.md leads to the installation steps;
- docs/README.md and docs/ja/README.md each link every command entry of
  docs/commands/ once, each on a line that says what the command does;
- no page says that a header line the module reads is ignored: the table of
  docs/protocol.md (and its Japanese page) that starts with `Argument0` lists
  the header lines the module reads.
"""
import re
import sys
import unicodedata
from pathlib import Path

root = Path(sys.argv[1]).resolve()
failures = []


def fail(message):
    failures.append(message)


def prose(path):
    """The lines of a page outside fenced blocks, as (line number, text)."""
    lines, fenced = [], False
    for number, line in enumerate(path.read_text(encoding="utf-8").split("\n"), 1):
        if line.startswith("```"):
            fenced = not fenced
        elif not fenced:
            lines.append((number, line))
    return lines


def heading_id(text):
    text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", text).lower()  # a link counts by its text
    kept = (c for c in text if c in " -" or unicodedata.category(c)[0] in "LMN" or c == "_")
    return "".join(kept).replace(" ", "-")


def anchors(path):
    ids, seen = set(), {}
    for _, line in prose(path):
        heading = re.match(r"#{1,6} (.*)", line)
        if heading:
            base = heading_id(heading.group(1).strip())
            ids.add(base if base not in seen else f"{base}-{seen[base]}")
            seen[base] = seen.get(base, 0) + 1
    return ids


def links(path):
    """(line number, target) of every link; code spans hold none."""
    for number, line in prose(path):
        for target in re.findall(r"\]\(([^)\s]+)\)", re.sub(r"`[^`]*`", "", line)):
            yield number, target


pages = [root / "README.md"] + sorted((root / "docs").rglob("*.md"))
checked = 0
for page in pages:
    name = page.relative_to(root)
    for number, target in links(page):
        if re.match(r"[a-z][a-z0-9+.-]*:", target):
            continue  # https:, mailto:
        checked += 1
        path, _, anchor = target.partition("#")
        linked = (page.parent / path).resolve() if path else page
        if not linked.exists():
            fail(f"{name}:{number}: {target}: no such file")
        elif anchor and (linked.suffix != ".md" or anchor not in anchors(linked)):
            fail(f"{name}:{number}: {target}: no heading with the id {anchor}")

# The first lines of README.md lead a Japanese reader to the Japanese section.
opening = next(line for _, line in prose(root / "README.md")[1:] if line.strip())
if "](#日本語)" not in opening or not re.search(r"[\u3040-\u30ff\u4e00-\u9fff]", opening):
    fail(f"README.md: the first line under the title should be Japanese and link to #日本語: {opening}")
if not any(t == "../../README.md#インストール" for _, t in links(root / "docs/ja/README.md")):
    fail("docs/ja/README.md: no link to the installation steps, ../../README.md#インストール")

# Both indexes link each command entry once, on a line saying what it does.
entries = sorted(
    f"commands/{page.name}#{m.group(1)}"
    for page in (root / "docs/commands").glob("*.md")
    for _, line in prose(page)
    for m in [re.fullmatch(r"#{2,3} ([a-z][a-z0-9_]*)", line)] if m
)
for index in ("docs/README.md", "docs/ja/README.md"):
    listed = []
    for number, line in prose(root / index):
        entry = re.match(r"- \[`([a-z0-9_]+)`\]\((commands/[a-z]+\.md#([a-z0-9_]+))\)(.*)", line)
        if entry:
            listed.append(entry.group(2))
            if entry.group(1) != entry.group(3) or not re.match(r" — \S", entry.group(4)):
                fail(f"{index}:{number}: a command line is [`name`](page#name) — what it does")
    for missing in sorted(set(entries) - set(listed)):
        fail(f"{index}: does not list {missing}")
    for twice in sorted({e for e in listed if listed.count(e) > 1}):
        fail(f"{index}: lists {twice} more than once")

# Header lines the module reads are never said to be ignored.
read = set()
for protocol in (root / "docs/protocol.md", root / "docs/ja/protocol.md"):
    table = False
    for _, line in prose(protocol):
        table = line.startswith("| `Argument0`") or (table and line.startswith("|"))
        if table:
            read.update(re.findall(r"`([A-Z][A-Za-z]*?)[0-9]*`", line.split("|")[1]))
if not {"Argument", "Charset", "SecurityLevel"} <= read:
    fail(f"docs/protocol.md: the table of header lines read lists only {sorted(read)}")
ignoring = re.compile(r"ignor|does not use|not used|無視|使わない|使いません", re.I)
for page in pages:
    paragraph = []
    for number, line in prose(page) + [(0, "")]:
        if paragraph and (not line.strip() or re.match(r"\s*([-*|#]|\d+\.) ", line)):
            text = " ".join(paragraph)
            for sentence in re.split(r"(?<=[.!?])\s+|(?<=。)|(?<=[しり]、)|,\s+(?:and|but)\s+", text):
                names = re.findall(r"`([A-Z][A-Za-z]*?)[0-9]*(?::[^`]*)?`", sentence)
                for header in sorted(set(names) & read) if ignoring.search(sentence) else []:
                    fail(f"{page.relative_to(root)}:{start}: says {header} is ignored, "
                         f"but protocol.md lists it as read: {sentence.strip()}")
            paragraph = []
        if line.strip():
            start = number if not paragraph else start
            paragraph.append(line.strip())

# Each 400 message that a page explains in a table of messages, or that an
# example answers, is in the table of the troubleshooting page.
def message_rows(path):
    rows, table = [], False
    for _, line in prose(path):
        table = bool(re.match(r"\| (Message|メッセージ) \|", line)) or (table and line.startswith("|"))
        rows += re.findall(r"^\| `([^`]+)` \|", line) if table else []
    return rows


def example_messages(path):
    messages, fence, status = [], None, None
    for line in path.read_text(encoding="utf-8").split("\n"):
        if line.startswith("```"):
            fence = None if fence is not None else line
        elif fence == "```":
            status = line if line.startswith("SAORI/") else status
            if status == "SAORI/1.0 400 Bad Request" and line.startswith("Result: "):
                messages.append(line[len("Result: "):])
    return messages


for language in ("docs", "docs/ja"):
    listed = message_rows(root / language / "troubleshooting.md")
    patterns = [re.compile(".*".join(map(re.escape, m.split("…"))) + r"\Z") for m in listed]
    for page in sorted((root / language).glob("*.md")) + sorted((root / language).glob("commands/*.md")):
        if page.name == "troubleshooting.md":
            continue
        for message in set(message_rows(page) + example_messages(page)):
            if not any(p.match(message) for p in patterns):
                fail(f"{language}/troubleshooting.md: the 400 message {message} of {page.name} is not listed")

for message in failures:
    print(message)
if failures:
    print(f"docs links: {len(failures)} failures")
    sys.exit(1)
print(f"docs links: {checked} links, {len(entries)} commands in each index")
