"""The table walk of the soak: every record of the command table, set with
valid values, out-of-range values, wrong suffixes, choice words and without
its parameter, and queried, interleaved with "*RST", arb and list uploads and
key events, while a raw-socket client and a USB host query the instrument.

The records come from the table itself (scpi-doc --rows). After every group
(one record's variants) the walking client reads the error list: it must hold
only codes the command set can give, and the codes a variant must give (a
wrong word -224, a missing value -109, channel 5 -108) must be there. The
other clients only query, so every error on the list is the walker's or the
panel's (a knob turned past a limit: -801)."""
import json
import random
import re
import socket
import struct
import subprocess
import threading
import time

# Every code the command set and the panel can report.
ALLOWED = {-101, -102, -103, -104, -108, -109, -112, -114, -120, -121, -123, -124, -128, -131, -134,
           -138, -141, -144, -148, -151, -158, -161, -168, -171, -178, -200, -211, -221, -222, -224,
           -801, -802, -803, -804, -805, -806, -807, -808, -809, -810}

GOOD_SUFFIX = {"HZ": ["kHZ", "HZ", "MHZ"], "S": ["mS", "uS", "S"], "V": ["mV", "V"], "VPP": ["mVpp", "Vpp"],
               "BPS": ["kbps", "bps"], "ANY": ["", "VPP", "VRMS", "DBM", "DB"], "": [""]}
WRONG_SUFFIX = {"HZ": "S", "S": "HZ", "V": "HZ", "VPP": "HZ", "BPS": "S"}
NUMBERS = ["0", "1", "2.5", "50", "1000", "123456.789", "1e6", "-5", "-0.001", "1e12", "-1e12", "9.9e37"]

# Records a walk must not run as they are: they change the identification or
# the stored service data, or take the next message as data. Each gets the
# variants below instead (the pattern's numbers already filled).
SERVICE = {
    "WP#:ADDR#": ["WP1:ADDR1 #11\x05", "WP7:ADDR1 #11\x05", "WP1:ADDR9999 #11\x05", "WP2:ADDR50 #11\x00",
                  "WP1:ADDR1"],
    "RP#:ADDR#?": ["RP1:ADDR2049?", "RP1:ADDR2048?"],
    "SYNC#:CMD#": ["SYNC1:CMD2", "SYNC7:CMD0", "SYNC1:CMD9", "SYNC1:CMD"],
    "FACTORY:MIS:SN": ["FACTORY:MIS:SN", "FACTORY:MIS:SN \"%s\"" % ("X" * 40)],
    "MOUSE": ["MOUSE", "MOUSE 10,10,BOGUS", "MOUSE 400,240,MOVE"],
    # Another language asks for a restart, which a later OK key would confirm:
    # only words and forms it must refuse.
    "SYSTem:LANGuage": ["SYSTem:LANGuage BOGUSWORD", "SYSTem:LANGuage 1", "SYSTem:LANGuage"],
}
# Arming records: the next message is the data, sent by upload() or here.
ARMING = ("WARB#:CARRier", "WARB#:MODulate", "WFREQLIST#", "WFILE", "SYSTem:CONFigure", "DIGital:DATa")


def bsv(samples):
    head = b"[HEAD]:0\r\nFREQUENCY:1000\r\n[DATA]:%d\r\n" % len(samples)
    return head + b"".join(struct.pack("<h", s) for s in samples)


def freq_list(values):
    return b"[HEAD]:44\r\n[FREQ-POINTS]:%d\r\n" % len(values) + b"".join(b"%s\r\n" % v.encode() for v in values)


class Walk:
    def __init__(self, rows, sim, root, idn_prefix, stats, count, wrong, until):
        self.rows = rows
        self.sim, self.root = sim, root
        self.idn_prefix = idn_prefix
        self.stats, self.count, self.wrong = stats, count, wrong
        self.until = until
        self.rnd = random.Random(45)
        self.covered = set()
        self.last = ""

    # ---- the walking client (VXI-11) ------------------------------------
    def fill(self, pattern, target):
        """The pattern with its '#' places numbered: mostly valid, now and
        then a number the record must refuse."""
        out, first = "", True
        for part in re.split(r"(#)", pattern):
            if part != "#":
                out += part
                continue
            if first and target == "pair":
                out += str(self.rnd.choice([1, 2]))
            elif first and target == "channel":
                out += str(self.rnd.randint(1, 4))
            else:
                # An entry's index: FSK hops 1..3, PSK phases 1..4,
                # harmonic orders 2..16 (1 is taken as 2).
                out += str(self.rnd.randint(1, 3))
            first = False
        return out

    def variants(self, row):
        """(message, codes it must give) for one record."""
        p, kind, target = row["pattern"], row["kind"], row["target"]
        if p in SERVICE:
            return [(v, set()) for v in SERVICE[p]]
        head = self.fill(p, target)
        if p.endswith("?"):
            out = [(head, set())]
            if target == "channel" and "#" in p:
                out.append((p.replace("#", "5", 1).replace("#", "1"), {-108}))
            return out
        out = []
        bad_channel = p.replace("#", "5", 1).replace("#", "1") if target == "channel" and "#" in p else None
        if kind == "none" or (p.startswith("KEY:") and not p.endswith("LOCK")):
            out += [(head, set())]
        elif kind == "bool":
            out += [(head + " ON", set()), (head + " OFF", set()), (head + " 1", set()), (head, {-109})]
        elif kind in ("choice", "special"):
            words = row["choices"]
            out += [(head + " " + w, set()) for w in self.rnd.sample(words, min(4, len(words)))]
            out += [(head + " " + self.rnd.choice(words).lower(), set()), (head + " BOGUSWORD", {-224}),
                    (head, {-109})]
            if kind == "choice":
                out.append((head + " 3", set()))
        elif kind == "number":
            suffix = row["suffix"]
            for v in self.rnd.sample(NUMBERS, 5):
                out.append((head + " " + v + self.rnd.choice(GOOD_SUFFIX.get(suffix, [""])), set()))
            if suffix in WRONG_SUFFIX:
                out.append((head + " 10" + WRONG_SUFFIX[suffix], {row["suffix_error"]}))
            out += [(head + " 10XYZ", set()), (head, {-109})]
        elif kind in ("real", "int"):
            out += [(head + " " + v, set()) for v in self.rnd.sample(NUMBERS, 5)]
            out += [(head + " 10HZ", set()), (head, {-109})]
        elif kind == "text":
            out += [(head, {-109})]
        else:
            out += [(head, set()), (head + " 1", set()), (head + " ON", set()), (head + " BOGUSWORD", set()),
                    (head + " 1,2,3", set())]
        if bad_channel and kind != "none":
            out.append((bad_channel + (" 1" if kind in ("bool", "number", "real", "int") else ""), {-108}))
        return out

    def errors(self, inst):
        codes = []
        for _ in range(120):
            reply = inst.query("SYSTem:ERRor?").strip()
            code = int(reply.split(",")[0])
            if code == 0:
                break
            codes.append(code)
        return codes

    def check(self, inst, what, must=(), empty=False):
        self.last = "SYSTem:ERRor? after " + what
        got = self.errors(inst)
        bad = [c for c in got if c not in ALLOWED]
        missing = [c for c in must if c not in got]
        # An upload or a reset may meet a code of the panel's knob (a value
        # clamped at its limit), never a refusal of the command itself.
        refused = [c for c in got if c in (-104, -108, -109, -151, -224)]
        # A command the state of the moment does not allow (noise sum on a
        # noise wave, a list sweep where none can run) fails with -200 before
        # its parameter is looked at.
        if -200 in got:
            missing = []
        if bad or missing or (empty and refused):
            self.wrong("%s -> errors %s (must hold %s)" % (what, got, sorted(must)))

    def send(self, inst, msg, must):
        """Sends one variant; a query that must succeed is read back (raw:
        some replies are blocks) and must not be empty."""
        self.last = msg
        inst.write(msg)
        self.count("sent")
        if "?" in msg.split(" ")[0] and not must:
            reply = inst.read_raw()
            self.count("answered")
            if not reply.strip():
                self.wrong("%s -> empty reply" % msg)

    def upload(self, inst):
        ch = self.rnd.randint(1, 4)
        n = self.rnd.choice([16, 100, 2048, 8192, 9000])
        samples = [int(32767 * ((i * 7919) % 2001 - 1000) / 1000) for i in range(n)]
        kind = self.rnd.choice(["CARRier", "MODulate", "LIST", "BAD"])
        self.last = "upload %s CH%d %d" % (kind, ch, n)
        if kind == "LIST":
            inst.write('WFREQLIST%d "soak%d"' % (ch, n))
            inst.write_raw(freq_list([str(100 + 37 * i) for i in range(self.rnd.randint(1, 60))]))
            self.check(inst, "WFREQLIST%d upload" % ch, empty=True)
        elif kind == "BAD":
            inst.write('WARB%d:CARRier "bad.bsv"' % ch)
            inst.write_raw(b"[HEAD]:\n[DATA]:%d\nabc" % n)
            self.check(inst, "bad WARB%d upload" % ch)
        else:
            if self.rnd.random() < 0.5:
                # The one-message form: the file as a block after the name.
                inst.write_binary_values('WARB%d:%s "soak%d.bsv",' % (ch, kind, n), bsv(samples), datatype="B")
            else:
                inst.write('WARB%d:%s "soak%d.bsv"' % (ch, kind, n))
                inst.write_raw(bsv(samples))
            self.check(inst, "WARB%d:%s upload of %d points" % (ch, kind, n), empty=True)
        self.count("uploads")

    def arming(self, inst, p):
        """An arming record followed by its data (or by data it must refuse)."""
        ch = self.rnd.randint(1, 4)
        if p == "SYSTem:CONFigure":
            record = bytes(inst.query_binary_values("SYSTem:CONFigure?", datatype="B", container=bytes))
            inst.write("SYSTem:CONFigure")
            if self.rnd.random() < 0.5:
                inst.write_raw(record)
                self.check(inst, "SYSTem:CONFigure whole record", empty=True)
            else:
                inst.write_raw(record[:100])
                self.check(inst, "SYSTem:CONFigure short record", must={-108})
        elif p == "DIGital:DATa":
            inst.write("DIGital:DATa")
            inst.write_raw(b"Hello soak")
            self.check(inst, "DIGital:DATa")
        elif p == "WFILE":
            # Calibration text the loader must refuse or take without harm.
            inst.write("WFILE")
            inst.write_raw(b"garbage,1,2\n;;;\n" * self.rnd.randint(1, 50))
            self.check(inst, "WFILE data")
        else:
            self.upload(inst)
            head = self.fill(p, "channel")
            inst.write(head)  # no name: refused, nothing armed
            self.check(inst, head + " without a name", must={-109})

    def group(self, inst, i, groups):
        """One record's variants, then now and then a reset or an upload."""
        row = self.rows[i]
        p = row["pattern"]
        if p in ARMING:
            self.arming(inst, p)
        else:
            for msg, must in self.variants(row):
                self.send(inst, msg, must)
                self.check(inst, msg, must)
            if "LOCK" in p or p.startswith("SYNC"):
                inst.write("SYSTem:LOCK OFF")
        if groups % 15 == 0:
            self.last = "*RST"
            inst.write("*RST")
            self.count("resets")
            if inst.query("*OPC?").strip() != "1":
                self.wrong("*OPC? after *RST")
            self.check(inst, "*RST")
        if groups % 10 == 0:
            self.upload(inst)
        self.last = "*IDN? after " + p
        reply = inst.query("*IDN?").strip()
        self.count("answered")
        if not reply.startswith(self.idn_prefix):
            self.wrong("*IDN? after %s -> %r" % (p, reply))

    def walker(self, inst):
        order = list(range(len(self.rows)))
        groups = 0
        while time.time() < self.until():
            self.rnd.shuffle(order)
            for i in order:
                if time.time() >= self.until():
                    break
                groups += 1
                self.stats["groups"] = groups
                try:
                    self.group(inst, i, groups)
                except Exception as e:  # no reply in time, or a lost link
                    self.count("client_errors")
                    self.wrong("walker: %r -> %s" % (self.last, e))
                    print("walker: %r -> %s" % (self.last, e), flush=True)
                    if self.stats["client_errors"] > 20:
                        raise
                    inst.clear()
                self.covered.add(i)
            self.count("passes")

    # ---- the other clients: queries only -------------------------------
    def queries(self):
        out = []
        for row in self.rows:
            p = row["pattern"]
            if p.endswith("?") and row["kind"] != "other" and p.count("#") <= 1 and "CONFigure" not in p:
                out.append((p, row["target"]))
        return out + [("*IDN?", ""), ("*OPC?", ""), ("CHSEL?", ""), ("KEY:LOCK?", "")]

    def raw_client(self):
        rnd = random.Random(7)
        qs = self.queries()
        s = socket.create_connection(("127.0.0.1", 5025), timeout=60)
        f = s.makefile("rb")
        while time.time() < self.until():
            p, target = rnd.choice(qs)
            q = p.replace("#", str(rnd.randint(1, 2 if target == "pair" else 4)))
            s.sendall(q.encode() + b"\n")
            reply = f.readline()
            self.count("answered")
            self.count("raw")
            if not reply.endswith(b"\n") or len(reply) < 2:
                self.wrong("raw %s -> %r" % (q, reply))
            elif q == "*IDN?" and not reply.decode(errors="replace").startswith(self.idn_prefix):
                self.wrong("raw *IDN? -> %r" % reply)
        s.close()

    def usb_host(self):
        rnd = random.Random(8)
        qs = self.queries()
        while time.time() < self.until():
            p, target = rnd.choice(qs)
            q = p.replace("#", str(rnd.randint(1, 2 if target == "pair" else 4)))
            r = subprocess.run([self.sim, "--root", self.root, "usbtmc", q], capture_output=True, text=True)
            if r.returncode == 3:  # the port is busy with another host
                time.sleep(0.2)
                continue
            self.count("answered")
            self.count("usbtmc")
            if r.returncode != 0 or not r.stdout.strip():
                self.wrong("usbtmc %s -> %r (rc %d)" % (q, r.stdout.strip(), r.returncode))
            time.sleep(0.2)


def load_rows(scpi_doc):
    out = subprocess.run([scpi_doc, "--rows"], capture_output=True, text=True, check=True).stdout
    return json.loads(out)
