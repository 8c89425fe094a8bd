#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrix developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Does what test programs cannot do themselves when they run under Wine:
start Linux processes. It starts loopback FTP services (ftp-service.py) and
PostgreSQL servers, and reads workbooks back with openpyxl on their behalf.

Prints "PORT <n>" once it listens on 127.0.0.1. Each client connection owns
at most one service and sends one command per line:
  START <port> <options> <folder>  -> "PORT <n>" or "FAILED"; options are
                  ftp-service.py's, joined by commas ("--rate,100"), or "-"
  STOP                                            -> "STOPPED" (terminated)
  KILL                                            -> "KILLED" (SIGKILL)
  POSTGRES <password> -> "PORT <n>" or "FAILED <why>": a PostgreSQL server
                  of the connection's own (initdb into a temporary folder,
                  127.0.0.1, user "kestrix" with a SCRAM password)
  PGSTOP / PGSTART  -> that server stopped ("STOPPED") or started again
                       ("PORT <n>"), keeping its data; "FAILED <why>"
  WORKBOOK <path>   -> the rows as tests/support/workbook.h describes them,
                       joined by U+001F on one line, or "FAILED"
  LAYOUT <path>     -> the first sheet's layout as workbook.h describes it,
                       the same way
  SCRIPT <base64 of a Python script> <path>
                    -> what the script prints about the workbook at sys.argv[1]
                       (openpyxl imported), its lines the same way
The service is killed and the server removed when the connection closes.
"""
import argparse
import base64
import glob
import os
import shutil
import socket
import socketserver
import subprocess
import sys
import tempfile
import time

SERVICE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "ftp-service.py")


def read_workbook(path):
    try:
        import openpyxl
        sheet = openpyxl.load_workbook(path).active
        rows = ["|".join("" if v is None else type(v).__name__ + ":" + str(v) for v in row)
                for row in sheet.iter_rows(values_only=True)]
        return "\x1f".join(rows)
    except Exception as error:  # reported to the test as its failure text
        return "FAILED " + str(error).replace("\n", " ")


def read_layout(path):
    try:
        import openpyxl
        sheet = openpyxl.load_workbook(path).active
        lines = ["sheet:" + sheet.title]
        lines += ["merged:" + str(r) for r in sheet.merged_cells.ranges]
        if sheet["A1"].font.b:
            lines.append("bold:A1")
        lines += ["width:%s=%g" % (k, d.width) for k, d in sorted(sheet.column_dimensions.items())]
        return "\x1f".join(lines)
    except Exception as error:  # reported to the test as its failure text
        return "FAILED " + str(error).replace("\n", " ")


def run_script(script, path):
    done = subprocess.run([sys.executable, "-c", "import sys, openpyxl\n" + script, path],
                          capture_output=True, text=True, timeout=60, check=False)
    if done.returncode != 0:
        return "FAILED " + done.stderr.replace("\n", " ")
    return "\x1f".join(done.stdout.splitlines())


class Postgres:
    """Debian's PostgreSQL as a school runs it, for one test program. As
    root, the server runs as nobody (initdb refuses root)."""

    def __init__(self, password):
        self.folder = tempfile.mkdtemp(prefix="kestrix-pg-")
        self.port = 0
        found = sorted(glob.glob("/usr/lib/postgresql/*/bin/pg_ctl"))
        self.pg_ctl = shutil.which("pg_ctl") or (found[-1] if found else None)
        self.run_as = ["runuser", "-u", "nobody", "--"] if os.geteuid() == 0 else []
        pwfile = os.path.join(self.folder, "pwfile")
        with open(pwfile, "w", encoding="utf-8") as out:
            out.write(password + "\n")
        os.mkdir(os.path.join(self.folder, "socket"))
        if self.run_as:
            for path in (self.folder, pwfile, os.path.join(self.folder, "socket")):
                shutil.chown(path, "nobody", "nogroup")
        self.problem = self.ctl("initdb", "-o", "-U kestrix --auth=scram-sha-256 --pwfile=%s "
                                "--encoding=UTF8 --locale=C --no-sync" % pwfile)

    def ctl(self, *arguments):
        if self.pg_ctl is None:
            return "pg_ctl not found: install Debian's postgresql"
        done = subprocess.run(self.run_as + [self.pg_ctl, "-D", os.path.join(self.folder, "data")]
                              + list(arguments), cwd=self.folder, capture_output=True,
                              text=True, timeout=120, check=False)
        if done.returncode != 0:
            return ("pg_ctl %s failed: %s%s" % (arguments[0], done.stdout, done.stderr)
                    ).replace("\n", " ")
        return ""

    def start(self):
        if not self.port:
            with socket.socket() as probe:
                probe.bind(("127.0.0.1", 0))
                self.port = probe.getsockname()[1]
        failed = self.ctl("start", "-w", "-l", os.path.join(self.folder, "log"), "-o",
                          "-p %d -c listen_addresses=127.0.0.1 -k %s -c fsync=off"
                          % (self.port, os.path.join(self.folder, "socket")))
        return "FAILED " + failed if failed else "PORT %d" % self.port

    def stop(self):
        failed = self.ctl("stop", "-w", "-m", "fast")
        return "FAILED " + failed if failed else "STOPPED"

    def remove(self):
        self.stop()
        shutil.rmtree(self.folder, ignore_errors=True)


class Connection(socketserver.StreamRequestHandler):
    def setup(self):
        super().setup()
        self.service = None
        self.postgres = None

    def start_postgres(self, password):
        if self.postgres is not None:
            self.postgres.remove()
        self.postgres = Postgres(password)
        if self.postgres.problem:
            return "FAILED " + self.postgres.problem
        return self.postgres.start()

    def end_service(self, kill):
        if self.service is None:
            return
        if kill:
            self.service.kill()
        else:
            self.service.terminate()
        try:
            self.service.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.service.kill()
            self.service.wait()
        self.service = None

    def start_service(self, port, options, folder):
        self.end_service(kill=True)
        command = [sys.executable, SERVICE, "--dir", folder, "--port", port]
        if options != "-":
            command += options.split(",")
        # A port freed a moment ago can still be busy: try again for a while.
        for _ in range(50):
            self.service = subprocess.Popen(command, stdout=subprocess.PIPE,
                                            stderr=subprocess.DEVNULL, text=True)
            line = self.service.stdout.readline()
            if line.startswith("PORT "):
                return line.strip()
            self.end_service(kill=True)
            time.sleep(0.2)
        return "FAILED"

    def handle(self):
        try:
            for raw in self.rfile:
                words = raw.decode("utf-8").rstrip("\r\n").split(" ", 3)
                if words[0] == "START" and len(words) == 4:
                    reply = self.start_service(*words[1:])
                elif words[0] == "STOP":
                    self.end_service(kill=False)
                    reply = "STOPPED"
                elif words[0] == "KILL":
                    self.end_service(kill=True)
                    reply = "KILLED"
                elif words[0] == "POSTGRES" and len(words) >= 2:
                    reply = self.start_postgres(raw.decode("utf-8").rstrip("\r\n")[9:])
                elif words[0] == "PGSTOP" and self.postgres is not None:
                    reply = self.postgres.stop()
                elif words[0] == "PGSTART" and self.postgres is not None:
                    reply = self.postgres.start()
                elif words[0] == "WORKBOOK" and len(words) >= 2:
                    reply = read_workbook(raw.decode("utf-8").rstrip("\r\n")[9:])
                elif words[0] == "SCRIPT" and len(words) >= 3:
                    script = base64.b64decode(words[1]).decode("utf-8")
                    path = raw.decode("utf-8").rstrip("\r\n").split(" ", 2)[2]
                    reply = run_script(script, path)
                elif words[0] == "LAYOUT" and len(words) >= 2:
                    reply = read_layout(raw.decode("utf-8").rstrip("\r\n")[7:])
                else:
                    reply = "FAILED"
                self.wfile.write((reply + "\n").encode("utf-8"))
                self.wfile.flush()
        finally:
            self.end_service(kill=True)
            if self.postgres is not None:
                self.postgres.remove()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=0, help="0 picks a free port")
    args = parser.parse_args()
    socketserver.ThreadingTCPServer.daemon_threads = True
    socketserver.ThreadingTCPServer.allow_reuse_address = True
    with socketserver.ThreadingTCPServer(("127.0.0.1", args.port), Connection) as server:
        print("PORT %d" % server.server_address[1], flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
