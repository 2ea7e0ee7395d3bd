#!/usr/bin/python3
"""The Python driver against a running instrument on a simulated board.

    test_driver.py ROOT ORNAV_SIM [RESOURCE] [unittest arguments]

ROOT is the simulated board root of the instrument serving on RESOURCE
(default TCPIP::127.0.0.1::inst0::INSTR), ORNAV_SIM the ornav-sim tool.
"""
import math
import os
import subprocess
import sys
import tempfile
import time
import unittest

import numpy as np

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from ornav72 import Ornav72  # noqa: E402
from ornav72._commands import COMMANDS  # noqa: E402

ROOT, SIM = sys.argv[1], sys.argv[2]
RESOURCE = sys.argv[3] if len(sys.argv) > 3 and "::" in sys.argv[3] else "TCPIP::127.0.0.1::inst0::INSTR"
del sys.argv[1:4 if RESOURCE in sys.argv else 3]

gen = Ornav72(RESOURCE)


def sim(*args):
    return subprocess.run([SIM, "--root", ROOT] + [str(a) for a in args], capture_output=True, text=True,
                          check=True, timeout=60).stdout


def stream(name):
    return [int(x) for x in sim("stream", name).split()]


def names(scope):
    """Every property and action name the table gives a scope."""
    out = []
    for e in COMMANDS:
        if e["scope"] != scope:
            continue
        if e["index"]:
            out += [e["name"].replace("{n}", str(n)) for n in range(e["index"][0], e["index"][1] + 1)]
        else:
            out.append(e["name"])
    return out


# Round trips: property -> (value, steps before it). A step is (object name,
# property, value) or (object name, method). The objects: gen, ch1, ch3,
# couple1, couple2, counter, digital.
HARMONICS = {"harmonic_amplitude_%d" % n: (0.01, [("ch1", "waveform", "harmonic")]) for n in range(2, 17)}
HARMONICS.update({"harmonic_phase_%d" % n: (30.0, [("ch1", "waveform", "harmonic")]) for n in range(2, 17)})
PSK = {"psk_phase_%d" % n: (90.0, [("ch1", "mode", "modulation"), ("ch1", "modulation_type", "psk")])
       for n in range(1, 5)}
FSK = {"fsk_frequency_%d" % n: (500.0, [("ch1", "mode", "modulation"), ("ch1", "modulation_type", "fsk")])
       for n in range(1, 4)}
SINE = [("ch1", "mode", "continue"), ("ch1", "waveform", "sine")]

CHANNEL = {
    "output": (True, []),
    "inverted": (True, []),
    "sync_output": (True, []),
    "sync_inverted": (True, []),
    "limit_enabled": (False, []),
    "limit_low": (-2.0, []),
    "limit_high": (2.0, []),
    "load": (50, []),
    "merged": (False, [("ch1", "merged", True)]),
    "waveform": ("ramp", []),
    "frequency": (1234.5, SINE),
    "noise_bandwidth": (3000.0, SINE),
    "prbs_bit_rate": (4000.0, SINE),
    "period": (0.002, SINE),
    "phase": (45.0, SINE),
    "amplitude": (2.0, SINE),
    "amplitude_vrms": (0.3, SINE),
    "amplitude_dbm": (0.0, SINE + [("ch1", "load", 50)]),
    "amplitude_unit": ("vpp", [("ch1", "amplitude_vrms", 0.3)]),
    "offset": (0.5, SINE + [("ch1", "amplitude", 1.0)]),
    "high_level": (1.0, SINE),
    "low_level": (-1.0, SINE + [("ch1", "high_level", 1.0)]),
    "duty": (30.0, [("ch1", "waveform", "square")]),
    "pulse_width": (0.0001, [("ch1", "waveform", "pulse"), ("ch1", "frequency", 1000)]),
    "symmetry": (30, [("ch1", "waveform", "ramp")]),
    "rise_time": (2e-8, [("ch1", "waveform", "pulse"), ("ch1", "frequency", 1000)]),
    "fall_time": (3e-8, [("ch1", "waveform", "pulse"), ("ch1", "frequency", 1000)]),
    "harmonic_order": (8, [("ch1", "waveform", "harmonic")]),
    "harmonic_type": ("even", [("ch1", "waveform", "harmonic")]),
    "harmonic_user_mask": (5, [("ch1", "waveform", "harmonic")]),
    "arb_sampling": ("points", []),
    "arb_filter": ("line", []),
    "noise_sum": (True, SINE),
    "noise_sum_unit": ("ratio", SINE + [("ch1", "noise_sum", True)]),
    "noise_sum_snr": (20.0, SINE + [("ch1", "noise_sum", True), ("ch1", "noise_sum_unit", "ratio")]),
    "mode": ("modulation", SINE),
    "trigger_source": ("manual", [("ch1", "mode", "burst")]),
    "osk_trigger_source": ("external", [("ch1", "mode", "modulation"), ("ch1", "modulation_type", "osk")]),
    "trigger_output": ("rise", [("ch1", "mode", "burst")]),
    "trigger_sweep": (None, [("ch1", "mode", "sweep"), ("ch1", "trigger_source", "manual")]),
    "trigger_burst": (None, [("ch1", "mode", "burst"), ("ch1", "burst_type", "ncyc"),
                             ("ch1", "trigger_source", "manual")]),
    "modulation_type": ("fm", SINE),
    "qam_map": ("qam16", [("ch1", "mode", "modulation"), ("ch1", "modulation_type", "qam")]),
    "pn_code": ("pn7", [("ch1", "mode", "modulation"), ("ch1", "modulation_type", "qam")]),
    "modulation_waveform": ("square", [("ch1", "mode", "modulation"), ("ch1", "modulation_type", "fm")]),
    "modulation_source": ("external", [("ch1", "mode", "modulation"), ("ch1", "modulation_type", "fm")]),
    "modulation_frequency": (50.0, [("ch1", "mode", "modulation"), ("ch1", "modulation_type", "fm"),
                                    ("ch1", "modulation_source", "internal")]),
    "osk_rate": (100.0, [("ch1", "mode", "modulation"), ("ch1", "modulation_type", "osk")]),
    "bit_rate": (1000.0, [("ch1", "mode", "modulation"), ("ch1", "modulation_type", "qam")]),
    "modulation_depth": (80.0, [("ch1", "mode", "modulation"), ("ch1", "modulation_type", "am")]),
    "fm_deviation": (100.0, [("ch1", "mode", "modulation"), ("ch1", "modulation_type", "fm")]),
    "pm_deviation": (90.0, [("ch1", "mode", "modulation"), ("ch1", "modulation_type", "pm")]),
    "osk_time": (0.001, [("ch1", "mode", "modulation"), ("ch1", "modulation_type", "osk")]),
    "pwm_deviation": (20.0, [("ch1", "waveform", "pulse"), ("ch1", "mode", "modulation"),
                             ("ch1", "modulation_type", "pwm")]),
    "sweep_type": ("log", SINE + [("ch1", "mode", "sweep")]),
    "sweep_start": (100.0, SINE + [("ch1", "mode", "sweep"), ("ch1", "sweep_type", "line")]),
    "sweep_stop": (10000.0, SINE + [("ch1", "mode", "sweep"), ("ch1", "sweep_type", "line")]),
    "sweep_time": (0.5, SINE + [("ch1", "mode", "sweep")]),
    "sweep_steps": (20, SINE + [("ch1", "mode", "sweep"), ("ch1", "sweep_type", "step")]),
    "burst_type": ("ncyc", SINE + [("ch1", "mode", "burst")]),
    "burst_period": (0.01, SINE + [("ch1", "mode", "burst"), ("ch1", "burst_type", "ncyc")]),
    "burst_cycles": (5, SINE + [("ch1", "mode", "burst"), ("ch1", "burst_type", "ncyc")]),
    "burst_phase": (90.0, SINE + [("ch1", "mode", "burst"), ("ch1", "burst_type", "ncyc")]),
    "gate_polarity": ("negative", SINE + [("ch1", "mode", "burst"), ("ch1", "burst_type", "gate")]),
}
CHANNEL.update(HARMONICS)
CHANNEL.update(PSK)
CHANNEL.update(FSK)

PAIR = {
    "frequency_coupling": (True, []),
    "frequency_ratio": (2.0, [("couple1", "frequency_coupling", True)]),
    "frequency_difference": (100.0, [("couple1", "frequency_coupling", True)]),
    "amplitude_coupling": (True, []),
    "amplitude_ratio": (0.5, []),
    "amplitude_difference": (0.5, [("couple1", "amplitude_coupling", True)]),
    "phase_coupling": (True, []),
    "phase_ratio": (2.0, [("couple1", "phase_coupling", True)]),
    "phase_difference": (30.0, [("couple1", "phase_coupling", True)]),
}
SYSTEM = {
    "phase_mode": ("synchronization", []),
    "language": ("english", []),
    "number_format": ("space", []),
    "picture_format": ("png", []),
    "beep": (False, []),
    "brightness": (70, []),
    "sleep_time": ("15min", []),
}
COUNTER = {
    "enabled": (True, []),
    "coupling": ("dc", []),
    "hf_reject": (True, []),
    "trigger_level": (1.0, []),
    "sensitivity": (50.0, []),
    # measurements: read after the simulated input (see test_counter_readings)
    "frequency": None, "period": None, "duty": None, "positive_width": None, "negative_width": None,
}
DIGITAL = {
    "protocol": ("uart", []),
    "enabled": (True, [("digital", "protocol", "uart")]),
    "amplitude": (3.3, []),
    "data_format": ("char", []),
    "send": (None, [("digital", "protocol", "uart"), ("digital", "enabled", True), ("digital", "auto_send", False)]),
    "auto_send": (True, []),
    "auto_send_interval": (0.01, []),
    "spi_clock": (100000, []),
    "i2c_clock": (100000, []),
    "i2c_address": (80, []),
    "uart_baud_rate": (9600, []),
    "uart_data_bits": (7, []),
    "uart_stop_bits": (2, []),
    "uart_parity": ("even", []),
}


def obj(name):
    return gen if name == "gen" else getattr(gen, name)


def same(got, want):
    if isinstance(want, bool) or isinstance(want, str):
        return got == want
    return math.isclose(float(got), float(want), rel_tol=1e-6, abs_tol=1e-12)


class Recorder:
    """Wraps the adapter's write and ask, so a test sees what was sent."""

    def __init__(self):
        self.sent = []

    def __enter__(self):
        a = gen.adapter
        self.write, self.ask = a.write, a.ask
        a.write = lambda c: (self.sent.append(c), self.write(c))[1]
        a.ask = lambda c: (self.sent.append(c), self.ask(c))[1]
        return self

    def __exit__(self, *exc):
        del gen.adapter.write
        del gen.adapter.ask


class RoundTrips(unittest.TestCase):
    def setUp(self):
        gen.reset()
        gen.check_errors()

    def run_cases(self, scope, target, cases):
        self.assertEqual(sorted(names(scope)), sorted(cases), "every %s entry of the table needs a case" % scope)
        for name, case in sorted(cases.items()):
            if case is None:
                continue
            value, steps = case
            with self.subTest(property=name):
                gen.reset()
                for step in steps:
                    setattr(obj(step[0]), step[1], step[2])
                self.assertEqual(gen.check_errors(), [], "steps before %s" % name)
                o = obj(target)
                if value is None:
                    getattr(o, name)()
                    self.assertTrue(gen.wait())
                    self.assertEqual(gen.check_errors(), [], name)
                    continue
                setattr(o, name, value)
                got = getattr(o, name)
                self.assertTrue(same(got, value), "%s: set %r, read %r" % (name, value, got))
                self.assertEqual(gen.check_errors(), [], name)

    def test_channel_properties(self):
        self.run_cases("channel", "ch1", CHANNEL)

    def test_pair_properties(self):
        self.run_cases("pair", "couple1", PAIR)

    def test_system_properties(self):
        self.run_cases("system", "gen", SYSTEM)

    def test_counter_settings(self):
        self.run_cases("counter", "counter", COUNTER)

    def test_digital_output_properties(self):
        self.run_cases("digital", "digital", DIGITAL)

    def test_channels_reach_their_own_channel(self):
        for n, ch in enumerate(gen.channels, 1):
            ch.frequency = 1000.0 * n
        for n, ch in enumerate(gen.channels, 1):
            self.assertEqual(ch.frequency, 1000.0 * n)
        gen.couple2.phase_coupling = True
        self.assertTrue(gen.couple2.phase_coupling)
        self.assertFalse(gen.couple1.phase_coupling)
        self.assertEqual(gen.check_errors(), [])

    def test_amplitude_reads_only_in_its_own_unit(self):
        gen.ch1.amplitude_vrms = 0.5
        self.assertEqual(gen.ch1.amplitude_unit, "vrms")
        with self.assertRaises(ValueError):
            gen.ch1.amplitude
        gen.ch1.amplitude = 1.5
        self.assertEqual(gen.ch1.amplitude_unit, "vpp")
        self.assertEqual(gen.ch1.amplitude, 1.5)

    def test_counter_readings(self):
        gen.counter.enabled = True
        sim("counter", 1000, 25)
        self.assertTrue(gen.wait())
        # The counter's reading refreshes once a second.
        for _ in range(100):
            if math.isclose(gen.counter.frequency, 1000, rel_tol=1e-3):
                break
            time.sleep(0.1)
        self.assertAlmostEqual(gen.counter.frequency, 1000, delta=1)
        self.assertAlmostEqual(gen.counter.period, 1e-3, delta=1e-6)
        self.assertAlmostEqual(gen.counter.duty, 25, delta=0.1)
        self.assertAlmostEqual(gen.counter.positive_width, 0.25e-3, delta=1e-6)
        self.assertAlmostEqual(gen.counter.negative_width, 0.75e-3, delta=1e-6)


class ClientSideChecks(unittest.TestCase):
    """Values outside the table's range, words that are not choices: PyMeasure's
    ValueError, and nothing goes to the instrument."""

    def refused(self, o, name, value):
        with Recorder() as r:
            with self.assertRaises(ValueError, msg="%s = %r" % (name, value)):
                setattr(o, name, value)
        self.assertEqual(r.sent, [], "%s = %r sent something" % (name, value))

    def test_every_range_and_choice_is_checked_before_sending(self):
        targets = {"channel": [gen.ch1, gen.ch3], "pair": [gen.couple1], "system": [gen],
                   "counter": [gen.counter], "digital": [gen.digital]}
        checked = 0
        for e in COMMANDS:
            if not e["set"] or e["kind"] == "action":
                continue
            for o in targets[e["scope"]]:
                name = e["name"].replace("{n}", str(e["index"][0])) if e["index"] else e["name"]
                rng = e["range34"] if o in (gen.ch3, gen.ch4) and e["range34"] else e["range"]
                if e["kind"] == "choice":
                    self.refused(o, name, "no-such-word")
                elif e["kind"] == "bool":
                    self.refused(o, name, "maybe")
                elif rng:
                    span = rng[1] - rng[0]
                    self.refused(o, name, rng[0] - max(span * 1e-3, abs(rng[0]) * 1e-3, 1e-12))
                    self.refused(o, name, rng[1] + max(span * 1e-3, abs(rng[1]) * 1e-3, 1e-12))
                else:
                    continue
                checked += 1
        self.assertGreater(checked, 80)

    def test_limits_of_the_slower_channels(self):
        # CH1 sends 300 MHz (the instrument decides about it), CH3 and CH4 do not.
        with Recorder() as r:
            gen.ch1.frequency = 3e8
        self.assertEqual(r.sent, ["CHANnel1:BASe:FREQuency 300000000.0"])
        gen.check_errors()
        self.refused(gen.ch3, "frequency", 3e8)
        self.refused(gen.ch4, "sweep_stop", 2.5e8)

    def test_steps_and_indices(self):
        self.refused(gen, "brightness", 55)
        self.assertFalse(hasattr(gen.ch1, "psk_phase_5"))
        self.assertFalse(hasattr(gen.ch1, "harmonic_amplitude_1"))

    def test_uploads_refused_before_sending(self):
        with Recorder() as r:
            with self.assertRaises(ValueError):
                gen.ch1.upload_arb([0.0, 1.0, 0.0])
            with self.assertRaises(ValueError):
                gen.ch1.upload_arb(np.sin(np.linspace(0, 6, 100)), name="../evil.bsv")
            with self.assertRaises(ValueError):
                gen.ch1.upload_frequency_list([])
            with self.assertRaises(ValueError):
                gen.ch3.upload_frequency_list([1e3, 3e8])
        self.assertEqual(r.sent, [])


class Transfers(unittest.TestCase):
    def setUp(self):
        gen.reset()
        gen.check_errors()

    def test_arb_upload_reaches_the_channel_table(self):
        gen.ch1.waveform = "arb"
        gen.ch1.output = True
        n = np.arange(8192)
        wave = 0.7 * np.sin(2 * np.pi * n / 8192) + 0.1 * np.sin(2 * np.pi * 5 * n / 8192)
        gen.ch1.upload_arb(wave, name="py-test.bsv")
        # Scaled to full scale by the driver; the wave is symmetric about
        # zero, so the instrument plays the words as they are.
        words = [int(v) for v in np.round(wave / np.max(np.abs(wave)) * 32767)]
        self.assertWords(stream("table:1:base"), words)
        self.assertEqual(gen.ch1.waveform, "arb")
        self.assertEqual(gen.ask("CHANnel1:BASe:ARB?").strip(), 'USER,"py-test.bsv"')
        # A stored file is found by its plain name for the modulating wave
        # as well, and one on the USB disk reads back as external.
        gen.write('CHANnel2:MODulate:ARB USER,"py-test.bsv"')
        self.assertEqual(gen.ask("CHANnel2:MODulate:ARB?").strip(), 'USER,"py-test.bsv"')
        with open(os.path.join(ROOT, "media/usbdisk/py-ext.bsv"), "wb") as f:
            f.write(b"[HEAD]:0\r\nFREQUENCY:1000\r\n[DATA]:16\r\n"
                    + np.arange(-8000, 8000, 1000).astype("<i2").tobytes())
        gen.write('CHANnel3:BASe:ARB EXTernal,"py-ext.bsv"')
        self.assertEqual(gen.ask("CHANnel3:BASe:ARB?").strip(), 'EXTernal,"py-ext.bsv"')
        self.assertEqual(gen.check_errors(), [])
        # A plain list of integers is taken as well.
        inverted = [-w for w in words]
        gen.ch1.upload_arb(inverted, name="py-inverted.bsv")
        self.assertWords(stream("table:1:base"), inverted)

    def assertWords(self, got, want):
        """The streamed words are the samples (as unsigned 16-bit words); the
        first difference is reported (a full diff of 8192 words takes ages)."""
        want = [v & 0xFFFF for v in want]
        self.assertEqual(len(got), len(want))
        diff = next((i for i, (a, b) in enumerate(zip(got, want)) if a != b), None)
        self.assertIsNone(diff, "word %s: %s, want %s" % (diff, got[diff] if diff is not None else "",
                                                          want[diff] if diff is not None else ""))

    def test_frequency_list_reaches_the_list_sweep(self):
        gen.ch2.output = True
        gen.ch2.upload_frequency_list([1000, 2500.5, 4000], name="py-test.lst")
        self.assertEqual(len(stream("list:2")), 3)
        self.assertEqual(gen.ch2.mode, "sweep")
        self.assertEqual(gen.ch2.sweep_type, "list")

    def test_configuration_saved_and_restored(self):
        gen.ch1.frequency = 4321.0
        record = gen.save_configuration()
        self.assertEqual(len(record), 4536)
        gen.ch1.frequency = 99.0
        gen.restore_configuration(record)
        self.assertEqual(gen.ch1.frequency, 4321.0)
        with self.assertRaises(OSError):
            gen.restore_configuration(record[:100])

    def test_screenshot_is_a_png_file(self):
        with tempfile.TemporaryDirectory() as d:
            path = os.path.join(d, "s.png")
            size = gen.screenshot(path)
            with open(path, "rb") as f:
                data = f.read()
        self.assertEqual(len(data), size)
        self.assertTrue(data.startswith(b"\x89PNG\r\n\x1a\n"))
        self.assertGreater(size, 1000)

    def test_error_list(self):
        gen.write("CHANnel9:OUTPut ON")
        self.assertEqual([c for c, _ in gen.check_errors()], [-108])
        self.assertEqual(gen.check_errors(), [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
