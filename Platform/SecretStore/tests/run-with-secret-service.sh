#!/bin/sh
# Runs a command inside a private D-Bus session bus with an unlocked GNOME Keyring serving the
# Secret Service, in throwaway home and runtime directories. Works headless and as root.
set -eu
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home" "$scratch/runtime"
chmod 700 "$scratch/runtime"
export HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/runtime"
export XDG_DATA_HOME="$scratch/home/.local/share" XDG_CONFIG_HOME="$scratch/home/.config"
unset DBUS_SESSION_BUS_ADDRESS GNOME_KEYRING_CONTROL
dbus-run-session -- sh -c '
    printf "%s" "test-password" | gnome-keyring-daemon --unlock --components=secrets >/dev/null
    exec "$@"' sh "$@"
