#!/usr/bin/python3
"""A print server's stand-in that passes every request on to the real one,
except for one kind of IPP operation, which it holds or cuts off.

    print-proxy.py <listen socket> <print server socket> hold <operation> <seconds>
    print-proxy.py <listen socket> <print server socket> cut <operation>

hold keeps the body of each request of that operation back for the given time
(the request's headers have reached the server, which waits for the rest);
cut takes the whole of such a request from the client, passes on only the
first half of its body and closes both connections, so that the server has a
request broken off and the client gets no answer. Each
operation seen is logged on standard output, one line each: "<operation>
seen", then "<operation> held", "<operation> let go" or "<operation> cut".
"""

import socket
import sys
import threading
import time

OPERATIONS = {
    0x0002: "Print-Job",
    0x0005: "Create-Job",
    0x0006: "Send-Document",
    0x0008: "Cancel-Job",
    0x0009: "Get-Job-Attributes",
    0x000B: "Get-Printer-Attributes",
    0x000D: "Release-Job",
    0x4001: "CUPS-Get-Default",
    0x4002: "CUPS-Get-Printers",
}

log_lock = threading.Lock()


def log(line):
    with log_lock:
        print(line, flush=True)


class Body:
    """Follows the raw bytes of one HTTP request body: it collects the first
    bytes of the content (the IPP version and operation) and finds where the
    body ends, with a length or in chunks."""

    def __init__(self, headers):
        self.chunked = "chunked" in headers.get("transfer-encoding", "").lower()
        self.left = 0 if self.chunked else int(headers.get("content-length", "0"))
        self.state = "size" if self.chunked else "data"
        self.line = b""
        self.start = b""
        self.done = not self.chunked and self.left == 0

    def _content(self, data):
        self.start += data[: max(0, 4 - len(self.start))]

    def feed(self, data):
        """How many of these bytes belong to the body; sets done at its end."""
        used = 0
        while used < len(data) and not self.done:
            if self.state == "data":
                take = min(self.left, len(data) - used)
                self._content(data[used : used + take])
                used += take
                self.left -= take
                if self.left == 0:
                    self.done = not self.chunked
                    self.state, self.left = "crlf", 2
            elif self.state == "crlf":
                take = min(self.left, len(data) - used)
                used += take
                self.left -= take
                if self.left == 0:
                    self.state = "size"
            else:  # a chunk's size line, or a trailer line after the last chunk
                end = data.find(b"\n", used)
                if end < 0:
                    self.line += data[used:]
                    used = len(data)
                    continue
                self.line += data[used : end + 1]
                used = end + 1
                line, self.line = self.line.strip(), b""
                if self.state == "trailer":
                    self.done = not line
                else:
                    size = int(line.split(b";")[0], 16)
                    self.state, self.left = ("data", size) if size else ("trailer", 0)
        return used

    def operation(self):
        if len(self.start) < 4:
            return None
        code = int.from_bytes(self.start[2:4], "big")
        return OPERATIONS.get(code, "operation 0x%04x" % code)


def read_headers(client, pending):
    while b"\r\n\r\n" not in pending:
        data = client.recv(65536)
        if not data:
            return None, None, b""
        pending += data
    head, _, rest = pending.partition(b"\r\n\r\n")
    headers = {}
    for line in head.split(b"\r\n")[1:]:
        name, _, value = line.decode("latin-1").partition(":")
        headers[name.strip().lower()] = value.strip()
    return head + b"\r\n\r\n", headers, rest


def relay_requests(client, server, rule):
    pending = b""
    while True:
        head, headers, pending = read_headers(client, pending)
        if head is None:
            return
        server.sendall(head)
        body = Body(headers)
        kept = b""  # body bytes not passed on until the operation is known
        decided = cutting = False
        while not body.done:
            if not pending:
                pending = client.recv(65536)
                if not pending:
                    return
            used = body.feed(pending)
            kept, pending = kept + pending[:used], pending[used:]
            if not decided and (body.operation() or body.done):
                decided = True
                operation = body.operation()
                if operation:
                    log(f"{operation} seen")
                cutting = operation == rule[1] and rule[0] == "cut"
                if operation == rule[1] and rule[0] == "hold":
                    log(f"{operation} held")
                    time.sleep(float(rule[2]))
                    log(f"{operation} let go")
            if decided and not cutting:
                server.sendall(kept)
                kept = b""
        if cutting:
            # The client has sent the whole request and waits for the answer.
            server.sendall(kept[: len(kept) // 2])
            log(f"{operation} cut")
            raise ConnectionAbortedError


def relay_answers(server, client):
    while data := server.recv(65536):
        client.sendall(data)


def serve(client, address, rule):
    server = socket.socket(socket.AF_UNIX)
    both = (client, server)
    try:
        server.connect(address)
    except OSError:
        close(both)
        return
    threading.Thread(target=guarded, args=(relay_answers, both, server, client),
                     daemon=True).start()
    guarded(relay_requests, both, client, server, rule)


# A relay ends both connections when either end goes, or when it cuts them.
def guarded(relay, both, *ends):
    try:
        relay(*ends)
    except OSError:
        pass
    finally:
        close(both)


def close(sockets):
    for end in sockets:
        try:
            end.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass
        end.close()


RULE_LENGTHS = {"cut": 2, "hold": 3}


def main():
    if len(sys.argv) < 4 or RULE_LENGTHS.get(sys.argv[3]) != len(sys.argv) - 3:
        sys.exit(__doc__)
    listen, address, rule = sys.argv[1], sys.argv[2], sys.argv[3:]
    listener = socket.socket(socket.AF_UNIX)
    listener.bind(listen)
    listener.listen(16)
    while True:
        client, _ = listener.accept()
        threading.Thread(target=serve, args=(client, address, rule), daemon=True).start()


if __name__ == "__main__":
    main()
