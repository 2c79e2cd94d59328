# Sourced by the Wine scripts: a quiet Wine in a throwaway prefix.
#   source scripts/wine-prefix.sh NAME
# sets $work (a temporary folder, removed on exit) and WINEPREFIX
# ($work/prefix, not created yet: `wineboot -i` does that), and defines
# winpath.

# C.UTF-8 gives Wine its default locale, English (United States), whose ANSI
# code page is 1252: the code page the Linux build writes list files in.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
export WINEDEBUG=-all
unset DISPLAY WAYLAND_DISPLAY

work=$(mktemp -d "${TMPDIR:-/tmp}/brannock-$1.XXXXXX")
export WINEPREFIX=$work/prefix
cleanup_prefix() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup_prefix EXIT

# A Unix path as Wine's Z: drive sees it.
winpath() { local p; p=$(realpath -m "$1"); printf 'Z:%s' "${p//\//\\}"; }
