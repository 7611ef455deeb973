#!/usr/bin/env bash
# Eight processes adding and removing clocks and writing their settings in one
# store at once, for a minute by default; then checks that no clock was lost or
# came back, that each kept clock has its last settings, and that no process met
# an error a user would have seen. ctest runs the same test for 4 seconds.
#
#   bench/concurrency.sh BUILD-DIR [seconds=60]
#
# Everything happens in a temporary HOME that the test creates and removes.
set -euo pipefail
build=${1:?usage: concurrency.sh BUILD-DIR [seconds]}
export OVRA_CONCURRENCY_SECONDS=${2:-60}
exec "$build/tests/stress/test_storeconcurrency"
