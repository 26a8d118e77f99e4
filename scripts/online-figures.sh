#!/bin/sh
# Plays one whole online match on loopback for each network condition (host 1P, joiner 2P,
# both from the seeded random script, seats 3 and 4 computers) and prints each machine's
# result line: rollbacks, ticks run again, longest rollback and stall, bytes each way.
# The dumps of host and joiner are compared, and so is the offline replay of the recording.
#   scripts/online-figures.sh [BINARY] [TICKS]
set -eu
bin=${1:-build/kelmora}
ticks=${2:-1900}
script=tests/corpus/random-106.txt
match=4:0,2,5,7:0011
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
port=7960
for sim in none 5,60,20,1 0,100,50,2 10,150,0,3; do
  port=$((port + 1))
  d="$out/$sim"
  mkdir -p "$d"
  net=""
  [ "$sim" = none ] || net="--net-sim $sim"
  common="--headless --stop-after $ticks --script $script $net"
  SDL_AUDIODRIVER=dummy "$bin" $common --host $port --match $match --seats 0 \
    --dump "$d/host.jsonl" --record "$d/host.rec" > "$d/host.out" 2> "$d/host.err" &
  sleep 0.3
  SDL_AUDIODRIVER=dummy "$bin" $common --join 127.0.0.1:$port --seats 1 \
    --dump "$d/join.jsonl" > "$d/join.out" 2> "$d/join.err" || echo "joiner failed: $(cat "$d/join.err")"
  wait
  SDL_AUDIODRIVER=dummy "$bin" --headless --match $match --script "$d/host.rec" --dump "$d/offline.jsonl" > /dev/null
  same=same
  cmp -s "$d/host.jsonl" "$d/join.jsonl" || same=DIFFERENT
  head -n "$(wc -l < "$d/host.jsonl")" "$d/offline.jsonl" | cmp -s - "$d/host.jsonl" || same="$same, replay DIFFERENT"
  echo "== $sim ($same)"
  for who in host join; do
    net=$(grep -o '"net":{[^}]*}' "$d/$who.out")
    printf '%s: %s\n' "$who" "$net"
    # Sent each second: ENet's bytes, and with the 28 bytes of UDP and IP of each datagram.
    echo "$net" | tr -c '0-9.a-zA-Z' ' ' | awk -v who="$who" '{
      for (i = 1; i < NF; i++) v[$i] = $(i + 1)
      printf "%s: %.2f KB/s sent, %.2f KB/s with UDP and IP, %.1f datagrams/s\n", who,
        v["wireSent"] / v["seconds"] / 1000, (v["wireSent"] + 28 * v["packetsSent"]) / v["seconds"] / 1000,
        v["packetsSent"] / v["seconds"] }'
  done
done
