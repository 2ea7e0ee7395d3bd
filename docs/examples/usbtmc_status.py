#!/usr/bin/env python3
"""USBTMC from Python: the simulated board's USB port, with the status system
and the error list. A burst waits for a manual trigger (*TRG); a command error
raises the status byte's event summary.

On the instrument's board the USB gadget is "/dev/usbtmc0"; on a simulated
board ROOT/dev/usbtmc0 is a sequenced-packet socket that carries the same
bulk packets, so this is what a USB host's USBTMC driver exchanges. One host
at a time: while this script is connected, "ornav-sim usbtmc" is refused.

    usbtmc_status.py [ROOT]     (default $ORNAV_ROOT or /tmp/ornav-root)
"""
import os
import socket
import struct
import sys
import time

root = sys.argv[1] if len(sys.argv) > 1 else os.environ.get("ORNAV_ROOT", "/tmp/ornav-root")


class Usbtmc:
    """A USBTMC host: DEV_DEP_MSG_OUT (MsgID 1) carries a message, each
    REQUEST_DEV_DEP_MSG_IN (MsgID 2) asks for up to N bytes of the reply,
    which comes back as a DEV_DEP_MSG_IN with the EOM bit on its last part.
    Every bulk header is 12 bytes: MsgID, bTag, ~bTag, 0, transfer size
    (little endian), attributes, 3 reserved; a transfer is padded to four."""

    def __init__(self, path):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_SEQPACKET)
        self.sock.settimeout(20)
        self.sock.connect(path)
        greeting = self.sock.recv(64)  # the cable is plugged in
        if greeting != b"USBTMC-ATTACHED":
            raise SystemExit("the USB port is busy: %r" % greeting)
        self.tag = 0

    def _header(self, msg_id, size, attributes):
        self.tag = self.tag % 255 + 1  # bTag 1..255
        return struct.pack("<BBBxIB3x", msg_id, self.tag, ~self.tag & 0xFF, size, attributes)

    def write(self, text):
        data = text.encode() + b"\n"
        transfer = self._header(1, len(data), 1) + data  # EOM: the message ends here
        transfer += b"\0" * (-len(transfer) % 4)
        for at in range(0, len(transfer), 512):  # 512-byte high-speed bulk packets
            self.sock.send(transfer[at:at + 512])

    def read(self, chunk=4096):
        reply = b""
        while True:
            self.sock.send(self._header(2, chunk, 0))
            frame = self.sock.recv(65536)
            msg_id, tag, size, attributes = struct.unpack_from("<BBxxIB", frame)
            while len(frame) < 12 + size:
                frame += self.sock.recv(65536)
            assert msg_id == 2 and tag == self.tag, "not the reply to this request"
            reply += frame[12:12 + size]
            if attributes & 1:  # EOM
                return reply.decode().strip()

    def query(self, text):
        self.write(text)
        return self.read()


usb = Usbtmc(os.path.join(root, "dev", "usbtmc0"))
print(usb.query("*IDN?"))
usb.write("*RST; *CLS")

# Which events reach the status byte: command (32), execution (16) and
# device (8) errors in the event status register, its summary (bit 5) as a
# service request.
usb.write("*ESE 56; *SRE 32")
print("*ESE?", usb.query("*ESE?"), "*SRE?", usb.query("*SRE?"))
assert usb.query("*ESE?") == "56" and usb.query("*SRE?") == "32"

# A burst of 3 cycles on CH3 that waits for a manual trigger: the operation
# condition shows bit 5 (32, waiting for a trigger) and *TRG fires it.
usb.write("CHANnel3:BASe:WAVe SINe; :CHANnel3:BASe:FREQuency 5kHZ")
usb.write("CHANnel3:BURSt:TYPe NCYC; :CHANnel3:BURSt:CYCLes 3; :CHANnel3:TRIGger:SOURce MANual")
usb.write("CHANnel3:OUTPut ON")
# The channel arms within a tick of the instrument's supervision: wait for it
# as a script waits for any condition, by polling up to a deadline on the
# clock: on a busy host the tick may come later than a fixed count of polls.
deadline = time.monotonic() + 30
while True:
    condition = int(usb.query("STATus:OPERation:CONDition?"))
    if condition & 32 or time.monotonic() > deadline:
        break
    time.sleep(0.1)
print("operation condition", condition, "(32: waiting for a trigger)")
assert condition & 32
usb.write("*TRG")
assert usb.query("SYSTem:ERRor:COUNt?") == "0", "*TRG with a burst waiting is no error"
# With no channel waiting, *TRG has nothing to trigger: -211.
usb.write("CHANnel3:MODE CONTinue")
usb.write("*TRG")

# A header the instrument does not know: -113, a command error.
usb.write("CHANnel1:BOGus 1")
stb = int(usb.query("*STB?"))
print("*STB?", stb, "(4: error list not empty, 32: event summary, 64: service request)")
assert stb & 4 and stb & 32 and stb & 64
esr = int(usb.query("*ESR?"))  # reading it clears it
print("*ESR?", esr)
assert esr & 32  # command error
assert int(usb.query("*ESR?")) == 0

# The error list: newest entry first.
errors = []
while True:
    code, text = usb.query("SYSTem:ERRor?").split(",", 1)
    if int(code) == 0:
        break
    errors.append(int(code))
    print("error", code, text)
assert errors == [-113, -211], errors
# Once the list is empty the status byte's error bit is clear again.
assert not int(usb.query("*STB?")) & 4

# The questionable register: output overload, over-temperature and a lost
# reference clock; nothing of the kind here.
usb.write("STATus:QUEStionable:ENABle 49")
print("questionable condition", usb.query("STATus:QUEStionable:CONDition?"),
      "enable", usb.query("STATus:QUEStionable:ENABle?"))
assert usb.query("STATus:QUEStionable:ENABle?") == "49"
assert int(usb.query("STATus:QUEStionable:CONDition?")) & 49 == 0
usb.write("STATus:PRESet; *SRE 0; *ESE 0")
print("status system and error list: as expected")
