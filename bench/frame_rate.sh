#!/usr/bin/env bash
# Frame rate of the saver under a private Xvfb, default settings, full screen:
# frames per second and CPU per frame of korvel3d and of the X server, measured
# over MEASURE seconds after WARMUP seconds (the field fills in the first ones).
# Usage: bench/frame_rate.sh [BUILD_DIR] [SIZE...]   (sizes default to 1280x720 1920x1080)
set -euo pipefail
BUILD=${1:-build}
shift || true
SIZES=("$@")
[ ${#SIZES[@]} -eq 0 ] && SIZES=(1280x720 1920x1080)
WARMUP=${WARMUP:-25}
MEASURE=${MEASURE:-15}
PROGRAM=$BUILD/app/korvel3d
TICKS=$(getconf CLK_TCK)

cpu_seconds() {  # utime + stime of a process, in seconds
  awk -v t="$TICKS" '{ print ($14 + $15) / t }' "/proc/$1/stat"
}

for size in "${SIZES[@]}"; do
  config=$(mktemp -d)
  log=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${size}x24" -noreset 3>"$config/display" >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do [ -s "$config/display" ] && break; sleep 0.1; done
  display=":$(cat "$config/display")"
  DISPLAY=$display KORVEL3D_CONFIG_DIR=$config "$PROGRAM" --fps 2>"$log" &
  saver=$!
  sleep "$WARMUP"
  lines_before=$(grep -c "frames per second" "$log" || true)
  saver0=$(cpu_seconds $saver); xvfb0=$(cpu_seconds $xvfb); t0=$(date +%s.%N)
  sleep "$MEASURE"
  saver1=$(cpu_seconds $saver); xvfb1=$(cpu_seconds $xvfb); t1=$(date +%s.%N)
  kill -TERM $saver; wait $saver || true
  kill $xvfb; wait $xvfb 2>/dev/null || true
  # The frame-rate lines of the measured span (one every 5 s).
  fps=$(grep "frames per second" "$log" | tail -n +"$((lines_before + 1))" |
        awk '{ s += $2; n++ } END { if (n) printf "%.1f", s / n; else print "?" }')
  awk -v size="$size" -v fps="$fps" -v t0="$t0" -v t1="$t1" -v s0="$saver0" -v s1="$saver1" \
      -v x0="$xvfb0" -v x1="$xvfb1" 'BEGIN {
    t = t1 - t0; s = s1 - s0; x = x1 - x0; frames = fps * t
    printf "%-10s %6s fps   korvel3d %5.1f ms CPU/frame (%3.0f%% of a core)   Xvfb %5.1f ms CPU/frame (%3.0f%%)\n",
           size, fps, 1000 * s / frames, 100 * s / t, 1000 * x / frames, 100 * x / t }'
  rm -rf "$config" "$log"
done
