#!/usr/bin/env python3
"""The digital protocol output decoded with sigrok, as a logic analyser on the
output lines would: "Hello" sent once over UART, then over SPI, each decoded
from the lines the simulated board draws.

ornav-sim writes the lines of the last transmission as a VCD trace
(UART: TX; SPI: SCLK, CS, MOSI; I2C: SCL, SDA); sigrok-cli's protocol
decoders read it. On a real instrument, record the lines with a logic
analyser instead and feed its capture to the same decoders.

    digital_sigrok.py [HOST [ROOT]]     (defaults 127.0.0.1, $ORNAV_ROOT or /tmp/ornav-root)
"""
import os
import subprocess
import sys

import pyvisa

host = sys.argv[1] if len(sys.argv) > 1 else "127.0.0.1"
root = sys.argv[2] if len(sys.argv) > 2 else os.environ.get("ORNAV_ROOT", "/tmp/ornav-root")
here = os.path.dirname(os.path.abspath(__file__))
sim = os.environ.get("ORNAV_SIM", os.path.join(here, "..", "..", "build", "tools", "ornav-sim"))

inst = pyvisa.ResourceManager("@py").open_resource("TCPIP::%s::inst0::INSTR" % host)
inst.timeout = 20000


def send_once(message):
    """Loads the data and sends it once by manual trigger."""
    inst.write("DIGital:FORMat CHAR; :DIGital:AS OFF")
    inst.write_binary_values("DIGital:DATa ", message, datatype="B")
    inst.write("DIGital ON")
    inst.write("DIGital:TRIGger")
    inst.query("*OPC?")


def decode(decoder, annotation):
    """The bytes sigrok decodes from the lines of the last transmission."""
    subprocess.run([sim, "--root", root, "digital-trace", "lines.vcd"], check=True)
    out = subprocess.run(["sigrok-cli", "-I", "vcd", "-i", "lines.vcd", "-P", decoder, "-A", annotation],
                         check=True, capture_output=True, text=True).stdout
    # One annotation a line, e.g. "uart-1: 48".
    return bytes(int(line.split(": ", 1)[1], 16) for line in out.splitlines() if ": " in line)


inst.write("DIGital OFF; :DIGital:TYPe UART")
inst.write("DIGital:UART:BAUDrate 115200; :DIGital:UART:DATa 8; :DIGital:UART:PARity EVEN; :DIGital:UART:STOP 1")
send_once(b"Hello")
uart = decode("uart:rx=TX:baudrate=115200:data_bits=8:parity=even:stop_bits=1", "uart=rx-data")
print("UART 115200 bd, 8E1:", uart)

inst.write("DIGital OFF; :DIGital:TYPe SPI")
inst.write("DIGital:SPI:CLOCk 1MHZ")
send_once(b"Hello")
spi = decode("spi:clk=SCLK:mosi=MOSI:cs=CS", "spi=mosi-data")
print("SPI 1 MHz:", spi)

inst.write("DIGital OFF")
err = inst.query("SYSTem:ERRor?").strip()
print("error list:", err)
sys.exit(0 if uart == b"Hello" and spi == b"Hello" and err.startswith("0,") else 1)
