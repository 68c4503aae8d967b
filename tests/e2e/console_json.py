"""Reads the objects that ConsoleJson saved (one file per step) with Python's
json and checks what an engine relies on: changed, changes, exit."""
import json
import pathlib
import sys

folder = pathlib.Path(sys.argv[1])


def load(step):
    text = (folder / f"{step}.json").read_bytes()
    text.decode("ascii")  # every other character is a \u escape
    return json.loads(text)


def same_changes(check, made):
    held = [dict(c, ended="ended") if c["kind"] == "program" else c for c in check["changes"]]
    return held == made["changes"]


check, attach, again, set_check = (
    load(s) for s in ("attach-check", "attach", "attach-again", "set-check"))
failures = []
for name, ok in [
    ("a check changes nothing", check["changed"] is False and check["exit"] == 3),
    ("the check names the port", any(c["kind"] == "value" and c["name"] == "Port"
                                     and c["before"] == "CUPS:Office_PS"
                                     and c["after"] == "QuorvinPDF:" for c in check["changes"])),
    ("held back programs", all(c["ended"] == "held back"
                               for c in check["changes"] if c["kind"] == "program")),
    ("attach changed", attach["changed"] is True and attach["exit"] == 0),
    ("the check predicted attach", same_changes(check, attach)),
    ("attach converged", again["changed"] is False and again["changes"] == []
     and again["exit"] == 0 and len(again["notices"]) == 1),
    ("set --check tells the one value", set_check["exit"] == 3
     and [(c["name"], c["before"], c["after"]) for c in set_check["changes"]]
     == [("promptPDF", 0, 1)]),
    ("no errors", all(o["errors"] == [] for o in (check, attach, again, set_check))),
]:
    print(("ok   " if ok else "FAIL ") + name)
    if not ok:
        failures.append(name)
sys.exit(1 if failures else 0)
