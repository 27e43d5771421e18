"""read_awv against the command line's own decoding of the same files."""
import re

import numpy as np
import pytest

import orvenda


def info_codes(text, word):
    match = re.search(rf"Word {word} \(\w\) codes\s+(\d+) \.\. (\d+), full scale: (\d+) at 1, (\d+) at 16383", text)
    return tuple(int(g) for g in match.groups())


def cli_waveform(cli, tmp_path, rows):
    source = tmp_path / "in.txt"
    source.write_text("".join(f"{i} {q}\n" for i, q in rows))
    out = tmp_path / "cli.awv"
    done = cli("convert", source, "--layout", "iq", "-o", out, "--fs", "61.44", "--iq-filter", "50M", "-q")
    assert done.returncode == 0, done.stderr
    return out


def test_statistics_match_info(cli, tmp_path):
    rng = np.random.default_rng(7)
    rows = rng.uniform(-1, 1, size=(3000, 2)).round(6)
    out = cli_waveform(cli, tmp_path, rows)
    info = cli("info", out)
    assert info.returncode == 0, info.stderr
    wave = orvenda.read_awv(out)
    assert wave.sample_count == int(re.search(r"Samples\s+(\d+)", info.stdout).group(1))
    for word, values in (("A", wave.codes[:, 0] & 0x3FFF), ("B", wave.codes[:, 1] & 0x3FFF)):
        low, high, at_low, at_high = info_codes(info.stdout, word)
        assert (values.min(), values.max()) == (low, high)
        assert (np.count_nonzero(values == 1), np.count_nonzero(values == 16383)) == (at_low, at_high)
    assert wave.header["IQFILTER"] == ["FLT50M"]
    assert float(wave.header["SAMPLINGFREQ"][0]) == pytest.approx(61.44e6)
    # The decoded values follow the input's shape: scaled by one peak, nearest code.
    peak = np.abs(rows).max()
    assert np.abs(wave.i - rows[:, 0] / peak).max() < 2.0 / 8191
    assert np.abs(wave.q - rows[:, 1] / peak).max() < 2.0 / 8191


@pytest.mark.parametrize("damage, message", [
    (lambda b: b.replace(b"{WAVEDATA:", b"{WAVEDATE:"), "byte "),
    (lambda b: b[:-5], "ends inside the sample block"),
    (lambda b: b[:-1] + b"]", 'expected "}"'),
    (lambda b: b"", "byte 0"),
])
def test_damaged_files_raise_with_the_byte(cli, tmp_path, damage, message):
    good = cli_waveform(cli, tmp_path, [(0.5, 0.1), (1, -1), (0, 0), (0.2, 0.3)])
    bad = tmp_path / "bad.awv"
    bad.write_bytes(damage(good.read_bytes()))
    with pytest.raises(orvenda.WaveformFormatError, match=re.escape(message)):
        orvenda.read_awv(bad)


def test_missing_file_names_the_path(tmp_path):
    with pytest.raises(orvenda.WaveformFormatError, match="missing.awv"):
        orvenda.read_awv(tmp_path / "missing.awv")


def test_installed_layout_finds_the_private_library(tmp_path):
    """<prefix>/lib/python3/dist-packages/orvenda loads <prefix>/lib/orvenda/libHalvikLib.so."""
    import os
    import pathlib
    import shutil
    import subprocess
    import sys
    package = pathlib.Path(orvenda.__file__).parent
    site = tmp_path / "lib" / "python3" / "dist-packages"
    shutil.copytree(package, site / "orvenda", ignore=shutil.ignore_patterns("__pycache__"))
    (tmp_path / "lib" / "orvenda").mkdir()
    shutil.copy(os.environ["ORVENDA_LIBRARY"], tmp_path / "lib" / "orvenda" / "libHalvikLib.so")
    environment = {k: v for k, v in os.environ.items() if k != "ORVENDA_LIBRARY"}
    environment["PYTHONPATH"] = str(site)
    script = ("import orvenda, orvenda._library as l; print(l.library()._name); "
              "orvenda.convert([1j, 1], out_path='x.awv'); print(orvenda.read_awv('x.awv').sample_count)")
    done = subprocess.run([sys.executable, "-c", script], cwd=tmp_path, env=environment,
                          capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    loaded, samples = done.stdout.split()
    assert pathlib.Path(loaded).resolve() == (tmp_path / "lib" / "orvenda" / "libHalvikLib.so").resolve()
    assert samples == "2"


def test_parts_and_whole_decode_alike(tmp_path):
    rng = np.random.default_rng(3)
    x = rng.normal(size=5000) + 1j * rng.normal(size=5000)
    marks = rng.integers(0, 2, size=(2, 5000))
    out = tmp_path / "p.awv"
    orvenda.convert(x, out_path=out, marker1=marks[0], marker2=marks[1])
    wave = orvenda.read_awv(out)
    whole = (wave.i, wave.q, wave.marker1, wave.marker2)
    for start, stop in [(0, 1), (17, 4099), (4999, None)]:
        for decoded, full in zip(wave.part(start, stop), whole):
            assert np.array_equal(decoded, full[start:stop])
    assert np.array_equal(wave.marker1, marks[0] == 1) and np.array_equal(wave.marker2, marks[1] == 1)
