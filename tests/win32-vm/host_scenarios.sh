# The 32-bit host simulator against the shipped Quillmere.dll, inside the emulated machine.
# Sourced by run.sh, which runs the scenarios in the order of the list at the end. A scenario runs
# the simulator (host PROGRAM ARGUMENTS...) and states the lines its output must hold:
#   expect LINE          this exact line
#   expect_start TEXT    a line that begins with TEXT
#   expect_no_start TEXT no line that begins with TEXT
# settings ENABLED DOMAIN BOSS SHOW_ALERT writes the plug-in's four values into the registry;
# empty_settings leaves the host's key without them.

caption='ブレンロウプラグイン'
warning='上司を宛先に加えずに添付ファイルを社外へ送信しようとしています。\r\n上司をCCに追加して送信しますか？'

# A message with an attachment to a customer, with a colleague already in Cc.
outside_message() {
    host quillmere-host "$@" send --content-type 'multipart/mixed; boundary="next-part"' \
        --to customer@client.example.com --cc colleague@example.co.jp
}

binds_full_host() {
    host quillmere-host load
    expect 'loaded: the plug-in bound to this host (version 2.81.04)'
}
binds_host_without_optional_functions() {
    host quillmere-host-without-optional load
    expect_start 'loaded: '
}
refuses_host_without_last_required_function() {
    host quillmere-host-without-connect load
    expect_start 'refused: '
}
refuses_host_without_first_required_function() {
    host quillmere-host-without-get-version load
    expect_start 'refused: '
}
# The version rule compares texts; only old hosts may lack BKA_SetStatus.
refuses_host_2_00_06_without_set_status() {
    host quillmere-host-without-set-status --version 2.00.06 load
    expect_start 'refused: '
}
binds_host_2_00_05_without_set_status() {
    host quillmere-host-without-set-status --version 2.00.05 load
    expect_start 'loaded: '
}

info_fills_the_four_texts() {
    host quillmere-host info
    expect 'name: Becky!ブレンロウプラグイン'
    expect 'vendor: Velquist'
    expect 'version: 1.5'
    expect 'description: 添付ファイルを社外へ送信する際に上司が宛先に入っているか確認するプラグインです。'
    expect 'answer: 0'
}

menu_adds_the_command_to_the_fifth_sub_menu() {
    host quillmere-host menu
    expect 'answer: 0'
    expect 'command 1000: "ボスを設定する" type 0, with a state callback'
    expect '  104 item of sub-menu 5'
    expect '  ----'
    expect '  1000 ボスを設定する(&B)...'
}

send_warns_and_adds_the_boss_on_ok() {
    settings 1 example.co.jp boss@example.co.jp 1
    outside_message --answer ok
    expect 'verdict: 1 (send)'
    expect "message box: \"$caption\""
    expect "  text: $warning"
    expect '  style: 0x1, owner: the compose window'
    expect 'Cc written: colleague@example.co.jp, boss@example.co.jp'
}

send_stops_the_message_on_cancel() {
    settings 1 example.co.jp boss@example.co.jp 1
    outside_message --answer cancel
    expect 'verdict: -1 (cancelled)'
    expect "message box: \"$caption\""
    expect 'no header written'
}

send_adds_the_boss_silently() {
    settings 1 example.co.jp boss@example.co.jp 0
    outside_message --answer ok
    expect 'verdict: 1 (send)'
    expect_no_start 'message box:'
    expect 'Cc written: colleague@example.co.jp, boss@example.co.jp'
}

# The error barrier: a failure raised inside the real DLL ends the check before Cc is written,
# and the callback still lets the message go.
send_lets_the_message_go_when_a_conversion_fails() {
    settings 1 example.co.jp boss@example.co.jp 1
    outside_message --answer ok --fail conversion
    expect 'verdict: 1 (send)'
    expect 'no header written'
}

send_lets_the_message_go_when_memory_runs_out() {
    settings 1 example.co.jp boss@example.co.jp 1
    outside_message --answer ok --fail memory
    expect 'verdict: 1 (send)'
    expect 'no header written'
}

# Without stored values the dialog's load derives the company domain from the mailbox's path,
# which takes a conversion.
setup_answers_1_when_a_conversion_fails() {
    empty_settings
    host quillmere-host --fail conversion --answer cancel setup
    expect 'answer: 1'
}

scenarios='
binds_full_host
binds_host_without_optional_functions
refuses_host_without_last_required_function
refuses_host_without_first_required_function
refuses_host_2_00_06_without_set_status
binds_host_2_00_05_without_set_status
info_fills_the_four_texts
menu_adds_the_command_to_the_fifth_sub_menu
send_warns_and_adds_the_boss_on_ok
send_stops_the_message_on_cancel
send_adds_the_boss_silently
send_lets_the_message_go_when_a_conversion_fails
send_lets_the_message_go_when_memory_runs_out
setup_answers_1_when_a_conversion_fails
'
