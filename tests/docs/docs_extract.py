"""Finds the commands the README and the manual pages show.

A *group* is what one code block, table cell or inline span shows: its commands in order,
each with the output lines and the exit status the docs give for it (if any), or a rack
file the docs show. Groups run apart from each other (units and scratch folder of their
own); the commands of one group run one after the other, as a reader would type them.
"""

import re
import shlex

# Words that start a line the test does not run, and why.
SKIP_WORDS = {
    "sh": "a project script (installs packages with apt-get and builds)",
    "cd": "builds and installs the Debian package (needs root)",
    "sudo": "needs root",
    "apt": "needs root",
    "cpack": "builds the Debian package",
    "corvane": "starts the windows",
    "export": "sets the shell's environment; the test sets CORVANE_PORT_MAP from "
              "corvane-sim's --json line and runs corvane-cli by its path",
}
PLACEHOLDER = re.compile(r"^[A-Z]+$|[\[\]|()]|^\.\.\.$")


class Command:
    def __init__(self, doc, line, text):
        self.doc, self.line, self.text = doc, line, text
        self.expect_lines = []  # output lines the docs show ("..." for lines left out)
        self.expect_status = None  # the exit status the docs give

    def where(self):
        return "%s:%d" % (self.doc, self.line)


class Group:
    def __init__(self, doc, line):
        self.doc, self.line = doc, line
        self.commands = []  # Command
        self.skipped = []  # (where, text, why)
        self.rack = None  # the lines of a rack file the docs show


def skip_reason(words):
    """Why a command line is not run, or None to run it."""
    if not words:
        return "empty"
    first = words[0]
    if "=" in first and not first.startswith("-"):  # VAR=value command ...
        return skip_reason(words[1:])
    if first.endswith("/corvane-sim"):
        return "the test starts corvane-sim itself, with --no-pacing --json"
    if first.endswith("/corvane"):
        return "starts the windows"
    if first != "corvane-cli":
        return SKIP_WORDS.get(first, "not a corvane-cli command")
    if any("+tls://" in w for w in words[1:]):
        return "a TLS server with certificates of its own: the net tests run these"
    if any(PLACEHOLDER.search(w) for w in words[1:]):
        return "a synopsis with placeholders, not a concrete command"
    return None


def split_command(text):
    """The shell words of a command line, its comment dropped; None if not a shell line."""
    try:
        return shlex.split(text, comments=True)
    except ValueError:
        return None


RACK_LINE = re.compile(r"^(#.*|COM\d+\b.*|/dev/\S+.*|(rfc2217|tcp)://\S+.*)$")
STATUS = re.compile(r"exit status (\d)")


def looks_like_command(words):
    while words and "=" in words[0] and not words[0].startswith("-"):
        words = words[1:]
    return bool(words) and (words[0] in SKIP_WORDS or words[0] == "corvane-cli" or
                            words[0].endswith(("/corvane-sim", "/corvane")))


def add_block(group, doc, first_line, lines, before):
    """Reads one code block (its lines, from first_line; `before`: the prose before it)."""
    stated = STATUS.findall(before)
    body = [l for l in lines if l.strip()]
    if body and all(RACK_LINE.match(l) for l in body):
        group.rack = lines
        return
    transcript = any(l.startswith("$ ") for l in lines)
    shell = [split_command(l[2:] if transcript else l) for l in lines]
    if not transcript and not any(w and looks_like_command(w) for w in shell):
        if body:
            group.skipped.append(("%s:%d" % (doc, first_line), body[0] + " ...",
                                  "a file's contents, not commands"))
        return
    current = None
    for i, (raw, words) in enumerate(zip(lines, shell)):
        if transcript and not raw.startswith("$ "):
            if current is not None:
                current.expect_lines.append(raw.rstrip())
            continue
        if not words:
            continue
        text = raw[2:] if transcript else raw
        reason = skip_reason(words)
        if reason:
            group.skipped.append(("%s:%d" % (doc, first_line + i), text.strip(), reason))
            current = None
            continue
        current = Command(doc, first_line + i, text.strip())
        if stated:
            current.expect_status = int(stated[-1])
        group.commands.append(current)


def markdown_groups(doc, text):
    """Fenced and indented code blocks, table cells and inline spans of a Markdown file."""
    groups = []
    lines = text.split("\n")
    i = 0
    prose = []  # the prose lines before the current block
    while i < len(lines):
        line = lines[i]
        if line.startswith("```"):
            j = i + 1
            while j < len(lines) and not lines[j].startswith("```"):
                j += 1
            g = Group(doc, i + 2)
            add_block(g, doc, i + 2, lines[i + 1:j], " ".join(prose[-3:]))
            groups.append(g)
            prose = []
            i = j + 1
            continue
        if re.match(r"^ {4,}\S", line) and (i == 0 or not lines[i - 1].strip()):
            j = i
            while j < len(lines) and re.match(r"^ {4,}\S", lines[j]):
                j += 1
            g = Group(doc, i + 1)
            add_block(g, doc, i + 1, [l.strip() for l in lines[i:j]], " ".join(prose[-3:]))
            groups.append(g)
            i = j
            continue
        for span in re.findall(r"`([^`]+)`", line):
            words = split_command(span)
            if words and words[0] in ("corvane-cli", "corvane") and len(words) > 1:
                g = Group(doc, i + 1)
                reason = skip_reason(words)
                in_table = line.startswith("|")
                if not reason and not in_table and not any(w.startswith("-") for w in words):
                    reason = "names a command in the prose"
                if reason:
                    g.skipped.append(("%s:%d" % (doc, i + 1), span, reason))
                else:
                    g.commands.append(Command(doc, i + 1, span))
                groups.append(g)
        prose.append(line)
        i += 1
    return groups


def scdoc_groups(doc, text):
    """The literal blocks of an scdoc page: tab-indented paragraphs after a blank line,
    continued with "++" line breaks."""
    groups = []
    lines = text.split("\n")
    i = 0
    while i < len(lines):
        if lines[i].startswith("\t") and i > 0 and not lines[i - 1].strip():
            block, first = [], i + 1
            while i < len(lines) and lines[i].strip():
                block.append(lines[i].strip().removesuffix("++").rstrip())
                i += 1
            g = Group(doc, first)
            add_block(g, doc, first, block, " ".join(lines[max(0, first - 4):first - 1]))
            if g.commands or g.skipped or g.rack:
                groups.append(g)
            continue
        i += 1
    return groups
