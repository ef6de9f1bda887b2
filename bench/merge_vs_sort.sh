#!/usr/bin/env bash
# Merging number files with tavrisk-cli against GNU sort over the same files,
# side by side: wall time and peak memory of each, from /usr/bin/time.
#   bench/merge_vs_sort.sh [TOTAL_LINES] [TAVRISK_CLI]
# Defaults: 5000000 lines in 5 files (about 30% duplicates), and the release
# build's build/release/cli/tavrisk-cli.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
total="${1:-5000000}"
cli="${2:-$root/build/release/cli/tavrisk-cli}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Numbers as the harvest writes them ("0571-1234567", "010-12345678"), in five
# files with CR LF line ends; 70% distinct, the rest repeats of earlier ones.
awk -v total="$total" -v dir="$work" 'BEGIN {
    srand(42);
    split("010 020 021 022 023 024 025 027 028 029 0571 0572 0755 0769 0512 0531 0532 0591 0592 0898", areas, " ");
    distinct = int(total * 0.7); per = int(total / 5);
    for (i = 0; i < total; i++) {
        if (i < distinct) {
            a = areas[1 + int(rand() * 20)];
            n = (length(a) == 3) ? 2000000 + int(rand() * 88000000) : 2000000 + int(rand() * 8000000);
            line = seen[i] = a "-" n;
        } else {
            line = seen[int(rand() * distinct)];
        }
        f = int(i / per); if (f > 4) f = 4;
        printf "%s\r\n", line > (dir "/nums" f ".txt");
    }
}'
input_bytes=$(cat "$work"/nums*.txt | wc -c)

measure() {  # label, command...: prints "label seconds peak_kib"
    local label="$1"; shift
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null
    echo "$label $(cat "$work/time")"
}

echo "input: $total lines, $input_bytes bytes in 5 files"
ours=$(measure tavrisk-cli "$cli" merge -o "$work/merged.txt" "$work"/nums0.txt "$work"/nums1.txt \
    "$work"/nums2.txt "$work"/nums3.txt "$work"/nums4.txt)
theirs=$(measure sort env LC_ALL=C sort -f -u -o "$work/sorted.txt" "$work"/nums0.txt "$work"/nums1.txt \
    "$work"/nums2.txt "$work"/nums3.txt "$work"/nums4.txt)
printf '%-12s %10s %12s %14s\n' program "wall (s)" "peak (MiB)" "peak / input"
for row in "$ours" "$theirs"; do
    read -r name secs kib <<<"$row"
    awk -v n="$name" -v s="$secs" -v k="$kib" -v in_b="$input_bytes" \
        'BEGIN { printf "%-12s %10.2f %12.1f %14.2f\n", n, s, k / 1024, k * 1024 / in_b }'
done
echo "lines out: tavrisk-cli $(wc -l <"$work/merged.txt"), sort $(wc -l <"$work/sorted.txt")"
