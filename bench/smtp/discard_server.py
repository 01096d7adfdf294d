"""A loopback SMTP server that answers every command and throws the data away.

Usage: discard_server.py PORT_FILE   (writes its port there, runs until killed)
Reads in large blocks and only looks for the CR LF "." CR LF that ends the data,
so it keeps up with any client on the loopback interface.
"""
import socket
import sys
import threading


def serve(connection):
    with connection:
        connection.sendall(b"220 discard ready\r\n")
        pending = b""
        while True:
            chunk = connection.recv(1 << 20)
            if not chunk:
                return
            pending += chunk
            while b"\n" in pending:
                line, pending = pending.split(b"\n", 1)
                verb = line[:4].upper()
                if verb == b"QUIT":
                    connection.sendall(b"221 bye\r\n")
                    return
                if verb != b"DATA":
                    connection.sendall(b"250 ok\r\n")
                    continue
                connection.sendall(b"354 go ahead\r\n")
                tail = (b"\r\n" + pending)[-8:]
                pending_data_end = (b"\r\n" + pending).find(b"\r\n.\r\n")
                while pending_data_end < 0:
                    chunk = connection.recv(1 << 20)
                    if not chunk:
                        return
                    window = tail + chunk
                    found = window.find(b"\r\n.\r\n")
                    if found >= 0:
                        pending = window[found + 5:]
                        break
                    tail = window[-8:]
                else:
                    pending = pending[pending_data_end + 3:]
                connection.sendall(b"250 discarded\r\n")


def main():
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    with open(sys.argv[1], "w") as f:
        f.write(str(listener.getsockname()[1]))
    while True:
        connection, _ = listener.accept()
        threading.Thread(target=serve, args=(connection,), daemon=True).start()


if __name__ == "__main__":
    main()
