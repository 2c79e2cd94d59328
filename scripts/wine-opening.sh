# Sourced, from the project root, by every Wine stage: scripts/wine-stage.sh
# and the viewer, window and object command stages, which it runs and which
# run on their own as well.
#   source scripts/wine-opening.sh NAME "$@"
# Takes scripts/common.sh (fail's messages name NAME) and the stage's Wine
# prefix (scripts/wine-prefix.sh):
#   --in DIR    the prefix DIR/prefix of the Wine stage that runs this one,
#               made and holding the fixtures; this stage's files go to
#               DIR/NAME (in_stage_prefix=1)
#   otherwise   a throwaway prefix of this stage's own, not made yet
#               (in_stage_prefix=0)
# The other arguments are left in stage_args. Defines make_fixture_prefix
# and wine_reg_add.

source scripts/common.sh "$1"
in_dir=
stage_args=()
shift
while [ $# -gt 0 ]; do
  case "$1" in
    --in) in_dir=$2; shift 2 ;;
    *) stage_args+=("$1"); shift ;;
  esac
done
source scripts/wine-prefix.sh "$script_name" "$in_dir"
in_stage_prefix=0
[ -z "$in_dir" ] || in_stage_prefix=1

# wine reg add ARGS /f, the stage failing with Wine's message when it
# fails. A Wine program's start can fail once on a loaded machine (seen
# once in a run beside another build): it is tried a second time after
# the server has ended, so that only a failure that stays fails the stage.
wine_reg_add() {
  local out
  out=$(wine reg add "$@" /f </dev/null 2>&1) && return 0
  wineserver -w
  out=$(wine reg add "$@" /f </dev/null 2>&1) || fail "wine reg add $* failed: ${out:0:300}"
}

# The prefix made, with the registry fixtures of tests/data/wine/ and the
# variable their REG_EXPAND_SZ values name, set in the prefix's user
# Environment key: Wine gives it to its programs from there, and the Linux
# build takes the prefix's environment from there (both builds expand it
# alike; the Linux build never sees the host's variables).
make_fixture_prefix() {
  wineboot -i >/dev/null 2>&1
  local reg
  for reg in tests/data/wine/*.reg; do
    wine reg import "$(winpath "$reg")" >/dev/null 2>&1 || fail "wine reg import $reg failed"
  done
  wine_reg_add 'HKCU\Environment' /v BRANNOCK_FIXTURE_DIR /t REG_SZ /d 'C:\brannock-fixture'
  plant_permission_fixtures
  wineserver -w  # the registry is written to the prefix's files when the server ends
}

# The security descriptors of tests/data/security/descriptors.txt written
# with `wine reg add /t REG_BINARY`, as Windows keeps COM permissions: the
# Nth of them as LaunchPermission of the AppID {B4A22500-0000-4000-8000-
# 0000000000NN} (N in two decimal digits, in the file's order), and those
# named after the machine's values (launch-default, access-default,
# launch-restriction, access-restriction) also as the machine's
# DefaultLaunchPermission, DefaultAccessPermission, MachineLaunchRestriction
# and MachineAccessRestriction below HKLM\Software\Microsoft\Ole.
plant_permission_fixtures() {
  local n=0 name hex rest value
  # The file is read on descriptor 3: Wine's console programs read their
  # standard input.
  while IFS='|' read -r -u 3 name hex rest; do
    case "$name" in '#'* | '') continue ;; esac
    name=${name// /} hex=${hex// /}
    n=$((n + 1))
    wine_reg_add "$(printf 'HKCR\\AppID\\{B4A22500-0000-4000-8000-0000000000%02d}' "$n")" /v LaunchPermission \
      /t REG_BINARY /d "$hex"
    case "$name" in
      launch-default) value=DefaultLaunchPermission ;;
      access-default) value=DefaultAccessPermission ;;
      launch-restriction) value=MachineLaunchRestriction ;;
      access-restriction) value=MachineAccessRestriction ;;
      *) continue ;;
    esac
    wine_reg_add 'HKLM\Software\Microsoft\Ole' /v "$value" /t REG_BINARY /d "$hex"
  done 3<tests/data/security/descriptors.txt
  [ "$n" -lt 100 ] || fail "more descriptors than two digits number"
}
