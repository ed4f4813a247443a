#!/usr/bin/env bash
# Builds the sample quiz and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset debug >/dev/null && cmake --build --preset debug
cmake --preset windows >/dev/null && cmake --build --preset windows
cat <<'MSG'

Everything that exists so far is built: the quiz core (build/debug, build/windows)
and the authors' tool, build/debug/tools/quizpack/quizpack.

The player itself is not there yet, so there is no quiz window to start.
Try the tool meanwhile, for instance:
  build/debug/tools/quizpack/quizpack verdict CONSTANTINOPLE constantino
MSG
