#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrix developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Anonymous FTP service on loopback over one folder, for tests and the demo.

Prints "PORT <n>" once it listens, then serves until killed. Anonymous users
may list, get, put, replace, rename and delete, as the exchange folder needs,
unless an option takes some of that away to behave like other services.
"""
import argparse
import errno
import logging
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


class NoRenameOverFS(AbstractedFS):
    def rename(self, src, dst):
        if os.path.exists(dst):
            raise OSError(errno.EEXIST, "File exists")
        super().rename(src, dst)


class WriteOnceFS(AbstractedFS):
    """Stores new files only: an existing file is never opened for writing."""

    def open(self, filename, mode):
        if ("w" in mode or "a" in mode) and os.path.lexists(filename):
            raise PermissionError(errno.EACCES, "File exists")
        return super().open(filename, mode)


class LoginReportingHandler(FTPHandler):
    """Prints "LOGIN" for every session that logs in, for tests that count them."""

    def on_login(self, username):
        print("LOGIN", flush=True)


class UnderReportedSizeFS(AbstractedFS):
    """Answers SIZE with half the real size, as a broken service might."""

    def getsize(self, path):
        return super().getsize(path) // 2


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dir", required=True, help="home folder of the service")
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0, help="0 picks a free port")
    parser.add_argument("--rate", type=int, default=0,
                        help="bytes per second for each transfer, 0 for no limit")
    parser.add_argument("--no-rename-over", action="store_true",
                        help="refuse to rename onto an existing file, as some "
                             "Windows services do")
    parser.add_argument("--no-rename", action="store_true",
                        help="grant no rename at all (permissions without 'f')")
    parser.add_argument("--write-once", action="store_true",
                        help="store new files only: no overwrite, rename or delete")
    parser.add_argument("--size-under-reported", action="store_true",
                        help="answer SIZE with half the real size")
    parser.add_argument("--report-logins", action="store_true",
                        help='print "LOGIN" for every session that logs in')
    args = parser.parse_args()

    logging.basicConfig(level=logging.WARNING)
    perm = "elradfmwMT"
    if args.no_rename or args.write_once:
        perm = perm.replace("f", "")
    if args.write_once:
        perm = perm.replace("d", "").replace("a", "")
    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(args.dir, perm=perm)
    handler = LoginReportingHandler if args.report_logins else FTPHandler
    handler.authorizer = authorizer
    if args.no_rename_over:
        handler.abstracted_fs = NoRenameOverFS
    if args.write_once:
        handler.abstracted_fs = WriteOnceFS
    if args.size_under_reported:
        handler.abstracted_fs = UnderReportedSizeFS
    if args.rate > 0:
        dtp = ThrottledDTPHandler
        dtp.read_limit = args.rate
        dtp.write_limit = args.rate
        handler.dtp_handler = dtp
    server = FTPServer((args.host, args.port), handler)
    server.max_cons = 512
    server.max_cons_per_ip = 0
    print("PORT %d" % server.address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.close_all()
    return 0


if __name__ == "__main__":
    sys.exit(main())
