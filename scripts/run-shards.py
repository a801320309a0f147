#!/usr/bin/env python3
"""Runs every test that CTest knows of a build in shards: each shard has a Wine
prefix, X display and wineserver of its own and runs one test at a time, so
that parallel tests share no server, registry or window station.

    run-shards.py BUILD [--shards N] [-R REGEX]

Called inside the Wine session, whose prefix the shards copy, and under whose
wineserver the test programs list their tests.

Tests are handed out longest first (by their times in the last run, else by
tests/expected-test-times.json; the tests of one resource lock together, by
their sum) to whichever shard is free. A test whose shard's wineserver died
under it runs once more, on a fresh server; so does a test that ran out of
time. Fixtures (FIXTURES_SETUP/CLEANUP) are set up in each shard that runs a
test needing them; tests holding the same RESOURCE_LOCK never run at the same
time. Tests run in a working folder of their shard, not in their
WORKING_DIRECTORY."""

import argparse
import json
import os
import re
import signal
import subprocess
import sys
import threading
import time

from shard import Shard, kill_group, process_name, processes_in_group

# A test's processes have this long after it ends to end as well.
LINGER_SECONDS = 10
DEFAULT_TIMEOUT = 180
# Results that say nothing about the test itself: it runs once more.
RUN_AGAIN = {
    "server died": "its wineserver died",
    "timed out": "its time-out",
    "did not start": "it ended before its first line",
}
UNKNOWN_SECONDS = 5.0


class Test:
    def __init__(self, entry, order):
        self.name = entry["name"]
        self.command = entry.get("command") or []
        self.order = order
        props = {p["name"]: p["value"] for p in entry.get("properties", [])}
        self.props = props
        self.timeout = float(props.get("TIMEOUT") or DEFAULT_TIMEOUT)
        self.setup_of = props.get("FIXTURES_SETUP", [])
        self.cleanup_of = props.get("FIXTURES_CLEANUP", [])
        self.requires = props.get("FIXTURES_REQUIRED", [])
        self.locks = sorted(props.get("RESOURCE_LOCK", []))
        self.disabled = bool(props.get("DISABLED"))
        self.environment = props.get("ENVIRONMENT", [])
        self.runs = []  # (result, seconds, note) per run
        self.expected = 0.0


def slug(name):
    return re.sub(r"[^A-Za-z0-9_.-]+", "_", name)[:150]


class Run:
    def __init__(self, build, logs, times):
        self.build = build
        self.logs = logs
        self.times = times
        self.lock = threading.Condition()
        self.resource_locks = set()
        self.fixture_setups = {}
        self.fixture_cleanups = {}
        self.queue = []
        self.tests = []
        self.total = 0
        self.done = 0
        self.listed = threading.Event()
        self.output_lock = threading.Lock()

    def load(self, tests):
        for test in tests:
            for fixture in test.setup_of:
                self.fixture_setups.setdefault(fixture, []).append(test)
            for fixture in test.cleanup_of:
                self.fixture_cleanups.setdefault(fixture, []).append(test)
            if not (test.setup_of or test.cleanup_of or test.disabled):
                test.expected = self.times.get(test.name, UNKNOWN_SECONDS)
                self.queue.append(test)
        # The tests of one resource lock run one after another whatever the
        # shards: such a chain starts first, by its whole time, so that it
        # does not run on alone at the end.
        chains = {}
        for test in self.queue:
            for lock in test.locks:
                chains[lock] = chains.get(lock, 0.0) + test.expected
        for test in self.queue:
            test.priority = max([test.expected] + [chains[lock] for lock in test.locks])
        self.queue.sort(key=lambda t: (-t.priority, -t.expected, t.order))
        self.tests = list(self.queue)
        self.total = len(self.queue)
        self.listed.set()

    # --- the queue -------------------------------------------------------
    def take(self):
        """The next test whose resource locks are free, holding them; None
        when the queue is empty."""
        with self.lock:
            while self.queue:
                for i, test in enumerate(self.queue):
                    if not self.resource_locks.intersection(test.locks):
                        self.resource_locks.update(test.locks)
                        return self.queue.pop(i)
                # Waits for a test holding a lock to end.
                self.lock.wait()
            return None

    def give_back(self, test, front):
        with self.lock:
            self.resource_locks.difference_update(test.locks)
            if front:
                self.queue.insert(0, test)
            self.lock.notify_all()

    # --- one test --------------------------------------------------------
    def execute(self, shard, test, note=""):
        """Runs the test's command in the shard; returns its result, its
        seconds and the file that holds its output."""
        env = shard.env()
        for item in test.environment:
            key, _, value = item.partition("=")
            env[key] = value
        log_path = os.path.join(self.logs, slug(test.name) + ".log")
        started = time.monotonic()
        with open(log_path, "ab") as log:
            log.write(("=== %s%s (shard %d)\n" % (test.name, note, shard.index)).encode())
            log.flush()
            header_end = os.path.getsize(log_path)
            process = subprocess.Popen(test.command, cwd=shard.work, env=env,
                                       stdin=subprocess.DEVNULL, stdout=log,
                                       stderr=subprocess.STDOUT, start_new_session=True)
            result = self.wait(shard, test, process)
            seconds = time.monotonic() - started
            if result == "done":
                result = self.judge(test, process.returncode, log_path)
                if result == "failed" and os.path.getsize(log_path) == header_end:
                    # Now and then a Wine process ends at once, before the
                    # program's first line, with nothing to say why; the
                    # test itself never ran.
                    log.write(("*** ended with code %d before printing anything\n" %
                               process.returncode).encode())
                    result = "did not start"
            left = self.left_behind(process.pid)
            if left:
                log.write(("\n*** processes still running %d s after the test ended: %s\n" % (
                    LINGER_SECONDS, ", ".join(left))).encode())
                if result == "passed":
                    result = "failed"
        return result, seconds, log_path

    def wait(self, shard, test, process):
        deadline = time.monotonic() + test.timeout
        while True:
            try:
                process.wait(timeout=0.1)
                return "done" if shard.server_alive() else "server died"
            except subprocess.TimeoutExpired:
                pass
            if not shard.server_alive():
                kill_group(process.pid)
                process.wait()
                return "server died"
            if time.monotonic() > deadline:
                kill_group(process.pid)
                process.wait()
                return "timed out"

    def judge(self, test, code, log_path):
        with open(log_path, "rb") as f:
            output = f.read().decode(errors="replace")
        for pattern in test.props.get("SKIP_REGULAR_EXPRESSION", []):
            if re.search(pattern, output):
                return "skipped"
        passed = code == 0
        if test.props.get("PASS_REGULAR_EXPRESSION"):
            passed = any(re.search(p, output) for p in test.props["PASS_REGULAR_EXPRESSION"])
        if any(re.search(p, output) for p in test.props.get("FAIL_REGULAR_EXPRESSION", [])):
            passed = False
        if test.props.get("WILL_FAIL"):
            passed = not passed
        return "passed" if passed else "failed"

    def left_behind(self, group):
        """Waits for what the test started to end; ends and names what did not."""
        deadline = time.monotonic() + LINGER_SECONDS
        while processes_in_group(group):
            if time.monotonic() > deadline:
                names = sorted({process_name(p) for p in processes_in_group(group)})
                kill_group(group)
                return names
            time.sleep(0.05)
        return []

    # --- a shard's life --------------------------------------------------
    def shard_main(self, shard):
        started = time.monotonic()
        try:
            try:
                shard.start()
            except Exception as error:  # noqa: BLE001 - reported, the other shards go on
                self.say("shard %d could not start: %s" % (shard.index, error))
                return
            shard.setup_seconds = time.monotonic() - started
            self.listed.wait()
            while True:
                test = self.take()
                if test is None:
                    break
                self.run_in(shard, test)
            self.cleanup_fixtures(shard)
        finally:
            shard.stop()

    def run_in(self, shard, test):
        for fixture in test.requires:
            if fixture not in shard.fixtures and not self.setup_fixture(shard, fixture):
                test.runs.append(("failed", 0.0, "fixture %s could not be set up" % fixture))
                self.finish(test, shard)
                return
        note = ""
        if test.runs and test.runs[-1][0] in RUN_AGAIN:
            note = " (run again after %s)" % RUN_AGAIN[test.runs[-1][0]]
        result, seconds, log = self.execute(shard, test, note)
        test.runs.append((result, seconds, log))
        if result == "server died":
            self.say(shard.after_server_death() + "; %s runs again" % test.name)
        again = result in RUN_AGAIN and len(test.runs) < 2
        if again:
            self.give_back(test, front=True)
            return
        self.finish(test, shard)

    def finish(self, test, shard):
        result, seconds, _ = test.runs[-1]
        with self.lock:
            self.resource_locks.difference_update(test.locks)
            self.done += 1
            count = self.done
            self.lock.notify_all()
        extra = " (run %d)" % len(test.runs) if len(test.runs) > 1 else ""
        self.say("%3d/%d %-7s %6.2f s  [%d] %s%s" % (
            count, self.total, result.capitalize(), seconds, shard.index, test.name, extra))

    def setup_fixture(self, shard, fixture):
        for setup in self.fixture_setups.get(fixture, []):
            result, _, log = self.execute(shard, setup)
            if result == "server died":
                self.say(shard.after_server_death() + "; %s runs again" % setup.name)
                result, _, log = self.execute(shard, setup, " (run again after its wineserver died)")
            if result != "passed":
                self.say("shard %d: %s %s, see %s" % (shard.index, setup.name, result, log))
                return False
        shard.fixtures.add(fixture)
        return True

    def cleanup_fixtures(self, shard):
        for fixture in sorted(shard.fixtures):
            for cleanup in self.fixture_cleanups.get(fixture, []):
                self.execute(shard, cleanup)

    def say(self, line):
        with self.output_lock:
            print(line, flush=True)


def load_times(path):
    try:
        with open(path) as f:
            return json.load(f)
    except (OSError, ValueError):
        return {}


# The long tests' usual times, for a build that has not run its tests yet (a
# fresh clone, as in CI): without them the longest would start last.
EXPECTED_TIMES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                              "expected-test-times.json")


def summary(tests, wall, setup_seconds, shards):
    failed = [t for t in tests if t.runs and t.runs[-1][0] != "passed" and t.runs[-1][0] != "skipped"]
    skipped = [t for t in tests if t.runs and t.runs[-1][0] == "skipped"]
    again = [t for t in tests if len(t.runs) > 1]
    for test in failed:
        print("\n----- %s: %s; its output (%s):" % (test.name, test.runs[-1][0], test.runs[-1][2]))
        try:
            with open(test.runs[-1][2], "rb") as f:
                lines = f.read().decode(errors="replace").splitlines()
            print("\n".join(lines[-60:]))
        except OSError:
            pass
    print("\n%d tests: %d passed, %d failed, %d skipped" % (
        len(tests), len(tests) - len(failed) - len(skipped), len(failed), len(skipped)))
    for test in again:
        print("  run again: %s (%s, then %s)" % (
            test.name, test.runs[0][0], test.runs[-1][0]))
    for shard in shards:
        for line in shard.crashes:
            print("  " + line)
    for test in failed:
        print("  FAILED: %s" % test.name)
    timed = sorted(tests, key=lambda t: -sum(r[1] for r in t.runs))
    print("Slowest ten:")
    for test in timed[:10]:
        print("  %7.2f s  %s" % (sum(r[1] for r in test.runs), test.name))
    print("Tests: %.1f s wall time in %d shards (the slowest shard took %.1f s to set up)" % (
        wall, len(shards), setup_seconds))
    return 1 if failed else 0


def list_tests(build, regex):
    """The tests CTest knows, listed by the test programs themselves, which
    run under the session's own wineserver meanwhile."""
    listing = subprocess.run(["ctest", "--test-dir", build, "--show-only=json-v1"],
                             stdin=subprocess.DEVNULL, stdout=subprocess.PIPE)
    if listing.returncode != 0:
        return None
    entries = json.loads(listing.stdout)["tests"]
    tests = [Test(e, i) for i, e in enumerate(entries)]
    if regex:
        tests = [t for t in tests if re.search(regex, t.name) or t.setup_of or t.cleanup_of]
    return tests


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--shards", type=int, default=os.cpu_count() or 2)
    parser.add_argument("-R", dest="regex")
    options = parser.parse_args()
    build = os.path.abspath(options.build)
    started = time.monotonic()

    logs = os.path.join(build, "test-logs")
    os.makedirs(logs, exist_ok=True)
    for name in os.listdir(logs):
        os.remove(os.path.join(logs, name))
    times_path = os.path.join(build, "test-times.json")
    times = load_times(times_path)
    run = Run(build, logs, {**load_times(EXPECTED_TIMES), **times})

    # The shards copy the prefix as it stands on disk and boot while the
    # tests are listed.
    shards = [Shard(i + 1, build, os.environ["WINEPREFIX"], os.environ["BRC_WINE"],
                    os.environ["BRC_WINESERVER"], logs) for i in range(max(1, options.shards))]
    # Stopped from outside: the shards' servers, displays and keepers run in
    # sessions of their own and would outlive this process.
    def stop_shards(signum, _frame):
        for shard in shards:
            shard.stop()
        os._exit(128 + signum)

    signal.signal(signal.SIGTERM, stop_shards)
    signal.signal(signal.SIGINT, stop_shards)
    threads = [threading.Thread(target=run.shard_main, args=(s,)) for s in shards]
    for thread in threads:
        thread.start()
    tests = None
    try:
        tests = list_tests(build, options.regex)
    finally:
        # The shards wait for the list, even for an empty one.
        run.load(tests or [])
    for thread in threads:
        thread.join()
    wall = time.monotonic() - started
    if tests is None:
        print("run-shards: ctest could not list the tests", file=sys.stderr)
        return 1
    setup_seconds = max((getattr(s, "setup_seconds", 0.0) for s in shards), default=0.0)

    for test in run.tests:
        if test.runs and test.runs[-1][0] == "passed":
            times[test.name] = round(test.runs[-1][1], 2)
    with open(times_path, "w") as f:
        json.dump(times, f, indent=0, sort_keys=True)
    for test in run.tests:
        if not test.runs:
            test.runs.append(("not run", 0.0, ""))
    return summary(run.tests, wall, setup_seconds, shards)


if __name__ == "__main__":
    sys.exit(main())
