#!/bin/bash
# Runs a command in a network and mount namespace of its own, with only a
# loopback interface and a port mapper (rpcbind) of its own, so that several
# instruments (each registering the VXI-11 program with the port mapper and
# listening on fixed ports) can run side by side on one machine without
# seeing each other.
#
#   bash scripts/isolated.sh COMMAND [ARG...]
#
# Nothing outside the namespaces changes: /run is a private tmpfs inside the
# mount namespace, which is where rpcbind keeps its socket and lock, and the
# PID namespace ends every process left behind when the command ends.
set -e
if [ "${ORNAV_ISOLATED:-}" = 1 ]; then
  exec "$@"
fi
if [ $# -eq 0 ]; then
  echo "usage: $0 COMMAND [ARG...]" >&2
  exit 2
fi
export ORNAV_ISOLATED=1
exec unshare --net --mount --propagation private --pid --mount-proc --fork -- bash -c '
  set -e
  ip link set lo up
  mount -t tmpfs -o mode=755 tmpfs /run
  mkdir -p /run/rpcbind /run/lock
  rpcbind -w 2>/dev/null || rpcbind
  # rpcbind forks into the background; wait until it answers.
  for i in $(seq 50); do rpcinfo -p 127.0.0.1 >/dev/null 2>&1 && break; sleep 0.1; done
  # This shell is the namespace'"'"'s first process: when it ends, rpcbind and
  # anything the command left behind end with it.
  rc=0
  "$@" || rc=$?
  exit $rc
' isolated "$@"
