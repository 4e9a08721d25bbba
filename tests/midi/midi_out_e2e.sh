#!/usr/bin/env bash
# tidewell --midi-out on a JACK server of its own with no ALSA sequencer in
# reach: the port named Tidewell shows up as JACK MIDI, a MIDI monitor on it
# hears at least 20 note-ons in 8 s of a click at tempo 700, each with its
# note-off, and the server going away leaves the music playing and the
# program free to quit.
#   midi_out_e2e.sh RUN_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../e2e_tidewell/e2e_lib.sh"
. "$here/../e2e_tidewell/timing_lib.sh"
. "$here/../support/private_jack.sh"
enter_private_namespaces "$@"
run_dir=$1
DUMP_PID=""
on_exit 'stop_private_jack; [ -n "$DUMP_PID" ] && kill "$DUMP_PID"'

start_private_display 1024x768
make_workdir "$run_dir"
start_private_jack "$E2E_WORKDIR/jackd.log" 1024
make_click_folder
# Tonal, eight tracks, tempo 700; JACK even where an ALSA sequencer exists.
printf '%s' "1,4,0,2,0,0,0,7,3,clicks,none," >"$E2E_WORKDIR/data/settings.txt"
printf 'midi_service=jack\n' >"$E2E_WORKDIR/data/choices.txt"
export SDL_AUDIODRIVER=dummy
start_tidewell --midi-out --window

midi_port() { jack_lsp -t 2>/dev/null | awk '/Tidewell/ { name = $0; getline; if ($0 ~ /midi/) { print name; exit } }'; }
wait_until 10 eval '[ -n "$(midi_port)" ]' || fail "no JACK MIDI port with Tidewell in its name: $(jack_lsp -t 2>&1)"
grep -q "MIDI out: port Tidewell open on JACK" "$E2E_WORKDIR/data/debug.txt" ||
  fail "the log does not say the port is open: $(cat "$E2E_WORKDIR/data/debug.txt")"

dump="$E2E_WORKDIR/dump.txt"
stdbuf -oL jack_midi_dump -a >"$dump" 2>/dev/null &
DUMP_PID=$!
wait_until 10 eval "jack_lsp 2>/dev/null | grep -q '^midi-monitor:input$'"
jack_connect "$(midi_port)" midi-monitor:input || fail "could not connect $(midi_port) to the monitor"
# The requirement is about wall time: what the monitor hears in 8 s.
sleep 8
ons=$(grep -c "note on" "$dump")
[ "$ons" -ge 20 ] || fail "only $ons note-ons in 8 s"

# The server goes away: the program plays on, says so once, and still quits.
stop_private_jack
wait_until 10 grep -q "MIDI out: the JACK server went away" "$E2E_WORKDIR/data/debug.txt" ||
  fail "the log does not say the server went away: $(cat "$E2E_WORKDIR/data/debug.txt")"
kill -0 "$E2E_PID" 2>/dev/null || fail "tidewell ended when the JACK server went away"
end_tidewell TERM 10000

# Every note-on the monitor heard has its note-off, key by key and channel by
# channel. A note-off with no note-on before it is from a note that started
# before the monitor was connected.
awk '/note on|note off/ {
       match($0, /channel +[0-9]+/); ch = substr($0, RSTART + 8) + 0
       match($0, /pitch +[0-9]+/); p = substr($0, RSTART + 6) + 0
       k = ch ":" p
       if ($0 ~ /note on/) { if (on[k]) { print "second note-on " k; bad = 1 } on[k] = 1; n++ }
       else on[k] = 0
     }
     END { for (k in on) if (on[k]) { print "no note-off for " k; bad = 1 }; exit bad }' "$dump" ||
  fail "the notes are not paired"
echo "midi_out_e2e: ok"
