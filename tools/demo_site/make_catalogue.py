#!/usr/bin/env python3
"""Makes the demo's two catalogue sites below SITE_FOLDER from the film table.

    make_catalogue.py FILMS SITE_FOLDER SITE_ADDRESS CACHE_FOLDER

FILMS is deploy/demo/films.txt; SITE_ADDRESS is the address SITE_FOLDER is served at
("http://127.0.0.1:18930/"). Writes, as GBK pages:
  site/index.html                       the operator's home page, linking both catalogues
  site/CATALOGUE/index.html             a catalogue: each film with its poster and line
  site/CATALOGUE/ID.html                a film's title page, linked as "ID.html?id=ID&type=..."
and draws site/posters/ID.png (ImageMagick) and encodes site/media/ID/N.mp4, a few seconds
of picture and tone for each episode (ffmpeg). A title page holds the title, status and
episode items in the forms the player reads; its episode links are whole addresses, as the
player plays them without resolving them against the page.

Posters and clips are kept in CACHE_FOLDER (below the build), each under the digest of the
command line that makes it, so a later run copies them instead of drawing and encoding
again; a changed film, or a changed way of making it, makes a new entry. The missing ones
are made four at a time, and entries no film uses any more are removed.
"""

import hashlib
import html
import os
import shutil
import subprocess
import sys
from pathlib import Path

FONT = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
CATALOGUES = {"pianku": "片库", "zhaopian": "找片"}
CLIP_SECONDS = 4
AT_ONCE = 4  # posters and clips made side by side, on a machine others share

STYLE = """body{margin:0;font:13px sans-serif;background:#f3f3f3;color:#222}
.bar{background:#1f3b66;color:#fff;padding:8px 16px;font-size:18px}
.bar a{color:#cfe0ff;margin-left:16px;font-size:13px;text-decoration:none}
.films{display:flex;flex-wrap:wrap;padding:12px}
.film{width:150px;margin:8px;background:#fff;border:1px solid #ddd;padding:8px;text-align:center}
.film img{width:120px;height:170px;display:block;margin:0 auto 6px}
.film a{color:#1f3b66;font-weight:bold;text-decoration:none}
.film p{margin:4px 0 0;color:#666;font-size:12px;text-align:left}
.detail{display:flex;padding:16px}.detail img{width:160px;height:227px;margin-right:16px}
.detail ul{list-style:none;padding:0;margin:0}.detail li{margin:4px 0}
.episodes li{display:inline-block;margin:4px 8px 4px 0}
.episodes a{display:inline-block;padding:4px 10px;background:#1f3b66;color:#fff;text-decoration:none}"""


def read_films(path):
    films = []
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        fields = line.split("|")
        if len(fields) != 7 or fields[0] not in CATALOGUES or not fields[4].isdigit():
            sys.exit(f"{path}:{number}: expected CATALOGUE|ID|TITLE|STATUS|EPISODES|COLOUR|LINE")
        catalogue, film_id, title, status, episodes, colour, blurb = fields
        films.append(dict(catalogue=catalogue, id=film_id, title=title, status=status,
                          episodes=int(episodes), colour=colour, line=blurb))
    return films


def page(title, body):
    return (f'<!DOCTYPE html>\n<html><head><meta http-equiv="Content-Type" content="text/html; '
            f'charset=GBK"><title>{html.escape(title)}</title><style>{STYLE}</style></head>\n'
            f'<body><div class="bar">演示影院 · {html.escape(title)}'
            '<a href="/site/pianku/">片库</a><a href="/site/zhaopian/">找片</a></div>\n'
            f'{body}\n</body></html>\n')


def write_page(path, text):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(text.encode("gbk"))


def title_link(film):
    return f'{film["id"]}.html?id={film["id"]}&type=dianying'


def catalogue_page(name, films):
    cards = "\n".join(
        f'<div class="film"><a href="{html.escape(title_link(f))}"><img src="/site/posters/{f["id"]}.png">'
        f'{html.escape(f["title"])}</a><p>{html.escape(f["status"])}：{html.escape(f["line"])}</p></div>'
        for f in films)
    return page(name, f'<div class="films">\n{cards}\n</div>')


def title_page(film, site_address):
    # The three items as the player's expressions match them: the label's two ideographic
    # spaces and full-width colon, "<LI><a href=" with nothing between.
    links = "".join(f'<LI><a href="{site_address}site/media/{film["id"]}/{n}.mp4">第{n}集</a></LI>'
                    for n in range(1, film["episodes"] + 1))
    body = (f'<div class="detail"><img src="/site/posters/{film["id"]}.png"><div><ul>'
            f'<li>剧　　名：{html.escape(film["title"])}</li>'
            f'<li>状　　态：{html.escape(film["status"])}</li>'
            f'<li>简　　介：{html.escape(film["line"])}</li></ul>'
            f'<ul class="episodes">{links}</ul></div></div>')
    return page(film["title"], body)


def poster_command(film):
    """The command that draws FILM's poster into the file named after it."""
    return ["convert", "-size", "240x340", f"gradient:{film['colour']}-#101018",
            "-font", FONT, "-fill", "white", "-gravity", "north", "-pointsize", "34",
            "-annotate", "+0+40", film["title"], "-pointsize", "18", "-fill", "#dddddd",
            "-annotate", "+0+100", film["status"], "-gravity", "south", "-pointsize", "16",
            "-annotate", "+0+20", "演示影院"]


def clip_command(film, episode):
    """The command that encodes the episode's clip into the file named after it."""
    caption = f"{film['title']} 第{episode}集".replace(":", r"\:").replace("'", "")
    return ["ffmpeg", "-v", "error", "-y",
            "-f", "lavfi", "-i", f"testsrc2=size=320x180:rate=25:duration={CLIP_SECONDS}",
            "-f", "lavfi", "-i", f"sine=frequency={330 + 110 * episode}:duration={CLIP_SECONDS}",
            "-vf", f"drawtext=fontfile={FONT}:text='{caption}':fontsize=22:fontcolor=white:"
                   "box=1:boxcolor=black@0.6:x=(w-text_w)/2:y=h-36",
            "-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p",
            "-c:a", "aac", "-b:a", "64k", "-movflags", "+faststart"]


def run_all(commands):
    """Runs the commands, AT_ONCE at a time; exits when one fails."""
    pending, running = list(commands), []
    while pending or running:
        while pending and len(running) < AT_ONCE:
            running.append(subprocess.Popen(pending.pop(0), stdout=subprocess.DEVNULL))
        finished = running.pop(0)
        if finished.wait() != 0:
            sys.exit(f"make_catalogue.py: failed: {' '.join(finished.args)}")


def make_files(products, cache):
    """Writes each (command, path) product: what the command, given a file name last, writes
    there. Taken from the cache when the same command made it before."""
    cache.mkdir(parents=True, exist_ok=True)
    entries = {}
    for command, path in products:
        digest = hashlib.sha256("\0".join(command).encode()).hexdigest()
        entries[path] = (command, cache / f"{digest}{path.suffix}")
    missing = {entry: command for command, entry in entries.values() if not entry.exists()}
    # Each is made under a name of its own and renamed when whole: a run killed meanwhile
    # leaves no entry that looks made. The tools tell the format by the name's ending.
    partial = {entry: entry.with_name(f"{entry.stem}.partial{os.getpid()}{entry.suffix}") for entry in missing}
    run_all(command + [str(partial[entry])] for entry, command in missing.items())
    for entry in missing:
        os.replace(partial[entry], entry)
    for path, (_, entry) in entries.items():
        path.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(entry, path)
    used = {entry for _, entry in entries.values()}
    for stale in cache.iterdir():
        if stale not in used:
            stale.unlink()


def main():
    if len(sys.argv) != 5:
        sys.exit("usage: make_catalogue.py FILMS SITE_FOLDER SITE_ADDRESS CACHE_FOLDER")
    films = read_films(Path(sys.argv[1]))
    site = Path(sys.argv[2]) / "site"
    site_address = sys.argv[3]
    home = "".join(f'<div class="film"><a href="/site/{c}/">{n}</a></div>' for c, n in CATALOGUES.items())
    write_page(site / "index.html", page("首页", f'<div class="films">{home}</div>'))
    for catalogue, name in CATALOGUES.items():
        write_page(site / catalogue / "index.html",
                   catalogue_page(name, [f for f in films if f["catalogue"] == catalogue]))
    products = []
    for film in films:
        write_page(site / film["catalogue"] / f'{film["id"]}.html', title_page(film, site_address))
        products.append((poster_command(film), site / "posters" / f'{film["id"]}.png'))
        products += [(clip_command(film, episode), site / "media" / film["id"] / f"{episode}.mp4")
                     for episode in range(1, film["episodes"] + 1)]
    make_files(products, Path(sys.argv[4]))


if __name__ == "__main__":
    main()
