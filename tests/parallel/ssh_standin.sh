#!/bin/sh
# Stands in for ssh in the test of the README's GNU parallel recipe: takes ssh's options and a
# host name, then runs the command as the remote side would, through a shell, in that host's own
# home (a folder below $ZVM_REMOTE_HOMES), so that files reach it only through parallel's
# transfer and leave only through its return. Like sshd, it sets the login shell: parallel's
# remote side runs each job with $SHELL and, where that is unset (a bare CI job), runs nothing
# and still reports success. Usage: ssh_standin.sh [OPTIONS] HOST [--] COMMAND...
while [ $# -gt 0 ]; do
    case "$1" in
    -b | -c | -D | -E | -e | -F | -i | -J | -L | -l | -m | -O | -o | -p | -R | -S | -W | -w) shift 2 ;;
    -*) shift ;;
    *) break ;;
    esac
done
host=$1
shift
[ "${1:-}" = "--" ] && shift
home=$ZVM_REMOTE_HOMES/$host
mkdir -p "$home"
cd "$home" && HOME=$home SHELL=/bin/sh exec sh -c "$*"
