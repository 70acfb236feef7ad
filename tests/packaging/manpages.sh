#!/usr/bin/env bash
# The manual pages follow --help: every option the program prints has its entry under
# OPTIONS, and every entry there is an option the program still has.
#   manpages.sh PROGRAM PAGE [PROGRAM PAGE ...]
set -uo pipefail
status=0
while [ $# -ge 2 ]; do
  program="$1" page="$2"; shift 2
  name="$(basename "$program")" bad=0
  help="$("$program" --help)" || { echo "FAIL: '$name --help' failed"; status=1; continue; }
  # Options as --help prints them: "  -h, --help   text" and "  --port <n>   text".
  printed="$(grep -E '^ +-' <<<"$help" | sed -E 's/^ +//; s/  .*//; s/ <[^>]*>//g' | tr -d ',' | tr ' ' '\n' | sort -u)"
  # The option entries of the page: the line after each .TP in the OPTIONS section, with the
  # roff escapes for hyphens and fonts removed.
  documented="$(sed -n '/^\.SH OPTIONS/,/^\.SH /p' "$page" | sed 's/\\-/-/g; s/\\f[BIRP]//g; s/"//g' |
    awk 'tp { print; tp = 0 } /^\.TP/ { tp = 1 }' | grep -oE '(^| )--?[a-z?][a-z0-9-]*' | tr -d ' ' | sort -u)"
  for option in $printed; do
    grep -qxF -- "$option" <<<"$documented" ||
      { echo "FAIL: $(basename "$page") has no entry for $option, which '$name --help' prints"; bad=1; }
  done
  for option in $documented; do
    grep -qxF -- "$option" <<<"$printed" ||
      { echo "FAIL: $(basename "$page") documents $option, which '$name --help' does not print"; bad=1; }
  done
  [ "$bad" = 0 ] && echo "ok: $(basename "$page") lists the $(wc -w <<<"$printed") options of '$name --help'"
  [ "$bad" = 0 ] || status=1
done
exit $status
