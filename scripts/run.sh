#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game in a writable start
# directory (play/, a copy of the delivered data that is never overwritten).
# Usage: scripts/run.sh [mahjong|mahjong-2d]
set -euo pipefail
cd "$(dirname "$0")/.."
program="${1:-mahjong}"
scripts/install-deps.sh
scripts/build.sh
mkdir -p play
# Copy delivered data without overwriting what the player changed or wrote.
cp -rn data/. play/
cd play
exec ../build/"$program"
