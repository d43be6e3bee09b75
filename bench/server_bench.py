#!/usr/bin/env python3
"""The printer application against the command line, in one run: idle
memory, the time from the request to the first byte on the line for a
one-page document, and CPU while a job prints at 9600 bit/s.

usage: server_bench.py BUILD_DIR WORK_DIR SAMPLES_DIR
(XDG_CONFIG_HOME and TMPDIR are set by run-server-bench.sh)
"""
import json
import os
import socket
import struct
import subprocess
import sys
import time

build, work, samples = sys.argv[1], sys.argv[2], sys.argv[3]
server = os.path.join(build, "src/printer_app/tenjiprint-server")
cli = os.path.join(build, "src/app/tenjiprint")
embosser = os.path.join(build, "tools/virtual-embosser")
settings = os.path.join(work, "tenjiprint.ini")
link = os.path.join(os.environ["XDG_CONFIG_HOME"], "tenjiprint/dosdevices/com1")
clock_ticks = os.sysconf("SC_CLK_TCK")


def free_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    return s.getsockname()[1]


def cpu_seconds(pid):
    fields = open("/proc/%d/stat" % pid).read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / clock_ticks


def rss_mb(pid):
    for line in open("/proc/%d/status" % pid):
        if line.startswith("VmRSS:"):
            return int(line.split()[1]) / 1024
    return 0.0


def start_embosser(out, jobs, baud=None):
    if os.path.lexists(link):
        os.remove(link)
    args = [embosser, "--com", "1", "--jobs", str(jobs), "--out", out]
    if baud:
        args += ["--baud", str(baud)]
    p = subprocess.Popen(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    while not os.path.lexists(link):
        time.sleep(0.01)
    return p


def first_byte_at(out, job=1):
    return json.load(open(os.path.join(out, "job-%d.json" % job)))["first_byte_at"]


def attr(tag, name, value):
    n, v = name.encode(), value.encode()
    return struct.pack(">BH", tag, len(n)) + n + struct.pack(">H", len(v)) + v


def print_job(port, document):
    uri = "ipp://127.0.0.1:%d/ipp/print/tenji" % port
    body = (struct.pack(">BBHI", 2, 0, 0x0002, 1) + b"\x01" + attr(0x47, "attributes-charset", "utf-8") +
            attr(0x48, "attributes-natural-language", "en") + attr(0x45, "printer-uri", uri) +
            attr(0x42, "requesting-user-name", "bench") + attr(0x49, "document-format", "application/x-nrk") +
            b"\x03" + open(document, "rb").read())
    sock = socket.create_connection(("127.0.0.1", port))
    sock.sendall(("POST /ipp/print/tenji HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/ipp\r\n"
                  "Content-Length: %d\r\n\r\n" % len(body)).encode() + body)
    sock.recv(65536)
    sock.close()


def median(values):
    return sorted(values)[len(values) // 2]


one_page = os.path.join(samples, "aiueo.NRK")
full_page = os.path.join(samples, "full-page.NRK")
rows = []

# The command line: from its start to the first byte; CPU over a 9600 bit/s page.
latencies = []
for i in range(5):
    out = os.path.join(work, "cli-%d" % i)
    e = start_embosser(out, 1)
    t = time.monotonic()
    subprocess.run([cli, "--settings", settings, "print", one_page], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    e.wait()
    latencies.append(first_byte_at(out) - t)
out = os.path.join(work, "cli-slow")
e = start_embosser(out, 1, 9600)
t = time.monotonic()
p = subprocess.Popen([cli, "--settings", settings, "print", full_page], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
peak_cpu = 0.0
while p.poll() is None:
    try:
        peak_cpu = cpu_seconds(p.pid)
    except OSError:
        pass
    time.sleep(0.05)
wall = time.monotonic() - t
e.wait()
rows.append(("command line (tenjiprint print)", "-", median(latencies) * 1000, peak_cpu / wall * 100, wall))

# The printer application.
port = free_port()
srv = subprocess.Popen([server, "server", "-o", "listen=127.0.0.1", "-o", "server-port=%d" % port,
                        "-o", "spool-directory=" + os.path.join(work, "spool"),
                        "-o", "state-file=" + os.path.join(work, "server.state"),
                        "-o", "log-file=" + os.path.join(work, "server.log"), "-o", "settings=" + settings],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
while True:
    try:
        socket.create_connection(("127.0.0.1", port), 0.2).close()
        break
    except OSError:
        time.sleep(0.05)
subprocess.run([server, "add", "-d", "tenji", "-m", "tenjiprint", "-v", "tenjiprint:///COM1"], check=True)
time.sleep(3)
idle_rss = rss_mb(srv.pid)
latencies = []
for i in range(5):
    out = os.path.join(work, "server-%d" % i)
    e = start_embosser(out, 1)
    t = time.monotonic()
    print_job(port, one_page)
    e.wait()
    latencies.append(first_byte_at(out) - t)
out = os.path.join(work, "server-slow")
e = start_embosser(out, 1, 9600)
before = cpu_seconds(srv.pid)
t = time.monotonic()
print_job(port, full_page)
e.wait()
wall = time.monotonic() - t
used = cpu_seconds(srv.pid) - before
rows.append(("printer application (Print-Job)", "%.1f" % idle_rss, median(latencies) * 1000, used / wall * 100, wall))
srv.terminate()
srv.wait()

print("%-34s %14s %22s %24s %10s" % ("", "idle RSS (MB)", "to first byte (ms)", "CPU at 9600 bit/s (%)", "job (s)"))
for name, rss, latency, cpu, wall in rows:
    print("%-34s %14s %22.1f %24.2f %10.1f" % (name, rss, latency, cpu, wall))
