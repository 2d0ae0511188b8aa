#!/usr/bin/env bash
# One end-to-end case: addrix-cli, or the dialog's test program, on the host
# side of a lab of two network namespaces, devsim emulating the device on the
# other side, nothing mocked between the job and the kernel. Every wait is
# bounded; the lab and every process started here are removed on any exit.
#
#   lab_case.sh CASE ADDRIX_CLI DEVSIM LAB_SCRIPT [DIALOG_TEST]
#
# Exit 0 pass, 1 fail, 77 skipped (not root).
set -uo pipefail

case_name=$1
cli=$2
devsim=$3
lab=$4
dialog_test=${5:-}

if [[ $(id -u) -ne 0 ]]; then
    echo "SKIPPED: needs root: the lab creates network namespaces and a veth pair"
    exit 77
fi

# A lab of its own: other runs on this machine use other names.
export ADDRIX_LAB="axe2e-$$"
work=$(mktemp -d)
pids=()

cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    "$lab" down
    rm -rf "$work"
}
trap cleanup EXIT

device_ip=10.213.7.50
device_mac=02C0A7000001
other_mac=02C0A7000002

fail() {
    echo "FAIL: $*"
    for file in cli.out cli.log events neigh; do
        [[ -f "$work/$file" ]] && { echo "--- $file"; tail -n 60 "$work/$file"; }
    done
    exit 1
}

# Waits up to SECONDS for a line matching PATTERN in FILE.
wait_for_line() {
    local file=$1 pattern=$2 seconds=$3 tries
    for ((tries = seconds * 20; tries > 0; tries--)); do
        grep -q -- "$pattern" "$file" 2>/dev/null && return 0
        sleep 0.05
    done
    return 1
}

start_devsim() {
    "$lab" exec device "$devsim" --interface lab1 "$@" >"$work/events" 2>&1 &
    pids+=($!)
    wait_for_line "$work/events" '"event":"started"' 10 || fail "devsim did not start"
}

# Records the host's neighbour-table changes; proven live by a probe entry.
start_neighbour_monitor() {
    "$lab" exec host ip monitor neigh >"$work/neigh" 2>&1 &
    pids+=($!)
    local tries
    for ((tries = 50; tries > 0; tries--)); do
        "$lab" exec host ip neigh replace 10.213.7.254 lladdr 02:00:00:00:00:fe nud permanent dev lab0
        "$lab" exec host ip neigh del 10.213.7.254 dev lab0
        grep -q '10.213.7.254 ' "$work/neigh" && break
        sleep 0.1
    done
    ((tries > 0)) || fail "neighbour monitor did not start"
}

# Runs a program in the background on the host side, its output in cli.out
# and cli.log; its pid in cli_pid.
start_on_host() {
    host_program=$(basename "$1")
    "$lab" exec host "$@" >"$work/cli.out" 2>"$work/cli.log" &
    cli_pid=$!
    pids+=("$cli_pid")
}

start_cli() { start_on_host "$cli" "$@"; }

# Waits for the program on the host side, at most SECONDS; its exit status
# in cli_status.
wait_cli() {
    local seconds=$1 tries
    for ((tries = seconds * 20; tries > 0; tries--)); do
        kill -0 "$cli_pid" 2>/dev/null || break
        sleep 0.05
    done
    ((tries > 0)) || fail "$host_program still running after ${seconds}s"
    wait "$cli_pid"
    cli_status=$?
}

expect_status() {
    [[ $cli_status -eq $1 ]] || fail "addrix-cli exited with $cli_status, expected $1"
}

expect_output() {
    grep -qF -- "$1" "$work/cli.out" || fail "output lacks: $1"
}

expect_log() {
    grep -qF -- "$1" "$work/cli.log" || fail "log lacks: $1"
}

log_count() { grep -cF -- "$1" "$work/cli.log"; }

permanent_entry_added() { grep -q "^$device_ip dev lab0 lladdr .* PERMANENT" "$work/neigh"; }

expect_no_entry_left() {
    if "$lab" exec host ip neigh show "$device_ip" dev lab0 | grep -q PERMANENT; then
        fail "a permanent neighbour entry for $device_ip is left"
    fi
}

# The payload sizes of the job's pings, in order, from the log.
ping_sizes() {
    sed -n "s/.*Zorvel::Ping - Ping '$device_ip', timeout 1000, size \([0-9]*\)$/\1/p" "$work/cli.log" | tr '\n' ' '
}

"$lab" up || fail "lab up"

case "$case_name" in
    listening_device)
        # A device that takes its address from the 479-byte ping, so the log
        # shows the whole cycle: five test pings, then 0, 408 and 479 bytes.
        start_devsim --duration 60 --accept-sizes 479 "$device_mac"
        start_neighbour_monitor
        start_cli set "$device_mac" "$device_ip" --timeout 60
        wait_cli 70
        expect_status 0
        expect_output "The IP address $device_ip was successfully assigned"
        expect_output "to $device_mac."
        grep -q "\"event\":\"adopted\".*\"ip\":\"$device_ip\"" "$work/events" || fail "device did not adopt $device_ip"
        [[ $(log_count "SetIP::MultiPing - Ping '$device_ip'") -eq 5 ]] || fail "not five test pings"
        [[ "$(ping_sizes)" == "0 0 0 0 0 0 408 479 " ]] || fail "ping sizes: $(ping_sizes)"
        expect_log "Arp add ip: '$device_ip' for eth '02-C0-A7-00-00-01'."
        expect_log "SetIP::Run - Done"
        permanent_entry_added || fail "the job never added the neighbour entry"
        expect_no_entry_left
        ;;
    address_in_use)
        start_devsim --duration 30 --preassigned "$other_mac=$device_ip" "$device_mac"
        start_neighbour_monitor
        start_cli --quiet set "$device_mac" "$device_ip" --timeout 30
        wait_cli 40
        expect_status 3
        expect_output "The IP address $device_ip is already in use."
        [[ $(grep -c '"event":"seen".*"kind":"echo"' "$work/events") -eq 1 ]] || fail "not exactly one test ping"
        # Quiet: the error lines only.
        expect_log "QRM:E:SetIP::Run - Address '$device_ip' is already in use, cannot use address"
        grep -qv "^QRM:E:" "$work/cli.log" && fail "--quiet let other lines through"
        permanent_entry_added && fail "a permanent neighbour entry was added"
        grep -q '"event":"adopted"' "$work/events" && fail "the waiting device adopted an address"
        ;;
    unreachable)
        # A router answers every echo with "host unreachable": no answer.
        start_devsim --duration 30 --unreachable "$device_ip"
        start_cli set "$device_mac" "$device_ip" --timeout 9
        wait_cli 20
        expect_status 4
        expect_output "Failed to assign IP address $device_ip to $device_mac."
        grep -q '"kind":"unreachable"' "$work/events" || fail "the router never answered"
        expect_log "SetIP::Run - Done"
        grep -q "IPSet device" "$work/cli.log" && fail "an unreachable reply counted as an answer"
        expect_no_entry_left
        ;;
    lossy_link)
        start_devsim --duration 60 --drop-percent 30 --seed 7 "$device_mac"
        start_cli set "$device_mac" "$device_ip" --timeout 60
        wait_cli 70
        expect_status 0
        expect_output "The IP address $device_ip was successfully assigned"
        expect_no_entry_left
        ;;
    sigint_test_pings | sigint_loop | sigterm_loop)
        start_devsim --duration 30 --listen-after 1000 "$device_mac"
        start_neighbour_monitor
        start_cli set "$device_mac" "$device_ip" --timeout 30
        if [[ $case_name == sigint_test_pings ]]; then
            wait_for_line "$work/cli.log" "SetIP::MultiPing - Ping '$device_ip'" 10 || fail "no test ping"
        else
            wait_for_line "$work/cli.log" "size 408" 20 || fail "no assignment ping"
        fi
        signal=INT expected=130
        [[ $case_name == sigterm_loop ]] && signal=TERM expected=143
        # "ip netns exec" runs addrix-cli in its own process: cli_pid is it.
        kill -s "$signal" "$cli_pid"
        wait_cli 15
        expect_status "$expected"
        expect_log "SetIP::Cancel - Cancel"
        expect_log "SetIP::Run - Done"
        if [[ $case_name == sigint_test_pings ]]; then
            # An interrupted check adds no entry at all.
            permanent_entry_added && fail "a permanent neighbour entry was added"
        else
            expect_log "Arp delete ip: '$device_ip' "
        fi
        expect_no_entry_left
        ;;
    home_page)
        start_devsim --duration 30 --preassigned "$device_mac=$device_ip"
        start_cli home "$device_ip"
        wait_cli 10
        expect_status 0
        expect_output "http://$device_ip"
        start_cli home 10.213.7.51
        wait_cli 10
        expect_status 5
        expect_output "There is no device with the IP address 10.213.7.51."
        [[ $(grep -c "Zorvel::Ping - Ping '10.213.7.51', timeout 500, size 0$" "$work/cli.log") -eq 4 ]] ||
            fail "not four pings of 500 ms"
        ;;
    dialog)
        # The dialog, offscreen, typed into and started with its own button;
        # the device restarts a couple of seconds later.
        [[ -x $dialog_test ]] || fail "no dialog test program given"
        start_devsim --duration 60 --listen-after 2 "$device_mac"
        start_neighbour_monitor
        export QT_QPA_PLATFORM=offscreen ADDRIX_E2E_SERIAL=$device_mac ADDRIX_E2E_ADDRESS=$device_ip
        start_on_host "$dialog_test"
        wait_cli 80
        expect_status 0
        expect_output "[  PASSED  ] 1 test."
        grep -q "\"event\":\"adopted\".*\"ip\":\"$device_ip\"" "$work/events" || fail "device did not adopt $device_ip"
        permanent_entry_added || fail "the job never added the neighbour entry"
        expect_no_entry_left
        ;;
    *)
        fail "unknown case $case_name"
        ;;
esac
echo "PASS: $case_name"
