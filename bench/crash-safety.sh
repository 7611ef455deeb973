#!/usr/bin/env bash
# Kills a process that saves the alarm file and the settings, 1000 times by
# default, and checks after every kill that both hold the previous or the next
# complete save. ctest runs the same test with 100 kills.
#
#   bench/crash-safety.sh BUILD-DIR [kills=1000] [seed]
#
# Everything happens in a temporary HOME that the test creates and removes.
set -euo pipefail
build=${1:?usage: crash-safety.sh BUILD-DIR [kills] [seed]}
export OVRA_CRASH_KILLS=${2:-1000}
[[ -n ${3:-} ]] && export OVRA_CRASH_SEED=$3
exec "$build/tests/stress/test_crashsafety"
