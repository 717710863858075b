#!/usr/bin/env bash
# Runs the benchmark page (2480 x 3508 JPEG) through other programs doing the same job as Kelpra,
# decode alone and decode + fit to 1920 x 1080 with a bicubic and a Lanczos filter, all in the
# same hyperfine run, and prints each time beside ours as a ratio (theirs / ours: above 1 means
# Kelpra is faster). Ours is `kelpra-render page`; where it cannot render the page, the
# kelpra-bench figures (decode + resize, in-process) stand in.
# Usage: bench/compare.sh [BUILD_DIR]   (configured with -DKELPRA_BUILD_BENCH=ON; default
# build-bench). The other programs come with scripts/setup.sh --bench.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}

for tool in hyperfine djpeg vips vipsthumbnail gm python3; do
  if ! command -v "$tool" >/dev/null; then
    echo "compare.sh: $tool is missing; install it with scripts/setup.sh --bench" >&2
    exit 2
  fi
done
# ImageMagick 6 as Debian ships it (or 7's magick), not whatever else is called convert.
magick=$(command -v magick || command -v convert-im6.q16 || command -v convert || true)
if [ -z "$magick" ]; then
  echo "compare.sh: ImageMagick is missing; install it with scripts/setup.sh" >&2
  exit 2
fi
for program in "$build/bench/kelpra-bench-page" "$build/bench/kelpra-bench"; do
  if [ ! -x "$program" ]; then
    echo "compare.sh: $program is missing; build with -DKELPRA_BUILD_BENCH=ON (bench/run.sh)" >&2
    exit 2
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
page="$work/page.jpg"
"$build/bench/kelpra-bench-page" "$page"
scale=$(python3 -c 'print(min(1920 / 2480, 1080 / 3508))')

render="$build/tools/kelpra-render"
ours_works=0
if [ -x "$render" ] &&
  "$render" page --size 1920x1080 --single --filter Lanczos "$page" "$work/probe.bmp" >/dev/null 2>&1; then
  ours_works=1
fi

# name|group|command
jobs=(
  "djpeg|decode|djpeg -bmp -outfile $work/djpeg.bmp $page"
  "vips resize cubic|bicubic|vips resize $page $work/vips-cubic.ppm $scale --kernel cubic"
  "ImageMagick Catrom|bicubic|$magick $page -filter Catrom -resize 1920x1080 $work/im-cubic.bmp"
  "GraphicsMagick Catrom|bicubic|gm convert $page -filter Catrom -resize 1920x1080 $work/gm-cubic.bmp"
  "vips resize lanczos2|lanczos|vips resize $page $work/vips-lanczos.ppm $scale --kernel lanczos2"
  "vipsthumbnail|lanczos|vipsthumbnail $page --size 1920x1080 -o $work/thumb.ppm"
  "ImageMagick Lanczos2|lanczos|$magick $page -filter Lanczos2 -resize 1920x1080 $work/im-lanczos.bmp"
  "GraphicsMagick Lanczos|lanczos|gm convert $page -filter Lanczos -resize 1920x1080 $work/gm-lanczos.bmp"
)
if [ $ours_works -eq 1 ]; then
  jobs+=(
    "kelpra-render|decode|$render page --size 1920x1080 --single --no-stretch $page $work/k-decode.bmp"
    "kelpra-render|bicubic|$render page --size 1920x1080 --single --filter Bicubic $page $work/k-cubic.bmp"
    "kelpra-render|lanczos|$render page --size 1920x1080 --single --filter Lanczos $page $work/k-lanczos.bmp"
  )
fi

args=()
for job in "${jobs[@]}"; do
  IFS='|' read -r name group command <<<"$job"
  args+=(-n "$group|$name" "$command")
done
hyperfine --style basic --warmup 2 --min-runs 10 --export-json "$work/times.json" "${args[@]}" \
  >"$work/hyperfine.log"
"$build/bench/kelpra-bench" --benchmark_filter='^(Decode/jpg/page|Resize/(Bicubic|Lanczos)/page)/' \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_format=json --benchmark_out="$work/bench.json" >/dev/null 2>&1

python3 - "$work/times.json" "$work/bench.json" "$ours_works" <<'PY'
import json, sys

times = json.load(open(sys.argv[1]))["results"]
bench = {b["run_name"]: b["real_time"] for b in json.load(open(sys.argv[2]))["benchmarks"]
         if b.get("aggregate_name") == "median"}
ours_works = sys.argv[3] == "1"
decode = bench["Decode/jpg/page/real_time"]
bench_ours = {"decode": decode,
              "bicubic": decode + bench["Resize/Bicubic/page/real_time"],
              "lanczos": decode + bench["Resize/Lanczos/page/real_time"]}
titles = {"decode": "decode 2480x3508 JPEG",
          "bicubic": "decode + fit to 1920x1080, bicubic",
          "lanczos": "decode + fit to 1920x1080, Lanczos"}
print("ratio = the program's mean time / ours (above 1: Kelpra is faster); one hyperfine run")
rows = {}
for r in times:
    group, name = r["command"].split("|", 1)
    rows.setdefault(group, []).append((name, r["mean"] * 1000, r["stddev"] * 1000))
for group in ("decode", "bicubic", "lanczos"):
    entries = rows.get(group, [])
    ours = next((t for n, t, _ in entries if n == "kelpra-render"), None)
    source = "kelpra-render page, whole process"
    if ours is None:
        ours, source = bench_ours[group], "kelpra-bench figure, in-process"
    print(f"\n{titles[group]}  (ours: {ours:.1f} ms, {source})")
    print(f"  {'program':<26}{'time ms':>10}{'+/-':>8}{'ratio':>8}")
    for name, mean, sd in entries:
        print(f"  {name:<26}{mean:>10.1f}{sd:>8.1f}{mean / ours:>8.2f}")
print("\nkelpra-bench, in-process (median): " + ", ".join(
    f"{k.replace('/real_time', '')} {v:.1f} ms" for k, v in bench.items()))
PY
