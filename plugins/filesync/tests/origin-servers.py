#!/usr/bin/python3
# HTTP and FTP servers on 127.0.0.1 for the origin tests, started and
# stopped by ctest around them:
#
#   origin-servers.py start STATE   serve STATE/root, write STATE/ports, return
#   origin-servers.py stop STATE    end the servers started for STATE
#
# Both append every request to STATE/requests.log as "http METHOD /path" or
# "ftp COMMAND argument". HTTP serves STATE/root/pub with Last-Modified and
# Content-Length; names beginning with "nodate" get neither Last-Modified
# nor Date, names beginning with "short" announce more bytes than they send.
# FTP serves STATE/root/pub to anonymous users and STATE/root/alice to user
# "alice" (password "secret"), active and passive; a RETR of a name
# beginning with "broken" sends half the file and aborts the transfer.
import email.utils
import http.server
import os
import signal
import socketserver
import subprocess
import sys
import threading
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer


def log(state, line):
    with open(os.path.join(state, "requests.log"), "a") as f:
        f.write(line + "\n")


def http_handler(state):
    pub = os.path.join(state, "root", "pub")

    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.0"

        def log_message(self, *args):
            pass

        def answer(self, body):
            log(state, "http %s %s" % (self.command, self.path))
            name = self.path.lstrip("/")
            path = os.path.join(pub, *name.split("/"))
            if not name or not os.path.isfile(path):
                self.send_response_only(404)
                self.send_header("Content-Length", "9")
                self.end_headers()
                if body:
                    self.wfile.write(b"not found")
                return
            with open(path, "rb") as f:
                data = f.read()
            base = os.path.basename(path)
            self.send_response_only(200)
            announced = len(data) + (100 if base.startswith("short") else 0)
            self.send_header("Content-Length", str(announced))
            if not base.startswith("nodate"):
                self.send_header("Date", email.utils.formatdate(usegmt=True))
                self.send_header("Last-Modified", email.utils.formatdate(os.path.getmtime(path), usegmt=True))
            self.end_headers()
            if body:
                self.wfile.write(data)

        def do_GET(self):
            self.answer(True)

        def do_HEAD(self):
            self.answer(False)

    return Handler


class BrokenDTP(DTPHandler):
    def push_with_producer(self, producer):
        # Half the file, then the data connection breaks off.
        file = getattr(producer, "file", None)
        if file is not None and os.path.basename(getattr(file, "name", "")).startswith("broken"):
            data = file.read()
            self.push(data[: len(data) // 2])
            self.close_when_done = lambda: None
            self.cmd_channel.respond("426 Connection closed; transfer aborted.")
            self.close()
            return
        DTPHandler.push_with_producer(self, producer)


def ftp_server(state):
    root = os.path.join(state, "root")
    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(os.path.join(root, "pub"))
    authorizer.add_user("alice", "secret", os.path.join(root, "alice"), perm="elr")

    class Handler(FTPHandler):
        dtp_handler = BrokenDTP

        def pre_process_command(self, line, cmd, arg):
            log(state, "ftp %s %s" % (cmd, arg if cmd != "PASS" else "***"))
            FTPHandler.pre_process_command(self, line, cmd, arg)

    Handler.authorizer = authorizer
    Handler.passive_ports = None
    return FTPServer(("127.0.0.1", 0), Handler)


def serve(state):
    for sub in ("pub", "alice"):
        os.makedirs(os.path.join(state, "root", sub), exist_ok=True)
    open(os.path.join(state, "requests.log"), "a").close()
    httpd = socketserver.ThreadingTCPServer(("127.0.0.1", 0), http_handler(state))
    httpd.daemon_threads = True
    ftpd = ftp_server(state)
    threading.Thread(target=httpd.serve_forever, daemon=True).start()
    ports = os.path.join(state, "ports")
    with open(ports + ".tmp", "w") as f:
        f.write("http %d\nftp %d\npid %d\n" % (httpd.server_address[1], ftpd.address[1], os.getpid()))
    os.replace(ports + ".tmp", ports)
    ftpd.serve_forever()


def start(state):
    os.makedirs(state, exist_ok=True)
    stop(state)
    for name in ("ports", "requests.log"):
        if os.path.exists(os.path.join(state, name)):
            os.remove(os.path.join(state, name))
    with open(os.path.join(state, "servers.out"), "w") as out:
        subprocess.Popen([sys.executable, os.path.abspath(__file__), "serve", state], stdout=out, stderr=out,
                         stdin=subprocess.DEVNULL, start_new_session=True)
    for _ in range(200):
        if os.path.exists(os.path.join(state, "ports")):
            return 0
        time.sleep(0.05)
    print("origin-servers: the servers did not start", file=sys.stderr)
    return 1


def stop(state):
    ports = os.path.join(state, "ports")
    if not os.path.exists(ports):
        return 0
    with open(ports) as f:
        fields = dict(line.split() for line in f if line.strip())
    try:
        os.kill(int(fields["pid"]), signal.SIGTERM)
    except (KeyError, ProcessLookupError):
        pass
    os.remove(ports)
    return 0


if __name__ == "__main__":
    command, state = sys.argv[1], os.path.abspath(sys.argv[2])
    if command == "serve":
        serve(state)
    else:
        sys.exit({"start": start, "stop": stop}[command](state))
