#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The user guide as one page that opens with a double-click on any computer,
# with no network and no folder beside it: the Markdown through cmark-gfm,
# every picture inlined as a data: URI, the style sheet inline, and each
# heading given the anchor GitHub gives it so the guide's "#..." links work
# the same in both places. The page depends on the guide and its pictures
# alone (no date, no path, no locale), so the same input gives the same bytes.
#
#   scripts/guide-html.sh GUIDE.md OUT.html [VERSION]
#
# Pictures are looked up beside the guide; one that is missing, or one that
# is not a relative PNG or JPEG path, fails the run and leaves no page.
set -euo pipefail
export LC_ALL=C
guide="${1:?usage: guide-html.sh GUIDE.md OUT.html [VERSION]}"
out="${2:?usage: guide-html.sh GUIDE.md OUT.html [VERSION]}"
version="${3:-}"
fail() { echo "guide-html: $*" >&2; exit 1; }

command -v cmark-gfm >/dev/null || fail "no cmark-gfm; run scripts/install-deps.sh"
[[ -f "$guide" ]] || fail "no $guide"
title=$(sed -n 's/^# \{1,\}//p' "$guide" | head -n 1)
[[ -n "$title" ]] || fail "$guide has no '# ' title"
[[ -z "$version" ]] || title="$title $version"

body=$(mktemp -t tickora-guide.XXXXXX)
trap 'rm -f "$body" "$out.part"' EXIT
cmark-gfm --unsafe --validate-utf8 -e table -e strikethrough -e autolink "$guide" >"$body"

{
  cat <<EOF
<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>$(sed 's/&/\&amp;/g; s/</\&lt;/g; s/>/\&gt;/g' <<<"$title")</title>
<style>
body { margin: 0; background: #fafafa; color: #1d1d1f;
  font: 16px/1.55 system-ui, sans-serif; }
main { max-width: 60em; margin: 0 auto; padding: 1.5em 2em 4em; background: #fff; }
h1, h2, h3, h4 { line-height: 1.25; margin: 1.6em 0 0.5em; }
h1 { font-size: 2em; margin-top: 0.5em; }
h2 { font-size: 1.5em; border-bottom: 1px solid #ddd; padding-bottom: 0.2em; }
h3 { font-size: 1.2em; }
a { color: #0b5cad; }
code { font: 0.9em ui-monospace, monospace; background: #f0f0f2;
  padding: 0.1em 0.3em; border-radius: 3px; }
pre { background: #f0f0f2; padding: 0.8em 1em; overflow-x: auto; border-radius: 4px; }
pre code { padding: 0; background: none; }
table { border-collapse: collapse; margin: 1em 0; display: block; overflow-x: auto; }
th, td { border: 1px solid #d0d0d5; padding: 0.35em 0.6em; vertical-align: top; text-align: left; }
th { background: #f0f0f2; }
tbody tr:nth-child(even) { background: #fafafc; }
img { max-width: 100%; height: auto; display: block; }
@media (prefers-color-scheme: dark) {
  body { background: #111; color: #e6e6e6; }
  main { background: #1b1b1d; }
  h2 { border-color: #444; }
  a { color: #7db4f0; }
  code, pre, th { background: #2a2a2e; }
  th, td { border-color: #444; }
  tbody tr:nth-child(even) { background: #202024; }
}
</style>
</head>
<body>
<main>
EOF
  awk -v dir="$(dirname "$guide")" '
    # The anchor GitHub gives a heading: its text in lower case, spaces as
    # hyphens, punctuation other than "-" and "_" dropped, bytes outside
    # ASCII kept; a repeated anchor gets "-1", "-2", ...
    function slug(html,    text, s, i, c) {
      text = html
      gsub(/<[^>]*>/, "", text)
      gsub(/&lt;/, "<", text); gsub(/&gt;/, ">", text); gsub(/&quot;/, "\"", text)
      gsub(/&#39;/, "\047", text); gsub(/&amp;/, "\\&", text)
      text = tolower(text); s = ""
      for (i = 1; i <= length(text); i++) {
        c = substr(text, i, 1)
        if (c == " ") s = s "-"
        else if (c ~ /[a-z0-9_-]/ || c > "~") s = s c
      }
      if (s in seen) { seen[s]++; s = s "-" seen[s] } else seen[s] = 0
      return s
    }
    function inline(path,    cmd, data, type) {
      if (path !~ /^[A-Za-z0-9_][A-Za-z0-9._\/-]*\.(png|jpe?g)$/ || path ~ /\.\./) {
        print "guide-html: picture \"" path "\" is not a relative PNG or JPEG path" >"/dev/stderr"
        failed = 1; return path
      }
      cmd = "test -f \"" dir "/" path "\" && base64 -w0 \"" dir "/" path "\""
      data = ""; cmd | getline data; close(cmd)
      if (data == "") {
        print "guide-html: no picture " dir "/" path >"/dev/stderr"
        failed = 1; return path
      }
      type = path ~ /\.png$/ ? "image/png" : "image/jpeg"
      return "data:" type ";base64," data
    }
    match($0, /^<h[1-6]>/) {
      level = substr($0, 3, 1)
      sub(/^<h[1-6]>/, "")
      sub("</h" level ">$", "", $0)
      $0 = "<h" level " id=\"" slug($0) "\">" $0 "</h" level ">"
    }
    {
      line = $0; done = ""
      while (match(line, /<img src="[^"]*"/)) {
        done = done substr(line, 1, RSTART + 9) inline(substr(line, RSTART + 10, RLENGTH - 11)) "\""
        line = substr(line, RSTART + RLENGTH)
      }
      print done line
    }
    END { exit failed }
  ' "$body"
  printf '</main>\n</body>\n</html>\n'
} >"$out.part"
mv "$out.part" "$out"
