#!/usr/bin/env python3
"""Runs every corvane-cli command the README and the manual pages show, against simulated
units, and checks each the way the docs describe it.

    run_docs.py --cli build/src/corvane-cli --sim build/tools/corvane-sim/corvane-sim --source .

Each code block (table cell, inline span) runs apart, in parallel: eight units of its own
(corvane-sim --no-pacing --json, COM1 to COM8 through CORVANE_PORT_MAP) and a scratch folder
holding the files the docs name (settings.txt and lobby.txt from tests/data/settings, a rack
file rack-a.txt for COM1 to COM8 with channels 1 to 8). Addresses of device servers
(rfc2217://rack-a:7001) are rewritten to a unit behind a local ser2net (corvane-sim
--ser2net), /dev/ttyUSBn to the pseudo-terminal of COM(n+1). A command must end within its
time, must not fail as bad input (status 3, "unknown command"), must give the exit status
the docs give (else 0) and the output lines they show, in order ("..." stands for lines left
out; lines that show a fault the simulated units do not have are not checked). `find` gets
a RESET on every unit once it listens. Prints each command run or skipped, and why.
"""

import argparse
import json
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
import threading
import time
from concurrent.futures import ThreadPoolExecutor

import docs_extract

TIMEOUT = 60  # a write keeps the save's pauses: about 11 s even without the line's pacing
DOCS = [("README.md", docs_extract.markdown_groups),
        ("packaging/man/corvane-cli.1.scd", docs_extract.scdoc_groups),
        ("packaging/man/corvane.1.scd", docs_extract.scdoc_groups)]
# Transcript lines that need a fault the simulated units do not have.
FAULT = re.compile(r"Unable to Open|Compare Failed|line failed|differences$")
DIFFER = re.compile(r"^(.+): the file makes (.+), the unit holds (.+)$")
NETWORK = re.compile(r"\b(rfc2217|tcp)://([A-Za-z][\w.-]*):(\d+)")
SER2NET = shutil.which("ser2net", path="/usr/sbin:/usr/bin")


class Sim:
    """One corvane-sim, read from its --json line; stopped with "quit"."""

    starting = threading.Lock()  # one at a time: each ser2net takes the next free ports

    def __init__(self, exe, units, ser2net=False):
        args = [exe, "--units", str(units), "--no-pacing", "--json"]
        with Sim.starting:
            self.proc = subprocess.Popen(args + (["--ser2net"] if ser2net else []),
                                         stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                         text=True)
            self.info = json.loads(self.proc.stdout.readline())
        self.devices = [u["device"] for u in self.info["units"]]
        self.lock = threading.Lock()

    def send(self, line):
        with self.lock:
            self.proc.stdin.write(line + "\n")
            self.proc.stdin.flush()

    def stop(self):
        self.send("quit")
        self.proc.wait(10)


def settings_with(base, fields):
    """The settings file `base` with the fields given (name -> value) set."""
    out = []
    for line in base.split("\n"):
        for name, value in fields.items():
            if line.startswith(name + " "):
                line = "%s %s" % (name, value.strip('"'))
        out.append(line)
    return "\n".join(out)


def matches(expect, lines):
    """None when the expected lines occur in order in `lines`, else the first one missing."""
    at = 0
    for want in expect:
        if want.strip() == "...":
            continue
        pattern = re.compile("^" + re.escape(want.rstrip()).replace(r"\.\.\.", ".*") + "$")
        while at < len(lines) and not pattern.match(lines[at].rstrip()):
            at += 1
        if at == len(lines):
            return want
        at += 1
    return None


class Runner:
    def __init__(self, args):
        self.cli, self.sim_exe = os.path.abspath(args.cli), os.path.abspath(args.sim)
        self.source = args.source
        with open(os.path.join(self.source, "tests/data/settings/defaults.txt")) as f:
            self.defaults = f.read()

    def scratch(self):
        d = tempfile.mkdtemp(prefix="corvane-docs-")
        # Not what the units hold, so a write has something to write.
        with open(os.path.join(d, "settings.txt"), "w") as f:
            f.write(settings_with(self.defaults, {"Comment": "Rack A"}))
        for name in ("lobby.txt", "lobby wall.txt"):
            with open(os.path.join(d, name), "w") as f:
                f.write(settings_with(self.defaults, {"Comment": "Lobby wall"}))
        os.mkdir(os.path.join(d, "docs"))
        shutil.copy(os.path.join(self.source, "docs/lobby.txt"), os.path.join(d, "docs"))
        with open(os.path.join(d, "rack-a.txt"), "w") as f:
            f.write("".join("COM%d channel=%d\n" % (n, n) for n in range(1, 9)))
        return d

    def adapt(self, text, units, net):
        """The docs' command line with this machine's devices and device servers."""
        text = re.sub(r"/dev/ttyUSB(\d+)", lambda m: units.devices[int(m.group(1)) % 8], text)
        seen = {}

        def server(m):
            key = m.group(0)
            seen.setdefault(key, net.devices[len(seen) % len(net.devices)])
            return seen[key]
        return NETWORK.sub(server, text)

    def run(self, argv, cwd, units, on_listen=None):
        """(status or None on timeout, output lines, seconds)"""
        env = dict(os.environ, CORVANE_PORT_MAP=units.info["port_map"])
        start = time.monotonic()
        proc = subprocess.Popen([self.cli] + argv[1:], cwd=cwd, env=env, text=True,
                                stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT)
        lines = []

        def read():
            for line in proc.stdout:
                lines.append(line.rstrip("\n"))
                if on_listen and "listening" in line:
                    on_listen()
        reader = threading.Thread(target=read)
        reader.start()
        try:
            status = proc.wait(TIMEOUT)
        except subprocess.TimeoutExpired:
            proc.kill()
            status = None
        reader.join()
        return status, lines, time.monotonic() - start

    def stage(self, cmd, argv, cwd, units):
        """For a verify transcript: the unit holds what the docs say, the file makes the
        rest. Returns a failure text or None."""
        rows = [DIFFER.match(l) for l in cmd.expect_lines]
        rows = [m for m in rows if m]
        if argv[1] != "verify" or not rows:
            return None
        file = [w for w in argv[2:] if w.endswith(".txt")][0]
        with open(os.path.join(cwd, file), "w") as f:
            f.write(settings_with(self.defaults, {m.group(1): m.group(2) for m in rows}))
        with open(os.path.join(cwd, "unit-holds.txt"), "w") as f:
            f.write(settings_with(self.defaults, {m.group(1): m.group(3) for m in rows}))
        port = argv[argv.index("--port") + 1]
        status, out, _ = self.run(["corvane-cli", "write", "--port", port, "--no-backup",
                                   "unit-holds.txt"], cwd, units)
        return None if status == 0 else "staging write failed (%s): %s" % (status, out[-1:])

    def check(self, cmd, status, out, listened):
        shows_fault = any(FAULT.search(l) for l in cmd.expect_lines)
        if status is None:
            return "did not end within %d s" % TIMEOUT
        if any("unknown command" in l for l in out):
            return "refused as an unknown command: %s" % out[0]
        if status == 3 and cmd.expect_status != 3:
            return "refused as bad input (status 3): %s" % " / ".join(out[-3:])
        want = cmd.expect_status if cmd.expect_status is not None else 0
        if not shows_fault and status != want:
            return "exit status %d, the docs make it %d: %s" % (status, want, " / ".join(out[-3:]))
        expect = [l for l in cmd.expect_lines if not FAULT.search(l)]
        missing = matches(expect, out)
        if missing is not None:
            return "the docs show %r; the output was:\n      %s" % (missing, "\n      ".join(out))
        if listened is not None and not listened:
            return "never said it was listening"
        return None

    def group(self, g):
        """Runs one group; returns (report lines, failures)."""
        report, failures = [], 0
        for where, text, why in g.skipped:
            report.append("skip %s  %s  (%s)" % (where, text, why))
        needs_net = any(NETWORK.search(c.text) for c in g.commands) or (
            g.rack and any(NETWORK.search(l) for l in g.rack))
        if not g.commands and not g.rack:
            return report, 0
        if needs_net and not SER2NET:
            for c in g.commands:
                report.append("skip %s  %s  (ser2net is not installed)" % (c.where(), c.text))
            if g.rack:
                report.append("skip %s:%d  the rack file  (ser2net is not installed)"
                              % (g.doc, g.line))
            return report, 0
        units = Sim(self.sim_exe, 8)
        net = Sim(self.sim_exe, 2, ser2net=True) if needs_net else None
        cwd = self.scratch()
        try:
            if g.rack:
                rack = "\n".join(self.adapt(l, units, net) for l in g.rack) + "\n"
                with open(os.path.join(cwd, "rack-shown.txt"), "w") as f:
                    f.write(rack)
                cmd = docs_extract.Command(g.doc, g.line, "corvane-cli write --rack "
                                           "rack-shown.txt settings.txt  (the rack file shown)")
                status, out, secs = self.run(["corvane-cli", "write", "--rack", "rack-shown.txt",
                                              "settings.txt"], cwd, units)
                failures += self.note(report, cmd, self.check(cmd, status, out, None), status,
                                      secs)
            for cmd in g.commands:
                argv = shlex.split(self.adapt(cmd.text, units, net), comments=True)
                failure = self.stage(cmd, argv, cwd, units)
                listened, status, secs = None, None, 0.0
                if not failure:
                    on_listen = None
                    if argv[1] == "find":
                        listened = False
                        # The docs' find makes its rack file; one there is not replaced.
                        if "--rack-out" in argv:
                            made = os.path.join(cwd, argv[argv.index("--rack-out") + 1])
                            if os.path.exists(made):
                                os.remove(made)

                        def on_listen():
                            nonlocal listened
                            listened = True
                            # find says "listening" once every port is open: a RESET
                            # at once must be heard.
                            units.send("reset all")
                    status, out, secs = self.run(argv, cwd, units, on_listen)
                    failure = self.check(cmd, status, out, listened)
                failures += self.note(report, cmd, failure, status, secs)
                for line in filter(FAULT.search, cmd.expect_lines):
                    report.append("     not checked, shows a fault the units do not have: %s"
                                  % line)
        finally:
            units.stop()
            if net:
                net.stop()
            shutil.rmtree(cwd, ignore_errors=True)
        return report, failures

    @staticmethod
    def note(report, cmd, failure, status, secs):
        verdict = "FAIL" if failure else "ran "
        report.append("%s %s  %s  -> status %s, %.1f s" % (verdict, cmd.where(), cmd.text,
                                                           status, secs))
        if failure:
            report.append("     " + failure)
        return 1 if failure else 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--sim", required=True)
    parser.add_argument("--source", required=True)
    args = parser.parse_args()
    runner = Runner(args)
    groups = []
    for doc, extract in DOCS:
        with open(os.path.join(args.source, doc), encoding="utf-8") as f:
            groups += extract(doc, f.read())
    start = time.monotonic()
    with ThreadPoolExecutor(max_workers=8) as pool:
        results = list(pool.map(runner.group, groups))
    failures = sum(f for _, f in results)
    ran = 0
    for report, _ in results:
        for line in report:
            print(line)
            ran += line.startswith(("ran ", "FAIL"))
    print("%d commands run, %d failed, in %.0f s%s" % (
        ran, failures, time.monotonic() - start,
        "" if SER2NET else "; ser2net is not installed: its commands skipped"))
    return 1 if failures or not ran else 0


if __name__ == "__main__":
    sys.exit(main())
