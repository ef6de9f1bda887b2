#!/usr/bin/env bash
# Soak run of tavrisk-harvest against the local test engine: a few hundred
# result pages at the interval of 1 s, recording the memory of the harvest
# (its own process and the web engine's helper processes) after the first
# page and at the end. Memory must not grow with the pages.
#   bench/soak_harvest.sh [BUILD_DIR] [KEYWORDS] [PAGES_PER_KEYWORD]
# Defaults: build/release, 4 keywords, 76 pages each (304 pages, about 5 min).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
keywords=${2:-4}
pages=${3:-76}
work=$(mktemp -d)
engine_pid=
harvest_pid=
cleanup() {
  [ -n "$harvest_pid" ] && kill "$harvest_pid" 2>/dev/null || true
  [ -n "$engine_pid" ] && kill "$engine_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

for i in $(seq 1 "$keywords"); do printf 'soak keyword %d\r\n' "$i"; done > "$work/keywords.txt"

"$build/harvest-cli/tavrisk-test-engine" "$work/keywords.txt" "$pages" > "$work/host" 2> "$work/engine.err" &
engine_pid=$!
for _ in $(seq 1 50); do [ -s "$work/host" ] && break; sleep 0.1; done
host=$(cat "$work/host")

# Resident memory in KiB of a process and all its descendants.
tree_rss() {
  local pids=("$1") all=() p child rss total=0
  while [ ${#pids[@]} -gt 0 ]; do
    p=${pids[0]}; pids=("${pids[@]:1}"); all+=("$p")
    for child in $(cat /proc/"$p"/task/*/children 2>/dev/null); do pids+=("$child"); done
  done
  for p in "${all[@]}"; do
    rss=$(awk '/^VmRSS:/ {print $2}' /proc/"$p"/status 2>/dev/null || true)
    total=$((total + ${rss:-0}))
  done
  echo "$total"
}
own_rss() { awk '/^VmRSS:/ {print $2}' /proc/"$1"/status 2>/dev/null || echo 0; }

start=$(date +%s)
"$build/harvest-cli/tavrisk-harvest" --host "$host" --interval 1 --pages "$pages" --dedupe \
  "$work/keywords.txt" > "$work/numbers" 2> "$work/harvest.err" &
harvest_pid=$!

first_own= first_tree= last_own=0 last_tree=0 max_tree=0 samples=0
while kill -0 "$harvest_pid" 2>/dev/null; do
  sleep 5
  kill -0 "$harvest_pid" 2>/dev/null || break
  served=$(grep -c '^keyword ' "$work/harvest.err" || true)
  [ "$served" -ge 2 ] || continue  # from the first page read on
  own=$(own_rss "$harvest_pid"); tree=$(tree_rss "$harvest_pid")
  if [ -z "$first_own" ]; then first_own=$own; first_tree=$tree; first_pages=$((served - 1)); fi
  last_own=$own; last_tree=$tree; last_pages=$((served - 1))
  [ "$tree" -gt "$max_tree" ] && max_tree=$tree
  samples=$((samples + 1))
done
wait "$harvest_pid" && status=0 || status=$?
harvest_pid=
end=$(date +%s)
numbers=$(wc -l < "$work/numbers")
echo "pages requested: $((keywords * pages)), numbers printed: $numbers, exit status: $status, $((end - start)) s"
echo "after page $first_pages: harvest process ${first_own} KiB, with web engine helpers ${first_tree} KiB"
echo "after page $last_pages: harvest process ${last_own} KiB, with web engine helpers ${last_tree} KiB"
echo "largest total seen: ${max_tree} KiB over $samples samples"
