#!/usr/bin/env bash
# Runs Tweakforge's tests, installing what is missing and building first.
# The widget tests run on Qt's offscreen platform: no display needed.
set -euo pipefail
source "$(dirname "$0")/tools/setup.sh"
tf_install_missing
tf_build
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$TF_BUILD" --output-on-failure -j"$(nproc)" "$@"
