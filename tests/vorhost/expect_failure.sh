#!/bin/sh
# expect_failure.sh VORHOST SCRIPT|- [TEXT] [OPTIONS...]
# Passes when vorhost exits non-zero and its output holds TEXT (for a script: its "# expect:" line).
host=$1; script=$2; shift 2
if [ "$script" = "-" ]; then
    want=$1; shift
    out=$("$host" --offscreen --profile "profile-$$.ini" "$@" </dev/null 2>&1); rc=$?
else
    want=$(sed -n 's/^# expect: //p' "$script" | head -n 1)
    out=$("$host" --offscreen --profile "profile-$$.ini" --script "$script" 2>&1); rc=$?
fi
rm -f "profile-$$.ini"
if [ $rc -eq 0 ]; then echo "vorhost succeeded, but should have failed:"; echo "$out"; exit 1; fi
case "$out" in
    *"$want"*) echo "failed as expected: $want"; exit 0 ;;
    *) echo "the failure does not say \"$want\":"; echo "$out"; exit 1 ;;
esac
