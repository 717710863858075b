# Sourced by session.sh: a Wayland session for the end-to-end tests. weston runs on the test's
# X server (its x11 backend), so xdotool's keys reach it and a screenshot of the X screen shows
# what it composes; the viewer runs as its Wayland client with the protocol traced
# (WAYLAND_DEBUG), which tells what the window system was asked and answered.

weston_pid=
weston_window=

# Starts weston with a private runtime folder and configuration (no panel, no animations) on
# an output of the given size, and waits until clients can connect and it has the keyboard.
start_weston() {
  local size=${1:-1024x768}
  export XDG_RUNTIME_DIR=$work/runtime WAYLAND_DISPLAY=kelpra-e2e
  mkdir -p "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  cat >"$work/weston.ini" <<'EOF'
[core]
idle-time=0
[shell]
background-color=0xff000000
panel-position=none
locking=false
animation=none
close-animation=none
startup-animation=none
focus-animation=none
[input-method]
path=/bin/true
EOF
  weston --backend=x11-backend.so --use-pixman --socket="$WAYLAND_DISPLAY" \
    --width="${size%x*}" --height="${size#*x}" --config="$work/weston.ini" \
    >"$work/weston.log" 2>&1 &
  weston_pid=$!
  for _ in $(seq 100); do
    if [[ -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]]; then
      weston_window=$(xdotool search --classname '^weston' | head -1)
      [[ -n $weston_window ]] && break
    fi
    sleep 0.1
  done
  [[ -n $weston_window ]] || fail "weston did not start: $(tail -3 "$work/weston.log")"
  xdotool windowfocus --sync "$weston_window"
}

stop_weston() {
  [[ -n $weston_pid ]] && kill "$weston_pid" 2>/dev/null || true
}

# Starts the viewer as a Wayland client and waits until its window has a caption matching the
# regular expression and the keyboard. The protocol trace goes to $work/trace.log.
start_wayland_viewer() {
  local caption=$1
  shift
  QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 "$kelpra" "$@" >"$work/trace.log" 2>&1 &
  viewer_pid=$!
  wait_trace "xdg_toplevel@[0-9]+\.set_title\(\"$caption" >/dev/null
  wait_trace 'wl_keyboard@[0-9]+\.enter\(' >/dev/null
}

# The protocol trace after line $1 (default 0).
trace_since() {
  tail -n +"$((${1:-0} + 1))" "$work/trace.log"
}

# Prints the first line of the trace after line $2 (default 0) that matches the extended regular
# expression; fails if there is none. (grep stops reading at the match: without pipefail, the
# reader it leaves behind does not count.)
trace_line() {
  (
    set +o pipefail
    trace_since "${2:-0}" | grep -E -m1 -e "$1"
  )
}

# Waits until the trace after line $2 has a line matching the expression, and prints it.
wait_trace() {
  for _ in $(seq 100); do
    trace_line "$@" && return 0
    sleep 0.1
  done
  fail "the viewer's protocol trace shows no '$1'"
}

# The number of lines the protocol trace has so far, to look only at what follows.
trace_mark() {
  wc -l <"$work/trace.log"
}
