#!/usr/bin/python3
"""Table-driven check of the command set over VXI-11 with pyvisa-py.

Usage: scpi_rows.py ROOT ORNAV_SIM [GROUP...]

Runs against an instrument already serving on 127.0.0.1 with the simulated
board ROOT. Prints one line per case, "ok NAME" or "FAIL NAME: why", and
exits 1 when any case failed. The cases are written from the command
reference, not from the handlers: each row is set, read back, and the error
list must hold exactly the codes the row gives. Plain set-and-read-back round
trips of every property are python/tests/test_driver.py's table; the rows
here are what that table cannot show: suffixes, refusals and their error
codes, registers, status, side effects.
"""
import math
import subprocess
import sys
import time

import pyvisa

ROOT, SIM = sys.argv[1], sys.argv[2]
GROUPS = set(sys.argv[3:])
failures = []


def case(name, ok, why=""):
    if ok:
        print("ok", name)
    else:
        print("FAIL %s: %s" % (name, why))
        failures.append(name)


rm = pyvisa.ResourceManager("@py")
inst = rm.open_resource("TCPIP::127.0.0.1::inst0::INSTR")
inst.timeout = 10000


def q(cmd):
    return inst.query(cmd).strip()


def errors():
    """The error list, newest first, emptied."""
    codes = []
    for _ in range(40):
        reply = q("SYSTem:ERRor?")
        code = int(reply.split(",")[0])
        if code == 0:
            break
        codes.append(code)
    return codes


def peek(addr, n):
    out = subprocess.run([SIM, "--root", ROOT, "peek", hex(addr), str(n)], capture_output=True, text=True,
                         check=True).stdout.split()
    return int("".join(reversed(out)), 16)


def sim_log_clear():
    subprocess.run([SIM, "--root", ROOT, "log", "--clear"], capture_output=True, check=True)


def sim_log():
    return subprocess.run([SIM, "--root", ROOT, "log"], capture_output=True, text=True, check=True).stdout


def record():
    return bytes(inst.query_binary_values("SYSTem:CONFigure?", datatype="B", container=bytes))


def same(reply, want):
    if isinstance(want, float):
        try:
            got = float(reply)
        except ValueError:
            return False
        return math.isclose(got, want, rel_tol=1e-6, abs_tol=1e-12)
    return reply == want


def row(name, setcmd, query, want, codes=()):
    inst.write(setcmd)
    got = q(query)
    errs = errors()
    case(name, same(got, want) and errs == list(codes),
         "%r -> %r (want %r), errors %r (want %r)" % (setcmd, got, want, errs, list(codes)))


def refused(name, cmd, codes):
    """A refused command reports its codes and changes neither the record nor the registers."""
    before = record()
    errors()
    sim_log_clear()
    inst.write(cmd)
    errs = errors()
    after = record()
    # The board's periodic writes (0x700 peripherals: fan, buzzer ...) go on;
    # a refused command must not touch the signal path (below 0x700).
    writes = "\n".join(l for l in sim_log().splitlines() if l.strip() and int(l.split()[0], 16) < 0x700)
    case(name, errs == list(codes) and before == after and writes == "",
         "%r: errors %r (want %r), record %s, writes %r" % (cmd, errs, list(codes),
                                                           "same" if before == after else "changed", writes[:200]))


def want(group):
    return not GROUPS or group in GROUPS


# A setter returns once the controller has applied it, so this one also waits
# for anything the start-up still had queued (applying the stored settings).
inst.write("SYSTem:BEEP ON")
errors()

if want("system"):
    row("brightness", "SYSTem:BRIGhtness 70", "SYSTem:BRIGhtness?", "70")
    row("brightness 55 refused", "SYSTem:BRIGhtness 55", "SYSTem:BRIGhtness?", "70", [-200])
    row("sleep time", "SYSTem:SLEEP:TIMe 15MIN", "SYSTem:SLEEP:TIMe?", "15MIN")
    row("sleep word not in list", "SYSTem:SLEEP:TIMe HOUR", "SYSTem:SLEEP:TIMe?", "15MIN", [-224])
    row("sleep time as a number", "SYSTem:SLEEP:TIMe 20MIN", "SYSTem:SLEEP:TIMe?", "15MIN", [-104])
    row("language", "SYSTem:LANGuage ENGL", "SYSTem:LANGuage?", "ENGLish")
    row("language as number", "SYSTem:LANGuage 0", "SYSTem:LANGuage?", "ENGLish", [-224])
    row("serial number", "FACTORY:MIS:SN \"SN42\"", "FACTORY:MIS:SN?", "SN42")
    case("identification carries the serial", q("*IDN?").split(",")[2] == "SN42", q("*IDN?"))
    case("model identification", q("IDN?") == "ORNAV96T%EN#SNSN42", q("IDN?"))
    row("serial with a control character", "FACTORY:MIS:SN \"SN\x01X\"", "FACTORY:MIS:SN?", "SN42", [-224])
    row("serial cut to 31", "FACTORY:MIS:SN \"%s\"" % ("S" * 40), "FACTORY:MIS:SN?", "S" * 31)
    case("identification still one line", q("*IDN?").split(",")[2] == "S" * 31, q("*IDN?"))
    case("CH1 is the current channel at start", q("CHSEL?") == "0", q("CHSEL?"))
    row("CH3 made the current channel", "CHANnel3:SELect", "CHSEL?", "2")
    case("CH3 selected, CH1 not", (q("CHANnel3:SELect?"), q("CHANnel1:SELect?")) == ("1", "0"), "")
    row("CH5 cannot be selected", "CHANnel5:SELect", "CHSEL?", "2", [-108])
    case("one LED word per key", len(q("KEY:LED?")) == 18, q("KEY:LED?"))
    row("key lock without ON or OFF", "KEY:SINe:LOCK", "KEY:SINe:LOCK?", "0", [-109])
    # The digital output's limits: its level is 5 V at most above 10 MHz of SPI clock.
    inst.write("DIGital:TYPe SPI")
    inst.write("DIGital:SPI:CLOCk 20MHZ")
    row("digital level capped at 5 V at 20 MHz", "DIGital:AMPLitude 8", "DIGital:AMPLitude?", 5.0, [-801])
    inst.write("DIGital:SPI:CLOCk 10MHZ")
    row("digital level of 9 V at 10 MHz", "DIGital:AMPLitude 9", "DIGital:AMPLitude?", 9.0)
    row("digital level with a time suffix", "DIGital:AMPLitude 3 S", "DIGital:AMPLitude?", 9.0, [-109])
    row("UART 5 data bits", "DIGital:UART:DATa 5", "DIGital:UART:DATa?", "5")
    row("UART 9 data bits refused", "DIGital:UART:DATa 9", "DIGital:UART:DATa?", "5", [-224])
    row("UART 3 data bits refused", "DIGital:UART:DATa 3", "DIGital:UART:DATa?", "5", [-224])
    row("UART 1 stop bit", "DIGital:UART:STOP 1", "DIGital:UART:STOP?", "1")
    row("UART 3 stop bits refused", "DIGital:UART:STOP 3", "DIGital:UART:STOP?", "1", [-224])

if want("status"):
    row("SCPI version", "*CLS", "SYSTem:VERSion?", "1999.0")
    row("options", "*CLS", "*OPT?", "0")
    row("self test: the FPGA answered at bring-up", "*CLS", "*TST?", "0")
    row("power-on status clear", "*PSC 0", "*PSC?", "0")
    row("operation enable", "STATus:OPERation:ENABle 40", "STAT:OPER:ENAB?", "40")
    row("questionable enable", "STATus:QUEStionable:ENABle 1", "STATus:QUEStionable:ENABle?", "1")
    row("status preset", "STATus:PRESet", "STATus:QUEStionable:ENABle?", "0")
    row("error count", "NO:SUCH", "SYSTem:ERRor:COUNt?", "1", [-113])
    row("next error", "NO:SUCH", "SYSTem:ERRor:NEXT?", '-113,"Undefined header"')
    row("preset 6", "*SAV 6", "SYSTem:ERRor:COUNt?", "1", [-222])
    row("preset stored and recalled", "SYSTem:BEEP OFF;*SAV 3;:SYSTem:BEEP ON;*RCL 3", "SYSTem:BEEP?", "0")
    inst.write("SYSTem:BEEP ON")
    # An overload (both bits of channel 1 in REG_SAFE_STATUS) latches the
    # questionable voltage bit, enabled into the status byte and for service.
    inst.write("*CLS;STATus:QUEStionable:ENABle 1;*SRE 8")
    subprocess.run([SIM, "--root", ROOT, "poke", "0x81c", "3"], capture_output=True, check=True)
    stb = 0
    for _ in range(50):
        stb = inst.read_stb()
        if stb & 0x08:
            break
        subprocess.run(["sleep", "0.1"])
    case("overload: questionable summary and service request", stb & 0x48 == 0x48, "status byte %d" % stb)
    row("overload: questionable event read and cleared", "*SRE 0", "STATus:QUEStionable?", "1", [-802])
    case("questionable event cleared by the read", q("STATus:QUEStionable:EVENt?") == "0" and int(q("*STB?")) & 8 == 0,
         "status byte %s" % q("*STB?"))
    inst.write("STATus:PRESet;*CLS")

if want("output"):
    row("output on", "CHANnel1:OUTPut ON", "CHANnel1:OUTPut?", "1")
    case("output relay closed", peek(0x061, 1) == 1, "REG_OUTPUT %d" % peek(0x061, 1))
    row("output off", "CHAN1:OUTP OFF", "CHAN1:OUTP?", "0")
    case("output relay open", peek(0x061, 1) == 0, "REG_OUTPUT %d" % peek(0x061, 1))
    row("no number is channel 1", "CHANnel:OUTPut ON", "CHANnel1:OUTPut?", "1")
    row("output missing value", "CHANnel1:OUTPut", "CHANnel1:OUTPut?", "1", [-109])
    row("sync on CH3 refused", "CHANnel3:OUTPut:SYNC ON", "CHANnel3:OUTPut:SYNC?", "0", [-109])
    row("sync inversion on CH4 refused", "CHANnel4:OUTPut:SYNC:INVersion ON", "CHANnel4:OUTPut:SYNC:INVersion?",
        "0", [-109])
    row("limit lower", "CHANnel1:LIMit:LOWer -2V", "CHANnel1:LIMit:LOWer?", -2.0)
    row("limit lower wrong suffix", "CHANnel1:LIMit:LOWer -1HZ", "CHANnel1:LIMit:LOWer?", -2.0, [-224])
    row("load high impedance", "CHANnel1:LOAD 1000000", "CHANnel1:LOAD?", "1000000")
    row("load wrong suffix", "CHANnel1:LOAD 50 V", "CHANnel1:LOAD?", "1000000", [-224])

if want("base"):
    inst.write("CHANnel1:OUTPut ON")
    row("frequency", "CHANnel1:BASe:FREQuency 1000", "CHANnel1:BASe:FREQuency?", 1000.0)
    case("road of a change: REG_PHASE_INC", peek(0x003, 8) == math.ceil(1000 * 2**63 / 312.5e6),
         "REG_PHASE_INC %d" % peek(0x003, 8))
    row("frequency in kHZ", "CHANnel1:BASe:FREQuency 2kHZ", "CHANnel1:BASe:FREQuency?", 2000.0)
    row("frequency with time suffix", "CHANnel1:BASe:FREQuency 1ms", "CHANnel1:BASe:FREQuency?", 2000.0, [-224])
    row("frequency missing", "CHANnel1:BASe:FREQuency", "CHANnel1:BASe:FREQuency?", 2000.0, [-109])
    row("period", "CHANnel1:BASe:PERiod 2ms", "CHANnel1:BASe:PERiod?", 0.002)
    case("period sets frequency", same(q("CHANnel1:BASe:FREQuency?"), 500.0), q("CHANnel1:BASe:FREQuency?"))
    row("period with frequency suffix", "CHANnel1:BASe:PERiod 1kHZ", "CHANnel1:BASe:PERiod?", 0.002, [-224])
    row("noise bandwidth is the frequency", "CHANnel1:NOISe:BANDwith 3000", "CHANnel1:BASe:FREQuency?", 3000.0)
    row("offset", "CHANnel1:BASe:OFFSet 0.5", "CHANnel1:BASe:OFFSet?", 0.5)
    row("offset wrong suffix", "CHANnel1:BASe:OFFSet 0.1 S", "CHANnel1:BASe:OFFSet?", 0.5, [-224])
    row("amplitude Vrms suffix switches the unit", "CHANnel1:BASe:AMPLitude 0.3Vrms", "CHANnel1:AMPLitude:UNIT?",
        "VRMS")
    case("amplitude now in Vrms", same(q("CHANnel1:BASe:AMPLitude?"), 0.3), q("CHANnel1:BASe:AMPLitude?"))
    row("amplitude mVpp suffix switches the unit back", "CHANnel1:BASe:AMPLitude 800mVpp", "CHANnel1:AMPLitude:UNIT?",
        "VPP")
    case("amplitude now in Vpp", same(q("CHANnel1:BASe:AMPLitude?"), 0.8), q("CHANnel1:BASe:AMPLitude?"))
    row("amplitude unit as a number", "CHANnel1:AMPLitude:UNIT 1", "CHANnel1:AMPLitude:UNIT?", "VPP", [-224])
    inst.write("CHANnel1:LOAD 1000000")
    row("dBm at high impedance refused", "CHANnel1:BASe:AMPLitude 0dBm", "CHANnel1:AMPLitude:UNIT?", "VPP", [-224])
    row("dBm unit at high impedance ignored", "CHANnel1:AMPLitude:UNIT DBM", "CHANnel1:AMPLitude:UNIT?", "VPP")
    row("wave square", "CHANnel1:BASe:WAVe SQUare", "CHANnel1:BASe:WAVe?", "SQUare")
    row("wave pulse", "CHANnel1:BASe:WAVe PULS", "CHANnel1:BASe:WAVe?", "PULSe")
    row("pulse rise", "CHANnel1:PULSe:RISe 20ns", "CHANnel1:PULSe:RISe?", 2e-08)
    row("pulse rise wrong suffix", "CHANnel1:PULSe:RISe 20kHZ", "CHANnel1:PULSe:RISe?", 2e-08, [-224])
    row("wave ramp", "CHANnel1:BASe:WAVe RAMP", "CHANnel1:BASe:WAVe?", "RAMP")
    row("wave word not in list", "CHANnel1:BASe:WAVe TRIangle", "CHANnel1:BASe:WAVe?", "RAMP", [-224])
    row("wave as a number", "CHANnel1:BASe:WAVe 3", "CHANnel1:BASe:WAVe?", "RAMP", [-104])
    row("wave harmonic", "CHANnel1:BASe:WAVe HARM", "CHANnel1:BASe:WAVe?", "HARMonic")
    row("harmonic order", "CHANnel1:HARMonic:TOTal:ORDer 8", "CHANnel1:HARMonic:TOTal:ORDer?", "8")
    row("harmonic order 17", "CHANnel1:HARMonic:TOTal:ORDer 17", "CHANnel1:HARMonic:TOTal:ORDer?", "8", [-224])
    row("harmonic user type", "CHANnel1:HARMonic:USEr:TYPe 5", "CHANnel1:HARMonic:USEr:TYPe?", str(0x8005))
    row("noise sum refused on harmonic", "CHANnel1:NS ON", "CHANnel1:NS?", "0")
    row("snr refused on harmonic", "CHANnel1:NS:SNR 20", "CHANnel1:NS?", "0", [-200])
    row("wave sine", "CHANnel1:BASe:WAVe SIN", "CHANnel1:BASe:WAVe?", "SINe")
    row("noise sum", "CHANnel1:NS ON", "CHANnel1:NS?", "1")
    row("snr unit", "CHANnel1:NS:SNR:UNIT RATIO", "CHANnel1:NS:SNR:UNIT?", "RATIO")
    row("snr ratio", "CHANnel1:NS:SNR 20", "CHANnel1:NS:SNR?", 20.0)
    row("snr dB suffix selects dB", "CHANnel1:NS:SNR 15dB", "CHANnel1:NS:SNR:UNIT?", "DBM")
    row("noise sum off", "CHANnel1:NS OFF", "CHANnel1:NS?", "0")
    row("arb sampling ignored on CH3", "CHANnel3:ARB:MODe POINTS", "CHANnel3:ARB:MODe?", "DDS")
    row("arb file not found", "CHANnel1:BASe:ARB INT,\"NoSuchWave.bsv\"", "CHANnel1:BASe:ARB?",
        "INTernal,\"ACos.bsv\"", [-224])
    row("arb file escaping its folder", "CHANnel1:BASe:ARB INT,\"../../etc/passwd\"", "CHANnel1:BASe:ARB?",
        "INTernal,\"ACos.bsv\"", [-224])

if want("modes"):
    inst.write("CHANnel1:OUTPut ON")
    row("mode modulation", "CHANnel1:MODE MODulation", "CHANnel1:MODE?", "MODulation")
    row("modulation type FM", "CHANnel1:MODulate:TYPe FM", "CHANnel1:MODulate:TYPe?", "FM")
    case("FM in the work-mode register", peek(0x000, 1) == 2, "REG_WORK_MODE %d" % peek(0x000, 1))
    row("modulation type AM", "CHANnel1:MODulate:TYPe AM", "CHANnel1:MODulate:TYPe?", "AM")
    case("AM in the work-mode register", peek(0x000, 1) == 1, "REG_WORK_MODE %d" % peek(0x000, 1))
    row("modulation type PSK", "CHANnel1:MODulate:TYPe PSK", "CHANnel1:MODulate:TYPe?", "PSK")
    row("PSK phase 2", "CHANnel1:PSK:PHASe2 90", "CHANnel1:PSK:PHASe2?", 90.0)
    row("PSK phase 5", "CHANnel1:PSK:PHASe5 90", "CHANnel1:PSK:PHASe2?", 90.0, [-109])
    row("modulation type QAM", "CHANnel1:MODulate:TYPe QAM", "CHANnel1:MODulate:TYPe?", "QAM")
    row("bit rate", "CHANnel1:MODulate:BITRatio 1kbps", "CHANnel1:MODulate:BITRatio?", 1000.0)
    row("mode sweep", "CHANnel1:MODE SWEep", "CHANnel1:MODE?", "SWEep")
    row("sweep type", "CHANnel1:SWEep:TYPe LOG", "CHANnel1:SWEep:TYPe?", "LOG")
    # Linear and logarithmic sweeps run on the FM path of the channel.
    case("log sweep in the work-mode register", peek(0x000, 1) == 2, "REG_WORK_MODE %d" % peek(0x000, 1))
    row("sweep time", "CHANnel1:SWEep:TIMe 0.5", "CHANnel1:SWEep:TIMe?", 0.5)
    row("sweep step type", "CHANnel1:SWEep:TYPe STEP", "CHANnel1:SWEep:TYPe?", "STEP")
    case("stepped sweep in the work-mode register", peek(0x000, 1) == 20, "REG_WORK_MODE %d" % peek(0x000, 1))
    row("sweep on channel 5", "CHANnel5:SWEep:TIMe 1", "CHANnel1:SWEep:TIMe?", 0.5, [-108])
    row("mode burst", "CHANnel1:MODE BURSt", "CHANnel1:MODE?", "BURSt")
    row("burst type", "CHANnel1:BURSt:TYPe NCYC", "CHANnel1:BURSt:TYPe?", "NCYC")
    row("burst cycles", "CHANnel1:BURSt:CYCLes 5", "CHANnel1:BURSt:CYCLes?", "5")
    case("burst cycles in REG_BURST_CYCLES", peek(0x039, 2) == 5, "REG_BURST_CYCLES %d" % peek(0x039, 2))
    row("trigger source manual", "CHANnel1:TRIGger:SOURce MANual", "CHANnel1:TRIGger:SOURce?", "MANual")
    inst.write("CHANnel1:BURSt:TRIGger")
    case("manual trigger accepted", errors() == [], "")
    # device_trigger runs "*TRG": the manual-trigger register gets channel 1's bit.
    sim_log_clear()
    inst.assert_trigger()
    q("*OPC?")
    trig = [l.split() for l in sim_log().splitlines() if l.strip() and int(l.split()[0], 16) == 0x606]
    case("device trigger writes REG_MANUAL_TRIG", [int(t[1], 16) for t in trig][-1:] == [1] and errors() == [],
         "REG_MANUAL_TRIG writes %r" % trig)
    row("trigger source internal", "CHANnel1:TRIGger:SOURce INT", "CHANnel1:TRIGger:SOURce?", "INTernal")
    inst.write("CHANnel1:BURSt:TRIGger")
    case("manual trigger refused when not manual", errors() == [-200], "")
    row("*TRG with no channel waiting for one", "*TRG", "SYSTem:ERRor:COUNt?", "1", [-211])
    row("mode continue", "CHANnel1:MODE CONTinue", "CHANnel1:MODE?", "CONTinue")

if want("couple"):
    row("frequency coupling", "CHANnel:COUPle1:FREQuency ON", "CHANnel:COUPle1:FREQuency?", "1")
    row("frequency ratio", "CHANnel:COUPle1:FREQuency:SCALe 2", "CHANnel:COUPle1:FREQuency:SCALe?", 2.0)
    row("frequency ratio with suffix", "CHANnel:COUPle1:FREQuency:SCALe 2HZ", "CHANnel:COUPle1:FREQuency:SCALe?",
        2.0, [-109])
    row("frequency difference", "CHANnel:COUPle1:FREQuency:DEV 100HZ", "CHANnel:COUPle1:FREQuency:DEV?", 100.0)
    row("frequency difference wrong suffix", "CHANnel:COUPle1:FREQuency:DEV 1S", "CHANnel:COUPle1:FREQuency:DEV?",
        100.0, [-109])
    row("frequency coupling off", "CHANnel:COUPle1:FREQuency OFF", "CHANnel:COUPle1:FREQuency?", "0")
    row("coupling pair 3", "CHANnel:COUPle3:FREQuency ON", "CHANnel:COUPle1:FREQuency?", "0", [-200])

if want("refused"):
    refused("channel 5 changes nothing", "CHANnel5:BASe:FREQuency 1234", [-108])
    refused("channel 0 changes nothing", "CHANnel0:BASe:AMPLitude 1", [-108])
    refused("time suffix on a frequency changes nothing", "CHANnel2:BASe:FREQuency 5 ms", [-224])
    refused("brightness 55 changes nothing", "SYSTem:BRIGhtness 55", [-200])
    refused("unknown wave changes nothing", "CHANnel2:BASe:WAVe SAWtooth", [-224])
    refused("sync output of CH3 changes nothing", "CHANnel3:OUTPut:SYNC ON", [-109])
    refused("harmonic order 0 changes nothing", "CHANnel2:HARMonic:TOTal:ORDer 0", [-224])
    refused("arming channel 7 changes nothing", "WARB7:CARRier \"x.bsv\"", [-108])
    refused("arming a path changes nothing", "WARB1:CARRier \"../x.bsv\"", [-224])
    refused("arming without a file name changes nothing", "WARB4:MODulate", [-109])

if want("config"):
    image = record()
    case("record block is 4536 bytes", len(image) == 4536, "%d bytes" % len(image))
    inst.write("SYSTem:CONFigure")
    inst.write_raw(image)
    case("the same record is accepted", errors() == [], "")
    inst.write("SYSTem:CONFigure")
    inst.write_raw(image[:4535])
    case("4535 bytes report -108", errors() == [-108], "")
    inst.write("WFREQLIST1 \"list1\"")
    inst.write("*RST")  # data for the list, not a command: refused as a list file
    case("message after arming is data", errors() == [-224], "")
    inst.write("CHANnel1:BASe:FREQuency 1234")
    inst.write("*RST")
    case("reset restores the factory frequency", same(q("CHANnel1:BASe:FREQuency?"), 1000.0),
         q("CHANnel1:BASe:FREQuency?"))
    case("reset switches the outputs off", q("CHANnel1:OUTPut?") == "0", q("CHANnel1:OUTPut?"))

if want("reset"):
    # "*RST" replaces the whole record; what the pairs allow and the limits
    # derived from the amplitude must follow the new record, not the old one.
    def after_reset(setup):
        for cmd in setup:
            inst.write(cmd)
        q("*OPC?")
        inst.write("*RST")
        q("*OPC?")
        errors()

    after_reset(["CHANnel1:NS ON"])
    row("amplitude coupling after a reset with the noise sum on", "CHANnel:COUPle1:AMPLitude ON",
        "CHANnel:COUPle1:AMPLitude?", "1")
    after_reset(["CHANnel4:LIMit:ENABle ON"])
    row("amplitude coupling after a reset with a limit on", "CHANnel:COUPle2:AMPLitude ON",
        "CHANnel:COUPle2:AMPLitude?", "1")
    after_reset(["CHANnel:COUPle1:AMPLitude ON"])
    row("noise sum after a reset with amplitude coupling on", "CHANnel2:NS ON", "CHANnel2:NS?", "1")
    row("limit after a reset with amplitude coupling on", "CHANnel1:LIMit:ENABle ON", "CHANnel1:LIMit:ENABle?", "1")
    after_reset(["CHANnel3:NS ON"])
    row("merge after a reset with the noise sum on", "CHANnel4:MERGe ON", "CHANnel4:MERGe?", "1")
    after_reset(["CHANnel1:MERGe ON"])
    row("noise sum after a reset with a merge on", "CHANnel2:NS ON", "CHANnel2:NS?", "1")

    # The factory amplitude is 0.1 Vpp: its rms value bounds the noise ratio.
    for ch in (1, 2, 3, 4):
        after_reset(["CHANnel%d:BASe:AMPLitude 2" % ch])
        inst.write("CHANnel%d:NS ON" % ch)
        row("CH%d snr in dB right after a reset" % ch, "CHANnel%d:NS:SNR 10dB" % ch, "CHANnel%d:NS:SNR?" % ch, 10.0)
        row("CH%d snr ratio right after a reset" % ch, "CHANnel%d:NS:SNR:UNIT RATIO" % ch,
            "CHANnel%d:NS:SNR:UNIT?" % ch, "RATIO")
        row("CH%d snr of 20 right after a reset" % ch, "CHANnel%d:NS:SNR 20" % ch, "CHANnel%d:NS:SNR?" % ch, 20.0)
    after_reset([])
    row("reset amplitude in Vrms", "CHANnel1:AMPLitude:UNIT VRMS", "CHANnel1:BASe:AMPLitude?",
        0.1 / (2 * math.sqrt(2)))

if want("amplitude"):
    # Vrms and dBm of a channel follow its waveform's crest factor: rms / Vpp
    # is 1/(2 sqrt 2) for a sine, 1/2 for square and pulse, 1/(2 sqrt 3) for a
    # ramp; dBm is the power of that rms voltage in the load, re 1 mW.
    RMS = {"SIN": 1 / (2 * math.sqrt(2)), "SQU": 0.5, "RAMP": 1 / (2 * math.sqrt(3)), "PULS": 0.5}

    def dbm(vrms, load):
        return 10 * math.log10(vrms * vrms / load / 0.001)

    def amplitude_in(unit):
        inst.write("CHANnel1:AMPLitude:UNIT %s" % unit)
        return float(q("CHANnel1:BASe:AMPLitude?"))

    def close(got, want):
        return math.isclose(got, want, rel_tol=1e-5, abs_tol=1e-9)

    def figures(name, vpp, vrms, load, keep="VPP"):
        """The amplitude read in each unit; the entry is left in unit keep."""
        got_vrms = amplitude_in("VRMS")
        got_dbm = amplitude_in("DBM") if load < 1000000 else None
        got_vpp = amplitude_in("VPP")
        inst.write("CHANnel1:AMPLitude:UNIT %s" % keep)
        ok = close(got_vpp, vpp) and close(got_vrms, vrms)
        if got_dbm is not None:
            ok = ok and close(got_dbm, dbm(vrms, load))
        errs = errors()
        case(name, ok and errs == [], "Vpp %r (want %r), Vrms %r (want %r), dBm %r (want %r), errors %r"
             % (got_vpp, vpp, got_vrms, vrms, got_dbm, None if got_dbm is None else dbm(vrms, load), errs))

    inst.write("CHANnel1:LOAD 50")
    inst.write("CHANnel1:AMPLitude:UNIT VPP")
    inst.write("CHANnel1:BASe:WAVe SQUare")
    inst.write("CHANnel1:BASe:AMPLitude 2")
    errors()
    # The amplitude entered in Vpp stays; the derived figures follow the wave.
    for wave in ("SIN", "SQU", "RAMP", "SIN", "PULS", "SIN"):
        inst.write("CHANnel1:BASe:WAVe %s" % wave)
        figures("2 Vpp %s: Vrms and dBm of the wave" % wave, 2.0, 2.0 * RMS[wave], 50)

    # Entered in Vrms, the rms value stays and Vpp follows the wave.
    inst.write("CHANnel1:BASe:WAVe SQUare")
    inst.write("CHANnel1:BASe:AMPLitude 0.5Vrms")
    errors()
    for wave in ("SIN", "RAMP", "SQU", "SIN"):
        inst.write("CHANnel1:BASe:WAVe %s" % wave)
        figures("0.5 Vrms %s: Vpp of the wave" % wave, 0.5 / RMS[wave], 0.5, 50, "VRMS")

    # A new load scales the amplitude (the level at the load follows the
    # divider); dBm is the power in the new load, Vrms that of the new Vpp.
    inst.write("CHANnel1:AMPLitude:UNIT VPP")
    inst.write("CHANnel1:BASe:WAVe RAMP")
    for load in (1000, 50, 1000000, 50):
        inst.write("CHANnel1:LOAD %d" % load)
        vpp = amplitude_in("VPP")
        figures("ramp into %d ohm: Vrms and dBm of the scaled amplitude" % load, vpp, vpp * RMS["RAMP"], load)

if want("road"):
    # Scripts send settings back to back: each must be applied with all its
    # side effects (coupling, merge) before the next one, whoever sent it,
    # and "*OPC?" must mean the registers already hold the result. Each race
    # starts from "*RST", which keeps the screens busy reloading: the window
    # in which a late side effect used to land.
    def back_to_back(name, runs, cmds, queries, wanted):
        misses = []
        for _ in range(runs):
            inst.write("*RST")
            q("*OPC?")
            for c in cmds:
                inst.write(c)
            got = tuple(float(q(x)) for x in queries)
            if got != wanted:
                misses.append(got)
        case("%s, %d runs" % (name, runs), not misses and errors() == [],
             "%d misses, first %r (want %r)" % (len(misses), misses[:1], wanted))

    back_to_back("ratio coupling on, then CH1 frequency", 100,
                 ["CHANnel:COUPle1:FREQuency:SCALe 2", "CHANnel:COUPle1:FREQuency ON", "CHANnel1:BASe:FREQuency 1000"],
                 ["CHANnel1:BASe:FREQuency?", "CHANnel2:BASe:FREQuency?"], (1000.0, 2000.0))
    back_to_back("difference coupling on pair 2, then CH3 frequency", 50,
                 ["CHANnel:COUPle2:FREQuency:DEV 500", "CHANnel:COUPle2:FREQuency ON", "CHANnel3:BASe:FREQuency 1200"],
                 ["CHANnel3:BASe:FREQuency?", "CHANnel4:BASe:FREQuency?"], (1200.0, 1700.0))
    # A merged pair shares the larger load: CH2's high impedance.
    back_to_back("CH1 load 50 ohm, then merge", 50, ["CHANnel1:LOAD 50", "CHANnel1:MERGe ON"],
                 ["CHANnel1:LOAD?", "CHANnel2:LOAD?"], (1000000.0, 1000000.0))

    def registers():
        return subprocess.run([SIM, "--root", ROOT, "peek", "0", "1024"], capture_output=True, text=True,
                              check=True).stdout

    # Set, "*OPC?", and the channels' registers are final at once: a second
    # look a moment later finds nothing more written. Each run starts from
    # the state its commands restore.
    settings = [
        ("output on", ["CHANnel1:OUTPut OFF"], "CHANnel1:OUTPut ON"),
        ("waveform", ["CHANnel1:OUTPut ON", "CHANnel1:BASe:WAVe SINe"], "CHANnel1:BASe:WAVe SQUare"),
        ("mode", ["CHANnel1:MODE CONTinue"], "CHANnel1:MODE MODulation"),
        ("modulation type", ["CHANnel1:MODE MODulation", "CHANnel1:MODulate:TYPe AM"], "CHANnel1:MODulate:TYPe FM"),
        ("sweep type", ["CHANnel1:MODE SWEep", "CHANnel1:SWEep:TYPe LINe"], "CHANnel1:SWEep:TYPe STEP"),
        ("burst type", ["CHANnel1:MODE BURSt", "CHANnel1:BURSt:TYPe NCYC"], "CHANnel1:BURSt:TYPe INFinit"),
        ("coupling", ["CHANnel1:MODE CONTinue", "CHANnel:COUPle1:FREQuency OFF", "CHANnel:COUPle1:FREQuency:SCALe 3",
                      "CHANnel1:BASe:FREQuency 1000", "CHANnel2:BASe:FREQuency 1000"], "CHANnel:COUPle1:FREQuency ON"),
        ("reset", ["CHANnel2:OUTPut ON", "CHANnel2:BASe:WAVe RAMP"], "*RST"),
    ]
    for name, restore, cmd in settings:
        late = []
        unchanged = 0
        for _ in range(20):
            for c in restore:
                inst.write(c)
            q("*OPC?")
            before = registers()
            inst.write(cmd)
            q("*OPC?")
            at_once = registers()
            time.sleep(0.2)
            if registers() != at_once:
                late.append(name)
            if at_once == before:
                unchanged += 1
        case("%s: registers final when *OPC? answers, 20 runs" % name, not late and not unchanged and errors() == [],
             "%d runs with later writes, %d without any change" % (len(late), unchanged))

inst.close()
sys.exit(1 if failures else 0)
