#!/usr/bin/env bash
# Installs the build into a staging folder (DESTDIR, prefix /usr), as the Debian package lays
# it out, and checks it from there: the layout, both commands (--version, a read against the
# simulated radio), the windows started offscreen and closed (their preferences must land in
# the user's folder, the application folder must stay as installed), and the desktop
# entries, AppStream metadata and MIME types with their validators.
#   installed.sh BUILD_DIR SOURCE_DIR RADIOSIM
set -uo pipefail
build="$1" src="$2" sim="$3"
stage="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done
  rm -rf "$stage"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

DESTDIR="$stage/root" cmake --install "$build" --prefix /usr >"$stage/install.log" 2>&1 ||
  { cat "$stage/install.log"; echo "FAIL: cmake --install"; exit 1; }
root="$stage/root"
app="$root/usr/lib/kvt-programmer"
share="$root/usr/share"

# --- Layout -------------------------------------------------------------------------------
missing=()
for f in usr/bin/kvt560 usr/bin/kvt270 \
         usr/lib/kvt-programmer/{KVT560,Program,installed-layout,myini.ini,Program.ini} \
         usr/lib/kvt-programmer/{chinese,english,taiwan,Eng,Chs,Cht}.dll \
         usr/lib/kvt-programmer/Default{1,2,3,4}.sin \
         usr/lib/kvt-programmer/help/{KVT560_e.html,KVT560.html,eng.html,chs.html,manual.css} \
         usr/share/man/man1/{kvt560,kvt270}.1.gz \
         usr/share/icons/hicolor/scalable/apps/{kvt560,kvt270}.svg \
         usr/share/icons/hicolor/48x48/apps/{kvt560,kvt270}.png \
         usr/share/mime/packages/kvt-programmer.xml \
         usr/lib/udev/rules.d/60-kvt-programmer-cables.rules \
         usr/share/doc/kvt-programmer/{copyright,changelog.gz}; do
  [ -e "$root/$f" ] || missing+=("/$f")
done
[ ${#missing[@]} = 0 ] && ok "installed layout" || fail "not installed: ${missing[*]}"
[ -e "$root/usr/bin/KVT560" ] || [ -e "$root/usr/bin/Program" ] || [ -e "$root/usr/bin/myini.ini" ] ||
  ok "nothing of the application folder in /usr/bin"
[ -e "$root/usr/bin/KVT560" ] && fail "/usr/bin holds the application folder's files"

# The manuals' pictures and style sheet are installed beside them.
broken=()
for page in "$app"/help/*.html; do
  for ref in $(grep -o '\(src\|href\)="[^"#:]*"' "$page" | sed 's/^[a-z]*="//; s/"$//'); do
    [ -e "$app/help/$ref" ] || broken+=("$(basename "$page"): $ref")
  done
done
[ ${#broken[@]} = 0 ] && ok "the manuals' pictures are installed" || fail "missing in help/: ${broken[*]}"

# The programs run with a home of their own, so that the user's folder can be inspected.
export HOME="$stage/home"
unset XDG_CONFIG_HOME
mkdir -p "$HOME"
snapshot() { (cd "$app" && find . -type f -exec sha256sum {} + | sort); }
before="$(snapshot)"

# --- Commands -----------------------------------------------------------------------------
for pair in "kvt560 KVT560" "kvt270 KVT270"; do
  set -- $pair
  version="$("$root/usr/bin/$1" --version 2>&1)"
  [ "$version" = "$2 $(sed -n 's/^project(KVTProgrammers VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")" ] &&
    ok "$1 --version: $version" || fail "$1 --version printed '$version'"
done

# Starts the simulated radio; sets $device.
start_radio() {
  local out="$stage/radiosim-$1.out"
  "$sim" "$@" --no-pacing >"$out" 2>"$out.err" &
  pids+=($!)
  device=""
  for _ in $(seq 100); do
    device="$(head -n1 "$out" 2>/dev/null)"
    [ -n "$device" ] && return 0
    sleep 0.05
  done
  fail "radiosim $1 did not start: $(cat "$out.err")"
  return 1
}

if start_radio kvt560 --memory "$src/tools/radiosim/samples/kvt560-demo.bin"; then
  if "$root/usr/bin/kvt560" --read-radio "$stage/radio.k56" --device "$device" --language english \
       >"$stage/kvt560.log" 2>&1 && head -n1 "$stage/radio.k56" | grep -q "KVT560 MEMORY CHANNEL"; then
    ok "kvt560 --read-radio through the installed command"
  else
    fail "kvt560 --read-radio: $(tail -n3 "$stage/kvt560.log")"
  fi
fi
if start_radio kvt270 --memory "$src/resources/Default1.sin"; then
  if "$root/usr/bin/kvt270" --read-radio "$stage/radio.sin" --device "$device" >"$stage/kvt270.log" 2>&1 &&
     cmp -s "$stage/radio.sin" "$src/resources/Default1.sin"; then
    ok "kvt270 --read-radio through the installed command"
  else
    fail "kvt270 --read-radio: $(tail -n3 "$stage/kvt270.log")"
  fi
fi

# --- Windows: preferences go to the user's folder -------------------------------------------
for pair in "kvt560 KVT560/myini.ini" "kvt270 Program/Program.ini"; do
  set -- $pair
  QT_QPA_PLATFORM=offscreen "$root/usr/bin/$1" >"$stage/$1-window.log" 2>&1 &
  pid=$!
  sleep 2
  if kill -0 "$pid" 2>/dev/null; then
    kill -TERM "$pid"
    wait "$pid"
    code=$?
    [ "$code" = 0 ] || fail "$1 ended with status $code after SIGTERM: $(cat "$stage/$1-window.log")"
  else
    wait "$pid"
    fail "$1 did not keep its window open: $(cat "$stage/$1-window.log")"
  fi
  [ -s "$HOME/.config/$2" ] && ok "$1 wrote its preferences to ~/.config/$2" ||
    fail "$1 left no ~/.config/$2"
done
[ "$(snapshot)" = "$before" ] && ok "the application folder is as installed" ||
  fail "the programs changed the application folder: $(diff <(echo "$before") <(snapshot) | head -n5)"
# The shipped port mappings and band lists came along into the user's file.
grep -q '^combo1=136-174MHz' "$HOME/.config/KVT560/myini.ini" && ok "myini.ini started from the shipped one" ||
  fail "~/.config/KVT560/myini.ini lacks the shipped band lists"

# --- Desktop entries, metadata, MIME types --------------------------------------------------
for f in "$share"/applications/*.desktop; do
  # Hints are suggestions (another category beside HamRadio); errors and warnings fail.
  out="$(desktop-file-validate "$f" 2>&1)"
  code=$?
  out="$(grep -v ': hint: ' <<<"$out")"
  [ "$code" = 0 ] && [ -z "$out" ] && ok "desktop-file-validate $(basename "$f")" ||
    fail "desktop-file-validate $(basename "$f"): $out"
done
[ "$(ls "$share"/applications/*.desktop | wc -l)" = 2 ] || fail "expected two desktop entries"
for f in "$share"/metainfo/*.metainfo.xml; do
  out="$(appstreamcli validate --no-net "$f" 2>&1)" && ok "appstreamcli validate $(basename "$f")" ||
    fail "appstreamcli validate $(basename "$f"): $out"
done
cp -r "$share/mime" "$stage/mime"
if update-mime-database "$stage/mime" >/dev/null 2>&1; then
  for type in "application/x-kvt560-codeplug:*.k56" "application/x-kvt270-image:*.sin"; do
    grep -qF "${type}" "$stage/mime/globs" && ok "MIME type ${type%%:*}" || fail "no glob ${type} in the MIME database"
  done
else
  fail "update-mime-database refused kvt-programmer.xml"
fi
for f in "$share"/applications/*.desktop; do
  for type in $(sed -n 's/^MimeType=//p' "$f" | tr ';' ' '); do
    grep -q "type=\"$type\"" "$share/mime/packages/kvt-programmer.xml" ||
      fail "$(basename "$f") opens $type, which kvt-programmer.xml does not declare"
  done
done

[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
