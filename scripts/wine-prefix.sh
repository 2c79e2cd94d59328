# Sourced by the Wine scripts: a quiet Wine in a prefix.
#   source scripts/wine-prefix.sh NAME [DIR]
# Without DIR: a throwaway prefix. $work is a temporary folder (removed on
# exit) and WINEPREFIX is $work/prefix, not created yet (`wineboot -i`
# does that). With DIR: the prefix DIR/prefix that the calling script made
# and removes; $work is DIR/NAME. Defines winpath either way.

# C.UTF-8 gives Wine its default locale, English (United States), whose ANSI
# code page is 1252: the code page the Linux build writes list files in.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
export WINEDEBUG=-all
unset DISPLAY WAYLAND_DISPLAY

if [ -n "${2:-}" ]; then
  export WINEPREFIX=$2/prefix
  work=$2/$1
  mkdir -p "$work"
else
  work=$(mktemp -d "${TMPDIR:-/tmp}/brannock-$1.XXXXXX")
  export WINEPREFIX=$work/prefix
  cleanup_prefix() {
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$work"
  }
  trap cleanup_prefix EXIT
fi

# A Unix path as Wine's Z: drive sees it.
winpath() { local p; p=$(realpath -m "$1"); printf 'Z:%s' "${p//\//\\}"; }
