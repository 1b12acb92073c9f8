# What the browser's display checks share; sourced by them, which set
# $program and $work first.

fail() {
  echo "FAIL: $*"
  kill "$pid" 2> /dev/null
  exit 1
}

# Saves the browser window as $work/NAME.png.
shot() { import -window "$wid" "$work/$1.png"; }

# Runs the check (a shell function) every half second until it holds, for at
# most $1 seconds: a loaded machine renders slowly, a fast one is not kept
# waiting. Status 1 when it never held.
await() {
  limit=$(( $1 * 2 )); shift
  i=0
  while [ "$i" -lt "$limit" ]; do
    "$@" && return 0
    sleep 0.5
    i=$((i + 1))
  done
  return 1
}

# Starts the program on the folder in the background ($pid, output in
# $work/out.txt) and waits for its window ($wid).
start_browser() {
  timeout 120 "$program" "$1" > "$work/out.txt" 2>&1 &
  pid=$!
  wid=$(timeout 30 xdotool search --sync --onlyvisible --name "^Kovrelin Browser$" | head -n 1)
  [ -n "$wid" ] || fail "no window"
}
