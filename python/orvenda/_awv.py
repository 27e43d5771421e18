"""read_awv(): a ".awv" file as header settings and numpy arrays. The sample
block is memory-mapped; I, Q and the markers are decoded by numpy views and
vector operations, never sample by sample in Python."""
import mmap
import pathlib
import re
import numpy as np

from orvenda._errors import WaveformFormatError

CODE_MASK = 0x3FFF
ZERO_CODE = 8192
CODE_SCALE = 8191  # code steps from zero to full scale
MARKER1_BIT = 14
MARKER2_BIT = 15
MAX_HEADER_LINE = 1024
WAVEDATA = b"{WAVEDATA:"
_LINE = re.compile(rb"\{([A-Z0-9_]+):([^{}\r\n]*)\}\r?\n?")


class AwvFile:
    """A read waveform file. `codes` stays memory-mapped; i, q and the markers
    are decoded on access, whole or by `part(start, stop)` for large files,
    with identical scaling either way."""

    def __init__(self, header, codes):
        self.header = header  # KEY -> list of the line's fields (strings), in file order
        self.codes = codes    # the raw words, uint32 (N, 2): A (I code + marker bits), B (Q code)

    @property
    def sample_count(self):
        return len(self.codes)

    def part(self, start=0, stop=None):
        """(i, q, marker1, marker2) of samples start..stop: floats -1.0 .. 1.0
        (word A, or Q when the writer inverted I and Q) and booleans."""
        words = self.codes[start:stop]
        word_a, word_b = words[:, 0], words[:, 1]
        return (((word_a & CODE_MASK).astype(np.float64) - ZERO_CODE) / CODE_SCALE,
                ((word_b & CODE_MASK).astype(np.float64) - ZERO_CODE) / CODE_SCALE,
                ((word_a >> MARKER1_BIT) & 1).astype(bool),
                ((word_a >> MARKER2_BIT) & 1).astype(bool))

    @property
    def i(self):
        return self.part()[0]

    @property
    def q(self):
        return self.part()[1]

    @property
    def marker1(self):
        return self.part()[2]

    @property
    def marker2(self):
        return self.part()[3]


def _fail(offset, message):
    raise WaveformFormatError(f"byte {offset}: {message}")


def _header(view):
    header, offset = {}, 0
    while True:
        if view[offset:offset + len(WAVEDATA)] == WAVEDATA:
            return header, offset
        match = _LINE.match(view, offset, offset + MAX_HEADER_LINE)
        if not match:
            _fail(offset, 'expected a header line "{KEY:value}" or the sample block "{WAVEDATA:"')
        header[match.group(1).decode("ascii")] = match.group(2).decode("latin-1").split(";")
        offset = match.end()


def read_awv(path) -> AwvFile:
    """Reads path; WaveformFormatError names the byte of the first fault."""
    path = pathlib.Path(path)
    try:
        with path.open("rb") as stream:
            size = path.stat().st_size
            view = mmap.mmap(stream.fileno(), 0, access=mmap.ACCESS_READ) if size else b""
    except OSError as error:
        raise WaveformFormatError(f'cannot open "{path}" for reading: {error.strerror}') from error
    header, start = _header(view)
    count_start = start + len(WAVEDATA)
    semicolon = view.find(b";", count_start, count_start + 12)
    digits = bytes(view[count_start:semicolon]) if semicolon > 0 else b""
    if not digits.isdigit():
        _fail(count_start, "expected the byte count of the sample block and \";\"")
    byte_count = int(digits)
    data_offset = semicolon + 1
    if byte_count % 8:
        _fail(count_start, f"the sample block's byte count {byte_count} is not a whole number of samples")
    end = data_offset + byte_count
    if end >= size:
        _fail(size, f"the file ends inside the sample block ({byte_count} bytes announced)")
    if view[end:end + 1] != b"}":
        _fail(end, 'expected "}" after the sample block')
    codes = np.frombuffer(view, dtype="<u4", count=byte_count // 4, offset=data_offset).reshape(-1, 2)
    return AwvFile(header, codes)


def full_scale_count(path, block_samples=1 << 20) -> int:
    """I and Q codes at full scale (1 or 16383) in a written file, walked in blocks."""
    codes = read_awv(path).codes
    total = 0
    for first in range(0, len(codes), block_samples):
        block = codes[first:first + block_samples] & CODE_MASK
        total += int(np.count_nonzero((block == 1) | (block == 2 * ZERO_CODE - 1)))
    return total
