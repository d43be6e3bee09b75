#!/usr/bin/python3
"""What a screen reader gets from the desktop program, read over AT-SPI.

Run inside a session bus with Qt's accessibility on (see accessibility.sh).
Opens each window with the keyboard (xdotool) and checks that every control
and every number has a Japanese name with its meaning, that the fit warning
is an alert that carries its text, and that the end of a print is where the
focus lands.  usage: accessibility_check.py TENJIPRINT SETTINGS SAMPLE LONG_DOC THREE_PAGES
"""
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

tenjiprint, settings, sample, long_doc, three_pages = sys.argv[1:6]
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("  FAIL:", what)


def keys(*k):
    subprocess.run(["xdotool", "key", "--clearmodifiers", "--delay", "60", *k], check=True)
    time.sleep(0.4)


def type_text(text):
    subprocess.run(["xdotool", "type", "--clearmodifiers", "--delay", "20", text], check=True)
    time.sleep(0.2)


def application(timeout=15):
    end = time.time() + timeout
    while time.time() < end:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "tenjiprint":
                return app
        time.sleep(0.2)
    sys.exit("tenjiprint did not appear on the accessibility bus")


def window(app, title, timeout=10):
    end = time.time() + timeout
    while time.time() < end:
        for w in app:
            if w is not None and w.name == title and w.getState().contains(pyatspi.STATE_SHOWING):
                return w
        time.sleep(0.2)
    names = [w.name for w in app if w is not None]
    sys.exit(f"no window {title!r} on the accessibility bus (there are {names})")


def walk(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None:
            continue
        yield child
        yield from walk(child)


def text_of(node):
    try:
        t = node.queryText()
        return t.getText(0, t.characterCount)
    except NotImplementedError:
        return ""


JAPANESE = re.compile(r"[\u3040-\u30ff\u3400-\u9fff\uff00-\uffef]")
NUMBER = re.compile(r"^[\d.]+$")
INTERACTIVE = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TEXT, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_ENTRY,
               pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_PROGRESS_BAR}


def check_window(w, allow_ascii=()):
    """Every control named in Japanese; every number shown with its meaning."""
    print(f"window {w.name!r}")
    for node in walk(w):
        role, name = node.getRole(), node.name or ""
        if role in INTERACTIVE and node.getState().contains(pyatspi.STATE_SHOWING):
            check(JAPANESE.search(name) or name in allow_ascii,
                  f"{w.name}: a {node.getRoleName()} without a Japanese name ({name!r})")
        if role == pyatspi.ROLE_LABEL:
            check(not NUMBER.match(name.strip()), f"{w.name}: a number is read as {name!r}, without its meaning")


def by_name(w, name, role=None):
    for node in walk(w):
        if node.name == name and (role is None or node.getRole() == role):
            return node
    return None


def focused(w):
    for node in walk(w):
        if node.getState().contains(pyatspi.STATE_FOCUSED):
            return node
    return None


MAIN = "点字点間隔可変印刷プログラム（RUK350 Ver95用）"
proc = subprocess.Popen([tenjiprint, "--settings", settings])
try:
    app = application()
    main = window(app, MAIN)
    check_window(main)

    keys("alt+t")
    spacing = window(app, "点間隔等の設定")
    check_window(spacing)
    field = by_name(spacing, "縦点間", pyatspi.ROLE_TEXT)
    check(field is not None and field.description == "単位 mm",
          f"縦点間: the unit is not its description ({field and field.description!r})")
    display = by_name(spacing, "縦点間の実印刷設定値 2.22 mm")
    check(display is not None, "縦点間's printed value is not read as '縦点間の実印刷設定値 2.22 mm'")
    if display is not None and field is not None:
        targets = [r.getTarget(0) for r in display.getRelationSet()
                   if r.getRelationType() == pyatspi.RELATION_LABEL_FOR]
        check(any(t.name == "縦点間" for t in targets), "縦点間's printed value is not tied to its field")
    check(by_name(spacing, "印刷できる量 32マス × 22行") is not None,
          "the capacity is not read as '印刷できる量 32マス × 22行'")
    keys("Escape")

    keys("alt+s", "i")  # the 設定 menu, ピッチ指定１点字印刷
    pitch = window(app, "ピッチ指定１点字印刷")
    check_window(pitch, allow_ascii=("OK",))
    for name in ("Ｘ軸", "Ｙ軸"):
        f = by_name(pitch, name, pyatspi.ROLE_TEXT)
        check(f is not None and f.description == "単位 ピッチ", f"{name}: the unit is not its description")
    keys("Escape")

    keys("alt+p")
    opened = window(app, "開く")
    for node in walk(opened):
        if node.getRole() in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_LABEL) and \
                node.getState().contains(pyatspi.STATE_SHOWING):
            name = node.name or text_of(node)
            check(not re.search(r"\b(Look in|File name|Files of type|Open|Save|Cancel|Name|Size|Type)\b", name),
                  f"the file dialog shows English: {name!r}")
    type_text(long_doc)
    keys("Return")
    warning = window(app, "印刷時の警告")
    check(warning.getRole() == pyatspi.ROLE_ALERT, f"the fit warning's role is {warning.getRoleName()}, not alert")
    check("点字ファイルの内容が設定された印刷領域内に収まりません。" in (warning.description or ""),
          "the fit warning does not carry its message")
    check_window(warning)
    for name in ("現点間隔での設定値 1行のマス数 32", "現点間隔での設定値 行数 22",
                 "点字ファイルの設定値 1行のマス数 2", "点字ファイルの設定値 行数 50"):
        check(by_name(warning, name) is not None, f"the fit warning has no {name!r}")
    keys("Escape")  # 点字ファイルを編集する

    keys("alt+p")
    window(app, "開く")
    type_text(sample)
    keys("Return")
    copies = window(app, "印刷")
    check_window(copies)
    keys("Return")
    end = time.time() + 30
    status = None
    while time.time() < end:
        node = focused(main)
        if node is not None and text_of(node).startswith("印刷"):
            status = text_of(node)
            break
        time.sleep(0.2)
    check(status == "印刷が終わりました（1部）。", f"the end of the print is not where the focus lands ({status!r})")
    check(node is not None and node.name == "印刷の結果", "the status line has no name")

    # The preview: its Braille where the focus lands, named with the page,
    # and a turn of the page told to the screen reader by the name's change.
    named = []
    pyatspi.Registry.registerEventListener(
        lambda e: named.append(e.source.name), "object:property-change:accessible-name")
    keys("alt+v")
    window(app, "開く")
    type_text(three_pages)
    keys("Return")
    window(app, "印刷するページ")
    keys("Return")
    preview = window(app, "印刷プレビュー")
    check_window(preview)
    braille = focused(preview)
    check(braille is not None and braille.name == "点字 1 / 3 ページ" and braille.getRole() == pyatspi.ROLE_TEXT,
          f"the preview's Braille does not have the focus, named with its page ({braille and braille.name!r})")
    check(braille is not None and text_of(braille).startswith("\u283c\u2801\u2800\u2801"),
          f"the preview's text is not the sheet's Braille ({braille and text_of(braille)[:8]!r})")
    keys("Next")
    end = time.time() + 5
    context = GLib.MainContext.default()
    while time.time() < end and "点字 2 / 3 ページ" not in named:
        while context.pending():
            context.iteration(False)
        time.sleep(0.1)
    check("点字 2 / 3 ページ" in named, f"the turn of the page was not told ({named!r})")
    braille = focused(preview)
    check(braille is not None and braille.name == "点字 2 / 3 ページ", "the Braille is not named with the new page")
    keys("Escape")

    keys("alt+h", "a")
    about = window(app, MAIN + "のバージョン情報")
    check(by_name(about, "設定ファイル: " + settings) is not None, "the version dialog does not name the settings file")
    keys("Escape")
finally:
    keys("alt+x")
    try:
        proc.wait(5)
    except subprocess.TimeoutExpired:
        proc.kill()

if failures:
    sys.exit(f"{len(failures)} accessibility check(s) failed")
print("accessibility: all checks passed")
