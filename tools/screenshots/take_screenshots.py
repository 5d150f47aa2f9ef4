#!/usr/bin/env python3
"""Takes the screenshots of both programs' windows and checks each.

    tools/screenshots/take_screenshots.py [--build-dir DIR] [--out DIR] [--update-docs]

The build folder (build/debug by default) must hold Player, Update, the desktop module
they load, the demo tools and the desktop tests named below (this script builds them). The pictures go into --out (by
default a scratch folder of their own, printed at the end); --update-docs copies them into
docs/screenshots/ once every one has passed its checks.

Player's views, menus and windows come from the desktop tests, which check each against
the headless dump of the same clicks. Every other window is met as a user meets it: the
demo (scripts/demo --window) runs on an X server of this script's own (Xvfb) with a
notification area (trayer), and the table SHOTS is walked in order: each row reaches a
window's state by a user's clicks and keys (xdotool; a menu item is chosen with the arrow
keys, from the menu in the window's layout) and keeps the window once it shows that state.
The players are left by their options menu's " 退出", as a user leaves them.

Each picture must show what its name says (picture_checks.py): at least the size of its
window, not one colour, and different from the screen before the step that should change
it. A capture is taken again until it passes, for DRAWN seconds at most; a window that
does not come, or a picture that never passes, fails the run, and nothing is copied.
"""

import argparse
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import picture_checks

SOURCE = Path(__file__).resolve().parents[2]
DOCS = SOURCE / "docs" / "screenshots"
MAIN = "演示影院"     # the main window is titled with the demo's provider name
WIZARD = "在线升级"
WAIT = 90              # seconds a window may take to come (the first start of WebKit and mpv is slow)
DRAWN = 20             # seconds a window shown may take to show its state
STILL = 1.0            # seconds a picture must stay unchanged to count as drawn (pages, downloads)


def layout(program, window):
    return json.loads((SOURCE / "resources" / program / f"{window}.layout.json").read_text(encoding="utf-8"))


def layout_point(program, window, control):
    """The middle of a control in its window's client area, from the window's layout."""
    controls = {c["name"]: c for c in layout(program, window)["controls"]}
    x, y = controls[control]["rect"][2] // 2, controls[control]["rect"][3] // 2
    while control is not None:
        x, y = x + controls[control]["rect"][0], y + controls[control]["rect"][1]
        control = controls[control].get("parent")
    return x, y


def menu_keys(menu, caption):
    """The keys that pick the item `caption` of the main window's popup menu `menu` just
    popped up: down to it over the items (separators are passed over), then Return."""
    items = [item.get("caption") for item in layout("player", "MainWindow")["menus"][menu] if "caption" in item]
    return ["Down"] * (items.index(caption) + 1) + ["Return"]


class Screen:
    """The X server and what the demo shows on it."""

    def __init__(self, display, server_log, out):
        self.env = dict(os.environ, DISPLAY=display)
        self.server_log = server_log
        self.out = out

    def run(self, *command):
        return subprocess.run(command, env=self.env, capture_output=True, text=True).stdout

    def window(self, title, seconds=WAIT):
        """The id of the shown window titled `title`, once it is shown; None after `seconds`."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            found = self.run("xdotool", "search", "--onlyvisible", "--name", f"^{title}$").split()
            if found:
                return found[-1]
            time.sleep(0.2)
        return None

    def geometry(self, window):
        """Where the window lies (left, top, width, height); None once it has gone."""
        values = dict(line.split("=") for line in self.run("xdotool", "getwindowgeometry", "--shell", window).split())
        if "X" not in values:
            return None
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def click(self, window, point, button=1):
        rect = self.geometry(window)
        if rect is None:
            return  # gone: what the click should reach does not come, and its row says so
        left, top, _, _ = rect
        self.run("xdotool", "mousemove", "--sync", str(left + point[0]), str(top + point[1]), "click", str(button),
                 "mousemove", "--sync", "0", "0")

    def shown_windows(self):
        return set(self.run("xdotool", "search", "--onlyvisible", "--maxdepth", "1", "--class", "").split())

    def new_window(self, before, least_size):
        """The window shown since `before` (a set of shown windows) that is at least
        `least_size` and has drawn itself (a menu then takes keys), once there is one;
        None after WAIT seconds. The toolkit maps small windows of its own as well."""
        deadline = time.monotonic() + WAIT
        capture = self.out / ".new-window.png"
        while time.monotonic() < deadline:
            for window in self.shown_windows() - before:
                rect = self.geometry(window)
                if rect is not None and rect[2] >= least_size[0] and rect[3] >= least_size[1]:
                    self.capture(rect, capture)
                    if not picture_checks.uniform(capture):
                        capture.unlink()
                        return window
            time.sleep(0.2)
        capture.unlink(missing_ok=True)
        return None

    def settled(self, window):
        """Whether the window has drawn itself and stays unchanged for STILL seconds (its
        pages loaded), within WAIT seconds: before that it may not answer a click yet."""
        deadline = time.monotonic() + WAIT
        capture, previous = self.out / ".settling.png", self.out / ".settled.png"
        try:
            while time.monotonic() < deadline:
                rect = self.geometry(window)
                if rect is None:
                    return False
                self.capture(rect, capture)
                if not picture_checks.uniform(capture) and previous.exists() and picture_checks.same(capture, previous):
                    return True
                shutil.copyfile(capture, previous)
                time.sleep(STILL)
            return False
        finally:
            capture.unlink(missing_ok=True)
            previous.unlink(missing_ok=True)

    def capture(self, rect, file):
        left, top, width, height = rect
        self.run("import", "-window", "root", "-crop", f"{width}x{height}+{left}+{top}", "+repage", str(file))

    def capture_screen(self, file):
        self.run("import", "-window", "root", str(file))

    def save(self, window, name, least_size, before_screen, shown_part=None, pixel=None):
        """Keeps the window once its capture passes the checks against the same part of
        the screen before the step (`before_screen`, a capture of the whole screen): taken
        again until it passes and, unless it shows video (in `shown_part`, which must not be
        one colour), stays unchanged for STILL seconds, and shows `pixel`'s colour at its
        point where the row expects one; the faults of the last capture after DRAWN
        seconds."""
        rect = self.geometry(window)
        if rect is None:
            print(f"  {name}: the window went before it was taken")
            return [f"{name}: the window went before it was taken"]
        left, top, width, height = rect
        picture, previous, before = self.out / name, self.out / f".{name}.previous.png", self.out / f".{name}.before.png"
        self.run("convert", str(before_screen), "-crop", f"{width}x{height}+{left}+{top}", "+repage", str(before))
        deadline = time.monotonic() + DRAWN
        faults = ["not taken"]
        while time.monotonic() < deadline:
            self.capture(rect, picture)
            faults = picture_checks.faults(picture, least_size, before, shown_part, pixel)
            if not faults and shown_part is None:
                if previous.exists() and picture_checks.same(picture, previous):
                    break
                faults = ["still changing"]
            elif not faults:
                break
            shutil.copyfile(picture, previous)
            time.sleep(STILL)
        for file in (previous, before):
            file.unlink(missing_ok=True)
        print(f"  {name}: " + ("taken" if not faults else "; ".join(faults)))
        return faults

    def keys(self, *keys):
        self.run("xdotool", "key", *keys)

    def served(self, target, seconds=WAIT):
        """Whether the demo server answers `target` (a clip in its byte ranges) within `seconds`."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if any(line.startswith(f"GET {target} 2") for line in self.server_log.read_text().splitlines()):
                return True
            time.sleep(0.2)
        return False


# ---- How each state is reached: True once the window is in that state ------------------

def main_window(screen):
    """The main window, once its start has drawn (its pages loaded); a main window that
    goes meanwhile (the run before ending) is not it."""
    deadline = time.monotonic() + WAIT
    while time.monotonic() < deadline:
        found = screen.window(MAIN)
        if found is not None and screen.settled(found):
            return found
    return None


def click_then(program, window, control, title):
    def reach(screen):
        found = screen.window(title)
        if found is None:
            return None
        screen.click(found, layout_point(program, window, control))
        return found
    return reach


def playing(screen):
    """The first film of the film library opened: its first episode plays in mpv."""
    found = screen.window(MAIN)
    if found is None:
        return None
    # The first poster of the catalogue page (tools/demo_site/make_catalogue.py's cards).
    screen.click(found, (104, 185))
    return found if screen.served("/site/media/xinghe/1.mp4") else None


# No popup menu of the programs is smaller than this.
MENU_SIZE = (60, 40)


def popup_of(title, point, button=1):
    """The popup menu that a click at `point` in the window `title` brings up: the window
    of a menu's size that shows after the click."""
    def reach(screen):
        found = screen.window(title)
        if found is None:
            return None
        before = screen.shown_windows()
        screen.click(found, point, button)
        return screen.new_window(before, MENU_SIZE)
    return reach


OPTIONS = layout_point("player", "MainWindow", "主界面选项按钮")
options_menu = popup_of(MAIN, OPTIONS)


def tray_icon(screen):
    """The player's icon in the notification area, once it is there: the toolkit names
    the icon's window after the program."""
    return screen.window("Player", 5)


def tray_menu(screen):
    """The tray icon's menu: the main window hidden into the tray by its close button,
    then a right click on its icon."""
    found = screen.window(MAIN)
    if found is None:
        return None
    screen.click(found, layout_point("player", "MainWindow", "启动窗口关闭按钮"))
    if tray_icon(screen) is None:
        return None
    return popup_of("Player", (12, 11), button=3)(screen)


def restore_from_tray(screen):
    """Esc closes the tray menu, then a click on the icon brings the main window back."""
    escape(screen)
    icon = tray_icon(screen)
    if icon is not None:
        screen.click(icon, (12, 11))


def picked(caption):
    """Picks `caption` in the options menu as a user does: the menu opened, the item chosen."""
    def act(screen):
        if options_menu(screen) is not None:
            screen.keys(*menu_keys("选项菜单", caption))
    return act


def window_from_menu(caption, title):
    """The window `title` that the options menu's item `caption` opens."""
    def reach(screen):
        picked(caption)(screen)
        return screen.window(title, 5)
    return reach


def close_by_escape(title):
    """Esc in the window `title` closes it (the pointer over it gives it the keyboard)."""
    def act(screen):
        found = screen.window(title, 1)
        rect = None if found is None else screen.geometry(found)
        if rect is not None:
            left, top, width, height = rect
            screen.run("xdotool", "mousemove", "--sync", str(left + width // 2), str(top + height // 2),
                       "key", "Escape", "mousemove", "--sync", "0", "0")
    return act


def wizard_page(control=None):
    def reach(screen):
        found = screen.window(WIZARD)
        if found is not None and control is not None:
            screen.click(found, layout_point("update", "UpdateWizard", control))
        return found
    return reach


def titled(title, seconds=5):
    """A window that comes by itself (or after the row before): found by its title."""
    return lambda screen: screen.window(title, seconds)


def escape(screen):
    screen.keys("Escape")


def ask_for_update(screen):
    """The options menu's " 程序升级" in the player's window, once it has started."""
    if main_window(screen) is not None:
        picked(" 程序升级")(screen)


SETTINGS = "Korvane影音系列设置窗口"
ABOUT = "Korvane影音系列关于窗口"

# A fixed dialog's layout size takes in the frame the desktop's window manager draws
# instead: its edges (3 px) and caption bar (22 px), as platform/ui/units.cpp has them.
FRAME_EDGE, CAPTION_BAR = 3, 22


def window_size(program, window):
    """The size of the window's client area, which the capture is of."""
    described = layout(program, window)
    width, height = described["size"]
    if described.get("frame") == "fixed_dialog":
        return width - 2 * FRAME_EDGE, height - 2 * FRAME_EDGE - CAPTION_BAR
    return width, height


PLAYER = window_size("player", "MainWindow")
SIZES = {"settings": window_size("player", "SettingsWindow"), "about": window_size("player", "AboutWindow"),
         "corner-ad": window_size("player", "CornerAdWindow"), "exit-ad": window_size("player", "ExitAdWindow"),
         "wizard": window_size("update", "UpdateWizard")}

# The pictures the desktop tests save (KORVANE_SCREENSHOT_FOLDER), checked as the walk's
# are: (file, least size, the picture of the state before the step that made this one).
TEST_SHOTS = {
    "player_desktop_screens_test": [
        ("player.png", PLAYER, None),
        ("list-closed.png", PLAYER, "player.png"),
        ("film-library.png", PLAYER, "list-closed.png"),
        ("find-film.png", PLAYER, "film-library.png"),
        ("player-options-menu.png", PLAYER, None),
        ("player-tray-menu.png", MENU_SIZE, None),
        ("player-settings.png", SIZES["settings"], None),
        ("player-about.png", SIZES["about"], "player-settings.png"),
        ("player-corner-ad.png", SIZES["corner-ad"], None),
        ("player-exit-ad.png", SIZES["exit-ad"], None),
    ],
    "player_episodes_desktop_test": [
        ("player-playing.png", PLAYER, None),
        ("player-library-view.png", PLAYER, "player-playing.png"),
    ],
}

# The walk through the demo's windowed tour, in its order: (file, what it shows, how it is
# reached, what is done after, the least size of the picture), or (None, what the user
# does, the doing, None, None) between shots.
SHOTS = [
    # The tour's first run: the views, a film, its episodes, the menus and the tray.
    ("demo-catalogue.png", "the film library's catalogue page, drawn by WebKit",
     click_then("player", "MainWindow", "主界面片库按钮", MAIN), None, PLAYER),
    ("browser-menu.png", "the film library's own menu, at a right click in its page",
     popup_of(MAIN, (480, 520), button=3), escape, MENU_SIZE),
    ("demo-playing.png", "a film's first episode playing in mpv, the programme list filled", playing, None, PLAYER),
    ("demo-paused.png", "the episode paused by the pause/play button, the operator's pause-ad page over it",
     click_then("player", "MainWindow", "主界面暂停播放按钮", MAIN),
     click_then("player", "MainWindow", "主界面暂停播放按钮", MAIN), PLAYER),
    ("options-menu.png", "the options menu", options_menu, escape, MENU_SIZE),
    ("settings.png", "the settings window, from the options menu's \" 设置\"",
     window_from_menu(" 设置", SETTINGS), close_by_escape(SETTINGS), SIZES["settings"]),
    ("about.png", "the about window, from the options menu's \" 关于本程序\"",
     window_from_menu(" 关于本程序", ABOUT), close_by_escape(ABOUT), SIZES["about"]),
    ("tray-menu.png", "the tray icon's menu, the main window hidden into the tray", tray_menu, restore_from_tray,
     MENU_SIZE),
    # The corner ad's switch is off in the demo site (the desktop test takes its window):
    # the user leaves the player by its options menu's exit.
    (None, "the player left by its options menu's \" 退出\"", picked(" 退出"), None, None),
    # The second run: the user asks for the new release in the options menu; the player
    # hands over to Update.
    (None, "the new release asked for in the options menu", ask_for_update, None, None),
    ("update-start.png", "the update wizard's first page: the network checked", wizard_page(), None,
     SIZES["wizard"]),
    ("update-list.png", "the update wizard's list of changed files", wizard_page("图形按钮_下一步"), None,
     SIZES["wizard"]),
    ("update-done.png", "the update wizard's last page: the files replaced", wizard_page("图形按钮_下一步"),
     click_then("update", "UpdateWizard", "图形按钮_取消", WIZARD), SIZES["wizard"]),
    # The third run: the player that Update started again, release 2.0, left by its exit.
    ("release-2.png", "the player started again by Update, release 2.0", main_window, picked(" 退出"), PLAYER),
    # Shown by that exit, whose switch the tour turns on for this run (the demo site's
    # ttkg.txt); it ends the player 10 s later.
    ("exit-ad.png", "the operator's exit ad, titled with the provider name", titled(f"{MAIN}退弹广告"), None,
     SIZES["exit-ad"]),
]
# Rows whose window shows video, which never stays still: where the video shows in the
# window (the player's area above the bottom bar, left of the programme list).
VIDEO = {"demo-playing.png": (100, 100, 500, 400)}
# What only a row's state shows at a point of its window: the demo's pause-ad page (its
# background, beside its centred text) over the player's area.
PIXELS = {"demo-paused.png": ((270, 220), "#444444")}


def start_x_server():
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
                              pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as answer:
        display = ":" + answer.readline().strip()
    return server, display


def take_test_shots(build, out):
    """The desktop tests' pictures, and their faults."""
    faults = []
    for test, shots in TEST_SHOTS.items():
        print(f"Player's screens, as {test} checks them:")
        # The newest: a build folder keeps the binary of a test since moved elsewhere.
        run = subprocess.run([str(max(build.glob(f"tests/**/{test}"), key=lambda path: path.stat().st_mtime))],
                             env=dict(os.environ, KORVANE_SCREENSHOT_FOLDER=str(out)),
                             stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT)
        if run.returncode != 0:
            faults.append(f"{test} failed")
        for name, least_size, before in shots:
            found = picture_checks.faults(out / name, least_size, out / before if before else None)
            print(f"  {name}: " + ("taken" if not found else "; ".join(found)))
            faults += found
    return faults


def walk_demo(build, out):
    """The demo's windows, as a user clicks through them, and their faults."""
    x_server, display = start_x_server()
    env = dict(os.environ, DISPLAY=display)
    tray = subprocess.Popen(["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "120",
                             "--height", "24"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # The demo in a process group of its own, so that its server and programs end with it.
    demo = subprocess.Popen([str(SOURCE / "scripts/demo"), "--window", "--build-dir", str(build)], env=env,
                            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            start_new_session=True)
    server_log = build / "demo" / "server.log"
    faults = []
    try:
        while not server_log.exists() or "serving" not in server_log.read_text():
            if demo.poll() is not None:
                return ["the demo ended before its server served:\n" + demo.stdout.read()]
            time.sleep(0.5)
        screen = Screen(display, server_log, out)
        before_screen = out / ".screen-before.png"
        print("The demo's windows, as a user clicks through them:")
        for name, shows, reach, after, least_size in SHOTS:
            screen.capture_screen(before_screen)
            window = reach(screen)
            if name is None:
                continue
            if window is None:
                faults.append(f"{name}: no window came ({shows})")
                print(f"  {name}: no window came ({shows})")
                break  # the rows after it start from the state it should have reached
            faults += screen.save(window, name, least_size, before_screen, VIDEO.get(name), PIXELS.get(name))
            if after is not None:
                after(screen)
        before_screen.unlink(missing_ok=True)
        demo.stdin.close()  # the demo ends a program still open from outside
        demo.wait(timeout=120)
    except subprocess.TimeoutExpired:
        print("  the demo did not end after the walk: it is ended")
    finally:
        if demo.poll() is None:
            os.killpg(demo.pid, signal.SIGTERM)
            demo.wait()
        for process in (tray, x_server):
            process.terminate()
            process.wait()
    print(demo.stdout.read())
    return faults


def main():
    arguments = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    arguments.add_argument("--build-dir", type=Path, default=SOURCE / "build" / "debug")
    arguments.add_argument("--out", type=Path, help="the folder the pictures go into (default: a scratch folder)")
    arguments.add_argument("--update-docs", action="store_true",
                           help="copy the pictures into docs/screenshots/ once all have passed their checks")
    options = arguments.parse_args()
    build = options.build_dir.resolve()
    out = (options.out or Path(tempfile.mkdtemp(prefix="korvane-screenshots-"))).resolve()
    out.mkdir(parents=True, exist_ok=True)
    subprocess.run(["cmake", "--build", str(build), "--target", "Player", "Update", "korvane_desktop",
                    "korvane-encipher", "korvane-demo-site", "korvane-demo-server", *TEST_SHOTS], check=True)
    faults = take_test_shots(build, out) + walk_demo(build, out)
    print(f"The pictures are in {out}")
    if faults:
        sys.exit("take_screenshots: not every picture shows what its name says:\n  " + "\n  ".join(faults))
    if options.update_docs:
        DOCS.mkdir(parents=True, exist_ok=True)
        for picture in sorted(out.glob("*.png")):
            shutil.copyfile(picture, DOCS / picture.name)
        print(f"docs/screenshots/ updated with {len(list(out.glob('*.png')))} pictures")


if __name__ == "__main__":
    main()
