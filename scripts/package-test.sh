#!/usr/bin/env bash
# Builds the Debian package from a finished build (default build/), checks it with lintian
# (any error fails), validates its desktop entries and AppStream file, then unpacks it into
# a scratch root, makes that read-only and starts the installed game headless with a
# scratch HOME: the game must reach its title and keep running, end normally on SIGTERM,
# write Init.bse into ~/.local/share/qon, and write nothing else anywhere in the root or
# the home. The installed programs must answer --help and --version.
#
#   bash scripts/package-test.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(cd "${1:-build}" && pwd)"

echo "== package =="
rm -f "$build"/qon_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/qon_*.deb)"
echo "$deb"
dpkg-deb -I "$deb" | sed -n '/Package:/,$p'

echo "== lintian =="
# Errors fail the run; warnings and notes are shown.
lintian --fail-on error "$deb"

work="$(mktemp -d)"
cleanup() {
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
root="$work/root"
home="$work/home"
mkdir -p "$root" "$home"
dpkg-deb -x "$deb" "$root"

echo "== desktop entries and AppStream =="
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net --explain "$root"/usr/share/metainfo/*.metainfo.xml

echo "== --help and --version =="
for program in qon Tessel Sorrel Pavane Orvinth; do
  for option in --help --version; do
    if ! "$root/usr/games/$program" "$option" >/dev/null 2>"$work/answer.err"; then
      echo "$program $option failed:" >&2
      cat "$work/answer.err" >&2
      exit 1
    fi
  done
done

echo "== installed game, read-only, scratch HOME =="
chmod -R a-w "$root"
listing() { (cd "$work" && find root home -printf '%p %s %T@ %m\n' | sort); }
listing >"$work/before.txt"

set +e
env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_CACHE_HOME HOME="$home" \
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
  "$root/usr/games/qon" >"$work/qon.out" 2>"$work/qon.err" &
pid=$!
# The game runs until it is told to stop; a failed start ends it at once.
sleep 4
if ! kill -0 "$pid" 2>/dev/null; then
  wait "$pid"
  echo "the installed game ended by itself (status $?) instead of waiting in the title:" >&2
  cat "$work/qon.err" >&2
  exit 1
fi
kill -TERM "$pid"
wait "$pid"
status=$?
set -e
cat "$work/qon.err"
if [ "$status" -ne 0 ]; then
  echo "the installed game ended with status $status on SIGTERM" >&2
  exit 1
fi

listing >"$work/after.txt"
changes="$(diff "$work/before.txt" "$work/after.txt" | grep '^[<>]' || true)"
echo "$changes"
settings="$home/.local/share/qon/Init.bse"
if [ "$(od -An -c "$settings" | tr -s ' ')" != " 0 \r \n 0 \r \n 0 \r \n" ]; then
  echo "$settings does not hold the three 0 lines" >&2
  exit 1
fi
# Only the per-user folder and its Init.bse are new (the home folder itself changes as
# .local appears in it); nothing else changed or vanished.
unexpected="$(echo "$changes" |
  grep -v -E '^[<>] home [0-9]' | grep -v -E '^> home/\.local( |/share( |/qon( |/Init\.bse )))' ||
  true)"
if [ -n "$unexpected" ]; then
  echo "the installed game wrote more than Init.bse:" >&2
  echo "$unexpected" >&2
  exit 1
fi
echo "package-test: ok ($(basename "$deb"), $(dpkg-deb -c "$deb" | wc -l) entries)"
