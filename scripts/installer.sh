#!/usr/bin/env bash
# Installs the Debian packages the build needs, only when something is missing.
set -euo pipefail
paquets=(qt6-base-dev qt6-serialport-dev libxcb1-dev pkg-config cmake g++ ninja-build libgl-dev)
# The tests: GoogleTest, and Qt's window-system interface to queue input.
paquets+=(libgtest-dev qt6-base-private-dev)
# Qt's own texts (message-box buttons, file and print dialogs) in the system's language.
paquets+=(qt6-translations-l10n)
# The real-display smoke test: X server, window manager, input, captures.
paquets+=(xvfb openbox xdotool x11-utils x11-xkb-utils imagemagick)
manquants=()
for p in "${paquets[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || manquants+=("$p")
done
if [ ${#manquants[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${manquants[@]}"
fi
