#!/usr/bin/env python3
"""The scripted tour of the player that scripts/demo runs, and its account.

    player_tour.py runs                       the names of the tour's runs, in order
    player_tour.py switches RUN               "PATH VALUE" lines: key-2 files set for RUN
    player_tour.py then RUN                   the program the run hands over to ("" or Update)
    player_tour.py script RUN                 the automation script of RUN (UTF-8)
    player_tour.py account RUN DUMP REQUESTS CODE ERRORS
                                              prints what a user saw, checks every step

The tour is the table RUNS: each run of Player is a list of steps; a step is the script
lines a user's actions make, then a dump under the step's label, and a check that reads
that dump (and the requests the demo server logged) and says what the user saw, or fails.
A run may set key-2 files of the site before it starts (the version flag) and hand over
to a program the demo runs next. The account exits 1 when a step did not happen.
"""

import json
import sys
from pathlib import Path

SITE = "http://127.0.0.1:18930/"
TITLE_PAGE = SITE + "site/pianku/xinghe.html?id=xinghe&type=dianying"


class StepFailed(Exception):
    pass


class Run:
    """One run's dump, by label, and the requests the server answered during it."""

    def __init__(self, dump, requests, code, errors):
        self.dumps, self.end = {}, []
        label = None
        for line in dump.read_text(encoding="utf-8").splitlines():
            record = json.loads(line)
            if record.get("record") == "dump":
                label = record["label"]
                self.dumps[label] = {"header": record, "windows": {}, "controls": {}, "records": []}
            elif label is not None:
                part = self.dumps[label]
                if record.get("record") == "window":
                    part["windows"][record["name"]] = record
                elif record.get("record") == "control":
                    part["controls"][(record["window"], record["name"])] = record
                else:
                    part["records"].append(record)
        self.requests = [line.split(" ") for line in requests.read_text(encoding="utf-8").splitlines()
                         if line.startswith("GET ")]
        self.code = code
        self.errors = errors.read_text(encoding="utf-8", errors="replace").strip()

    def at(self, label):
        if label not in self.dumps:
            raise StepFailed(f"the run never reached '{label}'")
        return self.dumps[label]

    def control(self, label, name, window="MainWindow"):
        found = self.at(label)["controls"].get((window, name))
        if found is None:
            raise StepFailed(f"{window} has no {name} at '{label}'")
        return found

    def records(self, kind):
        return [r for r in self.at("end")["records"] if r.get("record") == kind]

    def fetched(self, target):
        return any(r[1] == target and r[2] == "200" for r in self.requests)


def expect(condition, failure):
    if not condition:
        raise StepFailed(failure)


def shown_view(run, label):
    """Which of the main window's three views stands in front at `label`."""
    views = {"快播播放器": "the player", "主界面片库浏览器": "the film library", "主界面找片浏览器": "find film"}
    visible = [view for name, view in views.items() if run.control(label, name)["visible"]]
    expect(len(visible) == 1, f"at '{label}' the views shown are {visible or 'none'}")
    return visible[0]


def path_of(address):
    return address[len(SITE) - 1:] if address.startswith(SITE) else address


# ---- The steps: each says what the user saw, or raises StepFailed ----------------------

def check_start(run):
    window = run.at("start")["windows"].get("MainWindow")
    expect(window is not None and window["visible"], "the main window did not open")
    expect(window["caption"] == "演示影院", f"the title is '{window['caption']}', not the provider name")
    expect(shown_view(run, "start") == "the player", "start-up did not end in the player view")
    expect(run.control("start", "主窗体播放器节目列表")["visible"], "the programme list is closed")
    ads = [run.control("start", name)["caption"] for name in ("主界面文字广告1", "主界面文字广告2")]
    expect(all(ads), "the text ads are not shown")
    fetched = [r[1] for r in run.requests if r[2] == "200"]
    for needed in ("/box/js/ads/name.txt", "/zongkong/ver/ver20121229.txt", "/site/pianku/",
                   "/site/zhaopian/", "/zongkong/tongji/azltj.html?DEMO0001"):
        expect(needed in fetched, f"start-up did not fetch {needed}")
    status = run.control("start", "点击播放标签")["caption"]
    return [f"the main window opens, titled \"{window['caption']}\", in the player view with the programme list open",
            f"text ads: {' | '.join(ads)}; status: {status}",
            f"the player fetched in this run ({len(fetched)} answers): " + ", ".join(fetched)]


def check_view(label, view, browser=None):
    def check(run):
        expect(shown_view(run, label) == view, f"'{label}' shows {shown_view(run, label)}, not {view}")
        if browser is None:
            return [f"{view} is in front"]
        address = run.control(label, browser)["address"]
        return [f"{view} is in front, showing {address}"]
    return check


def check_title_page(run):
    browser = run.control("title page", "主界面片库浏览器")
    expect(browser["address"] == TITLE_PAGE, f"the film library shows {browser['address']}")
    expect(run.fetched(path_of(TITLE_PAGE)), f"the page {TITLE_PAGE} was not fetched")
    return [f"the film library opens the title page of 星河旅人 ({path_of(TITLE_PAGE)}, fetched)"]


def check_ran_on(run):
    expect(run.code == 124 and run.at("end")["header"].get("stalled"),
           f"the player ended by itself (exit code {run.code}){': ' + run.errors if run.errors else ''}")
    return ["the script has no step left; the player is still open and the automation ends the run"]


def check_update_hand_over(run):
    boxes = [box["text"] for box in run.records("message_box")]
    expect("程序已经有新版本，请升级！" in boxes, f"no new-release message (boxes: {boxes})")
    started = [start["file"] for start in run.records("program_started")]
    expect(any(file.endswith("\\Update.exe") for file in started), f"Update was not started ({started})")
    closed = [record["name"] for record in run.records("closed_window")]
    expect("MainWindow" in closed, "the main window did not close")
    expect(run.code == 0, f"the player ended with exit code {run.code}")
    return ["the player says \"程序已经有新版本，请升级！\" (OK), starts " + ", ".join(started),
            "and runs its exit road: the main window closes and the player ends (exit code 0)"]


# ---- The tour --------------------------------------------------------------------------

RUNS = {
    "browse": {
        "switches": {},
        "then": "",
        "steps": [
            ("start", [], check_start),
            ("film library", ["click 主界面片库按钮"], check_view("film library", "the film library", "主界面片库浏览器")),
            ("title page", [f"navigate 主界面片库浏览器 \"{TITLE_PAGE}\""], check_title_page),
            ("find film", ["click 主界面找片按钮"], check_view("find film", "find film", "主界面找片浏览器")),
            ("player", ["click 主界面播放按钮"], check_view("player", "the player")),
            ("end", [], check_ran_on),
        ],
    },
    # The operator announces a new release: the version flag reads "up" for this run.
    "new release": {
        "switches": {"zongkong/ver/ver20121229.txt": "up"},
        "then": "Update",
        "steps": [("end", [], check_update_hand_over)],
    },
}


def script(run):
    lines = []
    for label, actions, _ in RUNS[run]["steps"]:
        lines += actions
        if label != "end":  # the program writes the final dump itself
            lines.append(f"dump \"{label}\"")
    return "\n".join(lines) + "\n"


def account(run_name, dump, requests, code, errors):
    print(f"Player, run \"{run_name}\":")
    run = Run(Path(dump), Path(requests), int(code), Path(errors))
    ok = True
    for label, _, check in RUNS[run_name]["steps"]:
        try:
            lines = check(run)
            print(f"  {label}: " + "\n    ".join(lines))
        except StepFailed as failure:
            ok = False
            print(f"  {label}: FAILED: {failure}")
    if not ok and run.errors:
        print("  the player said: " + run.errors)
    return 0 if ok else 1


def main():
    command, arguments = sys.argv[1] if len(sys.argv) > 1 else "", sys.argv[2:]
    if command == "runs" and not arguments:
        print("\n".join(name.replace(" ", "_") for name in RUNS))
        return 0
    if arguments:
        arguments[0] = arguments[0].replace("_", " ")
    if command == "switches" and len(arguments) == 1:
        for path, value in RUNS[arguments[0]]["switches"].items():
            print(f"{path} {value}")
        return 0
    if command == "then" and len(arguments) == 1:
        print(RUNS[arguments[0]]["then"])
        return 0
    if command == "script" and len(arguments) == 1:
        sys.stdout.write(script(arguments[0]))
        return 0
    if command == "account" and len(arguments) == 5:
        return account(*arguments)
    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main())
