#!/usr/bin/env python3
"""The answer path end to end, run by run.sh inside an X server: a scripted
exchange on 127.0.0.1 streams answers to the real panel, logged in, and to the
bare Qt consumer in turn, and times each stream from its first byte until the
consumer's PBXINFO request, which it sends once it has handled the OPEN answer
that ends every stream. Prints medians (wall clock) and the ratios.
    drive.py <build folder> <runs>
TALVO_ANSWERS_WRAP (e.g. "perf record -g -o panel.data") runs the panel under
a profiler; TALVO_ANSWERS_ONLY (plain, book or trace) keeps one set of streams."""
import os
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import time

BUILD, RUNS = sys.argv[1], int(sys.argv[2])
END = b'<ans Type="OPEN" Ret="OK" Handle="5" Attr="STS-CTI-CMD" Pos="2" LineType="IL"/>\r\n'


def states(count):
    words = (b"RNG", b"CAL", b"REL", b"DIA")
    return b"".join(b'<ans Type="STATE" Handle="5" State="%s" Hfree="%d" Mic="0"/>\r\n' % (words[i % 4], i % 2)
                    for i in range(count))


def rings(count, callers):
    return b"".join(b'<ans Type="RING" Handle="5" Act="ACT">\r\n'
                    b'<ans Port="12" Cid="%s" PBXName="Nov&#225;k" Dest="21" DestName="Recepce" Pos="0" Act="ACT"/>\r\n'
                    b"</ans>\r\n" % callers[i % len(callers)] for i in range(count))


class Peer:
    """One connection of the exchange: the panel's or the bare consumer's."""

    def __init__(self, conn):
        self.conn = conn
        self.seen = b""

    def wait_for(self, word, timeout=120):
        self.conn.settimeout(timeout)
        while word not in self.seen:
            data = self.conn.recv(65536)
            if not data:
                raise RuntimeError("the connection closed while waiting for %r" % word)
            self.seen += data
        self.seen = self.seen.split(word, 1)[1]

    def rate(self, stream, answers):
        start = time.perf_counter()
        self.conn.sendall(stream + END)
        self.wait_for(b'Type="PBXINFO"')
        return answers / (time.perf_counter() - start)


def accept(server, process):
    server.settimeout(60)
    conn, _ = server.accept()
    conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    return Peer(conn)


def visible(pid):
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


def panel_pid(process):
    """The panel's own process, also when a profiler started it."""
    found = subprocess.run(["pgrep", "-P", str(process.pid), "-x", "Talvodem"], capture_output=True, text=True)
    return int(found.stdout.split()[0]) if found.stdout.split() else process.pid


def start_panel(server, home):
    """The panel with its own HOME, logged in through its dialog; returns (process, peer)."""
    wrap = os.environ.get("TALVO_ANSWERS_WRAP", "").split()
    process = subprocess.Popen(wrap + [os.path.join(BUILD, "bin", "Talvodem")], env=dict(os.environ, HOME=home),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    peer = accept(server, process)
    deadline = time.monotonic() + 60
    while not visible(panel_pid(process)):
        if process.poll() is not None or time.monotonic() > deadline:
            raise RuntimeError("the panel did not show its log-in dialog")
        time.sleep(0.05)
    time.sleep(0.5)
    subprocess.run(["xdotool", "key", "--clearmodifiers", "Return"], check=True)
    peer.wait_for(b'Type="OPEN"')
    peer.conn.sendall(END)
    peer.wait_for(b'Type="PBXINFO"')
    time.sleep(2)  # the session's windows settle
    return process, peer


def stop(process):
    os.kill(panel_pid(process), signal.SIGTERM)
    process.wait(60)


def make_home(root, name, port, trace=False, book_callers=None):
    home = os.path.join(root, name)
    data = os.path.join(home, "Talvocti")
    os.makedirs(data)
    ini = "[TCP]\r\nIP=127.0.0.1\r\nPort=%d\r\n[USR]\r\nUser=novak\r\nPass=secret\r\nLine=21\r\n" % port
    if trace:
        ini += "[XML]\r\nTrace=1\r\n"
    with open(os.path.join(data, "Talvodem.ini"), "w", newline="") as f:
        f.write(ini)
    if book_callers is not None:
        out = subprocess.run([os.path.join(BUILD, "bin", "make_book"), data], check=True, capture_output=True)
        book_callers.extend(out.stdout.split())
    return home


def main():
    root = tempfile.mkdtemp(prefix="talvo-answers-")
    server = socket.socket()
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(4)
    port = server.getsockname()[1]
    callers = []
    homes = {"plain": make_home(root, "plain", port), "book": make_home(root, "book", port, book_callers=callers),
             "trace": make_home(root, "trace", port, trace=True)}
    # (title, home, answers per run, stream)
    streams = [
        ("changing STATE answers", "plain", 200000, states(200000)),
        ("RING lists", "plain", 100000, rings(100000, [b"60311%d" % (1000 + n) for n in range(100)])),
        ("RING lists, 100,000-number book", "book", 30000, rings(30000, callers)),
        ("STATE, trace on", "trace", 200000, states(200000)),
    ]
    bare = subprocess.Popen([os.path.join(BUILD, "bin", "bare_consumer"), str(port)],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    bare_peer = accept(server, bare)
    results = {}
    try:
        only = os.environ.get("TALVO_ANSWERS_ONLY")
        for home in (only,) if only else ("plain", "book", "trace"):
            panel, peer = start_panel(server, homes[home])
            mine = [s for s in streams if s[1] == home]
            for title, _, answers, stream in mine:  # one warm-up each
                peer.rate(stream, answers)
                bare_peer.rate(stream, answers)
            for _ in range(RUNS):
                for title, _, answers, stream in mine:
                    runs = results.setdefault(title, ([], []))
                    runs[0].append(peer.rate(stream, answers))
                    runs[1].append(bare_peer.rate(stream, answers))
            stop(panel)
    finally:
        stop(bare)
        shutil.rmtree(root, ignore_errors=True)

    def k(v):
        return "%.0fk/s" % (v / 1000)

    print("answers handled per second, wall clock, medians of %d runs (min-max); a RING list counts once" % RUNS)
    print("%-34s %-24s %-24s %s" % ("stream", "program", "bare Qt consumer", "ratio"))
    for title, _, _, _ in streams:
        if title not in results:
            continue
        program, plain = results[title]
        p, b = statistics.median(program), statistics.median(plain)
        print("%-34s %-24s %-24s 1/%.1f" % (title, "%s (%s-%s)" % (k(p), k(min(program)), k(max(program))),
                                           "%s (%s-%s)" % (k(b), k(min(plain)), k(max(plain))), b / p))
    if "STATE, trace on" not in results or "changing STATE answers" not in results:
        return
    on = statistics.median(results["STATE, trace on"][0])
    off = statistics.median(results["changing STATE answers"][0])
    print("the trace costs %.0f %% of the STATE rate" % (100 * (1 - on / off)))


main()
