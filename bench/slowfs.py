#!/usr/bin/python3
"""A slow volume: shows the folder SOURCE at MOUNTPOINT, read-only, and every listing of a folder
takes DELAY seconds, as on a slow network share. Stays in the foreground until killed.
usage: slowfs.py SOURCE MOUNTPOINT [DELAY]   (Debian: python3-fusepy, fuse3)"""
import errno, os, sys, time
from fusepy import FUSE, FuseOSError, Operations


class Slow(Operations):
    def __init__(self, source, delay):
        self.source, self.delay = source, delay

    def _path(self, path):
        return os.path.join(self.source, path.lstrip("/"))

    def getattr(self, path, fh=None):
        try:
            st = os.lstat(self._path(path))
        except OSError as e:
            raise FuseOSError(e.errno)
        return {k: getattr(st, k) for k in ("st_mode", "st_nlink", "st_size", "st_uid", "st_gid",
                                             "st_atime", "st_mtime", "st_ctime")}

    def readdir(self, path, fh):
        time.sleep(self.delay)
        try:
            return [".", ".."] + os.listdir(self._path(path))
        except OSError as e:
            raise FuseOSError(e.errno)

    def readlink(self, path):
        return os.readlink(self._path(path))


if __name__ == "__main__":
    delay = float(sys.argv[3]) if len(sys.argv) > 3 else 0.2
    FUSE(Slow(os.path.abspath(sys.argv[1]), delay), sys.argv[2], foreground=True, nothreads=False, ro=True)
