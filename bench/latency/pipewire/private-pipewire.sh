#!/bin/bash
# private-pipewire.sh -- a PipeWire sound server of bench_latency's own, on a machine that may
# have no sound card, no systemd and no session bus: one pipewire daemon whose only audio node
# is a null sink driven by its own timer, wireplumber to link streams to it, and pipewire-pulse
# for clients on the PulseAudio protocol.
#
#   private-pipewire.sh start BASE [--no-pulse] [--pulse-lowlat]
#       starts it under BASE (a folder of its own) and writes BASE/env.sh, the variables a
#       client needs (XDG_RUNTIME_DIR, PIPEWIRE_RUNTIME_DIR, PULSE_SERVER)
#   private-pipewire.sh stop BASE
#       stops the processes it started, by their recorded ids only
#   private-pipewire.sh install
#       installs what start needs and the library bench_latency records the sink with (its
#       server cases are built only where libpipewire-0.3-dev is installed)
#
# Missing packages are installed (as root, with apt-get) on start.
set -u
ACTION=${1:-}
BASE=${2:-}

install_packages() { # install_packages PACKAGE...
  if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$@" >&2 \
      || { echo "cannot install $*" >&2; exit 1; }
  else
    echo "missing packages: $* (install them as root)" >&2; exit 1
  fi
}

SERVER_PACKAGES="pipewire pipewire-bin wireplumber pipewire-pulse"
if [ "$ACTION" = install ]; then
  # shellcheck disable=SC2086
  install_packages $SERVER_PACKAGES libpipewire-0.3-dev
  exit 0
fi
[ -n "$ACTION" ] && [ -n "$BASE" ] || { echo "usage: $0 start|stop BASE [options] | install" >&2; exit 2; }
shift 2
RUN=$BASE/run

stop_server() {
  [ -f "$RUN/pids" ] || return 0
  tac "$RUN/pids" | while read -r name pid; do
    if [ -r "/proc/$pid/comm" ] && [ "$(cat "/proc/$pid/comm")" = "$name" ]; then
      kill -TERM "$pid"
      for _ in $(seq 50); do [ -d "/proc/$pid" ] || break; sleep 0.1; done
      [ -d "/proc/$pid" ] && kill -KILL "$pid"
    fi
  done
  rm -f "$RUN/pids"
}

if [ "$ACTION" = stop ]; then
  stop_server
  exit 0
fi
[ "$ACTION" = start ] || { echo "unknown action $ACTION" >&2; exit 2; }

PULSE=1; LOWLAT=0
while [ $# -gt 0 ]; do
  case $1 in
    --no-pulse) PULSE=0 ;;
    --pulse-lowlat) LOWLAT=1 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

missing=()
for pair in pipewire:pipewire pw-cli:pipewire-bin pw-link:pipewire-bin wireplumber:wireplumber \
            pipewire-pulse:pipewire-pulse; do
  command -v "${pair%%:*}" >/dev/null || missing+=("${pair#*:}")
done
[ ${#missing[@]} -gt 0 ] && install_packages "${missing[@]}"

mkdir -p "$RUN" "$BASE/conf" "$BASE/config/wireplumber/main.lua.d" \
         "$BASE/config/wireplumber/bluetooth.lua.d" "$BASE/config/pipewire/pipewire-pulse.conf.d" \
         "$BASE/state" "$BASE/logs"
chmod 700 "$RUN"
stop_server
: > "$RUN/pids"

cat > "$BASE/conf/pipewire.conf" <<'EOF'
context.properties = {
    core.daemon                 = true
    core.name                   = pipewire-0
    link.max-buffers            = 16
    default.clock.rate          = 48000
    default.clock.allowed-rates = [ 48000 ]
    default.clock.quantum       = 1024
    default.clock.min-quantum   = 16
    default.clock.max-quantum   = 2048
    # a virtual machine would otherwise raise the smallest quantum to 1024
    vm.overrides = { default.clock.min-quantum = 16 }
}
context.spa-libs = {
    audio.convert.* = audioconvert/libspa-audioconvert
    support.*       = support/libspa-support
}
context.modules = [
    # real-time data thread where the process may (no RealtimeKit without a session bus)
    { name = libpipewire-module-rt args = { nice.level = -11 rt.prio = 88 } flags = [ ifexists nofail ] }
    { name = libpipewire-module-protocol-native }
    { name = libpipewire-module-profiler }
    { name = libpipewire-module-metadata }
    { name = libpipewire-module-spa-node-factory }
    { name = libpipewire-module-client-node }
    { name = libpipewire-module-access }
    { name = libpipewire-module-adapter }
    { name = libpipewire-module-link-factory }
]
context.objects = [
    # the only sink: its own driver on a monotonic timer; its monitor carries what it played
    { factory = adapter
      args = {
          factory.name            = support.null-audio-sink
          node.name               = "bench-null-sink"
          node.description        = "bench_latency null sink"
          media.class             = "Audio/Sink"
          audio.rate              = 48000
          audio.channels          = 2
          audio.position          = [ FL FR ]
          monitor.channel-volumes = true
          node.driver             = true
          priority.driver         = 30000
          priority.session        = 30000
          object.linger           = true
      } }
]
context.exec = [ ]
EOF

cat > "$BASE/config/wireplumber/main.lua.d/51-no-session-bus.lua" <<'EOF'
alsa_monitor.enabled = false
v4l2_monitor.enabled = false
libcamera_monitor.enabled = false
default_access.properties["enable-flatpak-portal"] = false
EOF
echo 'bluez_monitor.enabled = false' > "$BASE/config/wireplumber/bluetooth.lua.d/51-no-session-bus.lua"

LOWLAT_CONF="$BASE/config/pipewire/pipewire-pulse.conf.d/50-low-latency.conf"
if [ $LOWLAT = 1 ]; then
  cat > "$LOWLAT_CONF" <<'EOF'
pulse.properties = {
    pulse.min.req     = 64/48000
    pulse.min.frag    = 64/48000
    pulse.min.quantum = 64/48000
}
EOF
else
  rm -f "$LOWLAT_CONF"
fi

export XDG_RUNTIME_DIR="$RUN" PIPEWIRE_RUNTIME_DIR="$RUN"
export XDG_CONFIG_HOME="$BASE/config" XDG_STATE_HOME="$BASE/state"
unset DBUS_SESSION_BUS_ADDRESS PIPEWIRE_REMOTE PULSE_SERVER PIPEWIRE_LATENCY

wait_for() { # wait_for SECONDS COMMAND...
  local tenths=$(( $1 * 10 )); shift
  while [ $tenths -gt 0 ]; do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; tenths=$((tenths - 1)); done
  return 1
}
fail() { echo "$1; see $BASE/logs" >&2; stop_server; exit 1; }

setsid pipewire -c "$BASE/conf/pipewire.conf" > "$BASE/logs/pipewire.log" 2>&1 &
echo "pipewire $!" >> "$RUN/pids"
wait_for 5 test -S "$RUN/pipewire-0" && wait_for 5 pw-cli info 0 || fail "pipewire did not start"

setsid wireplumber > "$BASE/logs/wireplumber.log" 2>&1 &
echo "wireplumber $!" >> "$RUN/pids"
sink_ready() { pw-link -i | grep -q '^bench-null-sink:playback_FL$'; }
wait_for 10 sink_ready || fail "wireplumber did not set up the sink"

if [ $PULSE = 1 ]; then
  setsid pipewire-pulse > "$BASE/logs/pipewire-pulse.log" 2>&1 &
  echo "pipewire-pulse $!" >> "$RUN/pids"
  wait_for 5 test -S "$RUN/pulse/native" || fail "pipewire-pulse did not start"
fi

{
  echo "export XDG_RUNTIME_DIR=$RUN"
  echo "export PIPEWIRE_RUNTIME_DIR=$RUN"
  [ $PULSE = 1 ] && echo "export PULSE_SERVER=unix:$RUN/pulse/native"
  echo "unset DBUS_SESSION_BUS_ADDRESS"
} > "$BASE/env.sh"
