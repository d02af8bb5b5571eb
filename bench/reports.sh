#!/usr/bin/env bash
# How long the reports of a fleet take, from the start of tidewell.exe to its end (Wine's start of
# the process included, and measured alone to compare): (1) "/report" of the play logs of 100
# screens for 30 days (about 100 MB, a third of the screens with a rotated log), (2) "/overview" of
# 10,000 status files, a tenth of them quiet, stopped or with an error. Prints TABLE rows as the other
# benchmarks do; bench/run.sh runs it as "reports".
# Usage: WIN_BUILD=dir [ROUNDS=3] bench/reports.sh   (needs the Wine environment)
set -euo pipefail
build=${WIN_BUILD:?}
program=${BENCH_PROGRAM:-$build/tidewell.exe}
rounds=${ROUNDS:-3}
work=$(mktemp -d /tmp/tidewell-bench-reports.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/logs" "$work/screens" "$work/empty"

python3 - "$work" <<'PY'
import datetime, json, os, random, sys

work = sys.argv[1]
rng = random.Random(32)
shows = ["\\\\server\\shows\\Lobby\\%s.pptx" % n for n in
         ("Welcome", "Menu of the week", "Opening hours", "Fire safety", "Events, December",
          "Sponsor 1", "Sponsor 2", "Sponsor 3", "Map of the building", "Weather")]
start = datetime.datetime(2026, 11, 8, 6, 0, tzinfo=datetime.timezone(datetime.timedelta(hours=1)))
def stamp(t):
    return t.isoformat(timespec="milliseconds")
for screen in range(100):
    name = "LOBBY-%03d" % screen
    lines = []
    for day in range(30):
        t = start + datetime.timedelta(days=day, seconds=rng.randrange(600))
        lines.append("%s\trun-start\t2\t\t\r\n" % stamp(t))
        position = 0
        while t.hour < 23:
            path = shows[position % len(shows)]
            position += 1
            lines.append("%s\tshow-start\t2\t%s\t\r\n" % (stamp(t), path))
            t += datetime.timedelta(milliseconds=rng.randrange(1500, 4000))
            if rng.random() < 0.01:
                lines.append("%s\tshow-timeout\t2\t%s\t\r\n" % (stamp(t), path))
                continue
            lines.append("%s\tshow-placed\t2\t%s\t\r\n" % (stamp(t), path))
            length = rng.randrange(300_000, 720_000)  # a loop of slides: 5 to 12 minutes
            t += datetime.timedelta(milliseconds=length)
            lines.append("%s\tshow-end\t2\t%s\t%d.%03d s, exit code 0\r\n" %
                         (stamp(t), path, length // 1000, length % 1000))
        lines.append("%s\trun-end\t2\t\t\r\n" % stamp(t))
    text = "".join(lines).encode("utf-8")
    if screen % 3 == 0:  # rotated: the older half in NAME.log.1
        half = text.index(b"\r\n", len(text) // 2) + 2
        open(os.path.join(work, "logs", name + ".log.1"), "wb").write(text[:half])
        text = text[half:]
    open(os.path.join(work, "logs", name + ".log"), "wb").write(text)

now = datetime.datetime.now(datetime.timezone.utc)
for screen in range(10000):
    # A tenth need someone: quiet for half an hour (their files written then), stopped, or failing.
    trouble = screen % 30 if screen % 10 == 0 else None
    quiet = trouble is not None and trouble < 10
    status = {"computer": "LOBBY-%05d" % screen, "user": "lobby", "version": "2.35",
              "state": "stopped" if trouble in (10, 20) and screen % 20 == 0 else "waiting" if screen % 90 == 5 else "playing",
              "detail": None, "monitor": 2, "presentation": shows[screen % len(shows)],
              "position": 1 + screen % 10, "count": 10,
              "since": stamp(now - datetime.timedelta(minutes=20)),
              "updated": stamp(now - datetime.timedelta(minutes=30 if quiet else 0)),
              "nextShow": None, "lastError": "The presentation program ended with code 1" if trouble is not None and not quiet else None,
              "lastErrorTime": None}
    path = os.path.join(work, "screens", "LOBBY-%05d.json" % screen)
    with open(path, "w") as f:
        json.dump(status, f, indent=2)
    if quiet:
        written = (now - datetime.timedelta(minutes=30)).timestamp()
        os.utime(path, (written, written))
PY
log_bytes=$(du -sb "$work/logs" | cut -f1)
log_lines=$(cat "$work"/logs/* | wc -l)

# median_ms ARGS...: the median of `rounds` runs of the program with ARGS, in milliseconds; every
# run must end with exit code 0.
median_ms() {
    local i start end times=()
    for i in $(seq "$rounds"); do
        start=$(date +%s%N)
        wine "$program" "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
        end=$(date +%s%N)
        times+=($(((end - start) / 1000000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((rounds + 1) / 2))p"
}
logs=$(winepath -w "$work/logs")
screens=$(winepath -w "$work/screens")
wine_start=$(median_ms /report "$(winepath -w "$work/empty")")
report=$(median_ms /report "$logs")
overview=$(median_ms /overview "$screens")
both=$(median_ms /overview "$screens" /report "$logs")
rows=$(($(wc -l <"$work/logs/report.csv") - 1))
printf 'TABLE\t`/report` of 100 screens x 30 days of play logs (%d MB, %d lines)\tmedian %d ms (%d rows; %d ms of it starting a process under Wine, measured on an empty folder)\n' \
    $((log_bytes / 1000000)) "$log_lines" "$report" "$rows" "$wine_start"
printf 'TABLE\t`/overview` of 10,000 status files (a tenth of them need someone)\tmedian %d ms\n' "$overview"
printf 'TABLE\t`/overview` of 10,000 status files with `/report` of those logs (today'"'"'s figures)\tmedian %d ms\n' "$both"
