#!/usr/bin/env python3
"""Print-Job requests written by hand over a socket, for what ipptool will
not send: a body over the server's limit (with its length given, or in
chunks), and a body cut short. Prints the IPP status code in hex, or
"closed" when the server answered nothing.

usage: ipp_raw.py PORT PRINTER too-large-length|too-large-chunked|cut-short BYTES
       ipp_raw.py PORT PRINTER latency COUNT      (Get-Printer-Attributes: p50, p99, max in ms)
       ipp_raw.py PORT PRINTER malformed COUNT    (requests and documents made wrong at random)
"""
import random
import time
import socket
import struct
import sys


def attr(tag, name, value):
    n, v = name.encode(), value.encode()
    return struct.pack(">BH", tag, len(n)) + n + struct.pack(">H", len(v)) + v


def ipp_request(uri, operation=0x0002, document_format="application/vnd.cups-brf"):
    return (struct.pack(">BBHI", 2, 0, operation, 1) + b"\x01" +
            attr(0x47, "attributes-charset", "utf-8") +
            attr(0x48, "attributes-natural-language", "en") +
            attr(0x45, "printer-uri", uri) +
            attr(0x42, "requesting-user-name", "tester") +
            attr(0x49, "document-format", document_format) + b"\x03")


def status_of(sock):
    sock.settimeout(30)
    data = b""
    try:
        while b"\r\n\r\n" not in data or len(data) < data.find(b"\r\n\r\n") + 8:
            piece = sock.recv(65536)
            if not piece:
                break
            data += piece
    except (ConnectionResetError, socket.timeout):
        pass
    head_end = data.find(b"\r\n\r\n")
    if head_end < 0 or len(data) < head_end + 8:
        return "closed"
    body = data[head_end + 4:]
    if b"Transfer-Encoding: chunked" in data[:head_end]:
        body = body[body.find(b"\r\n") + 2:]
    return "%04x" % struct.unpack(">H", body[2:4])[0]


def post(port, printer, body, timeout=30):
    sock = socket.create_connection(("127.0.0.1", int(port)), timeout)
    head = ("POST /ipp/print/%s HTTP/1.1\r\nHost: 127.0.0.1:%s\r\nContent-Type: application/ipp\r\n"
            "Content-Length: %d\r\n\r\n" % (printer, port, len(body))).encode()
    sock.sendall(head + body)
    status = status_of(sock)
    sock.close()
    return status


def latency(port, printer, count):
    uri = "ipp://127.0.0.1:%s/ipp/print/%s" % (port, printer)
    request = ipp_request(uri, 0x000B)
    times = []
    for _ in range(count):
        start = time.monotonic()
        if post(port, printer, request) != "0000":
            sys.exit("Get-Printer-Attributes failed")
        times.append((time.monotonic() - start) * 1000)
    times.sort()
    print("%.1f %.1f %.1f" % (times[len(times) // 2], times[int(len(times) * 0.99) - 1], times[-1]))


def malformed(port, printer, count):
    """Valid requests and documents, then made wrong: bytes flipped, cut,
    repeated, lengths that lie; documents of random bytes as every format."""
    rng = random.Random(20261207)
    uri = "ipp://127.0.0.1:%s/ipp/print/%s" % (port, printer)
    good = ipp_request(uri)
    answered = 0
    for i in range(count):
        kind = i % 4
        body = bytearray(good)
        if kind == 0:  # flipped bytes in the request
            for _ in range(rng.randint(1, 8)):
                body[rng.randrange(len(body))] = rng.randrange(256)
        elif kind == 1:  # cut anywhere
            body = body[:rng.randrange(len(body))]
        elif kind == 2:  # an attribute whose lengths lie
            body = body[:-1] + bytes([0x42, 0xFF, 0xFF]) + b"x" * rng.randrange(64) + b"\x03"
        else:  # a good request with a document of random bytes, named as a random format
            fmt = rng.choice(["application/vnd.cups-brf", "application/x-pef+xml", "application/x-nrk",
                              "text/plain;charset=utf-8", "application/octet-stream"])
            body = bytearray(ipp_request(uri, 0x0002, fmt))
            prefix = rng.choice([b"", b"%NRQ", b"<?xml version='1.0'?><pef", b"\xef\xbb\xbf\xe2\xa0", b"\xff\xfe"])
            body += prefix + bytes(rng.randrange(256) for _ in range(rng.randrange(2000)))
        try:
            if post(port, printer, bytes(body), timeout=10) != "closed":
                answered += 1
        except OSError:
            pass
    print(answered)


def main():
    if sys.argv[3] == "latency":
        latency(sys.argv[1], sys.argv[2], int(sys.argv[4]))
        return
    if sys.argv[3] == "malformed":
        malformed(sys.argv[1], sys.argv[2], int(sys.argv[4]))
        return
    port, printer, kind, size = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
    uri = "ipp://127.0.0.1:%s/ipp/print/%s" % (port, printer)
    request = ipp_request(uri)
    line = b"A" * 31 + b"\n"
    sock = socket.create_connection(("127.0.0.1", int(port)))
    head = ("POST /ipp/print/%s HTTP/1.1\r\nHost: 127.0.0.1:%s\r\nContent-Type: application/ipp\r\n" % (printer, port)).encode()
    if kind == "too-large-length":
        sock.sendall(head + b"Content-Length: %d\r\n\r\n" % (len(request) + size) + request)
        print(status_of(sock))  # answered before the body is sent
    elif kind == "too-large-chunked":
        sock.sendall(head + b"Transfer-Encoding: chunked\r\n\r\n")
        sock.sendall(b"%x\r\n" % len(request) + request + b"\r\n")
        sent = 0
        try:
            while sent < size:
                piece = line * 256
                sock.sendall(b"%x\r\n" % len(piece) + piece + b"\r\n")
                sent += len(piece)
            sock.sendall(b"0\r\n\r\n")
        except (BrokenPipeError, ConnectionResetError):
            pass
        print(status_of(sock))
    elif kind == "cut-short":
        body = (line * (size // len(line) + 1))[:size]
        sock.sendall(head + b"Content-Length: %d\r\n\r\n" % (len(request) + 2 * size) + request + body)
        sock.shutdown(socket.SHUT_WR)
        print(status_of(sock))
    sock.close()


main()
