#!/usr/bin/env python3
"""The scripted tour of the player that scripts/demo runs, and its account.

    player_tour.py runs                       the names of the tour's runs, in order
    player_tour.py switches RUN               "PATH VALUE" lines: key-2 files set for RUN
    player_tour.py then RUN                   the program the run hands over to ("" or Update)
    player_tour.py after RUN                  the program that starts RUN ("" or Update)
    player_tour.py script RUN                 the automation script of RUN (UTF-8)
    player_tour.py account RUN DUMP REQUESTS CODE ERRORS FOLDER
                                              prints what a user saw, checks every step
    player_tour.py offers RUN                 what RUN offers a user who clicks through it
    player_tour.py served RUN REQUESTS FOLDER the pages and clips the server answered a
                                              run in a window; fails when it did not start

The tour is the table RUNS: each run of Player is a list of steps; a step is the script
lines a user's actions make, then a dump under the step's label, and a check that reads
that dump (and the requests the demo server logged) and says what the user saw, or fails.
In a window the user clicks: the demo says what the run offers and then tells what the
server answered (pages, and the clips in their byte ranges). A run may set key-2 files of the site before it starts (the version flag), hand over to
a program the demo runs next, or be the run of the player that program started again.
The account exits 1 when a step did not happen.
"""

import json
import sys
import urllib.request
from pathlib import Path

SITE = "http://127.0.0.1:18930/"
TITLE_PAGE = SITE + "site/pianku/xinghe.html?id=xinghe&type=dianying"
FILM = "星河旅人"
EPISODES = ["第1集", "第2集", "第3集"]
PAUSE_AD = SITE + "site/ads/pause/"
EXIT_AD_PAGE = SITE + "site/ads/exit/"


def clip(episode):
    return f"{SITE}site/media/xinghe/{episode}.mp4"


def program_path(file):
    """The file a program start names ("\\tmp\\...\\Update.exe": the program's own form) as
    the Linux shell runs it: "/" for "\\", and the name without ".exe" where only that
    file is there."""
    path = Path(file.replace("\\", "/"))
    if not path.is_file() and path.suffix.lower() == ".exe" and path.with_suffix("").is_file():
        return path.with_suffix("")
    return path


class StepFailed(Exception):
    pass


class Run:
    """One run's dump, by label, and the requests the server answered during it."""

    def __init__(self, dump, requests, code, errors, folder):
        self.folder = folder
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


def engine(run, label):
    """(address, state) of the playback engine at `label`, as its calls leave it: the last
    media address given, and whether the last of play, pause and stop was a play."""
    address, state, pause_ad = "", "stopped", ""
    for call in run.control(label, "快播播放器")["calls"]:
        if call == "Play":
            state = "playing"
        elif call == "Pause":
            state = "paused"
        elif call == "Stop":
            state = "stopped"
        elif isinstance(call, list) and call[0] == "MediaAddress":
            address = call[1]
        elif isinstance(call, list) and call[0] == "PauseAdAddress":
            pause_ad = call[1]
    return address, state, pause_ad


def served_as_clip(address):
    """Whether the demo server answers the address's first bytes as a ranged MP4 part, as
    the desktop's engine asks for it."""
    request = urllib.request.Request(address, headers={"Range": "bytes=0-11"})
    try:
        with urllib.request.urlopen(request, timeout=10) as answer:
            return (answer.status == 206 and answer.headers.get("Content-Type") == "video/mp4"
                    and answer.read()[4:8] == b"ftyp")
    except OSError:
        return False


def programme(run, label):
    """The programme list at `label`: its entries (episodes indented) and the selected one."""
    listed = run.control(label, "主窗体播放器节目列表")
    entries = [("  " if item["parent"] >= 0 else "") + item["text"] for item in listed["items"]]
    return entries, listed["selection"]


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
    label = "episode 1"
    browser = run.control(label, "主界面片库浏览器")
    expect(browser["address"] == TITLE_PAGE, f"the film library shows {browser['address']}")
    expect(run.fetched(path_of(TITLE_PAGE)), f"the page {TITLE_PAGE} was not fetched")
    entries, selected = programme(run, label)
    expect(entries == [FILM] + ["  " + name for name in EPISODES], f"the programme list reads {entries}")
    expect(selected == 1, f"the list selects entry {selected}, not the first episode")
    expect(shown_view(run, label) == "the player", f"the title page leaves {shown_view(run, label)} in front")
    address, state, _ = engine(run, label)
    expect((address, state) == (clip(1), "playing"), f"the engine is {state} at {address or 'nothing'}")
    expect(served_as_clip(address), f"the server does not answer {address} with a ranged MP4 part")
    status = run.control(label, "点击播放标签")["caption"]
    expect(status == f"正在播放 [{FILM}]...", f"the status reads '{status}'")
    toggle = run.control(label, "主界面暂停播放按钮")["hint"]
    expect(toggle == "点击暂停", f"the pause/play button offers '{toggle}'")
    return [f"the film library opens the title page of {FILM} ({path_of(TITLE_PAGE)}, fetched)",
            f"the programme list fills: {FILM} / {' / '.join(EPISODES)}; back in the player view",
            f"{EPISODES[0]} plays ({path_of(address)}, a clip the server answers in byte ranges)",
            f"status: {status}; the pause/play button offers \"{toggle}\""]


def check_next(run):
    entries, selected = programme(run, "next")
    address, state, _ = engine(run, "next")
    expect((address, state) == (clip(2), "playing"), f"after next the engine is {state} at {address or 'nothing'}")
    expect(selected == 2, f"after next the list selects entry {selected}")
    return [f"{entries[selected].strip()} is selected and plays ({path_of(address)})"]


def check_pause(run):
    address, state, pause_ad = engine(run, "pause")
    expect((address, state) == (clip(2), "paused"), f"after pause the engine is {state} at {address or 'nothing'}")
    expect(pause_ad == PAUSE_AD, f"the engine's pause ad is {pause_ad or 'none'}")
    toggle = run.control("pause", "主界面暂停播放按钮")["hint"]
    expect(toggle == "点击播放", f"after pause the button offers '{toggle}'")
    return [f"{EPISODES[1]} holds, the engine's pause ad is {path_of(pause_ad)}; the button offers \"{toggle}\""]


def both(first, second):
    return lambda run: first(run) + second(run)


def check_release(version):
    def check(run):
        listed = (run.folder / "up.dat").read_bytes().decode("gbk", "replace").splitlines()
        expect(f"版本号={version}" in listed, f"the folder's up.dat does not name version {version}")
        first = (run.folder / "说明.txt").read_text(encoding="gbk", errors="replace").splitlines()[:1]
        return [f"Update started the player in the folder it brought to release {version} "
                f"(up.dat: 版本号={version}; 说明.txt: \"{first[0] if first else ''}\")"]
    return check


def main_window(run, label):
    window = run.at(label)["windows"].get("MainWindow")
    expect(window is not None, f"the main window is gone at '{label}'")
    return window


def menus_popped(run, label):
    """(menu, caption picked) of every popup menu up to `label`, in order ("" dismissed)."""
    return [(record["menu"], record["picked"]) for record in run.at(label)["records"]
            if record.get("record") == "menu"]


def expect_menu(run, label, menu, picked):
    popped = menus_popped(run, label)
    expect(popped and popped[-1] == (menu, picked),
           f"the last menu at '{label}' was {popped[-1] if popped else 'none'}, not {menu} with '{picked}'")


def check_in_tray(run):
    window = main_window(run, "tray")
    expect(not window["visible"], "the close button left the main window shown")
    tray = window.get("tray")
    expect(tray is not None and tray["tip"] == "点击本图标显示主程序", f"the tray icon is {tray or 'not shown'}")
    address, state, _ = engine(run, "tray")
    expect((address, state) == (clip(2), "paused"), f"hidden, the engine is {state} at {address or 'nothing'}")
    return [f"the close button hides the main window into the tray: its icon's tip reads \"{tray['tip']}\"; "
            f"{EPISODES[1]} stays paused"]


def check_restored(run):
    window = main_window(run, "restored")
    expect(window["visible"], "a click on the tray icon left the main window hidden")
    expect("tray" not in window, "the tray icon stayed after the window came back")
    expect(shown_view(run, "restored") == "the player", "the window came back in another view")
    return ["a click on the tray icon brings the window back, in the player view; the icon goes"]


def check_on_top(run):
    expect_menu(run, "on top", "选项菜单", "总是置顶")
    expect(main_window(run, "on top")["always_on_top"], "总是置顶 left the window below others")
    return ["the options button's menu, \" 显示设置 \" then 总是置顶: the window stays on top"]


def check_on_top_ends(run):
    expect_menu(run, "on top ends", "选项菜单", "")
    expect(not main_window(run, "on top ends")["always_on_top"], "the window is still on top")
    return ["the options button again: on top ends before its menu opens (closed again without a pick)"]


def closed_by_exit_road(run):
    ended = [record["file"] for record in run.records("processes_ended")]
    expect(ended == ["QvodPlayer.exe", "QvodTerminal.exe"], f"the exit road ended the processes {ended}")
    closed = [record["name"] for record in run.records("closed_window")]
    expect("MainWindow" in closed, "the main window did not close")
    expect(run.code == 0, f"the player ended with exit code {run.code}"
           + (f": {run.errors}" if run.errors else ""))
    return (f"the exit road ends the engine's {' and '.join(ended)}, closes the main window, "
            "and the player ends (exit code 0)")


def check_exit(menu, caption, before=""):
    def check(run):
        expect_menu(run, "end", menu, caption)
        started = [start["file"] for start in run.records("program_started")]
        expect(not started, f"the exit started {started}")
        return [f"{before}\"{caption.strip()}\" in the {'tray' if menu == '托盘菜单' else 'options'} menu: "
                + closed_by_exit_road(run)]
    return check


def check_exit_ad(run):
    expect_menu(run, "exit ad", "选项菜单", " 退出")
    expect(not main_window(run, "exit ad")["visible"], "the main window stayed on screen behind the exit ad")
    ad = run.at("exit ad")["windows"].get("ExitAdWindow")
    expect(ad is not None and ad["visible"], "no exit ad was shown")
    expect(ad["caption"] == "演示影院退弹广告", f"the exit ad is titled {ad['caption']!r}")
    page = run.control("exit ad", "超文本浏览框1", "ExitAdWindow")["address"]
    expect(page == EXIT_AD_PAGE, f"the exit ad shows {page!r}, not {EXIT_AD_PAGE}")
    return [f"\" 退出\" in the options menu: the main window goes and the exit ad \"{ad['caption']}\" "
            f"shows {page}"]


def check_exit_ad_ends(run):
    closed = [record["name"] for record in run.records("closed_window")]
    expect(closed[-2:] == ["MainWindow", "ExitAdWindow"], f"after the exit ad's 10 s the windows closed were {closed}")
    expect(run.code == 0, f"the player ended with exit code {run.code}" + (f": {run.errors}" if run.errors else ""))
    return ["10 s later the exit ad closes the main window and itself, and the player ends (exit code 0)"]


def check_update_hand_over(run):
    boxes = [box["text"] for box in run.records("message_box")]
    expect(not boxes, f"the player showed {boxes} at start-up")
    expect_menu(run, "end", "选项菜单", " 程序升级")
    started = [program_path(start["file"]) for start in run.records("program_started")]
    expect(any(path.name == "Update" for path in started), f"Update was not started ({started})")
    return ["the user asks for the new release: \" 程序升级\" in the options menu starts "
            + ", ".join(str(path) for path in started),
            "then " + closed_by_exit_road(run)]


# ---- The tour --------------------------------------------------------------------------

RUNS = {
    "browse": {
        "switches": {},
        "offers": "the views (片库, 找片, 播放), a film's page in a catalogue that plays its first "
                  "episode, then the previous and next buttons, the list and pause/play; the close "
                  "button hides the window into the tray (a click on the icon brings it back), the "
                  "options button's \" 显示设置 \" keeps it on top; leave it by the tray icon's menu, 退出",
        "steps": [
            ("start", [], check_start),
            ("film library", ["click 主界面片库按钮"], check_view("film library", "the film library", "主界面片库浏览器")),
            ("episode 1", [f"navigate 主界面片库浏览器 \"{TITLE_PAGE}\""], check_title_page),
            ("next", ["click 主界面下一集按钮"], check_next),
            ("pause", ["click 主界面暂停播放按钮"], check_pause),
            ("find film", ["click 主界面找片按钮"], check_view("find film", "find film", "主界面找片浏览器")),
            ("player", ["click 主界面播放按钮"], check_view("player", "the player")),
            ("tray", ["click 启动窗口关闭按钮"], check_in_tray),
            ("restored", ["tray 1"], check_restored),
            ("on top", ["click 主界面选项按钮", "menu \" 显示设置 \" 总是置顶"], check_on_top),
            ("on top ends", ["click 主界面选项按钮"], check_on_top_ends),
            ("end", ["click 启动窗口关闭按钮", "tray 3", "menu 退出"],
             check_exit("托盘菜单", "退出", "hidden into the tray again, a right click on its icon and ")),
        ],
    },
    # The operator has published release 2.0; its version flag does not announce it at
    # start-up, so the user asks for it in the options menu.
    "update from the menu": {
        "switches": {"zongkong/ver/ver20121229.txt": "0"},
        "then": "Update",
        "offers": "the options button's menu, \" 程序升级\", hands over to Update: Next, Next, then finish",
        "steps": [("end", ["click 主界面选项按钮", "menu \" 程序升级\""], check_update_hand_over)],
    },
    # Update hands over: the player it starts again runs release 2.0.
    "release 2.0": {
        "after": "Update",
        "switches": {"zongkong/ads/ttkg.txt": "1"},
        "offers": "the player Update started again, release 2.0; leave it by the options menu's \" 退出\": "
                  "the operator's exit ad shows for 10 s (its close button or Esc end it at once)",
        "steps": [
            ("start", [], both(check_release("2.0"), check_start)),
            ("film library", ["click 主界面片库按钮"], check_view("film library", "the film library", "主界面片库浏览器")),
            ("exit ad", ["click 主界面选项按钮", "menu \" 退出\""], check_exit_ad),
            ("end", ["advance 10000"], check_exit_ad_ends),
        ],
    },
}

def script(run):
    lines = []
    for label, actions, _ in RUNS[run]["steps"]:
        lines += actions
        if label != "end":  # the program writes the final dump itself
            lines.append(f"dump \"{label}\"")
    return "\n".join(lines) + "\n"


def account(run_name, dump, requests, code, errors, folder):
    print(f"Player, run \"{run_name}\":")
    run = Run(Path(dump), Path(requests), int(code), Path(errors), Path(folder))
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


def served(run_name, requests, folder):
    """What the server answered a run in a window; fails when the player never started."""
    print(f"Player, run \"{run_name}\" in a window:")
    answered = [line.split(" ") for line in Path(requests).read_text(encoding="utf-8").splitlines()
                if line.startswith("GET ")]
    started = any(target == "/box/js/ads/name.txt" for _, target, _ in answered)
    pages = [target for _, target, status in answered if target.startswith("/site/")
             and "/media/" not in target and not target.endswith(".png") and status == "200"]
    clips = {}
    for _, target, status in answered:
        if "/media/" in target:
            clips.setdefault(target, []).append(status)
    listed = (Path(folder) / "up.dat").read_bytes().decode("gbk", "replace").splitlines()
    release = next((line.split("=", 1)[1] for line in listed if line.startswith("版本号=")), "unknown")
    print(f"  start-up in the folder of release {release}: "
          + ("the player fetched its remote files" if started else "FAILED: no start-up fetches"))
    print("  pages shown: " + (", ".join(dict.fromkeys(pages)) or "none"))
    print("  clips played: " + (", ".join(f"{clip} ({len(answers)} answers: {', '.join(sorted(set(answers)))})"
                                        for clip, answers in clips.items()) or "none"))
    return 0 if started else 1


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
    if command in ("then", "after") and len(arguments) == 1:
        print(RUNS[arguments[0]].get(command, ""))
        return 0
    if command == "script" and len(arguments) == 1:
        sys.stdout.write(script(arguments[0]))
        return 0
    if command == "offers" and len(arguments) == 1:
        print(f"Player, run \"{arguments[0]}\": " + RUNS[arguments[0]]["offers"])
        return 0
    if command == "served" and len(arguments) == 3:
        return served(*arguments)
    if command == "account" and len(arguments) == 6:
        return account(*arguments)
    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main())
