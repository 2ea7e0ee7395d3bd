"""PyMeasure driver of the ORNAV72 four-channel arbitrary/function waveform generator."""
from .driver import Channel, Channel34, ChannelPair, Counter, DigitalOutput, Ornav72

__all__ = ["Ornav72", "Channel", "Channel34", "ChannelPair", "Counter", "DigitalOutput"]
__version__ = "1.0.0"
