"""One shard of a test run: a Wine prefix copied from the session's booted
prefix, an X display and a persistent wineserver of its own. Tests in one
shard run one at a time; a shard whose server has died starts a new one."""

import os
import re
import resource
import shutil
import signal
import subprocess
import time

# Files that neither Wine nor the tests write: the copies share them with the
# session's prefix as hard links, which makes a copy of the 700 MB prefix take
# a fraction of a second. Everything else (the registry, user folders,
# ini files) is copied.
SHARED_SUFFIXES = (".dll", ".exe", ".drv", ".sys", ".ocx", ".cpl", ".acm", ".tlb", ".ax",
                   ".ds", ".nls", ".ttf", ".fon", ".mui", ".vxd", ".com", ".msstyles")

DETACHED = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL)


def copy_prefix(source, target):
    if os.path.lexists(target):
        shutil.rmtree(target)
    for folder, dirs, files in os.walk(source):
        into = os.path.join(target, os.path.relpath(folder, source))
        os.makedirs(into, exist_ok=True)
        for name in dirs + files:
            path = os.path.join(folder, name)
            copy = os.path.join(into, name)
            if os.path.islink(path):
                os.symlink(os.readlink(path), copy)
            elif name in files:
                if name.lower().endswith(SHARED_SUFFIXES):
                    os.link(path, copy)
                else:
                    shutil.copy2(path, copy)
        # Symbolic links to folders (dosdevices) are not walked into.
        dirs[:] = [d for d in dirs if not os.path.islink(os.path.join(folder, d))]


def processes_in_group(group):
    """Process ids of a process group that still exist (zombies excluded)."""
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as f:
                stat = f.read()
        except OSError:
            continue
        fields = stat[stat.rfind(")") + 2:].split()
        if fields[0] != "Z" and int(fields[2]) == group:
            found.append(int(entry))
    return found


def process_name(pid):
    try:
        with open("/proc/%d/cmdline" % pid, "rb") as f:
            return f.read().split(b"\0")[0].decode(errors="replace") or str(pid)
    except OSError:
        return str(pid)


def kill_group(group):
    try:
        os.killpg(group, signal.SIGKILL)
    except OSError:
        pass


def server_preexec():
    """Lets the server write a core file, in a session of its own."""
    resource.setrlimit(resource.RLIMIT_CORE, (resource.RLIM_INFINITY, resource.RLIM_INFINITY))
    os.setsid()


class Shard:
    def __init__(self, index, build, base_prefix, wine, wineserver, logs):
        self.index = index
        self.folder = os.path.join(build, "shards", str(index))
        self.prefix = os.path.join(self.folder, "wine-prefix")
        # The tests' current folder: files a test writes by name alone (every
        # browser window writes "brc.ico") must not meet another shard's
        # writing of the same file, which has crashed the loading process.
        self.work = os.path.join(self.folder, "work")
        self.base_prefix = base_prefix
        self.wine = wine
        self.wineserver = wineserver
        self.logs = logs
        keeper = os.path.join(build, "tests", "desktop_keeper.exe")
        self.keeper = keeper if os.path.exists(keeper) else None
        self.display = None
        self.xvfb = None
        self.server = None
        self.keeper_process = None
        self.crashes = []
        self.fixtures = set()

    def env(self):
        env = dict(os.environ)
        env["WINEPREFIX"] = self.prefix
        env["DISPLAY"] = ":%d" % self.display
        env.pop("XAUTHORITY", None)
        return env

    def start(self):
        copy_prefix(self.base_prefix, self.prefix)
        shutil.rmtree(self.work, ignore_errors=True)
        os.makedirs(self.work)
        self.start_display()
        self.start_server()

    def start_display(self):
        read, write = os.pipe()
        # Without a window manager, as in the session's own display.
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1920x1200x24", "-nolisten", "tcp"],
            pass_fds=(write,), start_new_session=True, **DETACHED)
        os.close(write)
        with os.fdopen(read) as f:
            number = f.readline().strip()
        if not number.isdigit():
            raise RuntimeError("shard %d: Xvfb did not start" % self.index)
        self.display = int(number)

    def server_folder(self):
        """Where Debian's Wine keeps the server's socket, lock and core files."""
        try:
            with open(os.path.join(self.prefix, "wineserver")) as f:
                parent = os.path.join("/tmp", f.read().strip())
        except OSError:
            return None
        st = os.stat(self.prefix)
        return os.path.join(parent, "server-%x-%x" % (st.st_dev, st.st_ino))

    def start_server(self):
        # In the foreground, as this shard's own child: its end is seen at
        # once, with the signal that ended it, and it may leave a core file.
        self.server = subprocess.Popen([self.wineserver, "-f", "-p"], env=self.env(),
                                       preexec_fn=server_preexec, **DETACHED)
        socket = self.server_folder()
        deadline = time.monotonic() + 20
        while socket and not os.path.exists(os.path.join(socket, "socket")):
            if time.monotonic() > deadline or self.server.poll() is not None:
                raise RuntimeError("shard %d: wineserver did not start" % self.index)
            time.sleep(0.02)
        subprocess.run([self.wine, "wineboot"], env=self.env(), timeout=120, **DETACHED)
        if self.keeper:
            self.keeper_process = subprocess.Popen([self.wine, self.keeper], env=self.env(),
                                                   start_new_session=True, **DETACHED)
        self.fixtures = set()

    def server_alive(self):
        return self.server is not None and self.server.poll() is None

    def after_server_death(self):
        """Keeps what the dead server left (its signal, a core file) and starts a
        new one. Returns a line for the summary."""
        code = self.server.returncode
        how = ("signal %s" % signal.Signals(-code).name) if code < 0 else "exit code %d" % code
        kept = []
        folder = self.server_folder()
        if folder and os.path.isdir(folder):
            for name in os.listdir(folder):
                if re.match(r"core(\.\d+)?$", name):
                    target = os.path.join(self.logs, "wineserver-shard%d-%d.%s" % (
                        self.index, len(self.crashes) + 1, name))
                    shutil.move(os.path.join(folder, name), target)
                    kept.append(target)
        # A client may have started a server of its own meanwhile (Debian's
        # wrapper lets one exit with its last process): end it first.
        self.end_keeper()
        subprocess.run([self.wineserver, "-k"], env=self.env(), timeout=30, **DETACHED)
        line = "shard %d: the wineserver ended with %s; core file: %s" % (
            self.index, how, ", ".join(kept) if kept else "none written")
        self.crashes.append(line)
        self.start_server()
        return line

    def end_keeper(self):
        """Ends the desktop keeper before its server: a keeper still starting
        when its server stops would start a server of its own and live on."""
        if self.keeper_process is not None:
            self.keeper_process.kill()
            self.keeper_process.wait()
            self.keeper_process = None

    def stop(self):
        self.end_keeper()
        if self.server is not None:
            subprocess.run([self.wineserver, "-k"], env=self.env(), timeout=30, **DETACHED)
            try:
                self.server.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.server.kill()
        if self.xvfb is not None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
