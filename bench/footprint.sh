#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrix developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time and peak memory of the two real programs under Xvfb:
#   - start-up: from exec to the first window mapped (median of 7 runs);
#   - server: peak resident size after collecting 10,000 result files;
#   - student: peak resident size after typing a 30,000-character text
#     to the end through the login and the typing window.
# Needs xvfb, xdotool and GNU time; run after scripts/build.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build
work=$(mktemp -d)
display=:77
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb $display -screen 0 1280x1024x24 >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
sleep 1
python=/usr/bin/python3

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Milliseconds from exec to the window titled $1 being mapped.
startup_ms() {
  local title=$1; shift
  local start end pid
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do sleep 0.005; done
  end=$(date +%s%N)
  kill "$pid"; wait "$pid" 2>/dev/null || true
  echo $(( (end - start) / 1000000 ))
}

mkdir -p "$work/exchange" "$work/console" "$work/client"
export KESTRIX_EXCHANGE_DIR=$work/exchange KESTRIX_APP_DIR=$work/console

for _ in 1 2 3 4 5 6 7; do
  (cd "$work/console" && startup_ms '^Kestrix服务器$' "$build/server/server")
done | median | sed 's/^/server start-up ms (median of 7): /'
for _ in 1 2 3 4 5 6 7; do
  (cd "$work/client" && startup_ms '^登录考试服务器$' "$build/student/student")
done | median | sed 's/^/student start-up ms (median of 7): /'

# 10,000 scrambled result records for the console.
"$python" - "$work/exchange" <<'PY'
import sys, os
folder = sys.argv[1]
for i in range(10000):
    text = '40\r\n98\r\n%d.25\r\n%d.5\r\n300\r\n3000\r\n2900\r\n"班%d"\r\n"%05d"\r\n"考生%d"\r\n' % (
        i % 200, 50 + i % 50, i % 40, i, i)
    data = bytes(b ^ 157 for b in text.encode('gbk'))
    with open(os.path.join(folder, '班%d-%05d-考生%d.zip' % (i % 40, i, i)), 'wb') as f:
        f.write(data)
PY
(cd "$work/console" && /usr/bin/time -v "$build/server/server" 2> "$work/server-time.txt" >/dev/null) &
pids+=($!)
console=$(xdotool search --sync --onlyvisible --name '^Kestrix服务器$' | head -1)
xdotool mousemove --window "$console" 230 30 click 1   # 获取成绩
sleep 8
pkill -TERM -x server || true
sleep 1
grep "Maximum resident" "$work/server-time.txt" | sed 's/^\s*/server with 10,000 rows: /'
rm -f "$work"/exchange/*

# A 30,000-character exam text (lines of 60 characters plus CR LF).
"$python" - "$work/exchange" <<'PY'
import sys, os
line = 'the quick brown fox jumps over the lazy dog 0123456789 abcde'
assert len(line) == 60
lines = [line] * (30000 // 62)
with open(os.path.join(sys.argv[1], 'te.txt'), 'wb') as f:
    f.write(b''.join(l.encode('gbk') + b'\r\n' for l in lines))
with open(os.path.join(sys.argv[1], 'se.dll'), 'wb') as f:
    f.write(bytes(b ^ 157 for b in b'#TRUE#\r\n60\r\n'))
with open(os.path.join(sys.argv[1], '..', 'typed.txt'), 'w') as f:
    f.write('\n'.join(lines) + '\n')
PY
"$python" scripts/ftp-service.py --dir "$work/exchange" > "$work/ftp-port" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do grep -q '^PORT ' "$work/ftp-port" 2>/dev/null && break; sleep 0.1; done
port=$(awk '/^PORT /{print $2}' "$work/ftp-port")
printf '"127.0.0.1:%s"\r\n' "$port" > "$work/client/ip.txt"

(cd "$work/client" && /usr/bin/time -v "$build/student/student" 2> "$work/student-time.txt" >/dev/null) &
pids+=($!)
login=$(xdotool search --sync --onlyvisible --name '^登录考试服务器$' | head -1)
# Positions inside the login window: the three identity boxes, then 登录.
xdotool mousemove --window "$login" 212 62 click 1 type "dept"
xdotool mousemove --window "$login" 212 94 click 1 type "1"
xdotool mousemove --window "$login" 212 126 click 1 type "name"
xdotool mousemove --window "$login" 120 167 click 1
typing=$(xdotool search --sync --onlyvisible --name 'Kestrix客户端' | head -1)
xdotool mousemove --window "$typing" 170 18 click 1   # the tab strip
xdotool key Return
sleep 0.5
# Enter after every line, as an examinee would press it.
while IFS= read -r line; do
  xdotool type --delay 1 "$line"
  xdotool key Return
done < "$work/typed.txt"
sleep 2
import -window root /tmp/footprint-typing.png 2>/dev/null || true
pkill -TERM -x student || true
sleep 1
grep "Maximum resident" "$work/student-time.txt" | sed 's/^\s*/student after typing 30,000 characters: /'
