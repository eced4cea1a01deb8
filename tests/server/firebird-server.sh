#!/usr/bin/env bash
# A private Firebird server on loopback for the tests that need several
# processes on one database (the embedded engine locks a database to one
# process).
#
#   firebird-server.sh start <directory>   starts a server rooted in <directory>
#   firebird-server.sh stop <directory>    stops it by its process id
#   firebird-server.sh resume <directory>  starts a stopped server again, on
#                                          its databases and port
#
# The directory gets its own Firebird root (configuration, security database
# with the SYSDBA password "quillbeam", international character sets), a lock
# directory, a data directory "data/" where the server may create databases,
# the file "port" with the loopback port it listens on and "pid" with its
# process id. The system's Firebird service and port 3050 are never touched.
# As root the server runs as the user "firebird", as the package installs it.
set -euo pipefail

readonly SYSTEM_ROOT=/usr/lib/x86_64-linux-gnu/firebird/3.0
readonly SECURITY_DATABASE=/var/lib/firebird/3.0/system/security3.fdb
readonly PASSWORD=quillbeam

usage() {
  echo "usage: $0 start|stop|resume <directory>" >&2
  exit 2
}

# The first loopback port from 30500 on that nothing listens on.
free_port() {
  local port
  for port in $(seq 30500 30999); do
    if ! ss -Hltn "sport = :$port" | grep -q .; then
      echo "$port"
      return 0
    fi
  done
  echo "no free port between 30500 and 30999" >&2
  return 1
}

listening() {
  ss -Hltn "sport = :$1" | grep -q .
}

# A Firebird root of our own: plug-ins and messages are copied (the engine
# does not load them through links), the configuration is written here.
make_root() {
  local dir=$1 port=$2
  mkdir -p "$dir/lock" "$dir/data" "$dir/intl" "$dir/plugins"
  cp "$SYSTEM_ROOT/firebird.msg" "$dir/"
  cp "$SYSTEM_ROOT"/plugins/*.so "$dir/plugins/"
  cp "$SYSTEM_ROOT/intl/libfbintl.so" "$dir/intl/"
  cp -L "$SYSTEM_ROOT/intl/fbintl.conf" "$dir/intl/"
  cp -L "$SYSTEM_ROOT/plugins.conf" "$dir/"
  : >"$dir/databases.conf"
  cp "$SECURITY_DATABASE" "$dir/security3.fdb"
  cat >"$dir/firebird.conf" <<EOF
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
SecurityDatabase = $dir/security3.fdb
ServerMode = Super
EOF
  echo "$port" >"$dir/port"
}

set_sysdba_password() {
  local dir=$1
  echo "create or alter user SYSDBA password '$PASSWORD';" |
    FIREBIRD="$dir" FIREBIRD_LOCK="$dir/lock" isql-fb -q -user SYSDBA "$dir/security3.fdb" >/dev/null
}

start() {
  local dir
  dir=$(realpath -m "$1")
  # A server left running by an interrupted run goes first.
  if running "$dir"; then
    stop "$dir"
  fi
  rm -rf "$dir"
  mkdir -p "$dir"
  local port
  port=$(free_port)
  make_root "$dir" "$port"
  set_sysdba_password "$dir"
  if [[ $(id -u) -eq 0 ]]; then
    chown -R firebird:firebird "$dir"
  fi
  # The data directory is shared like /tmp: the tests make their own
  # directories in it, the server creates databases in them.
  chmod 1777 "$dir/data"
  # Every directory above must be passable for the server's user.
  local parent=$dir
  while [[ $parent != / ]]; do
    parent=$(dirname "$parent")
    chmod o+x "$parent" 2>/dev/null || true
  done
  launch "$dir"
}

resume() {
  local dir
  dir=$(realpath -m "$1")
  if running "$dir"; then
    return 0
  fi
  [[ -f "$dir/port" ]] || { echo "no server was set up in $dir" >&2; return 1; }
  launch "$dir"
}

running() {
  [[ -f "$1/pid" ]] && kill -0 "$(cat "$1/pid")" 2>/dev/null
}

# Starts the server of a prepared root and waits until it listens.
launch() {
  local dir=$1 port
  port=$(cat "$dir/port")
  local run_as=()
  if [[ $(id -u) -eq 0 ]]; then
    run_as=(setpriv --reuid=firebird --regid=firebird --init-groups)
  fi
  FIREBIRD="$dir" FIREBIRD_LOCK="$dir/lock" setsid "${run_as[@]}" /usr/sbin/firebird \
    >>"$dir/server.out" 2>&1 </dev/null &
  echo $! >"$dir/pid"

  local waited=0
  until listening "$port"; do
    if ! kill -0 "$(cat "$dir/pid")" 2>/dev/null; then
      echo "the server stopped at once:" >&2
      cat "$dir/server.out" "$dir/firebird.log" 2>/dev/null >&2 || true
      rm -f "$dir/pid"
      return 1
    fi
    if ((waited >= 100)); then
      echo "the server does not listen on port $port after 10 s" >&2
      stop "$dir"
      return 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  echo "Firebird server on 127.0.0.1:$port (pid $(cat "$dir/pid")), root $dir"
}

stop() {
  local dir
  dir=$(realpath -m "$1")
  [[ -f "$dir/pid" ]] || return 0
  local pid
  pid=$(cat "$dir/pid")
  if kill -TERM "$pid" 2>/dev/null; then
    local waited=0
    while kill -0 "$pid" 2>/dev/null && ((waited < 100)); do
      sleep 0.1
      waited=$((waited + 1))
    done
    if kill -0 "$pid" 2>/dev/null; then
      kill -KILL "$pid" 2>/dev/null || true
    fi
  fi
  rm -f "$dir/pid"
  echo "Firebird server of $dir stopped"
}

[[ $# -eq 2 ]] || usage
case $1 in
  start) start "$2" ;;
  stop) stop "$2" ;;
  resume) resume "$2" ;;
  *) usage ;;
esac
