"""PyMeasure driver of the four-channel waveform generator.

The settings are properties built from the generated table in _commands.py
(the instrument's own command table): a value outside the accepted range, or
a word that is not a choice, raises PyMeasure's ValueError before anything
is sent. The instrument may refuse a value inside that range when it does
not suit the present waveform, load or frequency (-801 on its error list,
see `Ornav72.check_errors`).

PyMeasure 0.9 (Debian 12) has no Channel class: channels, channel pairs,
the counter and the digital output are plain sub-objects whose commands go
through the instrument, the pattern 0.9's own multi-channel drivers use.
"""
import numpy as np
from pymeasure.instruments import Instrument
from pymeasure.instruments.validators import strict_discrete_range, strict_discrete_set, strict_range

from ._commands import COMMANDS


def _number(v):
    return repr(float(v))


def _integer(v):
    return str(int(round(v)))


def _doc(entry):
    text = entry["doc"] or entry["name"].replace("_", " ")
    if entry["unit"]:
        text += " [%s]" % entry["unit"]
    if entry["range"]:
        text += ", %g to %g" % entry["range"]
        if entry["range34"] and entry["range34"] != entry["range"]:
            text += " (CH3/CH4: %g to %g)" % entry["range34"]
    if entry["choices"]:
        text += "; one of " + ", ".join(repr(c.lower()) for c in entry["choices"])
    return text + "."


def _with_index(pattern, n):
    """The pattern with its last '#' (the entry's index) replaced by n."""
    at = pattern.rfind("#")
    return pattern[:at] + str(n) + pattern[at + 1:]


def _property(entry, set_form, query_form, use34):
    """One PyMeasure property (or an action method) for a table entry."""
    kind, doc = entry["kind"], _doc(entry)
    if kind == "action":
        command = set_form

        def action(self):
            self.write(command)
        action.__doc__ = doc
        return action

    args = {}
    set_command = None
    if set_form:
        set_command = set_form + " %s" + entry["suffix"]
    if kind == "bool":
        args = dict(validator=strict_discrete_set, values={True: 1, False: 0}, map_values=True,
                    set_process=lambda v: v)
    elif kind == "choice":
        words = {w.lower(): w for w in entry["choices"]}
        by_upper = {w.upper(): w for w in entry["choices"]}
        args = dict(validator=strict_discrete_set, values=words, map_values=True,
                    get_process=lambda v: by_upper.get(str(v).strip().strip('"').upper(), v))
    else:
        rng = entry["range34"] if use34 and entry["range34"] else entry["range"]
        step = entry["step"]
        if rng and step:
            args["validator"] = lambda v, vs: strict_discrete_range(v, vs, step)
        elif rng:
            args["validator"] = strict_range
        if rng:
            args["values"] = rng
        args["set_process"] = _integer if kind == "int" else _number
        mask = entry["reply_mask"]
        if mask:
            args["get_process"] = lambda v: int(v) & mask
        elif kind == "int":
            args["get_process"] = lambda v: int(v) if isinstance(v, float) else v

    if set_command and query_form:
        return Instrument.control(query_form, set_command, doc, **args)
    if query_form:
        args.pop("validator", None)
        args.pop("set_process", None)
        return Instrument.measurement(query_form, doc, **args)
    return Instrument.setting(set_command, doc, **args)


def _amplitude_property(entry, query_form, set_form):
    """The amplitude in one unit: setting it with that unit's suffix also makes
    it the unit of the entry; reading it needs the entry in that unit, as the
    instrument answers the amplitude in its present unit only."""
    base = _property(entry, set_form, None, False)
    unit = entry["suffix"]
    name = entry["name"]

    def fget(self):
        present = self.ask(set_form.rsplit(":", 2)[0] + ":AMPLitude:UNIT?").strip().upper()
        if present != unit:
            raise ValueError("The amplitude entry is in %s, not %s: read the property of that unit "
                             "or set amplitude_unit first (%s)" % (present, unit, name))
        return self.values(query_form)[0]
    return property(fget, base.fset, doc=base.__doc__)


def _build(scope, bases, use34=False, name=None):
    """A class holding the properties of one scope."""
    attrs = {}
    for entry in COMMANDS:
        if entry["scope"] != scope:
            continue
        indices = [None]
        if entry["index"]:
            lo, hi = entry["index"]
            indices = range(lo, hi + 1)
        for n in indices:
            set_form, query_form = entry["set"], entry["query"]
            prop_name = entry["name"]
            if n is not None:
                set_form = set_form and _with_index(set_form, n)
                query_form = query_form and _with_index(query_form, n)
                prop_name = prop_name.replace("{n}", str(n))
            if entry["suffix"] and entry["kind"] == "number":
                attrs[prop_name] = _amplitude_property(entry, query_form, set_form)
            else:
                attrs[prop_name] = _property(entry, set_form, query_form, use34)
    return type(name or scope.capitalize(), bases, attrs)


class _SubSystem:
    """A part of the instrument whose commands carry a number ('CHANnel#',
    'COUPle#') or none (counter, digital output)."""
    placeholder = None

    def __init__(self, instrument, number=None):
        self.instrument = instrument
        self.number = number

    def _command(self, command):
        if self.placeholder:
            return command.replace(self.placeholder, self.placeholder[:-1] + str(self.number), 1)
        return command

    def values(self, command, **kwargs):
        return self.instrument.values(self._command(command), **kwargs)

    def ask(self, command):
        return self.instrument.ask(self._command(command))

    def write(self, command):
        self.instrument.write(self._command(command))

    def check_errors(self):
        return self.instrument.check_errors()


class _ChannelBase(_SubSystem):
    placeholder = "CHANnel#"

    def __repr__(self):
        return "<ornav72 channel %d>" % self.number

    def trigger(self):
        """One manual trigger of the sweep or burst (trigger_source must be 'manual')."""
        if self.mode == "burst":
            self.trigger_burst()
        else:
            self.trigger_sweep()

    def enable(self):
        self.output = True

    def disable(self):
        self.output = False

    def upload_arb(self, samples, name="python.bsv", frequency=1000, modulation=False):
        """Uploads an arbitrary wave (a sequence or numpy array of at least 9
        samples) as a bsv file named `name`: it becomes this channel's
        arbitrary wave, played while `waveform` is 'arb' (with
        modulation=True: its modulating wave, played while
        `modulation_waveform` is 'arb'). The samples go as 16-bit words
        scaled so that the largest magnitude is full scale; the instrument
        then keeps a wave symmetric about zero as it is and stretches any
        other from its lowest to its highest sample over its full range.
        The file stays on the instrument's internal storage under `name`
        (a plain name ending in ".bsv"; one of that name is replaced), so
        the channel plays it again after a power cycle. The layout is the
        one of docs/arb-files.md. Raises OSError when the instrument refuses
        the file."""
        data = np.asarray(samples, dtype=float).ravel()
        if not 9 <= data.size <= 1 << 26:
            raise ValueError("An arbitrary wave has 9 to 2**26 samples, not %d" % data.size)
        if not str(name).lower().endswith(".bsv"):
            raise ValueError("The wave is sent as a bsv file: its name ends in .bsv, not %r" % name)
        if not np.all(np.isfinite(data)):
            raise ValueError("The samples of an arbitrary wave must be finite numbers")
        peak = float(np.max(np.abs(data)))
        words = np.zeros(data.size) if peak == 0 else np.round(data / peak * 32767)
        payload = words.astype("<i2").tobytes()
        head = "[HEAD]:0\r\nFREQUENCY:%s\r\n[DATA]:%d\r\n" % (_number(frequency), data.size)
        self.instrument.upload(
            'WARB%d:%s "%s"' % (self.number, "MODulate" if modulation else "CARRier", _file_name(name)),
            head.encode("ascii") + payload)

    def upload_frequency_list(self, frequencies, name="python.lst"):
        """Uploads a frequency list (1 to 2048 frequencies in Hz) as the list
        sweep of this channel; the instrument keeps it on its internal
        storage as "CH<n>_List_<name>" (layout: docs/arb-files.md)."""
        freqs = [float(f) for f in frequencies]
        if not 1 <= len(freqs) <= 2048:
            raise ValueError("A frequency list holds 1 to 2048 frequencies, not %d" % len(freqs))
        rng = self._frequency_range
        for f in freqs:
            strict_range(f, rng)
        text = "[HEAD]:44\r\n[FREQ-POINTS]:%d\r\n" % len(freqs) + "".join("%.6f\r\n" % f for f in freqs)
        self.instrument.upload('WFREQLIST%d "%s"' % (self.number, _file_name(name)), text.encode("ascii"))


def _file_name(name):
    name = str(name)
    if (not name or len(name) > 90 or ".." in name
            or any(c in '/\\"' or ord(c) < 0x20 or ord(c) == 0x7f for c in name)):
        raise ValueError("Not a plain file name: %r" % name)
    return name


def _range_of(name, use34):
    for e in COMMANDS:
        if e["name"] == name:
            return tuple(e["range34"] if use34 and e["range34"] else e["range"])
    raise KeyError(name)


Channel = _build("channel", (_ChannelBase,), name="Channel")
Channel._frequency_range = _range_of("frequency", False)
# CH3 and CH4 reach a lower frequency than CH1 and CH2.
Channel34 = _build("channel", (Channel,), use34=True, name="Channel34")
Channel34._frequency_range = _range_of("frequency", True)


class _PairBase(_SubSystem):
    placeholder = "COUPle#"

    def __repr__(self):
        return "<ornav72 channel pair %d>" % self.number


ChannelPair = _build("pair", (_PairBase,), name="ChannelPair")
Counter = _build("counter", (_SubSystem,), name="Counter")
DigitalOutput = _build("digital", (_SubSystem,), name="DigitalOutput")
_System = _build("system", (Instrument,), name="_System")


class Ornav72(_System):
    """The four-channel arbitrary/function waveform generator.

        gen = Ornav72("TCPIP::192.168.1.100::inst0::INSTR")
        gen.ch1.waveform, gen.ch1.frequency, gen.ch1.output = "square", 10e3, True

    `adapter` is a VISA resource string (VXI-11 "TCPIP::HOST::inst0::INSTR"
    or a raw socket "TCPIP::HOST::PORT::SOCKET") or a PyMeasure adapter.
    Sub-objects: ch1..ch4 (also `channels`), couple1 (CH1-CH2) and couple2
    (CH3-CH4), counter, digital.
    """

    def __init__(self, adapter, name="ORNAV72 waveform generator", **kwargs):
        if isinstance(adapter, str):
            kwargs.setdefault("visa_library", "@py")
            kwargs.setdefault("timeout", 20000)
            if adapter.upper().endswith("::SOCKET"):
                # A raw socket has no message ends of its own: lines.
                kwargs.setdefault("read_termination", "\n")
                kwargs.setdefault("write_termination", "\n")
        super().__init__(adapter, name, **kwargs)
        self.ch1, self.ch2 = Channel(self, 1), Channel(self, 2)
        self.ch3, self.ch4 = Channel34(self, 3), Channel34(self, 4)
        self.channels = (self.ch1, self.ch2, self.ch3, self.ch4)
        self.couple1, self.couple2 = ChannelPair(self, 1), ChannelPair(self, 2)
        self.counter = Counter(self)
        self.digital = DigitalOutput(self)

    # ---- status and synchronisation ------------------------------------------------
    def wait(self):
        """Returns once the instrument has applied everything sent before."""
        return int(self.ask("*OPC?").strip()) == 1

    def reset(self):
        """Restores the factory settings (the outputs switch off)."""
        self.write("*RST")
        self.wait()

    def next_error(self):
        """The newest entry of the error list as (code, text); (0, 'No error') when empty."""
        reply = self.ask("SYSTem:ERRor?").strip()
        code, _, text = reply.partition(",")
        return int(code), text.strip().strip('"')

    def check_errors(self):
        """Reads and empties the error list; returns its entries, newest first."""
        errors = []
        for _ in range(100):
            code, text = self.next_error()
            if code == 0:
                break
            errors.append((code, text))
        return errors

    def clear_errors(self):
        self.write("SYSTem:ERRor")

    # ---- transfers -------------------------------------------------------------------------
    @property
    def _connection(self):
        return self.adapter.connection

    def _is_socket(self):
        return str(getattr(self._connection, "resource_name", "")).upper().endswith("::SOCKET")

    def write_bytes(self, data):
        """Sends bytes as one message (a file after an arming command)."""
        conn = self._connection
        if self._is_socket():
            # A raw socket has no END marker: the data goes as one IEEE 488.2
            # definite-length block, which the instrument reads by its length.
            data = bytes(data)
            length = str(len(data)).encode()
            conn.write_raw(b"#" + str(len(length)).encode() + length + data + b"\n")
            return
        # Over VXI-11 the instrument's link takes 1 KiB a write, so the client
        # sends longer data in pieces with END on the last one.
        conn.write_raw(bytes(data))

    def upload(self, arming_command, data):
        """Sends an arming command ("WARB1:CARRier \"x.bsv\"", "WFREQLIST1 ...",
        "SYSTem:CONFigure") and the data message it announces, then waits until
        the instrument has taken it; raises OSError with the error list when
        it refused anything."""
        self.check_errors()
        # One message: the arming command with the data as a definite-length
        # block after the file name (or after the header when it takes none).
        separator = "," if '"' in arming_command else " "
        self._connection.write_binary_values(arming_command + separator, bytes(data), datatype="B")
        self.wait()
        errors = self.check_errors()
        if errors:
            raise OSError("The instrument refused the upload: %s" % errors)

    def save_configuration(self):
        """The whole parameter record of the instrument (4536 bytes)."""
        return bytes(self._connection.query_binary_values("SYSTem:CONFigure?", datatype="B", container=bytes))

    def restore_configuration(self, record):
        """Loads a record read by save_configuration and applies it."""
        self.upload("SYSTem:CONFigure", bytes(record))

    def screenshot(self, path):
        """Saves the screen as a PNG file; returns the number of bytes written."""
        saved = self.picture_format
        if saved != "png":
            self.picture_format = "png"
        try:
            data = bytes(self._connection.query_binary_values("DISPlay:DATA?", datatype="B", container=bytes))
        finally:
            if saved != "png":
                self.picture_format = saved
        if not data.startswith(b"\x89PNG\r\n\x1a\n"):
            raise OSError("The instrument did not answer a PNG picture (%d bytes)" % len(data))
        with open(path, "wb") as f:
            f.write(data)
        return len(data)
