#!/usr/bin/python3
"""Kills the running program with SIGKILL at random moments of a stream of
remote setting changes (waveform keys over VXI-11 with pyvisa-py) and starts
it again on the same simulated board root each time. After every kill the
last state on disk (the EEPROM, or its shadow file when the EEPROM copy was
cut in the middle) must pass the record's checks and be one of the states the
stream went through, and the program must start from it.

Usage: sigkill_settings.py BUILD_DIR [ROUNDS] [SEED]   (run in a private
network namespace: the program registers with the port mapper).

What counts as "the same state": the record minus the bytes the program
derives itself. The amplitude figures of channel 1 in Vrms and dBm are
computed from its peak-to-peak amplitude, load and wave; the program
recomputes them whenever the channel is applied (every start-up does so for
each channel), and the tick, which saves on a thread of its own, may store a
record whose wave has just changed while those two figures still belong to
the previous wave (a wave change that does not touch the amplitude leaves
them as they were until then). Those 16 bytes are compared against the set of
values the stream produced, every other byte exactly. The stream starts with
two system settings changed from their factory values, so a factory record
(a refused last state) never passes for a state of the stream."""
import os, random, shutil, signal, struct, subprocess, sys, tempfile, threading, time

import pyvisa

BIN = sys.argv[1]
ROUNDS = int(sys.argv[2]) if len(sys.argv) > 2 else 50
SEED = int(sys.argv[3]) if len(sys.argv) > 3 else 28
EEPROM = "/sys/devices/platform/ocp/44e0b000.i2c/i2c-0/0-0050/eeprom"
SHADOW = "/home/root/Param_LastState"
SIZE = 4536
WAVES = ["KEY:SINe", "KEY:SQUare", "KEY:RAMP"]
# The base wave code each key stores for channel 1 (sine 0, square 1, ramp 2).
WAVE_CODE = {"KEY:SINe": 0, "KEY:SQUare": 1, "KEY:RAMP": 2}
# Record offsets: channel 1's record starts at 56; its BaseWave is at +16,
# its VDbm and Vrms (two doubles) at +152; Beep and BackLight of the system.
CH1_WAVE = 56 + 16
CH1_DERIVED = slice(56 + 152, 56 + 168)
BEEP = 4472
BACKLIGHT = 4476


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


def settle(root, command, done):
    """Sends one command and waits until the EEPROM holds a state for which
    done(record) is true and that stays the same over a few ticks."""
    rm, i = client()
    i.write(command)
    i.query("*OPC?")
    i.close()
    rm.close()
    t0 = time.time()
    prev = None
    while time.time() - t0 < 30:
        e = read(root, EEPROM, SIZE)
        if valid(e) and done(e) and e == prev:
            return e
        prev = e
        time.sleep(1.2)
    sys.exit("the last state never settled after " + command)


def split(rec):
    """The record without its CRC and channel 1's derived amplitude figures,
    and those figures."""
    return rec[4:CH1_DERIVED.start] + rec[CH1_DERIVED.stop:], rec[CH1_DERIVED]


class States:
    """The states the stream passed through, as the program stores them."""

    def __init__(self):
        self.rest = set()
        self.derived = set()

    def add(self, rec):
        r, d = split(rec)
        self.rest.add(r)
        self.derived.add(d)

    def __contains__(self, rec):
        r, d = split(rec)
        return r in self.rest and d in self.derived

    def __len__(self):
        return len(self.rest)

    def nearest_diff(self, rec):
        """Offsets at which rec differs from the nearest known state."""
        r, _ = split(rec)
        near = min(self.rest, key=lambda x: sum(a != b for a, b in zip(x, r)))
        offsets = [i + 4 for i in range(len(r)) if near[i] != r[i]]
        return [o if o < CH1_DERIVED.start else o + 16 for o in offsets]


def main():
    random.seed(SEED)
    root = tempfile.mkdtemp(prefix="ornav-kill-")
    subprocess.check_call([BIN + "/tools/ornav-sim", "--root", root, "init"])
    os.makedirs(root + "/home/root", exist_ok=True)
    with open(root + "/home/root/settings.ini", "w") as f:
        f.write("[General]\npowerUpValue=1\n")
    log = root + "/program.log"

    # The states the stream can pass through, learnt first. The first start
    # finds no last state and stores the factory record; two system settings
    # are then moved away from it. After a start-up has applied that record to
    # every channel, each wave is chosen on channel 1.
    p = start(root, log)
    factory = settle(root, "KEY:CH1", lambda e: True)
    settle(root, "SYSTem:BEEP OFF", lambda e: e[BEEP] == 0)
    settle(root, "SYSTem:BRIGhtness 40", lambda e: e[BEEP] == 0 and e[BACKLIGHT] != factory[BACKLIGHT])
    p.send_signal(signal.SIGKILL)
    p.wait()
    p = start(root, log)
    states = States()
    for w in WAVES + WAVES:
        states.add(settle(root, w, lambda e, c=WAVE_CODE[w]: e[CH1_WAVE] == c))
    p.send_signal(signal.SIGKILL)
    p.wait()
    # The comparison tells the factory record from every state of the stream
    # (whatever wave the factory record names).
    for code in WAVE_CODE.values():
        f = bytearray(factory)
        f[CH1_WAVE] = code
        if bytes(f) in states:
            sys.exit("the factory record passes for a state of the stream")

    kills_mid_save = 0
    restored = 0
    for r in range(ROUNDS):
        p = start(root, log)
        text = open(log, "rb").read()
        if b"load sys paramer error" in text:
            sys.exit("round %d: the last state was refused at start-up" % r)
        if b"last state restored from" in text:
            restored += 1
        loaded = read(root, EEPROM, SIZE)
        if not valid(loaded) or loaded not in states:
            sys.exit("round %d: the program started from a state the stream never had "
                     "(differs at offsets %s)" % (r, states.nearest_diff(loaded)[:40] if valid(loaded) else "all"))
        stop = threading.Event()

        def stream():
            try:
                rm, i = client()
                while not stop.is_set():
                    i.write(random.choice(WAVES))
                    i.query("*OPC?")
            except Exception:
                pass  # the program went away under the client

        t = threading.Thread(target=stream, daemon=True)
        t.start()
        time.sleep(random.uniform(0.2, 2.5))
        p.send_signal(signal.SIGKILL)
        p.wait()
        stop.set()
        t.join(10)
        if not valid(read(root, EEPROM, SIZE)):
            kills_mid_save += 1
        st = last_state(root)
        if st is None:
            sys.exit("round %d: neither the EEPROM nor its shadow passes the checks" % r)
        if st not in states:
            sys.exit("round %d: the last state on disk is not one the stream passed through "
                     "(%d states known; the nearest differs at offsets %s)" % (r, len(states), states.nearest_diff(st)[:40]))
    print("rounds %d, kills in the middle of an EEPROM save %d, starts from the shadow copy %d, states %d" %
          (ROUNDS, kills_mid_save, restored, len(states)))
    print("SIGKILL TEST OK")
    shutil.rmtree(root, ignore_errors=True)


main()
