"""convert_file(): a binary I/Q pair file of any size into a ".awv" file
through Halvik, which streams the input; the peak is found here by walking
the memory-mapped file in blocks."""
import ctypes
import os
import pathlib
from typing import Optional

import numpy as np

from orvenda._awv import full_scale_count
from orvenda._convert import ConversionResult, parse_settings
from orvenda._errors import LibraryError, SettingError
from orvenda._library import library

NO_LINE = -1  # Halvik leaves the header line out
KIND_IQ_FILE = 4
LAYOUTS = {"short": (2, np.dtype("<i2")), "float": (3, np.dtype("<f4"))}  # InputDataType, value type
MARKER_LIST_ENTRIES = 1001
MAX_SAMPLES = (2**31 - 1) // 8
BLOCK_VALUES = 1 << 20


class ConversionSettings(ctypes.Structure):
    _fields_ = [("Fs", ctypes.c_double), ("IFFreq", ctypes.c_double), ("AWGGain", ctypes.c_double)] + [
        (name, ctypes.c_int32) for name in (
            "IQFilter", "MarkerFlags", "IQInv", "IFConvert", "IFMode", "StartTrigger", "TriggerPolarity",
            "OutputSequence", "LoopNum", "GateMode", "IQOutput", "IOutputGain", "QOutputGain", "IQOffset",
            "IOffset", "QOffset")]


class MarkerPoint(ctypes.Structure):
    _fields_ = [("Pos", ctypes.c_int32), ("Value", ctypes.c_int32)]


assert ctypes.sizeof(ConversionSettings) == 88 and ctypes.sizeof(MarkerPoint) == 8


def _peak_and_count(path, value_type):
    size = path.stat().st_size
    count = size // (2 * value_type.itemsize)
    if count > MAX_SAMPLES:
        raise SettingError(f"--data-size: {count} samples do not fit one waveform file (at most {MAX_SAMPLES})")
    if count == 0:
        return 0.0, 0
    values = np.memmap(path, dtype=value_type, mode="r", shape=(2 * count,))
    peak = 0.0
    for first in range(0, len(values), BLOCK_VALUES):
        block = np.abs(values[first:first + BLOCK_VALUES].astype(np.float64))
        bad = np.flatnonzero(~np.isfinite(block))
        if bad.size:  # refused, as the program's loader refuses it
            record = (first + int(bad[0])) // 2 + 1
            raise SettingError(f'The file "{path}" cannot be loaded: record {record} holds a value that is '
                               "not a finite number.")
        peak = max(peak, float(block.max()))
    return peak, count


def convert_file(in_path, out_path, *, layout: str, fs: float = 200.0, iq_filter: Optional[str] = None,
                 data_full_scale: float = 1.0, iq_inverse: bool = False, iq_offset=None,
                 iq_output: Optional[str] = None, iq_output_level=None, sequence: Optional[str] = None,
                 loops: Optional[int] = None, gate: Optional[str] = None, start_trigger: Optional[str] = None,
                 trigger_polarity: Optional[str] = None) -> ConversionResult:
    """Writes out_path from in_path, a file of little-endian I/Q pairs: layout
    "short" (16-bit integers) or "float" (32-bit floats). Settings as for
    convert(). Memory stays constant whatever the file's size."""
    if layout not in LAYOUTS:
        raise SettingError(f'--layout: "{layout}" is not one of {", ".join(LAYOUTS)}')
    in_path, out_path = pathlib.Path(in_path), pathlib.Path(out_path)
    p = parse_settings(fs=fs, iq_filter=iq_filter, data_full_scale=data_full_scale, iq_offset=iq_offset,
                       iq_output=iq_output, iq_output_level=iq_output_level, sequence=sequence, loops=loops,
                       gate=gate, start_trigger=start_trigger, trigger_polarity=trigger_polarity)
    data_type, value_type = LAYOUTS[layout]
    try:
        peak, count = _peak_and_count(in_path, value_type)
    except OSError as error:
        raise LibraryError(f'cannot read "{in_path}": {error.strerror}') from error

    def line(value):
        return NO_LINE if value == -255 else value
    s = ConversionSettings(Fs=p.fs_mhz * 1e6, AWGGain=p.awg_gain, IQFilter=line(p.filter_index),
                           IQInv=1 if iq_inverse else 0, StartTrigger=line(p.trigger), TriggerPolarity=p.polarity,
                           OutputSequence=line(p.sequence), LoopNum=p.sequence_param if p.sequence == 1 else 1,
                           GateMode=p.sequence_param if p.sequence == 2 else 0, IQOutput=line(p.output),
                           IQOffset=NO_LINE if p.offsets is None else 0)
    if p.levels is not None:
        s.IOutputGain, s.QOutputGain = p.levels
    if p.offsets is not None:
        s.IOffset, s.QOffset = p.offsets
    markers = (MarkerPoint * MARKER_LIST_ENTRIES)()  # all level 0: no marker
    halvik = library().Halvik
    halvik.restype = ctypes.c_int32
    result = halvik(os.fsencode(in_path), os.fsencode(in_path), data_type, KIND_IQ_FILE, markers, markers,
                    ctypes.c_int32(count), ctypes.c_double(peak), ctypes.byref(s), os.fsencode(out_path))
    if result != 0:
        raise LibraryError(f'Halvik could not write "{out_path}" from "{in_path}" (result {result}); '
                           "the file is left as it was")
    return ConversionResult(out_path, count, full_scale_count(out_path))
