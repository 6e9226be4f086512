# Runs inside the emulated machine (scripts/win32-vm run), in the share that scripts/test32 filled:
# bin/ holds the 32-bit test suites and host simulators, source/ the source tree with the shipped
# dist/Quillmere.dll, which every program here loads.
# Every suite runs once with all its tests, then the host simulator's scenarios; each leaves its
# output, exit code and time in results/, where scripts/test32 counts them. Runs under dash.
set -u
. ./settings.sh # random_texts, suite_timeout, host_timeout

export QUILLMERE_SOURCE_DIR='Z:\share\source'
export QUILLMERE_DLL='Z:\share\source\dist\Quillmere.dll'
[ -z "$random_texts" ] || export QUILLMERE_RANDOM_TEXTS="$random_texts"
settings_key='HKCU\Software\RimArts\B2\Settings'

milliseconds() { echo $(($(date +%s%N) / 1000000)); }

# The prefix lives on in the image from run to run: take away what an earlier run may have left.
prepare() {
    sha256sum source/dist/Quillmere.dll >results/deliverable.sha256
    {
        wine64 reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f
        wine64 reg delete "$settings_key" /f
    } >results/prepare.txt 2>&1 </dev/null
}

# Windows programs end their lines with CR LF; the results are read with Unix tools.
run() { # output timeout program arguments...
    output=$1 limit=$2
    shift 2
    timeout -k 10 "$limit" wine64 "$@" >"$output.crlf" 2>&1 </dev/null
    status=$?
    tr -d '\r' <"$output.crlf" >"$output"
    rm -f "$output.crlf"
    return $status
}

run_suite() { # name
    start=$(milliseconds)
    run "results/$1.txt" "$suite_timeout" "bin/$1.exe"
    echo $? >"results/$1.rc"
    echo $(($(milliseconds) - start)) >"results/$1.ms"
}

# The helpers of host_scenarios.sh. A scenario fails when any of its expectations fails; the
# reasons go to the scenario's log. dash's echo reads backslashes, so texts go through printf.
host() { # program arguments...
    program=$1
    shift
    printf '$ %s %s\n' "$program" "$*" >>"$log"
    run "$output" "$host_timeout" "bin/$program.exe" "$@"
    status=$?
    cat "$output" >>"$log"
    [ "$status" -ne 124 ] || fail "did not finish within $host_timeout s"
}
fail() {
    printf '  FAILED: %s\n' "$*" >>"$log"
    failed=1
}
expect() {
    grep -Fxq -e "$1" "$output" || fail "no line: $1"
}
starts() {
    awk -v text="$1" 'index($0, text) == 1 { found = 1 } END { exit !found }' "$output"
}
expect_start() {
    starts "$1" || fail "no line that begins with: $1"
}
expect_no_start() {
    ! starts "$1" || fail "a line that begins with: $1"
}
write_settings_key() { # lines of a .reg file after the key's deletion and creation
    {
        printf 'REGEDIT4\r\n\r\n[-HKEY_CURRENT_USER\\Software\\RimArts\\B2\\Settings]\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\Software\\RimArts\\B2\\Settings]\r\n'
        for line in "$@"; do printf '%s\r\n' "$line"; done
    } >results/settings.reg
    wine64 reg import 'Z:\share\results\settings.reg' >>"$log" 2>&1 </dev/null || fail "cannot write the settings"
}
settings() { # enabled domain boss showAlert
    printf 'settings: enabled %s, domain %s, boss %s, showAlert %s\n' "$@" >>"$log"
    write_settings_key "\"BrenlowOnOff\"=dword:$(printf %08x "$1")" "\"BrenlowCompanyDomain\"=\"$2\"" \
        "\"BrenlowAddress\"=\"$3\"" "\"BrenlowShowAlert\"=dword:$(printf %08x "$4")"
}
empty_settings() {
    echo "settings: the key without values" >>"$log"
    write_settings_key
}

# Reports in GoogleTest's words, so that scripts/test32 counts scenarios and tests alike.
run_scenarios() {
    . ./host_scenarios.sh
    mkdir -p results/host
    start=$(milliseconds)
    for scenario in $scenarios; do
        log=results/host/$scenario.log output=results/host/$scenario.out failed=0
        : >"$log"
        echo "[ RUN      ] host.$scenario"
        began=$(milliseconds)
        "$scenario"
        took=$(($(milliseconds) - began))
        if [ "$failed" -eq 0 ]; then
            echo "[       OK ] host.$scenario ($took ms)"
        else
            cat "$log"
            echo "[  FAILED  ] host.$scenario ($took ms)"
        fi
    done >results/host_scenarios.txt 2>&1
    wine64 reg delete "$settings_key" /f >/dev/null 2>&1 </dev/null
    echo 0 >results/host_scenarios.rc
    echo $(($(milliseconds) - start)) >results/host_scenarios.ms
}

mkdir -p results
milliseconds >results/started
prepare
for suite in bin/*_tests.exe; do
    run_suite "$(basename "$suite" .exe)"
done
run_scenarios
milliseconds >results/finished
