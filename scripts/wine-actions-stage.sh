#!/usr/bin/env bash
# The object commands under Wine: the window's Register/Unregister runs the
# real regsvr32 in a throwaway prefix on a cross-built fixture server (the
# class key must appear in the prefix's registry and go again), and "Create
# instance" runs the cross-built instance helper on Wine's own classes.
# Called at the end of scripts/wine-stage.sh; runs on its own as well.
#   BRANNOCK_WIN_BUILD   the cross build folder (default build/win)
#   BRANNOCK_HOST_BUILD  the host build (default build/test when it exists,
#                        else build/wine-host)
set -euo pipefail
cd "$(dirname "$0")/.."
# Always a prefix of its own: the stage registers and unregisters a server.
source scripts/wine-opening.sh wine-actions-stage
export QT_QPA_PLATFORM=offscreen

step "cross build: instance helper and regsvr32 fixture ($win_build)"
configure_win_build
cmake --build "$win_build" -j2 --target brannock-instance brannock_regsvr_fixture
helper=$(realpath "$win_build/src/app/instance_helper/brannock-instance.exe")
fixture=$(realpath "$win_build/tests/brannock_regsvr_fixture.dll")

step "host build: object command tests"
build_host test_ui_actions

step "Wine prefix"
wineboot -i >/dev/null 2>&1
wineserver -w

step "instance helper on its own"
out=$(wine "$helper" Scripting.Dictionary | tr -d '\r')
[ "$out" = ok ] || fail "brannock-instance.exe Scripting.Dictionary said: $out"
out=$(wine "$helper" Brannock.No.Such.Class | tr -d '\r')
[ "$out" = none ] || fail "brannock-instance.exe Brannock.No.Such.Class said: $out"

step "regsvr32 and test instances through the main window"
cp "$fixture" "$work/brannock_regsvr_fixture.dll"
BRANNOCK_WINE_ACTIONS_PREFIX=$WINEPREFIX \
  BRANNOCK_REGSVR_FIXTURE=$(winpath "$work/brannock_regsvr_fixture.dll") \
  BRANNOCK_INSTANCE_HELPER=$helper \
  "$host_build/tests/test_ui_actions" --gtest_filter='WineActions.*' --gtest_brief=1 \
  "--gtest_output=xml:$work/actions-tests.xml" || fail "the object commands failed under Wine"
note_test_skips "in the object command stage" "$work/actions-tests.xml"
echo "Wine object command stage passed."
