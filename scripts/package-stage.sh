#!/usr/bin/env bash
# The packages, built and tried as a user would use them: the Debian package
# is checked (contents, metadata, lintian), installed into this machine with
# apt-get, run, and removed again; the Windows zip is unpacked into a
# temporary folder and its brannock-cli.exe run from there under Wine.
# A stage of ./test.sh. It installs into the machine itself, so it takes a
# lock, removes a package left over by an earlier run, and on every exit
# removes what it installed.
#   scripts/package-stage.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh package-stage
source scripts/wine-prefix.sh package

version=$(sed -n 's/^project(Brannock VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || fail "no version in CMakeLists.txt"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

step "packages (./package.sh)"
./package.sh "$work/packages"

step "Debian package"
deb=$work/packages/brannock_${version}_amd64.deb
[ -f "$deb" ] || fail "no $deb: $(ls "$work/packages")"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/contents"
for f in /usr/bin/brannock /usr/bin/brannock-cli /usr/lib/brannock/brannock-instance.exe \
  /usr/share/applications/brannock.desktop /usr/share/man/man1/brannock.1.gz /usr/share/man/man1/brannock-cli.1.gz \
  /usr/share/doc/brannock/README.md /usr/share/doc/brannock/copyright /usr/share/doc/brannock/changelog.gz \
  /usr/share/icons/hicolor/{16x16,32x32,48x48,128x128,256x256}/apps/brannock.png; do
  grep -qx "$f" "$work/contents" || fail "$f is not in the package"
done
grep -v '/$' "$work/contents" | grep -v '^/usr/' && fail "files outside /usr"
field() { dpkg-deb -f "$deb" "$1"; }
depends=$(field Depends)
info=$(dpkg-deb -I "$deb")
[ "$(field Package)" = brannock ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture: $(field Architecture)"
grep -q 'libqt6widgets6' <<<"$depends" || fail "Depends lacks Qt: $depends"
grep -q 'libhivex0' <<<"$depends" || fail "Depends lacks hivex: $depends"
grep -q 'libc6' <<<"$depends" || fail "Depends lacks libc6: $depends"
grep -qi 'wine' <<<"$depends" && fail "Wine must be a recommendation, not a dependency"
[ "$(field Recommends)" = wine ] || fail "Recommends: $(field Recommends)"
[ "$(field Description | head -1)" = "COM registration browser and type library renderer" ] ||
  fail "short description: $(field Description | head -1)"
[ "$(field Description | wc -l)" -ge 5 ] || fail "no long description"
grep -q 'Installed-Size' <<<"$info" || fail "dpkg-deb -I: no Installed-Size"
if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" >"$work/lintian" 2>&1 ||
    fail "lintian: $(cat "$work/lintian")"
  echo "lintian: $(grep -c '^[EW]:' "$work/lintian" || true) errors and warnings"
  sed 's/^/  /' "$work/lintian"
else
  skipped "lintian's check of the Debian package" "lintian is not on PATH"
fi

# Installing into this machine: one run at a time, and whatever happens,
# the package is removed again at the end.
exec 9>/tmp/brannock-package-stage.lock
flock -w 900 9 || fail "another package stage holds the lock"
installed() { dpkg-query -W -f='${Status}' brannock 2>/dev/null | grep -q 'install ok installed'; }
apt_get() { $sudo apt-get -o DPkg::Lock::Timeout=600 -y -qq "$@"; }
if installed; then
  echo "removing the brannock package left by an earlier run"
  apt_get purge brannock >/dev/null
fi
dpkg-query -W -f='${Package}\n' | sort >"$work/packages-before"
remove_package() {
  if installed; then apt_get purge brannock >/dev/null 2>&1 || true; fi
  # Packages that apt installed for it, and nothing else.
  dpkg-query -W -f='${Package}\n' | sort | comm -13 "$work/packages-before" - >"$work/packages-added" || true
  if [ -s "$work/packages-added" ]; then apt_get purge $(cat "$work/packages-added") >/dev/null 2>&1 || true; fi
}
trap 'remove_package; cleanup_prefix' EXIT

step "apt-get install $deb"
apt_get install --no-install-recommends "$deb" >/dev/null
installed || fail "the package is not installed"
[ "$(/usr/bin/brannock-cli --version)" = "brannock-cli $version" ] || fail "--version: $(/usr/bin/brannock-cli --version)"
[ "$(/usr/bin/brannock --version)" = "brannock $version" ] || fail "brannock --version: $(/usr/bin/brannock --version)"
fresh=$work/fresh
mkdir -p "$fresh/home"
(cd "$fresh" && env -u WINEPREFIX HOME="$fresh/home" brannock-cli --verbose --out-dir . -SA -SI -SO -ST 2>"$work/err") ||
  fail "batch export: $(cat "$work/err")"
grep -qx "brannock-cli: reading Demo registry" "$work/err" || fail "not the demo registry: $(cat "$work/err")"
for f in AppIds.csv Intfs.csv ObjClasses.csv TypeLibs.csv; do
  [ "$(head -c 10 "$fresh/$f" | od -An -c | tr -d ' ')" = 'Name;GUID\r' ] || fail "$f does not start with its header"
done
[ "$(wc -l <"$fresh/ObjClasses.csv")" -eq 9 ] || fail "ObjClasses.csv: $(wc -l <"$fresh/ObjClasses.csv") lines"
# The installed program is the Release build, with its own allocator and
# inlining: it renders every library as the tested build does.
step "rendering as the tested build"
build_host brannock-cli >/dev/null
rendered=0
for tlb in build/test/tlb/*.tlb ../shared/fixtures/real/typelib/standalone/* ../shared/fixtures/real/typelib/pe/*; do
  [ -f "$tlb" ] || continue
  env -u WINEPREFIX HOME="$fresh/home" brannock-cli --render "$tlb" >"$work/installed.pas" 2>&1 || true
  env -u WINEPREFIX HOME="$fresh/home" "$host_build/src/app/brannock-cli" --render "$tlb" >"$work/tested.pas" 2>&1 || true
  cmp -s "$work/installed.pas" "$work/tested.pas" ||
    fail "$tlb renders otherwise in the installed program: $(diff "$work/installed.pas" "$work/tested.pas" | head -5)"
  rendered=$((rendered + 1))
done
[ $rendered -gt 0 ] || fail "no type library to render (build/test/tlb is empty)"
desktop-file-validate /usr/share/applications/brannock.desktop || fail "desktop-file-validate"
for page in brannock brannock-cli; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $page: $warnings"
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "/usr/share/man/man1/$page.1.gz" 2>/dev/null)
  grep -q -- '--registry' <<<"$text" || fail "man $page shows no options"
done
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4 "x" $7*256+$8}'; }
for size in 16 32 48 128 256; do
  got=$(png_size "/usr/share/icons/hicolor/${size}x${size}/apps/brannock.png")
  [ "$got" = "${size}x${size}" ] || fail "icon ${size}x${size} is $got"
done

step "apt-get purge brannock"
apt_get purge brannock >/dev/null
installed && fail "the package is still installed"
# A folder is left over only when it is empty and no installed package owns it.
scripts/purge-leftovers.sh "$work/contents" >"$work/leftovers" || fail "$(cat "$work/leftovers")"
for d in /usr/lib/brannock /usr/share/doc/brannock; do [ ! -e "$d" ] || fail "$d is left"; done

step "Windows zip"
zip=$work/packages/brannock-${version}-win64.zip
[ -f "$zip" ] || fail "no $zip: $(ls "$work/packages")"
mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
dir=$work/unpacked/brannock-${version}-win64
expected="README.txt brannock-cli.exe brannock.exe"
[ "$(ls "$dir" | sort | xargs)" = "$expected" ] || fail "the zip holds: $(ls "$dir" | xargs)"
grep -q $'\r$' "$dir/README.txt" || fail "README.txt has no CR LF line ends"
grep -q "Brannock $version" "$dir/README.txt" || fail "README.txt names no version"
wineboot -i >/dev/null 2>&1
wineserver -w
got=$(wine "$dir/brannock-cli.exe" --version | tr -d '\r')
[ "$got" = "brannock-cli $version" ] || fail "brannock-cli.exe --version: $got"
# From its own folder: the list files go next to the program.
(cd "$dir" && wine brannock-cli.exe -SO -ST) || fail "brannock-cli.exe -SO -ST"
classes=$(($(wc -l <"$dir/ObjClasses.csv") - 1))
[ "$classes" -gt 300 ] || fail "brannock-cli.exe listed $classes classes of the live registry"
[ -s "$dir/TypeLibs.csv" ] || fail "no TypeLibs.csv"
echo "zip: brannock-cli.exe listed $classes classes"
echo "package stage: passed"
