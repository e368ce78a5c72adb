#!/usr/bin/python3
"""A volume that hangs: its root lists a.txt, stuck.txt, stuck.f4u and the folder "hang". Listing
"hang", and looking up anything in it or any name starting with "stuck", never returns.
usage: hungfs.py MOUNTPOINT (stays in the foreground until killed)"""
import errno, stat, sys, threading, time
from fusepy import FUSE, FuseOSError, Operations

class Hung(Operations):
    def getattr(self, path, fh=None):
        if path.startswith("/stuck") or path.startswith("/hang/"):
            threading.Event().wait()  # forever
        now = time.time()
        if path in ("/", "/hang"):
            return dict(st_mode=stat.S_IFDIR | 0o755, st_nlink=2, st_ctime=now, st_mtime=now, st_atime=now)
        if path == "/a.txt":
            return dict(st_mode=stat.S_IFREG | 0o644, st_nlink=1, st_size=0, st_ctime=now, st_mtime=now, st_atime=now)
        raise FuseOSError(errno.ENOENT)

    def readdir(self, path, fh):
        if path == "/hang":
            threading.Event().wait()
        return [".", "..", "a.txt", "stuck.txt", "stuck.f4u", "hang"]

FUSE(Hung(), sys.argv[1], foreground=True, nothreads=False)
