#!/usr/bin/python3
"""Soak run of the program on a simulated board (not part of the test run).

    bash scripts/isolated.sh /usr/bin/python3 bench/soak/soak.py build [--minutes 10]

Four VXI-11 clients (pyvisa-py) mix setting changes and queries, one USBTMC
host (ornav-sim usbtmc) queries, key and knob events arrive through
ornav-sim key, and the program's tick runs with the last state saved on every
change. Every 10 s the program's resident memory, open descriptors and
threads are sampled; at the end their first and last values, the queries
answered, the wrong replies (must be 0) and the error list are printed.

    bash scripts/isolated.sh /usr/bin/python3 bench/soak/soak.py build --walk [--minutes 30]

--walk runs the table walk instead (table_walk.py): one VXI-11 client walks
every record of the command table with valid, out-of-range and wrong values,
"*RST" and uploads in between, checking the error list after every record,
while a raw-socket client and a USB host query and the panel sends keys. A
build with ORNAV_SANITIZE also fails the run on any sanitizer report in the
program's output."""
import argparse, os, random, re, resource, signal, subprocess, sys, tempfile, threading, time

import pyvisa

ap = argparse.ArgumentParser()
ap.add_argument("build")
ap.add_argument("--minutes", type=float, default=10.0)
ap.add_argument("--walk", action="store_true", help="walk the whole command table")
args = ap.parse_args()
BIN = os.path.abspath(args.build)
SIM = BIN + "/tools/ornav-sim"

root = tempfile.mkdtemp(prefix="ornav-soak-")
subprocess.check_call([SIM, "--root", root, "init"])
os.makedirs(root + "/home/root", exist_ok=True)
with open(root + "/home/root/settings.ini", "w") as f:
    f.write("[General]\npowerUpValue=1\n")
log = root + "/program.log"
env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
env.pop("ORNAV_ROOT", None)
# A sanitizer build reports into the program's log; leaks at exit are not
# what the soak looks for.
env.setdefault("ASAN_OPTIONS", "detect_leaks=0:abort_on_error=1")
env.setdefault("UBSAN_OPTIONS", "print_stacktrace=1")
env.setdefault("TSAN_OPTIONS", "second_deadline_for_exit=0")
SANITIZER = re.compile(rb"ERROR: AddressSanitizer|runtime error:|WARNING: ThreadSanitizer|ERROR: LeakSanitizer")


def allow_core():
    # A crash leaves a core file in the root (the program runs there), for
    # gdb BUILD/ornav72 ROOT/core.
    try:
        resource.setrlimit(resource.RLIMIT_CORE, (resource.RLIM_INFINITY, resource.RLIM_INFINITY))
    except (ValueError, OSError):
        pass


prog = subprocess.Popen([BIN + "/ornav72", "--root", root], stdout=open(log, "wb"), stderr=subprocess.STDOUT, env=env,
                        cwd=root, preexec_fn=allow_core)
t0 = time.time()
while True:
    text = open(log, "rb").read()
    if b"vxi11_init ok!" in text and b"UI start-up done" in text:
        break
    if prog.poll() is not None or time.time() - t0 > 120:
        sys.exit("program did not start:\n" + text.decode(errors="replace")[-3000:])
    time.sleep(0.1)

end = time.time() + args.minutes * 60
lock = threading.Lock()
stats = {"answered": 0, "wrong": 0, "sent": 0, "client_errors": 0, "usbtmc": 0, "keys": 0, "raw": 0,
         "groups": 0, "passes": 0, "resets": 0, "uploads": 0}
wrong_samples = []


def count(key, n=1):
    with lock:
        stats[key] += n


def wrong(what):
    with lock:
        stats["wrong"] += 1
        if len(wrong_samples) < 10:
            wrong_samples.append(what)


IDN = None
CHECKS = {
    "*OPC?": re.compile(r"^1$"),
    "CHSEL?": re.compile(r"^[0-3]$"),  # the current channel, counted from 0
    "CHANnel1:SELect?": re.compile(r"^[01]$|^(ON|OFF)$"),
    "KEY:LOCK?": re.compile(r"^[0-9A-Za-z,]*$"),
    "*STB?": re.compile(r"^\d+$"),
    "*ESR?": re.compile(r"^\d+$"),
}


def vxi_client(n):
    global IDN
    rnd = random.Random(n)
    rm = pyvisa.ResourceManager("@py")
    inst = rm.open_resource("TCPIP::127.0.0.1::inst0::INSTR")
    inst.timeout = 20000
    while time.time() < end:
        try:
            if rnd.random() < 0.4:
                cmd = rnd.choice(["KEY:SINe", "KEY:SQUare", "KEY:RAMP", "KEY:CH%d" % rnd.randint(1, 4),
                                  "CHANnel%d:SELect" % rnd.randint(1, 4)])
                inst.write(cmd)
                count("sent")
                continue
            q = rnd.choice(["*IDN?", "*OPC?", "CHSEL?", "CHANnel1:SELect?", "KEY:LOCK?", "*STB?", "*ESR?"])
            r = inst.query(q).strip()
            count("answered")
            if q == "*IDN?":
                with lock:
                    if IDN is None:
                        IDN = r
                if r != IDN or r.count(",") != 3:
                    wrong("%s -> %r" % (q, r))
            elif not CHECKS[q].match(r):
                wrong("%s -> %r" % (q, r))
        except Exception as e:  # a timeout or a lost link
            count("client_errors")
            wrong("client %d: %s" % (n, e))
            print("client %d: %s" % (n, e), flush=True)
            time.sleep(1)
    # The resource manager of pyvisa-py is shared by the client threads:
    # closing it here would close the other clients' links under them.
    try:
        inst.close()
    except Exception as e:
        print("client %d: closing: %s" % (n, e), flush=True)


def usbtmc_host():
    while time.time() < end:
        r = subprocess.run([SIM, "--root", root, "usbtmc", "*IDN?"], capture_output=True, text=True)
        if r.returncode == 3:  # the port is busy with another host
            time.sleep(0.2)
            continue
        count("answered")
        count("usbtmc")
        with lock:
            idn = IDN
        if r.returncode != 0 or (idn is not None and r.stdout.strip() != idn):
            wrong("usbtmc *IDN? -> %r (rc %d)" % (r.stdout.strip(), r.returncode))
        time.sleep(0.3)


def panel():
    rnd = random.Random(99)
    while time.time() < end:
        # A waveform key pressed and released, then knob steps (up, down).
        for code in rnd.choice([["0x95", "0x15"], ["0x96", "0x16"], ["0xfa", "0x7a"], ["0xf5", "0x75"]]):
            subprocess.run([SIM, "--root", root, "key", code], capture_output=True)
            count("keys")
        time.sleep(0.5)


def sample():
    pid = prog.pid
    status = open("/proc/%d/status" % pid).read()
    rss = int(re.search(r"VmRSS:\s+(\d+)", status).group(1))
    threads = int(re.search(r"Threads:\s+(\d+)", status).group(1))
    fds = len(os.listdir("/proc/%d/fd" % pid))
    return rss, fds, threads


walk = None


def walk_client(fn, *a):
    try:
        fn(*a)
    except Exception as e:  # a timeout, a lost link, a refused connection
        count("client_errors")
        wrong("%s: %s" % (fn.__name__, e))
        print("%s: %s" % (fn.__name__, e), flush=True)


if args.walk:
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    import table_walk

    rows = table_walk.load_rows(BIN + "/tools/scpi-doc")
    walk = table_walk.Walk(rows, SIM, root, "VELTRIX Technologies,", stats, count, wrong, lambda: end)
    rm0 = pyvisa.ResourceManager("@py")
    walker_inst = rm0.open_resource("TCPIP::127.0.0.1::inst0::INSTR")
    walker_inst.timeout = 120000
    workers = [threading.Thread(target=walk_client, args=(walk.walker, walker_inst)),
               threading.Thread(target=walk_client, args=(walk.raw_client,)),
               threading.Thread(target=walk_client, args=(walk.usb_host,)), threading.Thread(target=panel)]
else:
    workers = [threading.Thread(target=vxi_client, args=(n,)) for n in range(4)]
    workers += [threading.Thread(target=usbtmc_host), threading.Thread(target=panel)]
for w in workers:
    w.start()
samples = [sample()]
print("t=0s rss=%d kB fds=%d threads=%d" % samples[0], flush=True)
crashed = None
while time.time() < end:
    time.sleep(min(10, max(0, end - time.time())))
    if prog.poll() is not None:
        crashed = "the program exited after %ds (status %s); its output: %s" % (time.time() - t0, prog.returncode, log)
        cores = [f for f in os.listdir(root) if f.startswith("core")]
        if cores:
            crashed += "; core file: %s" % os.path.join(root, cores[0])
        print(crashed, flush=True)
        end = time.time()  # the clients stop
        break
    samples.append(sample())
    print("t=%ds rss=%d kB fds=%d threads=%d" % ((int(time.time() - t0),) + samples[-1]), flush=True)
for w in workers:
    w.join(180)

errors = []
alive = prog.poll() is None
if alive:
    rm = pyvisa.ResourceManager("@py")
    inst = rm.open_resource("TCPIP::127.0.0.1::inst0::INSTR")
    inst.timeout = 10000
    for _ in range(40):
        e = inst.query("SYSTem:ERRor?").strip()
        if e.startswith("0,") or e.startswith("+0,"):
            break
        errors.append(e)
    inst.close()
if walk:
    try:
        walker_inst.close()
    except Exception as e:
        print("walker: closing: %s" % e, flush=True)
# The end comes in the middle of traffic: one client keeps querying and
# another waits in a read that gets no reply; the program must still end by
# itself with status 0.
stop_traffic = threading.Event()


def traffic(blocked):
    try:
        i = pyvisa.ResourceManager("@py").open_resource("TCPIP::127.0.0.1::inst0::INSTR")
        i.timeout = 20000
        if blocked:
            i.read()
        while not stop_traffic.is_set():
            i.query("*IDN?")
    except Exception:
        pass


if alive:
    for b in (False, True):
        threading.Thread(target=traffic, args=(b,), daemon=True).start()
    time.sleep(1)
prog.send_signal(signal.SIGTERM)
try:
    prog.wait(20)
except subprocess.TimeoutExpired:
    prog.kill()

print("duration %.1f min, samples %d" % ((time.time() - t0) / 60, len(samples)))
print("rss kB first %d last %d max %d" % (samples[0][0], samples[-1][0], max(s[0] for s in samples)))
print("fds first %d last %d max %d" % (samples[0][1], samples[-1][1], max(s[1] for s in samples)))
print("threads first %d last %d max %d" % (samples[0][2], samples[-1][2], max(s[2] for s in samples)))
print("commands sent %d, queries answered %d (usbtmc %d), key events %d" %
      (stats["sent"], stats["answered"], stats["usbtmc"], stats["keys"]))
print("wrong replies %d, client errors %d" % (stats["wrong"], stats["client_errors"]))
for w in wrong_samples:
    print("  wrong:", w)
print("error list (%d): %s" % (len(errors), "; ".join(errors) if errors else "empty"))
print("program still running at the end: %s" % alive)
if walk:
    print("table walk: %d of %d records, %d groups, %d passes, %d resets, %d uploads, raw socket %d answers" %
          (len(walk.covered), len(walk.rows), stats["groups"], stats["passes"], stats["resets"], stats["uploads"],
           stats["raw"]))
# SIGTERM ends the program through its normal exit (status 0); a crash on
# the way out (a destructor of a static object) or a thread that does not end
# shows in its status.
print("exit status after SIGTERM: %s" % prog.returncode)
stop_traffic.set()
clean_exit = prog.returncode == 0
reports = SANITIZER.findall(open(log, "rb").read())
print("sanitizer reports: %d%s" % (len(reports), " (see %s)" % log if reports else ""))
sys.exit(0 if stats["wrong"] == 0 and alive and clean_exit and not reports else 1)
