#!/usr/bin/env python3
"""check-help-page.py HELP_PAGE SOURCE_DIR

Checks the help page as a reader and as the program need it: well-formed, in one piece with no outside resource
(it is opened from disk, often with no network), navigable (a language, one top heading, no skipped heading
level, every in-page link landing on an element), true to the program (every status line and menu command it
describes is text the program really shows, every command of the menu is described, and the page has the name
the program looks for), and complete: it tells each feature a user needs to know of, by the words below.
"""

import html.parser
import pathlib
import re
import sys

VOID_ELEMENTS = {
    "area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source", "track", "wbr",
}
# What the page must tell, each by the words a reader would look for in its text (keys as they read between
# <kbd> elements: "Ctrl+H").
FEATURES = {
    "the main window": ["Mobile number", "Sender name", "Clear Window", "Send Message", "Status list"],
    "the outbox and the reconnect": ["outbox", "Queue: sent when connected", "Reconnecting in", "unknown"],
    "the history": ["Message History", "Send Again", "Export as CSV", "filter", "history.sqlite"],
    "where the password lives": ["keyring", "PasswordCommand", "--password-command", "settings file"],
    "the command line": ["pagewing --send", "pagewing --history", "man pagewing"],
    "the keys": ["Tab", "Ctrl+Return", "Ctrl+H", "F10", "Shift+F10", "Menu", "Esc", "Delete"],
    "the other windows": ["User and Server Information", "About", "Show Help On Start Up"],
    "notices": ["Message delivered", "Connection lost"],
}

# Elements that fetch or embed something when the page is shown.
LOADING_ATTRIBUTES = {"src", "srcset", "poster", "data"}


class HelpPage(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.problems = []
        self.open_elements = []
        self.lang = None
        self.title = ""
        self.ids = []
        self.fragment_links = []
        self.headings = []
        self.style_text = ""
        self.text = ""
        self.marked = {"status-line": [], "menu-command": []}
        self.capturing = []  # (class, text so far) for marked elements being read

    def where(self):
        line, column = self.getpos()
        return f"line {line}, column {column + 1}"

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        if tag == "html":
            self.lang = attributes.get("lang")
        if "id" in attributes:
            self.ids.append(attributes["id"])
        for name in LOADING_ATTRIBUTES & attributes.keys():
            self.problems.append(f"{self.where()}: <{tag} {name}=...> loads an outside resource")
        if tag == "link" and "stylesheet" in (attributes.get("rel") or ""):
            self.problems.append(f"{self.where()}: <link rel=stylesheet> loads an outside style sheet")
        if "style" in attributes and re.search(r"url\(", attributes["style"] or ""):
            self.problems.append(f"{self.where()}: a style attribute loads a resource with url()")
        href = attributes.get("href") or ""
        if tag == "a" and href.startswith("#"):
            self.fragment_links.append((href[1:], self.where()))
        if re.fullmatch(r"h[1-6]", tag):
            self.headings.append((int(tag[1]), self.where()))
        for name in (attributes.get("class") or "").split():
            if name in self.marked:
                self.capturing.append([name, ""])
        if tag not in VOID_ELEMENTS:
            self.open_elements.append((tag, self.where(), "class" in attributes and any(
                name in self.marked for name in (attributes.get("class") or "").split())))

    def handle_startendtag(self, tag, attrs):
        if tag not in VOID_ELEMENTS:
            self.problems.append(f"{self.where()}: <{tag}/> is not an empty element")
        self.handle_starttag(tag, attrs)
        if tag not in VOID_ELEMENTS:
            self.handle_endtag(tag)

    def handle_endtag(self, tag):
        if tag in VOID_ELEMENTS:
            self.problems.append(f"{self.where()}: </{tag}> closes an empty element")
            return
        if not self.open_elements:
            self.problems.append(f"{self.where()}: </{tag}> closes nothing")
            return
        opened, opened_at, was_marked = self.open_elements.pop()
        if opened != tag:
            self.problems.append(f"{self.where()}: </{tag}> closes <{opened}> from {opened_at}")
        if was_marked and self.capturing:
            name, text = self.capturing.pop()
            self.marked[name].append(" ".join(text.split()))

    def handle_data(self, data):
        if self.open_elements and self.open_elements[-1][0] == "title":
            self.title += data
        if self.open_elements and self.open_elements[-1][0] == "style":
            self.style_text += data
        elif "main" in (tag for tag, _, _ in self.open_elements):
            self.text += data
        for capture in self.capturing:
            capture[1] += data


def source_literals(source_dir):
    """Every double-quoted string in the program's C++ sources."""
    literals = set()
    for path in pathlib.Path(source_dir, "src").rglob("*"):
        if path.suffix in {".cpp", ".h"}:
            text = path.read_text(encoding="utf-8", errors="replace")
            literals.update(re.findall(r'"((?:[^"\\\n]|\\.)*)"', text))
    return literals


def menu_commands(source_dir):
    """The captions of the command menu's items, as the menu builds them."""
    menu = pathlib.Path(source_dir, "src/ui/MnuFrm.cpp").read_text(encoding="utf-8")
    return re.findall(r'AddItem\("\w+", tr\("([^"]+)"\)', menu)


def main():
    page_path, source_dir = pathlib.Path(sys.argv[1]), sys.argv[2]
    page = HelpPage()
    text = page_path.read_text(encoding="utf-8")
    page.feed(text)
    page.close()
    problems = page.problems

    if not text.lstrip().lower().startswith("<!doctype html>"):
        problems.append("the page does not start with <!DOCTYPE html>")
    for tag, opened_at, _ in page.open_elements:
        problems.append(f"<{tag}> from {opened_at} is never closed")
    if not page.lang:
        problems.append("<html> has no lang attribute")
    if not page.title.strip():
        problems.append("the page has no <title>")
    if not re.search(r'<meta\s+charset="utf-8"', text, re.IGNORECASE):
        problems.append("the page does not declare its encoding as UTF-8")
    if re.search(r"url\(|@import", page.style_text):
        problems.append("the style sheet loads an outside resource")

    top_headings = [at for level, at in page.headings if level == 1]
    if len(top_headings) != 1:
        problems.append(f"the page has {len(top_headings)} <h1> headings, not one")
    previous = 0
    for level, at in page.headings:
        if level > previous + 1:
            problems.append(f"{at}: <h{level}> follows <h{previous}>, skipping a level")
        previous = level

    duplicates = sorted({name for name in page.ids if page.ids.count(name) > 1})
    if duplicates:
        problems.append(f"ids used more than once: {', '.join(duplicates)}")
    for target, at in page.fragment_links:
        if target not in page.ids:
            problems.append(f"{at}: the link to #{target} lands nowhere")

    literals = source_literals(source_dir)
    for kind, shown in (("status line", page.marked["status-line"]), ("menu command", page.marked["menu-command"])):
        if not shown:
            problems.append(f"the page marks no {kind}; the check against the program would pass unseen")
        for words in shown:
            if words not in literals:
                problems.append(f"the page describes the {kind} \"{words}\", which the program never shows")

    commands = menu_commands(source_dir)
    if not commands:
        problems.append("no command of the menu found in src/ui/MnuFrm.cpp; the check would pass unseen")
    for command in sorted(set(commands) - set(page.marked["menu-command"])):
        problems.append(f"the menu command \"{command}\" is not described")
    text = " ".join(page.text.split())
    for feature, words in FEATURES.items():
        for word in words:
            if word not in text:
                problems.append(f"the page does not tell {feature}: \"{word}\" is not in its text")

    if page_path.name not in literals:
        problems.append(f"the program does not look for a help page named {page_path.name}")

    for problem in problems:
        print(f"FAIL: {problem}", file=sys.stderr)
    if problems:
        return 1
    print(f"{page_path.name}: well-formed and self-contained, {len(page.headings)} headings, "
          f"{len(page.fragment_links)} in-page links, {len(page.marked['status-line'])} status lines and "
          f"{len(page.marked['menu-command'])} menu commands found in the program")
    return 0


if __name__ == "__main__":
    sys.exit(main())
