#!/usr/bin/python3
"""A slow volume: shows the folder SOURCE at MOUNTPOINT, read-only; every listing of a folder takes
DELAY seconds (names in byte order), and the first read of every opened file READ_DELAY seconds, as
on a slow network share. Stays in the foreground until killed.
With "hang", a volume that hangs as well: looking up a name that starts with "stuck" or anything in a
folder "hang", and listing a folder "hang", never return; it ends by itself after two minutes (a test
that crashed while its threads wait here cannot end before the volume does).
usage: slowfs.py SOURCE MOUNTPOINT [DELAY [READ_DELAY [hang]]]   (Debian: python3-fusepy, fuse3)"""
import errno, os, sys, threading, time
from fusepy import FUSE, FuseOSError, Operations


class Slow(Operations):
    def __init__(self, source, delay, read_delay, hang):
        self.source, self.delay, self.read_delay, self.hang = source, delay, read_delay, hang
        self.waited, self.guard = set(), threading.Lock()

    def _path(self, path):
        return os.path.join(self.source, path.lstrip("/"))

    def getattr(self, path, fh=None):
        if self.hang and (os.path.basename(path).startswith("stuck") or "/hang/" in path):
            threading.Event().wait()  # forever
        try:
            st = os.lstat(self._path(path))
        except OSError as e:
            raise FuseOSError(e.errno)
        return {k: getattr(st, k) for k in ("st_mode", "st_nlink", "st_size", "st_uid", "st_gid",
                                             "st_atime", "st_mtime", "st_ctime")}

    def readdir(self, path, fh):
        if self.hang and path.endswith("/hang"):
            threading.Event().wait()
        time.sleep(self.delay)
        try:
            return [".", ".."] + sorted(os.listdir(self._path(path)))  # the same order on every machine
        except OSError as e:
            raise FuseOSError(e.errno)

    def readlink(self, path):
        return os.readlink(self._path(path))

    def open(self, path, flags):
        try:
            return os.open(self._path(path), os.O_RDONLY)
        except OSError as e:
            raise FuseOSError(e.errno)

    def read(self, path, size, offset, fh):
        with self.guard:
            first = fh not in self.waited
            self.waited.add(fh)
        if first:
            time.sleep(self.read_delay)
        return os.pread(fh, size, offset)

    def release(self, path, fh):
        with self.guard:
            self.waited.discard(fh)
        os.close(fh)


if __name__ == "__main__":
    delay = float(sys.argv[3]) if len(sys.argv) > 3 else 0.2
    read_delay = float(sys.argv[4]) if len(sys.argv) > 4 else 0.0
    hang = sys.argv[5:6] == ["hang"]
    if hang:
        threading.Timer(120, lambda: os._exit(0)).start()
    FUSE(Slow(os.path.abspath(sys.argv[1]), delay, read_delay, hang), sys.argv[2], foreground=True,
         nothreads=False, ro=True)
