#!/usr/bin/python3
"""A volume that hangs: its root lists a.txt, stuck.txt, stuck.f4u and the folders "hang" and "deep",
which holds a.txt and a folder "hang" too, and whose listing is slow (10 ms). Listing a folder "hang",
and looking up anything in the root's "hang" or any name starting with "stuck", never returns.
usage: hungfs.py MOUNTPOINT (stays in the foreground until killed, or for two minutes at most: a test
that crashed while its threads wait here cannot end before the volume does)"""
import errno, os, stat, sys, threading, time
from fusepy import FUSE, FuseOSError, Operations

class Hung(Operations):
    def getattr(self, path, fh=None):
        if path.startswith("/stuck") or path.startswith("/hang/"):
            threading.Event().wait()  # forever
        now = time.time()
        if path in ("/", "/hang", "/deep", "/deep/hang"):
            return dict(st_mode=stat.S_IFDIR | 0o755, st_nlink=2, st_ctime=now, st_mtime=now, st_atime=now)
        if path in ("/a.txt", "/deep/a.txt"):
            return dict(st_mode=stat.S_IFREG | 0o644, st_nlink=1, st_size=0, st_ctime=now, st_mtime=now, st_atime=now)
        raise FuseOSError(errno.ENOENT)

    def readdir(self, path, fh):
        if path.endswith("/hang"):
            threading.Event().wait()
        if path == "/deep":
            time.sleep(0.01)
            return [".", "..", "a.txt", "hang"]
        return [".", "..", "a.txt", "stuck.txt", "stuck.f4u", "hang", "deep"]

threading.Timer(120, lambda: os._exit(0)).start()
FUSE(Hung(), sys.argv[1], foreground=True, nothreads=False)
