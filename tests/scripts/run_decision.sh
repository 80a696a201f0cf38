#!/usr/bin/env bash
# What scripts/run passes to the program on machines with and without serial hardware, read
# from a fake /sys tree: the virtual unit is always listed, and selected unless a USB serial
# adapter is attached.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0

# A tty class entry; with "hw" it has a device folder the way a real port does (its contents,
# driver and power, are what a careless glob takes for hardware).
tty() {
    mkdir -p "$1/class/tty/$2"
    if [ "${3:-}" = hw ]; then mkdir -p "$1/class/tty/$2/device/driver" "$1/class/tty/$2/device/power"; fi
}

check() {  # name, fake sysfs, expected arguments (one string, lines joined by spaces), args...
    local name=$1 sysfs=$2 expected=$3
    shift 3
    local got
    got=$(DTU_SYSFS="$sysfs" DTU_RUN_DRY_RUN=1 "$root/scripts/run" "$@" | tr '\n' ' ' | sed 's/ $//')
    if [ "$got" = "$expected" ]; then
        echo "ok: $name"
    else
        echo "FAILED: $name: expected [$expected], got [$got]"
        failed=1
    fi
}

s="$scratch/none"; tty "$s" tty0; tty "$s" ttyS1
check "no serial hardware" "$s" "--simulate"
s="$scratch/uart"; tty "$s" tty0; tty "$s" ttyS0 hw; tty "$s" ttyS1
check "a built-in UART only" "$s" "--simulate"
s="$scratch/usb"; tty "$s" ttyS0 hw; tty "$s" ttyUSB0 hw
check "a USB adapter beside a UART" "$s" "--simulate --select-port=/dev/ttyUSB0"
s="$scratch/acm"; tty "$s" ttyACM0 hw
check "a CDC-ACM adapter" "$s" "--simulate --select-port=/dev/ttyACM0"
s="$scratch/gone"; tty "$s" ttyUSB3
check "an adapter's class entry without a device" "$s" "--simulate"
check "the user's own choice of variant" "$scratch/uart" "--simulate=lora --page 2" --simulate=lora --page 2
check "no virtual unit asked" "$scratch/usb" "" --no-simulate

exit $failed
