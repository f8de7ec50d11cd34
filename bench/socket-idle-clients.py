#!/usr/bin/env python3
"""Idle clients against the window's socket: starts the window (offscreen, private runtime and
settings folders), connects 20 clients that send nothing, then sends 12 probes (an empty text,
answered 0x80 and run as nothing) one after another, and reports how many probes were answered
and when the server dropped the idle clients (seconds after they connected).

Usage: bench/socket-idle-clients.py [PICTARIX]"""
import os
import select
import socket
import subprocess
import sys
import tempfile
import time

program = os.path.realpath(sys.argv[1] if len(sys.argv) > 1 else "build-test/pictarix")
IDLE, PROBES = 20, 12



def probe_answered(path):
    """Sends an empty text; whether the window acknowledged it."""
    with socket.socket(socket.AF_UNIX) as probe:
        probe.settimeout(10)
        try:
            probe.connect(path)
            probe.sendall(b"\0")
            return probe.recv(1) == b"\x80"
        except OSError:
            return False


with tempfile.TemporaryDirectory() as work:
    runtime = os.path.join(work, "run")
    os.mkdir(runtime, 0o700)
    env = dict(os.environ, XDG_RUNTIME_DIR=runtime, HOME=work, QT_QPA_PLATFORM="offscreen")
    env.pop("XDG_CONFIG_HOME", None)
    window = subprocess.Popen([program], env=env, stderr=subprocess.DEVNULL)
    path = os.path.join(runtime, "pictarix", "pictarix.tarvo")
    try:
        deadline = time.monotonic() + 30
        while not os.path.exists(path):
            if time.monotonic() > deadline:
                sys.exit("no socket within 30 s")
            time.sleep(0.05)
        while not probe_answered(path):  # the window serves once its event loop runs
            if time.monotonic() > deadline:
                sys.exit("no answer within 30 s")
            time.sleep(0.05)

        idle = []
        for _ in range(IDLE):
            client = socket.socket(socket.AF_UNIX)
            client.connect(path)
            idle.append((client, time.monotonic()))

        answered = sum(probe_answered(path) for _ in range(PROBES))
        print(f"{IDLE} idle clients, then {PROBES} probes: {answered} answered, "
              f"{PROBES - answered} refused")

        # When is each idle client dropped? (closed by the server: recv answers b"")
        dropped = {}
        waiting = {client: since for client, since in idle}
        while waiting and time.monotonic() < idle[-1][1] + 10:
            ready, _, _ = select.select(list(waiting), [], [], 0.05)
            for client in ready:
                if client.recv(1) == b"":
                    dropped[client] = time.monotonic() - waiting.pop(client)
        for client, _ in idle:
            client.close()
        kept = len(waiting)
        dropped = list(dropped.values())
        early = [d for d in dropped if d < 1]
        late = [d for d in dropped if d >= 1]
        print(f"idle clients: {len(early)} closed within 1 s, {len(late)} dropped "
              f"after {min(late, default=0):.2f} to {max(late, default=0):.2f} s, "
              f"{kept} still connected after 10 s")
    finally:
        window.terminate()
        window.wait()
