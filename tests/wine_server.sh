#!/bin/sh
# wine_server.sh WINE WINESERVER start|stop
# Keeps one wineserver running for a whole test run: a program then starts
# in about 0.05 s instead of the second or so of a cold Wine. start also
# creates $WINEPREFIX on first use.
set -e
wine=$1
wineserver=$2
case $3 in
start)
    "$wineserver" -k 2>/dev/null || true # one left over from an earlier run
    "$wine" wineboot --init </dev/null >/dev/null 2>&1
    "$wineserver" -w
    # The server and Wine's own services are started here, detached from
    # the test runner's pipes: a service started by a program under test
    # would hold that test's output open, and the test would never end.
    "$wineserver" -p </dev/null >/dev/null 2>&1
    "$wine" wineboot </dev/null >/dev/null 2>&1
    ;;
stop)
    "$wineserver" -k || true
    ;;
esac
