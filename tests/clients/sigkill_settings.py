#!/usr/bin/python3
"""Kills the running program with SIGKILL at random moments of a stream of
remote setting changes (waveform keys over VXI-11 with pyvisa-py) and starts
it again on the same simulated board root each time. After every kill the
last state on disk (the EEPROM, or its shadow file when the EEPROM copy was
cut in the middle) must pass the record's checks and be one of the states the
stream went through, and the program must start from it.

Usage: sigkill_settings.py BUILD_DIR [ROUNDS] [SEED]   (run in a private
network namespace: the program registers with the port mapper)."""
import os, random, shutil, signal, struct, subprocess, sys, tempfile, threading, time

import pyvisa

BIN = sys.argv[1]
ROUNDS = int(sys.argv[2]) if len(sys.argv) > 2 else 50
SEED = int(sys.argv[3]) if len(sys.argv) > 3 else 28
EEPROM = "/sys/devices/platform/ocp/44e0b000.i2c/i2c-0/0-0050/eeprom"
SHADOW = "/home/root/Param_LastState"
SIZE = 4536
WAVES = ["KEY:SINe", "KEY:SQUare", "KEY:RAMP"]


def crc_table():
    tab = []
    for i in range(256):
        crc, c = 0, i
        for _ in range(8):
            crc = ((crc >> 1) ^ 0x0A01) if ((crc ^ c) & 1) else (crc >> 1)
            c >>= 1
        tab.append(crc)
    return tab


TAB = crc_table()


def valid(rec):
    if len(rec) != SIZE or rec[4:13] != b"ORNAV96T\0":
        return False
    crc = 0
    for b in rec[4:]:
        crc = (crc >> 8) ^ TAB[(crc ^ b) & 0xFF]
    return struct.unpack("<I", rec[:4])[0] == crc


def read(root, path, n=None):
    try:
        with open(root + path, "rb") as f:
            return f.read() if n is None else f.read(n)
    except OSError:
        return b""


def last_state(root):
    e = read(root, EEPROM, SIZE)
    if valid(e):
        return e
    s = read(root, SHADOW)
    return s if valid(s) else None


def start(root, log):
    out = open(log, "wb")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    env.pop("ORNAV_ROOT", None)
    p = subprocess.Popen([BIN + "/ornav72", "--root", root], stdout=out, stderr=subprocess.STDOUT, env=env)
    t0 = time.time()
    while time.time() - t0 < 30:
        text = open(log, "rb").read()
        if b"vxi11_init ok!" in text and b"UI start-up done" in text:
            return p
        if p.poll() is not None:
            break
        time.sleep(0.05)
    sys.exit("program did not start:\n" + open(log, "rb").read().decode(errors="replace")[-3000:])


def client():
    rm = pyvisa.ResourceManager("@py")
    for _ in range(50):
        try:
            i = rm.open_resource("TCPIP::127.0.0.1::inst0::INSTR")
            i.timeout = 5000
            return rm, i
        except Exception:
            time.sleep(0.1)
    sys.exit("no VXI-11 link")


def settle(root, wave):
    """Sends one waveform key and waits until the EEPROM holds the state."""
    rm, i = client()
    i.write(wave)
    i.query("*OPC?")
    i.close()
    rm.close()
    t0 = time.time()
    prev = None
    while time.time() - t0 < 20:
        e = read(root, EEPROM, SIZE)
        if valid(e) and e == prev:
            return e
        prev = e
        time.sleep(0.7)
    sys.exit("the last state never settled after " + wave)


def main():
    random.seed(SEED)
    root = tempfile.mkdtemp(prefix="ornav-kill-")
    subprocess.check_call([BIN + "/tools/ornav-sim", "--root", root, "init"])
    os.makedirs(root + "/home/root", exist_ok=True)
    with open(root + "/home/root/settings.ini", "w") as f:
        f.write("[General]\npowerUpValue=1\n")
    log = root + "/program.log"

    # The states the stream can pass through, learnt first.
    p = start(root, log)
    states = {settle(root, "KEY:CH1")}
    for w in WAVES + WAVES:
        states.add(settle(root, w))
    p.send_signal(signal.SIGKILL)
    p.wait()

    kills_mid_save = 0
    for r in range(ROUNDS):
        p = start(root, log)
        text = open(log, "rb").read()
        if b"load sys paramer error" in text:
            sys.exit("round %d: the last state was refused at start-up" % r)
        loaded = read(root, EEPROM, SIZE)
        if loaded not in states:
            sys.exit("round %d: the program started from a state the stream never had" % r)
        stop = threading.Event()

        def stream():
            try:
                rm, i = client()
                while not stop.is_set():
                    i.write(random.choice(WAVES))
                    i.query("*OPC?")
            except Exception:
                pass  # the program went away under the client

        def watch():
            # Every consistent copy the tick leaves on disk is a state the
            # stream passed through (the learning above may miss some).
            while not stop.is_set():
                e = read(root, EEPROM, SIZE)
                if valid(e):
                    states.add(e)
                time.sleep(0.01)

        t = threading.Thread(target=stream, daemon=True)
        w = threading.Thread(target=watch, daemon=True)
        t.start()
        w.start()
        time.sleep(random.uniform(0.2, 2.5))
        p.send_signal(signal.SIGKILL)
        p.wait()
        stop.set()
        t.join(10)
        w.join(10)
        if not valid(read(root, EEPROM, SIZE)):
            kills_mid_save += 1
        st = last_state(root)
        if st is None:
            sys.exit("round %d: neither the EEPROM nor its shadow passes the checks" % r)
        if st not in states:
            near = min(states, key=lambda x: sum(a != b for a, b in zip(x, st)))
            diff = [i for i in range(SIZE) if near[i] != st[i]]
            sys.exit("round %d: the last state on disk is not one the stream passed through "
                     "(%d states seen; nearest differs at offsets %s)" % (r, len(states), diff[:40]))
    print("rounds %d, kills in the middle of an EEPROM save %d, states %d" % (ROUNDS, kills_mid_save, len(states)))
    print("SIGKILL TEST OK")
    shutil.rmtree(root, ignore_errors=True)


main()
