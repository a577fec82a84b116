#!/usr/bin/env python3
"""corvane-sim's own checks, beyond what the docs test makes of it.

    check_sim.py units|ser2net --cli CORVANE_CLI --sim CORVANE_SIM

units: bad options are refused with status 3 and one line; --units 3 --json gives three
devices that corvane-cli scan finds as three units; "reset 2" is heard by a find on COM2;
--shell runs a shell in which corvane-cli finds the units.
ser2net: --ser2net addresses answer corvane-cli read, and nothing listens on them once
corvane-sim has quit. Exits 77 (skipped) when ser2net is not installed.
"""

import argparse
import os
import socket
import time
import subprocess
import sys

from run_docs import SER2NET, Sim

failures = []


def expect(ok, what):
    print(("ok: " if ok else "FAIL: ") + what)
    if not ok:
        failures.append(what)


def cli(args, sim, *argv):
    env = dict(os.environ, CORVANE_PORT_MAP=sim.info["port_map"])
    return subprocess.run([args.cli] + list(argv), env=env, capture_output=True, text=True,
                          timeout=60)


def units(args):
    refused = [["--units", "0"], ["--units", "17"], ["--units"], ["--bogus"],
               ["--base-port", "17001"], ["--ser2net", "--base-port", "80"]]
    for argv in refused:
        r = subprocess.run([args.sim] + argv, capture_output=True, text=True, timeout=10,
                           stdin=subprocess.DEVNULL)
        expect(r.returncode == 3 and r.stderr.count("\n") == 1 and not r.stdout,
               "corvane-sim %s: status 3 and one line (%d, %r)"
               % (" ".join(argv), r.returncode, r.stderr))
    sim = Sim(args.sim, 3)
    try:
        devices = sim.devices
        expect(len(devices) == 3 and all(d.startswith("/dev/") for d in devices),
               "--units 3 --json gives three devices: %s" % devices)
        expect(sim.info["port_map"] == ",".join("%d=%s" % (n + 1, d)
                                                 for n, d in enumerate(devices)),
               "its port_map numbers them COM1 to COM3: %s" % sim.info["port_map"])
        r = cli(args, sim, "scan")
        found = sorted(l.split()[0] for l in r.stdout.splitlines() if "model 22" in l)
        expect(r.returncode == 0 and found == ["COM1", "COM2", "COM3"],
               "corvane-cli scan finds COM1 to COM3 (%d): %s" % (r.returncode, r.stdout))
        find = subprocess.Popen([args.cli, "find", "--port", "2", "--timeout", "10"],
                                env=dict(os.environ, CORVANE_PORT_MAP=sim.info["port_map"]),
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        # "Press RESET ... listening" comes once the port is open: RESET at once is heard.
        for line in find.stderr:
            if "listening" in line:
                break
        sim.send("reset 2")
        out, _ = find.communicate(timeout=20)
        expect(find.returncode == 0 and out.startswith("COM2 %s model 22" % devices[1]),
               "\"reset 2\" is heard by find on COM2 (%d): %r" % (find.returncode, out))
    finally:
        sim.stop()
    # --shell: the units' map and corvane-cli in a shell of their own; its status is the
    # shell's, and the units go with it.
    shell = subprocess.run([args.sim, "--units", "2", "--no-pacing", "--shell"],
                           input="corvane-cli scan\nexit 4\n", capture_output=True, text=True,
                           timeout=60, env=dict(os.environ, SHELL="/bin/sh",
                                                PATH=os.path.dirname(args.cli) + ":/usr/bin:/bin"))
    found = sorted(l.split()[0] for l in shell.stdout.splitlines() if "model 22 channel 1" in l)
    expect(shell.returncode == 4 and found == ["COM1", "COM2"],
           "--shell: corvane-cli scan finds COM1 and COM2, exit 4 is the shell's (%d): %r"
           % (shell.returncode, shell.stdout))


def ports_listening(addresses):
    listening = []
    for a in addresses:
        port = int(a.rsplit(":", 1)[1])
        with socket.socket() as s:
            if s.connect_ex(("127.0.0.1", port)) == 0:
                listening.append(a)
    return listening


def ser2net(args):
    if not SER2NET:
        print("skipped: ser2net is not installed")
        return 77
    sim = Sim(args.sim, 2, ser2net=True)
    try:
        addresses = sim.devices
        expect(all(a.startswith("rfc2217://127.0.0.1:") for a in addresses),
               "--ser2net gives rfc2217://127.0.0.1 addresses: %s" % addresses)
        r = cli(args, sim, "read", "--port", "2")
        expect(r.returncode == 0 and "Model 22" in r.stdout,
               "corvane-cli read on COM2 behind ser2net (%d): %s" % (r.returncode, r.stderr))
    finally:
        sim.stop()
    expect(ports_listening(addresses) == [], "ser2net stops with corvane-sim")
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("what", choices=["units", "ser2net"])
    parser.add_argument("--cli", required=True)
    parser.add_argument("--sim", required=True)
    args = parser.parse_args()
    status = units(args) if args.what == "units" else ser2net(args)
    if status == 77:
        return status
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
