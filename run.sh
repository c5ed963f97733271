#!/usr/bin/env bash
# Starts Tweakforge, installing what is missing and building it first.
set -euo pipefail
source "$(dirname "$0")/tools/setup.sh"
tf_install_missing
tf_build
exec "$TF_BUILD/app/tweakforge" "$@"
