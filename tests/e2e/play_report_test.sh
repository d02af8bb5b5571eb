#!/usr/bin/env bash
# Two screens' play logs give a report that a spreadsheet reads with the counts of the logs: the
# end-to-end test (PlayReport, under Wine) plays the runs with /log and writes the report in a
# folder of this script's; then the report is read back here with Python's csv module and compared
# with the logs, added up here on their own. Needs an X display of two monitors in DISPLAY and the
# Wine environment (WINEPREFIX, ...) that scripts/lib.sh sets up.
#   tests/e2e/play_report_test.sh <windows build dir> [where to keep the report]
set -euo pipefail
build=${1:?usage: play_report_test.sh <windows build dir> [report copy]}
keep_report=${2:-}
work=$(mktemp -d /tmp/tidewell-report.XXXXXX)
trap 'rm -rf "$work"' EXIT

TIDEWELL_E2E_LOGS="Z:${work//\//\\}" wine "$build/tidewell_e2e_tests.exe" \
    --gtest_also_run_disabled_tests --gtest_filter='PlayReport.DISABLED_*'

python3 - "$work" <<'PY' || { echo "play report: the report does not match the logs" >&2; exit 1; }
import collections, csv, datetime, os, re, sys

folder = sys.argv[1]
with open(os.path.join(folder, "report.csv"), "rb") as f:
    assert f.read(3) == b"\xef\xbb\xbf", "no byte-order mark"
with open(os.path.join(folder, "report.csv"), encoding="utf-8-sig", newline="") as f:
    reader = csv.DictReader(f)
    assert reader.fieldnames == ["screen", "date", "presentation", "plays", "seconds on screen",
                                 "skipped", "timed out", "failed", "plays without end", "kind"], reader.fieldnames
    rows = list(reader)
# Read as a spreadsheet whose list separator is ";" reads it: no cell may start a formula.
with open(os.path.join(folder, "report.csv"), encoding="utf-8-sig", newline="") as f:
    for cells in csv.reader(f, delimiter=";"):
        for cell in cells:
            assert not cell.startswith(("=", "+", "-", "@")), ("a formula with ; as separator", cell)

# The logs, added up here: plays per screen, day and presentation; seconds per screen and
# presentation (the runs are short, but one may cross midnight).
plays, seconds = collections.Counter(), collections.Counter()
for name in ("hall", "lobby"):
    placed = None
    for line in open(os.path.join(folder, name + ".log"), encoding="utf-8", newline="").read().split("\r\n"):
        if not line:
            continue
        time, event, _, path, _ = line.split("\t")
        moment = datetime.datetime.fromisoformat(time)
        if event == "show-placed":
            plays[name, time[:10], path] += 1
            placed = (path, moment)
        elif event == "show-end" and placed and placed[0] == path:
            seconds[name, path] += (moment - placed[1]).total_seconds()
            placed = None

# The guard against formulas: a "'" before a formula sign at the start and after a separator.
for r in rows:
    r["presentation"] = re.sub(r"(^|[,;\t])'(?=[=+@\t\r-])", r"\1", r["presentation"])

print("report rows:", [(r["screen"], r["date"], r["presentation"].rsplit("\\", 1)[-1], r["plays"],
                        r["seconds on screen"]) for r in rows])
got_plays = collections.Counter({(r["screen"], r["date"], r["presentation"]): int(r["plays"]) for r in rows})
assert +got_plays == +plays, (got_plays, plays)
got_seconds = collections.Counter()
for r in rows:
    got_seconds[r["screen"], r["presentation"]] += int(r["seconds on screen"])
    assert (r["skipped"], r["timed out"], r["failed"], r["plays without end"], r["kind"]) == ("0", "0", "0", "0", "list"), r
for key, logged in seconds.items():
    assert abs(got_seconds[key] - logged) <= 1, (key, got_seconds[key], logged)
by_show = collections.Counter()
for (screen, _, path), count in plays.items():
    by_show[screen, path.rsplit("\\", 1)[-1]] += count
assert by_show == {("hall", "Welcome.ppt"): 1, ("hall", "Menu, été.ppt"): 1,
                   ("lobby", "Menu, été.ppt"): 2, ("lobby", "Welcome.ppt"): 1,
                   ("lobby", "x;=1+1;.ppt"): 1}, by_show

# The overview page made with /report: the link, and each card's plays of the page's day.
page = open(os.path.join(folder, "index.html"), encoding="utf-8").read()
assert 'href="report.csv"' in page, "no link to the report"
day = re.search(r"page of (\d{4}-\d\d-\d\d)", page).group(1)
for name in ("hall", "lobby"):
    today = sum(count for (screen, date, _), count in plays.items() if screen == name and date == day)
    card = page[page.index("<h2>%s</h2>" % name):]
    assert re.search(r'class="today">today: %d plays?,' % today, card[:card.index("</article>")]), (name, today)
PY
[ -z "$keep_report" ] || cp "$work/report.csv" "$keep_report"
echo "play report: report.csv read back, same counts as the logs"
