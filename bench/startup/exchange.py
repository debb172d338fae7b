#!/usr/bin/env python3
"""A scripted exchange on 127.0.0.1 for the start-up measurement: it grants
every log-in and answers nothing else. Prints its port, then serves."""
import socket
import sys

server = socket.socket()
server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
server.bind(("127.0.0.1", 0))
server.listen(4)
print(server.getsockname()[1], flush=True)
while True:
    conn, _ = server.accept()
    seen = b""
    while True:
        data = conn.recv(4096)
        if not data:
            break
        seen += data
        while b"Type=\"OPEN\"" in seen:
            seen = seen.split(b"Type=\"OPEN\"", 1)[1]
            conn.sendall(b'<ans Type="OPEN" Ret="OK" Handle="5" Attr="STS-CTI-CMD" Pos="2" LineType="IL"/>\r\n')
        seen = seen[-64:]
    conn.close()
