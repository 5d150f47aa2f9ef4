#!/usr/bin/env python3
"""Takes the screenshots of both programs' windows into docs/screenshots/.

    tools/screenshots/take_screenshots.py [BUILD_FOLDER]

BUILD_FOLDER is build/debug by default and must hold Player, Update, the desktop module
they load, the demo tools and player_desktop_screens_test (this script builds them).
Player's four views come from that test, which checks each against the headless dump of
the same clicks. Every other window is met as a user meets it: the demo (scripts/demo
--window) runs on an X server of this script's own (Xvfb) with a notification area
(trayer), and the table SHOTS is
walked in order: each row reaches a window's state by a user's clicks and keys (xdotool;
a menu item is chosen with the arrow keys, from the menu in the window's layout) and
keeps the window once it has drawn itself. The players are left by their options menu's
" 退出", as a user leaves them. A row whose window does not come (its switch is off in the demo site) is
reported and skipped, and the walk goes on; the results are committed.
"""

import json
import os
import signal
import subprocess
import sys
import time
from pathlib import Path

SOURCE = Path(__file__).resolve().parents[2]
OUT = SOURCE / "docs" / "screenshots"
MAIN = "演示影院"     # the main window is titled with the demo's provider name
WIZARD = "在线升级"
WAIT = 90              # seconds a window may take to come (the first start of WebKit and mpv is slow)
DRAWN = 20             # seconds a window shown may take to draw itself


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

    def __init__(self, display, server_log):
        self.env = dict(os.environ, DISPLAY=display)
        self.server_log = server_log

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
        values = dict(line.split("=") for line in self.run("xdotool", "getwindowgeometry", "--shell", window).split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def click(self, window, point, button=1):
        left, top, _, _ = self.geometry(window)
        self.run("xdotool", "mousemove", "--sync", str(left + point[0]), str(top + point[1]), "click", str(button),
                 "mousemove", "--sync", "0", "0")

    def shown_windows(self):
        return set(self.run("xdotool", "search", "--onlyvisible", "--maxdepth", "1", "--class", "").split())

    def save(self, window, name):
        """Keeps the window as it is drawn: a window just shown is black until it has drawn
        itself, so the capture is taken again until it is not, for DRAWN seconds at most."""
        left, top, width, height = self.geometry(window)
        deadline = time.monotonic() + DRAWN
        while True:
            self.run("import", "-window", "root", "-crop", f"{width}x{height}+{left}+{top}", "+repage", str(OUT / name))
            drawn = self.run("identify", "-format", "%[max]", str(OUT / name)).strip() not in ("", "0")
            if drawn or time.monotonic() > deadline:
                break
            time.sleep(0.5)
        print(f"  {name}: taken" + ("" if drawn else f" (still black after {DRAWN} s)"))

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
    """The main window once it has drawn its start (its catalogue pages loaded)."""
    found = screen.window(MAIN)
    if found is not None:
        time.sleep(5)
    return found


def click_then(program, window, control, title, settle=0.0):
    def reach(screen):
        found = screen.window(title)
        if found is None:
            return None
        screen.click(found, layout_point(program, window, control))
        time.sleep(settle)
        return found
    return reach


def playing(screen):
    """The first film of the film library opened: its first episode plays in mpv."""
    found = screen.window(MAIN)
    if found is None:
        return None
    # The first poster of the catalogue page (tools/demo_site/make_catalogue.py's cards).
    screen.click(found, (104, 185))
    if not screen.served("/site/media/xinghe/1.mp4"):
        return None
    time.sleep(2)  # a few frames on screen
    return found


def popup_of(title, point, button=1):
    """The popup menu that a click at `point` in the window `title` brings up: the window
    that shows after the click."""
    def reach(screen):
        found = screen.window(title)
        if found is None:
            return None
        before = screen.shown_windows()
        screen.click(found, point, button)
        time.sleep(2)
        return next(iter(screen.shown_windows() - before), None)
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
        if found is not None:
            left, top, width, height = screen.geometry(found)
            screen.run("xdotool", "mousemove", "--sync", str(left + width // 2), str(top + height // 2),
                       "key", "Escape", "mousemove", "--sync", "0", "0")
    return act


def wizard_page(control=None):
    def reach(screen):
        found = screen.window(WIZARD)
        if found is not None and control is not None:
            screen.click(found, layout_point("update", "UpdateWizard", control))
            time.sleep(3)  # the page's fetches and downloads from the local server
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

# The walk through the demo's windowed tour, in its order: (file, what it shows, how it is
# reached, what is done after), or (None, what the user does, the doing, None) between
# shots. Rows whose windows the demo does not reach stay in the table and are taken once the
# window comes.
SHOTS = [
    # The tour's first run: the views, a film, its episodes, the menus and the tray.
    ("demo-catalogue.png", "the film library's catalogue page, drawn by WebKit",
     click_then("player", "MainWindow", "主界面片库按钮", MAIN, settle=3), None),
    ("browser-menu.png", "the film library's own menu, at a right click in its page",
     popup_of(MAIN, (480, 520), button=3), escape),
    ("demo-playing.png", "a film's first episode playing in mpv, the programme list filled", playing, None),
    ("options-menu.png", "the options menu", options_menu, escape),
    ("settings.png", "the settings window, from the options menu's \" 设置\"",
     window_from_menu(" 设置", SETTINGS), close_by_escape(SETTINGS)),
    ("about.png", "the about window, from the options menu's \" 关于本程序\"",
     window_from_menu(" 关于本程序", ABOUT), close_by_escape(ABOUT)),
    ("tray-menu.png", "the tray icon's menu, the main window hidden into the tray", tray_menu, restore_from_tray),
    # Shown by the player when its switch is on (the demo site's ytkg.txt); the user then
    # leaves the player by its options menu's exit.
    ("corner-ad.png", "the corner ad at the screen's lower right", titled("广告组件"), picked(" 退出")),
    # The second run: the user asks for the new release in the options menu; the player
    # hands over to Update.
    (None, "the new release asked for in the options menu", ask_for_update, None),
    # Shown by the exit road when its switch is on (the demo site's ttkg.txt).
    ("exit-ad.png", "the exit ad after the hand-over", titled("Korvane影音系列退弹广告"), None),
    ("update-start.png", "the update wizard's first page: the network checked", wizard_page(), None),
    ("update-list.png", "the update wizard's list of changed files", wizard_page("图形按钮_下一步"), None),
    ("update-done.png", "the update wizard's last page: the files replaced", wizard_page("图形按钮_下一步"),
     click_then("update", "UpdateWizard", "图形按钮_取消", WIZARD)),
    # The third run: the player that Update started again, release 2.0, left by its exit.
    ("release-2.png", "the player started again by Update, release 2.0", main_window, picked(" 退出")),
]


def start_x_server():
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
                              pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as answer:
        display = ":" + answer.readline().strip()
    return server, display


def main():
    build = Path(sys.argv[1] if len(sys.argv) > 1 else SOURCE / "build" / "debug").resolve()
    subprocess.run(["cmake", "--build", str(build), "--target", "Player", "Update", "korvane_desktop",
                    "korvane-encipher", "korvane-demo-site", "korvane-demo-server", "player_desktop_screens_test",
                    "player_episodes_desktop_test"], check=True)
    OUT.mkdir(parents=True, exist_ok=True)
    for test in ("windows/player_desktop_screens_test", "playback/player_episodes_desktop_test"):
        print("Player's screens, as " + test + " checks them:")
        views = subprocess.run([str(build / "tests/player" / test)],
                               env=dict(os.environ, KORVANE_SCREENSHOT_FOLDER=str(OUT)))
        if views.returncode != 0:
            print("  the test failed: the screens it saved before the failure are new, the others are not")

    x_server, display = start_x_server()
    env = dict(os.environ, DISPLAY=display)
    tray = subprocess.Popen(["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "120",
                             "--height", "24"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # The demo in a process group of its own, so that its server and programs end with it.
    demo = subprocess.Popen([str(SOURCE / "scripts/demo"), "--window", "--build-dir", str(build)], env=env,
                            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            start_new_session=True)
    server_log = build / "demo" / "server.log"
    while not server_log.exists() or "serving" not in server_log.read_text():
        if demo.poll() is not None:
            sys.exit("take_screenshots: the demo ended before its server served:\n" + demo.stdout.read())
        time.sleep(0.5)
    screen = Screen(display, server_log)
    missing = []
    print("The demo's windows, as a user clicks through them:")
    try:
        for name, shows, reach, after in SHOTS:
            window = reach(screen)
            if name is None:
                continue
            if window is None:
                missing.append(name)
                print(f"  {name}: not reachable yet ({shows}), not taken")
            else:
                screen.save(window, name)
            if after is not None:
                after(screen)
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
    shots = [row for row in SHOTS if row[0] is not None]
    print(f"{len(shots) - len(missing)} of {len(shots)} windows taken" +
          (f"; not reachable yet: {', '.join(missing)}" if missing else ""))


if __name__ == "__main__":
    main()
