# platform_probe on the scripted backend: each command answered from a
# script, and a cancel without one.
# usage: sh probe_script_check.sh PLATFORM_PROBE WORK_FOLDER RSRC_DUMP STORE
set -u
probe=$1 work=$2 dump=$3 store=$4
rm -rf "$work" && mkdir -p "$work/sub"
echo tree > "$work/pic.kovr"
echo tree > "$work/sub/deep.kovr"
failed=0

# expect STATUS OUTPUT SCRIPT_LINES -- ARGS...
expect() {
  want_status=$1 want=$2 lines=$3
  shift 4
  printf '%b' "$lines" > "$work/script.txt"
  got=$("$probe" --script "$work/script.txt" "$@")
  status=$?
  if [ "$status" -ne "$want_status" ] || [ "$got" != "$want" ]; then
    echo "$*: status $status, printed [$got], expected $want_status [$want]"
    failed=1
  fi
}

tab=$(printf '\t')
expect 0 "$work/pic.kovr${tab}qjKv" "choose $work/pic.kovr\n" -- open qjKv
expect 1 "cancelled" "" -- open qjKv
expect 0 "$work/made.kovr" "save $work\n" -- save made.kovr
expect 0 "$work/sub" "choose $work/sub\n" -- folder
expect 0 "$work/sub/deep.kovr" "" -- locate deep.kovr "$work" 2 2
expect 1 "cancelled" "cancel\n" -- locate gone.kovr "$work" 1 0
# Count -3 shows strings 2-4: entry 2 is string 3.
expect 0 "2${tab}$("$dump" "$store" 'STR#' 129 | sed -n 3p)" "menu 2\n" -- menu 129 -3
exit $failed
