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
    local file
    for file in "$work"/*.out "$work"/*.log "$work/events" "$work/neigh"; do
        [[ -f "$file" ]] && { echo "--- $(basename "$file")"; tail -n 60 "$file"; }
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

# Runs of programs on the host side, by name: the output of run NAME in
# NAME.out and NAME.log, its pid in run_pid[NAME], its exit status (once
# waited for) in run_status[NAME]. The single run of most cases is "cli".
declare -A run_pid run_program run_status

# start_run NAME PROGRAM ARGS...: runs PROGRAM in the background on the host side.
start_run() {
    local name=$1
    shift
    run_program[$name]=$(basename "$1")
    "$lab" exec host "$@" >"$work/$name.out" 2>"$work/$name.log" &
    run_pid[$name]=$!
    pids+=("$!")
}

# wait_run NAME SECONDS: waits for run NAME, at most SECONDS.
wait_run() {
    local name=$1 seconds=$2 tries
    for ((tries = seconds * 20; tries > 0; tries--)); do
        kill -0 "${run_pid[$name]}" 2>/dev/null || break
        sleep 0.05
    done
    ((tries > 0)) || fail "${run_program[$name]} ($name) still running after ${seconds}s"
    wait "${run_pid[$name]}"
    run_status[$name]=$?
}

start_on_host() {
    start_run cli "$@"
    cli_pid=${run_pid[cli]}
}

start_cli() { start_on_host "$cli" "$@"; }

wait_cli() {
    wait_run cli "$1"
    cli_status=${run_status[cli]}
}

# expect_run_status NAME STATUS
expect_run_status() {
    [[ ${run_status[$1]} -eq $2 ]] || fail "$1 exited with ${run_status[$1]}, expected $2"
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

# expect_no_entry_left [ADDRESS]
expect_no_entry_left() {
    local address=${1:-$device_ip}
    if "$lab" exec host ip neigh show "$address" dev lab0 | grep -q PERMANENT; then
        fail "a permanent neighbour entry for $address is left"
    fi
}

# Our tag on the neighbour entries we add.
tag=173

# The addresses of the tagged entries on the host side, one a line.
tagged_entries() { "$lab" exec host ip neigh show proto "$tag" | awk '$0 ~ /PERMANENT/ {print $1}'; }

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
        # Each echo takes its whole second however early the error came:
        # about nine requests in nine seconds, not a flood.
        requests=$(grep -c '"event":"seen".*"kind":"unreachable"' "$work/events")
        ((requests <= 11)) || fail "$requests echo requests in 9 s"
        # The home page's four pings take their 500 ms each.
        start_cli home "$device_ip"
        wait_cli 10
        expect_status 5
        home_requests=$(($(grep -c '"event":"seen".*"kind":"unreachable"' "$work/events") - requests))
        ((home_requests <= 4)) || fail "$home_requests echo requests from home"
        ;;
    lossy_link)
        start_devsim --duration 60 --drop-percent 30 --seed 7 "$device_mac"
        start_cli set "$device_mac" "$device_ip" --timeout 60
        wait_cli 70
        expect_status 0
        expect_output "The IP address $device_ip was successfully assigned"
        expect_no_entry_left
        ;;
    sigint_test_pings | sigint_loop | sigterm_loop | sighup_loop | sigquit_loop)
        start_devsim --duration 30 --listen-after 1000 "$device_mac"
        start_neighbour_monitor
        start_cli set "$device_mac" "$device_ip" --timeout 30
        if [[ $case_name == sigint_test_pings ]]; then
            wait_for_line "$work/cli.log" "SetIP::MultiPing - Ping '$device_ip'" 10 || fail "no test ping"
        else
            wait_for_line "$work/cli.log" "size 408" 20 || fail "no assignment ping"
        fi
        case $case_name in
            sigterm_loop) signal=TERM expected=143 ;;
            sighup_loop) signal=HUP expected=129 ;;
            sigquit_loop) signal=QUIT expected=131 ;;
            *) signal=INT expected=130 ;;
        esac
        # "ip netns exec" runs addrix-cli in its own process: cli_pid is it.
        kill -s "$signal" "$cli_pid"
        wait_cli 15
        expect_status "$expected"
        expect_log "SetIP::Cancel - Cancel"
        expect_log "SetIP::Run - Done"
        if [[ $case_name == sigint_test_pings ]]; then
            # Cancelled before the address was found free: nothing is added.
            grep -qF "Arp add ip: '$device_ip'" "$work/cli.log" && fail "an entry was added after the cancel"
            permanent_entry_added && fail "a permanent neighbour entry was added"
        else
            expect_log "Arp delete ip: '$device_ip' "
        fi
        expect_no_entry_left
        [[ -z $(tagged_entries) ]] || fail "tagged entries left: $(tagged_entries)"
        ;;
    closed_output)
        # The reader of the output is gone before the outcome is written.
        start_devsim --duration 30 --listen-after 1 "$device_mac"
        start_neighbour_monitor
        ("$lab" exec host "$cli" set "$device_mac" "$device_ip" --timeout 30 2>"$work/cli.log" | true
            echo "${PIPESTATUS[0]}" >"$work/status") &
        run_pid[cli]=$! run_program[cli]="addrix-cli | true"
        pids+=("$!")
        wait_run cli 40
        cli_status=$(cat "$work/status")
        expect_status 0
        expect_log "SetIP::Run - Done"
        permanent_entry_added || fail "the job never added the neighbour entry"
        expect_no_entry_left
        ;;
    held_address)
        # The first run holds the address for its whole life; a second one,
        # for another device, is refused before it sends anything.
        start_devsim --duration 60 --listen-after 8 "$device_mac"
        start_neighbour_monitor
        start_run first "$cli" set "$device_mac" "$device_ip" --timeout 40
        wait_for_line "$work/first.log" "SetIP::MultiPing - Ping '$device_ip'" 10 || fail "no test ping"
        start_run second "$cli" set "$other_mac" "$device_ip" --timeout 40
        wait_run second 10
        expect_run_status second 6
        grep -qF "The IP address $device_ip is being assigned by another run" "$work/second.out" ||
            fail "second run: no refusal"
        grep -q "Ping '$device_ip'\|Arp probe" "$work/second.log" && fail "the second run probed the address"
        wait_run first 40
        expect_run_status first 0
        grep -qF "The IP address $device_ip was successfully assigned" "$work/first.out" || fail "first run: no success"
        grep -qi "lladdr 02:c0:a7:00:00:02" "$work/neigh" && fail "the second run touched the neighbour table"
        expect_no_entry_left
        ;;
    after_sigkill)
        # A run killed in its loop leaves its tagged entry; meanwhile another
        # host has taken the address. The next run removes the orphan, so
        # that its test pings reach that host, and finds the address in use.
        start_neighbour_monitor
        start_cli set "$device_mac" "$device_ip" --timeout 30
        wait_for_line "$work/cli.log" "size 408" 20 || fail "no assignment ping"
        kill -s KILL "$cli_pid"
        wait_cli 10
        [[ $(tagged_entries) == "$device_ip" ]] || fail "no orphaned entry after SIGKILL: $(tagged_entries)"
        start_devsim --duration 30 --preassigned "$other_mac=$device_ip"
        start_cli set "$device_mac" "$device_ip" --timeout 30
        wait_cli 20
        expect_status 3
        expect_output "The IP address $device_ip is already in use."
        expect_log "Removing orphaned entry '$device_ip'"
        grep -q '"event":"replied".*"02:c0:a7:00:00:02","kind":"echo"' "$work/events" ||
            fail "the test pings never reached the host that has the address"
        expect_no_entry_left
        [[ -z $(tagged_entries) ]] || fail "tagged entries left: $(tagged_entries)"
        ;;
    silent_host)
        # A host that drops every ping but answers ARP still has the address.
        start_devsim --duration 30 --silent-host "$other_mac=$device_ip" "$device_mac"
        start_neighbour_monitor
        start_cli set "$device_mac" "$device_ip" --timeout 30
        wait_cli 20
        expect_status 3
        expect_output "The IP address $device_ip is already in use."
        expect_log "QRM:E:SetIP::Run - Address '$device_ip' is already in use, cannot use address"
        grep -q '"event":"replied".*"kind":"echo"' "$work/events" && fail "the silent host answered an echo"
        grep -q '"event":"replied".*"02:c0:a7:00:00:02","kind":"arp"' "$work/events" || fail "no ARP answer"
        permanent_entry_added && fail "a permanent neighbour entry was added"
        ;;
    no_rights)
        # Without CAP_NET_ADMIN the command says so before any probe.
        start_on_host capsh --drop=cap_net_admin -- -c "exec $cli set $device_mac $device_ip --timeout 60"
        wait_cli 10
        expect_status 1
        expect_log "CAP_NET_ADMIN"
        grep -q "Ping '$device_ip'" "$work/cli.log" && fail "pinged without the right to add the entry"
        # In a user namespace it seems to have every right, but the kernel
        # refuses the entry: the run ends at once, not after its time.
        start_neighbour_monitor
        start_on_host unshare --user --map-root-user "$cli" set "$device_mac" "$device_ip" --timeout 60
        wait_cli 30
        expect_status 1
        expect_output "The IP address $device_ip could not be bound to $device_mac"
        grep -q "size 408" "$work/cli.log" && fail "the job pinged without its entry"
        permanent_entry_added && fail "a permanent neighbour entry was added"
        ;;
    group_macs)
        # Broadcast, multicast and all-zero serial numbers name no device.
        for serial in FFFFFFFFFFFF 01005E000001 330000000001 000000000000; do
            start_cli set "$serial" "$device_ip" --timeout 30
            wait_cli 10
            expect_status 2
            expect_log "Invalid serial number!"
            grep -q "Ping" "$work/cli.log" && fail "$serial: pinged"
        done
        expect_no_entry_left
        ;;
    clean)
        # A live run's entry, an orphaned tagged entry and an entry of
        # someone else's: clean removes the orphan only, and lists it.
        start_devsim --duration 60 --listen-after 1000 "$device_mac"
        start_run live "$cli" set "$device_mac" "$device_ip" --timeout 50
        wait_for_line "$work/live.log" "size 408" 20 || fail "no assignment ping"
        "$lab" exec host ip neigh replace 10.213.7.51 lladdr 02:c0:a7:00:00:03 nud permanent dev lab0 proto "$tag"
        "$lab" exec host ip neigh replace 10.213.7.52 lladdr 02:c0:a7:00:00:04 nud permanent dev lab0
        start_cli clean
        wait_cli 10
        expect_status 0
        expect_output "10.213.7.51"
        grep -qF "$device_ip" "$work/cli.out" && fail "clean lists the live run's entry"
        grep -qF "10.213.7.52" "$work/cli.out" && fail "clean lists an entry that is not ours"
        [[ $(tagged_entries) == "$device_ip" ]] || fail "tagged entries after clean: $(tagged_entries)"
        "$lab" exec host ip neigh show 10.213.7.52 dev lab0 | grep -q PERMANENT || fail "clean removed a foreign entry"
        kill -s INT "${run_pid[live]}"
        wait_run live 15
        expect_run_status live 130
        [[ -z $(tagged_entries) ]] || fail "tagged entries left: $(tagged_entries)"
        # Nothing left to clean: clean says nothing and succeeds.
        start_cli clean
        wait_cli 10
        expect_status 0
        [[ ! -s $work/cli.out ]] || fail "clean listed: $(cat "$work/cli.out")"
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
        for address in 0.0.0.0 255.255.255.255 10.213.7.255 300.1.1.1; do
            start_cli home "$address"
            wait_cli 10
            expect_status 2
            grep -q "Ping" "$work/cli.log" && fail "home pinged $address"
        done
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
