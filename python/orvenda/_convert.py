"""convert(): numpy I/Q arrays and marker arrays into a ".awv" file through
HalvikMain, with orvenda-cli's option names, units, limits and messages."""
import ctypes
import os
import pathlib
from typing import NamedTuple, Optional

import numpy as np

from orvenda import _limits
from orvenda._awv import full_scale_count
from orvenda._errors import LibraryError, SettingError
from orvenda._library import library

OMIT = -255  # HalvikMain leaves the header line out
MARKER_MODE_WFM = 64  # marker bits taken from the per-sample arrays
MAX_SAMPLES = (2**31 - 1) // 8  # the sample block's byte count is a 32-bit number


class ConversionResult(NamedTuple):
    path: pathlib.Path
    sample_count: int
    # I and Q values written as a full-scale code (1 or 16383), counted in
    # the written file. Values are scaled by the peak and saturate, never wrap.
    full_scale_values: int


def _reject(option, why):
    raise SettingError(f"{option}: {why}")


def _number(option, value):
    try:
        number = float(value)
    except (TypeError, ValueError):
        _reject(option, f'"{value}" is not a number')
    if not np.isfinite(number):
        _reject(option, f'"{value}" is not a number')
    return number


def _in_range(option, value, limits, unit=""):
    number = _number(option, value)
    if number < limits.low or number > limits.high:
        _reject(option, f"{number:g}{unit} is outside the panel's limits "
                        f"{_limits.limit_text(limits.low)} to {_limits.limit_text(limits.high)}{unit}")
    return number


def _whole(option, value, limits, unit=""):
    number = _number(option, value)
    if number != int(number):
        _reject(option, f'"{value}" is not a whole number')
    return int(_in_range(option, number, limits, unit))


def _level(option, value, limits):
    number = _whole(option, value, limits, " mVp-p")
    if number % limits.step:
        _reject(option, f"{number} mVp-p is not a multiple of {limits.step} mVp-p, the panel's step")
    return number


def _level_pair(option, value, limits):
    i, q = (value, value) if np.isscalar(value) else tuple(value)
    return _level(option, i, limits), _level(option, q, limits)


def _choice(option, value, names):
    for index, name in enumerate(names):
        if str(value).lower() == name.lower():
            return index
    _reject(option, f'"{value}" is not one of {", ".join(names)}')


def _iq_pairs(i, q):
    """float32 (N, 2) from complex I/Q, an (N, 2) real array, or I and Q arrays."""
    i = np.asarray(i)
    if q is None:
        if np.iscomplexobj(i):
            pairs = np.stack([i.real, i.imag], axis=-1)
        elif i.ndim == 2 and i.shape[1] == 2:
            pairs = i
        else:
            raise SettingError("samples: give complex samples, an (N, 2) array, or I and Q arrays")
    else:
        q = np.asarray(q)
        if np.iscomplexobj(i) or np.iscomplexobj(q) or i.ndim != 1 or i.shape != q.shape:
            raise SettingError("samples: I and Q must be real arrays of one length")
        pairs = np.stack([i, q], axis=-1)
    if pairs.ndim != 2 or not np.issubdtype(pairs.dtype, np.number):
        raise SettingError("samples: give complex samples, an (N, 2) array, or I and Q arrays")
    if len(pairs) > MAX_SAMPLES:
        raise SettingError(f"samples: {len(pairs)} samples do not fit one waveform file (at most {MAX_SAMPLES})")
    with np.errstate(over="ignore", invalid="ignore"):  # reported below instead of warned
        pairs = np.ascontiguousarray(pairs, dtype=np.float32)
    bad = np.flatnonzero(~np.isfinite(pairs).all(axis=1))
    if bad.size:  # refused, as the loaders refuse it, rather than written as 0
        raise SettingError(f"samples: sample {int(bad[0])} is not a finite number (in float32)")
    return pairs


def _marker(name, marker, count):
    if marker is None:
        return None
    levels = np.asarray(marker)
    if levels.shape != (count,):
        raise SettingError(f"{name}: needs one level per sample ({count}), got shape {levels.shape}")
    return np.ascontiguousarray(levels != 0, dtype=np.int16)


def convert(i, q=None, out_path=None, *, fs: float = 200.0, iq_filter: Optional[str] = None,
            data_full_scale: float = 1.0, iq_inverse: bool = False, iq_offset=None,
            iq_output: Optional[str] = None, iq_output_level=None, sequence: Optional[str] = None,
            loops: Optional[int] = None, gate: Optional[str] = None, start_trigger: Optional[str] = None,
            trigger_polarity: Optional[str] = None, marker1=None, marker2=None) -> ConversionResult:
    """Writes out_path from I/Q samples held in memory.

    Samples: complex64/complex128 `i`, an (N, 2) real `i`, or real `i` and `q`.
    Settings carry orvenda-cli's names and units (fs in MHz, offsets and levels
    in mVp-p as a number or an (I, Q) pair). A setting left at None leaves its
    header line out; the sampling frequency is always written. marker1/marker2
    are per-sample levels (nonzero = high). Values are scaled by their peak, so
    nothing wraps. Raises SettingError or LibraryError."""
    if out_path is None and isinstance(q, (str, os.PathLike)):
        q, out_path = None, q  # convert(samples, "out.awv")
    if out_path is None:
        raise SettingError("--output: the waveform file to write is missing")
    out_path = pathlib.Path(out_path)
    pairs = _iq_pairs(i, q)
    count = len(pairs)
    level1 = _marker("--marker1", marker1, count)
    level2 = _marker("--marker2", marker2, count)

    p = parse_settings(fs=fs, iq_filter=iq_filter, data_full_scale=data_full_scale, iq_offset=iq_offset,
                       iq_output=iq_output, iq_output_level=iq_output_level, sequence=sequence, loops=loops,
                       gate=gate, start_trigger=start_trigger, trigger_polarity=trigger_polarity)
    filter_index, awg_gain, fs_hz, output = p.filter_index, p.awg_gain, p.fs_mhz * 1e6, p.output
    offsets = (OMIT, 0.0) if p.offsets is None else tuple(v / 1000.0 for v in p.offsets)
    gains = (OMIT, 0.0) if p.levels is None else tuple(v / 1000.0 for v in p.levels)
    sequence_mode, sequence_param, trigger, polarity = p.sequence, p.sequence_param, p.trigger, p.polarity
    marker_mode = MARKER_MODE_WFM if (level1 is not None or level2 is not None) else OMIT

    c_int16_p = ctypes.POINTER(ctypes.c_int16)
    null16 = ctypes.cast(None, c_int16_p)
    result = library().HalvikMain(
        pairs.ctypes.data_as(ctypes.POINTER(ctypes.c_float)),
        null16 if level1 is None else level1.ctypes.data_as(c_int16_p),
        null16 if level2 is None else level2.ctypes.data_as(c_int16_p),
        count, os.fsencode(out_path), gains[0], gains[1], offsets[0], offsets[1], fs_hz, awg_gain,
        filter_index, marker_mode, OMIT, 0, 0, 0, 0, 0, OMIT, 0, 0, 0, 0, 0,
        trigger, polarity, sequence_mode, sequence_param, output, 1 if iq_inverse else 0)
    if result != 0:
        raise LibraryError(f'HalvikMain could not write "{out_path}" (result {result}); the file is left as it was')
    return ConversionResult(out_path, count, full_scale_count(out_path))


class PanelSettings(NamedTuple):
    filter_index: int  # OMIT, 0 2.5M, 1 50M, 2 through
    awg_gain: float
    fs_mhz: float
    offsets: Optional[tuple]  # (I, Q) mVp-p, None: no offset line
    output: int               # OMIT, 0 fix, 1 var
    levels: Optional[tuple]   # (I, Q) mVp-p of the var path, None: no gain line
    sequence: int             # OMIT, 0 continuous, 1 single, 2 gated
    sequence_param: int       # loops (single) or gate (gated: 0 edge, 1 level)
    trigger: int              # OMIT, 0 internal, 1 link
    polarity: int             # 0 positive, 1 negative


def parse_settings(*, fs, iq_filter, data_full_scale, iq_offset, iq_output, iq_output_level, sequence, loops,
                   gate, start_trigger, trigger_polarity) -> PanelSettings:
    """Checks the settings as orvenda-cli checks its options; SettingError otherwise."""
    filter_index = OMIT if iq_filter is None else _choice("--iq-filter", iq_filter, ["2.5M", "50M", "through"])
    awg_gain = _in_range("--data-full-scale", data_full_scale, _limits.DATA_FULL_SCALE)
    fs_mhz = _in_range("--fs", fs, _limits.SAMPLING_FREQ_MHZ, " MHz")
    offsets = None if iq_offset is None else _level_pair("--iq-offset", iq_offset, _limits.OFFSET_MVPP)
    output = OMIT if iq_output is None else _choice("--iq-output", iq_output, ["fix", "var"])
    levels = None
    if iq_output_level is not None:
        if output != 1:
            _reject("--iq-output-level", "needs --iq-output var")
        levels = _level_pair("--iq-output-level", iq_output_level, _limits.OUTPUT_LEVEL_MVPP)
    elif output == 1:
        levels = (2000, 2000)  # the var path's default level
    return PanelSettings(filter_index, awg_gain, fs_mhz, offsets, output, levels,
                         *_sequence(sequence, loops, gate, start_trigger, trigger_polarity))


def _sequence(sequence, loops, gate, start_trigger, trigger_polarity):
    """Output sequence and start trigger, switched together as on the panel."""
    on = sequence is not None or start_trigger is not None
    mode = 0 if sequence is None else _choice("--sequence", sequence, ["continuous", "single", "gated"])
    trigger = 0 if start_trigger is None else _choice("--start-trigger", start_trigger, ["internal", "link"])
    link = on and trigger == 1
    if on and mode == 2 and not link:
        _reject("--sequence", "gated needs --start-trigger link (the panel offers Gated only with the Link trigger)")
    if loops is not None and not (on and mode == 1):
        _reject("--loops", "needs --sequence single")
    if gate is not None and not (on and mode == 2):
        _reject("--gate", "needs --sequence gated")
    if trigger_polarity is not None and not link:
        _reject("--trigger-polarity", "needs --start-trigger link")
    if not on:
        return OMIT, 0, OMIT, 0
    param = 0
    if mode == 1:
        param = 1 if loops is None else _whole("--loops", loops, _limits.LOOP_COUNT)
    elif mode == 2:
        param = 0 if gate is None else _choice("--gate", gate, ["edge", "level"])
    polarity = 0 if trigger_polarity is None else _choice("--trigger-polarity", trigger_polarity,
                                                          ["positive", "negative"])
    return mode, param, trigger, polarity
