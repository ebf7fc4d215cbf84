# Shared by the desktop session tests (sourced, not run): a temporary home,
# a private D-Bus session bus, an Xvfb display, waiting, failing, reading the
# status item over the bus and measuring contrast in a screenshot.
# The sourcing script sets `name` and calls `need TOOL...` first.
set -uo pipefail

# Exit 77 (skipped) when a tool is missing.
need() {
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "$name: skipped: $tool is not installed"; exit 77; }
  done
}

# Runs the sourcing script again inside its own session bus.
if [ -z "${SNOOZLET_TEST_BUS:-}" ]; then
  need dbus-run-session dbus-update-activation-environment
  SNOOZLET_TEST_BUS=1 dbus-run-session -- "$0" "$@" 2>&1 | grep -v -e '^dbus-daemon\[' -e '^(xfconfd:' -e '^$'
  exit "${PIPESTATUS[0]}"
fi

build=$1
app=$build/Snoozlet/snoozlet
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "$name: $*"
  [ -f "$work/app.log" ] && sed 's/^/  app: /' "$work/app.log" | tail -n 20
  exit 1
}
# Waits up to $1 tenths of a second for the command after it to succeed.
within() {
  local tenths=$1; shift
  for _ in $(seq "$tenths"); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}

export HOME=$work/home SNOOZLET_PMSET_HOME=$work/mac XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
  XDG_STATE_HOME=$work/state XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/run LANGUAGE=en LANG=C.UTF-8 \
  NO_AT_BRIDGE=1 GTK_A11Y=none
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" && chmod 700 "$XDG_RUNTIME_DIR"
unset SNOOZLET_PMSET WAYLAND_DISPLAY QT_QPA_PLATFORM XDG_SESSION_TYPE XDG_CURRENT_DESKTOP
# Services the bus starts (xfconfd, dconf, the accessibility bus) keep to this home too.
dbus-update-activation-environment HOME XDG_CONFIG_HOME XDG_DATA_HOME XDG_STATE_HOME XDG_CACHE_HOME \
  XDG_RUNTIME_DIR NO_AT_BRIDGE GTK_A11Y || fail "cannot set the session bus's environment"

# The welcome was seen on an earlier launch.
welcome_done() {
  mkdir -p "$XDG_CONFIG_HOME/Snoozlet"
  printf '[General]\nwelcomeCompleted=true\n' >"$XDG_CONFIG_HOME/Snoozlet/Snoozlet.conf"
}

# Xvfb, WIDTHxHEIGHT, on a display of its own: a free number from a range
# others' tests rarely use, taken only once its lock names our server.
start_x() {
  local n server
  for _ in $(seq 20); do
    n=$((300 + RANDOM % 600))
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "${1}x24" -nolisten tcp >/dev/null 2>&1 & server=$!
    if within 50 bash -c "[ \"\$(tr -d ' ' </tmp/.X$n-lock 2>/dev/null)\" = $server ]" &&
      DISPLAY=":$n" within 50 xdotool getmouselocation; then
      pids+=("$server")
      export DISPLAY=":$n"
      return 0
    fi
    kill "$server" 2>/dev/null
  done
  fail "Xvfb did not start"
}

start_app() {
  "$app" "$@" >>"$work/app.log" 2>&1 & app_pid=$!; pids+=($app_pid)
}

visible() { xdotool search --onlyvisible --class snoozlet 2>/dev/null | wc -l; }
named() { xdotool search --onlyvisible --name "$1"; }

# The status item's bus name (its first), once the watcher lists it.
item=
registered() {
  item=$(busctl --user get-property org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
    org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems 2>/dev/null | awk -F'"' '{print $2}')
  item=${item%%/*}
  [ -n "$item" ]
}
item_property() { busctl --user get-property "$item" /StatusNotifierItem org.kde.StatusNotifierItem "$1"; }

# The item's pixmaps, one line each: width height opaque partly-transparent.
pixmaps() {
  item_property IconPixmap | awk '{
    i = 3
    for (n = 0; n < $2; n++) {
      w = $(i); h = $(i + 1); bytes = $(i + 2); i += 3; solid = 0; edge = 0
      for (b = 0; b < bytes; b += 4) { a = $(i + b); if (a == 255) solid++; else if (a > 0) edge++ }
      i += bytes
      print w, h, solid, edge
    }
  }'
}

# ImageMagick's own convert (another may come first in PATH).
screenshot() { /usr/bin/import -window root "$1"; }

# Pixels of the rectangle WxH+X+Y of a screenshot whose grey level differs
# from the panel's (read at PX,PY) by more than 40%: what of the icon can be
# seen on it.
contrasting() {
  local shot=$1 rect=$2 px=$3 py=$4 panel
  panel=$(/usr/bin/convert "$shot" -colorspace Gray -format "%[fx:p{$px,$py}]" info:)
  /usr/bin/convert "$shot" -crop "$rect" +repage -colorspace Gray -fx "abs(u-$panel)>0.4" -format "%[fx:round(mean*w*h)]" info:
}

# Xfce's panel across the top of the screen, 28 pixels high, holding the
# plugins named (e.g. systray), its settings in xfconf's files in our home.
xfce_panel() {
  local dir=$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml ids="" plugins="" n=0
  mkdir -p "$dir"
  for plugin in "$@"; do
    n=$((n + 1))
    ids+="<value type=\"int\" value=\"$n\"/>"
    plugins+="<property name=\"plugin-$n\" type=\"string\" value=\"$plugin\"/>"
  done
  cat >"$dir/xfce4-panel.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="28"/>
      <property name="plugin-ids" type="array">$ids</property>
    </property>
  </property>
  <property name="plugins" type="empty">$plugins</property>
</channel>
XML
  xfce4-panel --disable-wm-check >"$work/panel.log" 2>&1 & pids+=($!)
}
