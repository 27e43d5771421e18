"""convert → read_awv round trips, sample layouts, markers and refused settings."""
import re

import numpy as np
import pytest

import orvenda

CODE_STEP = 1.0 / 8191


def tone(n=1000):
    t = np.arange(n)
    return 0.8 * np.exp(2j * np.pi * t / 50)


@pytest.mark.parametrize("layout", ["complex64", "complex128", "pairs", "i_and_q"])
def test_every_sample_layout_round_trips(tmp_path, layout):
    x = tone()
    arguments = {"complex64": (x.astype(np.complex64),), "complex128": (x,),
                 "pairs": (np.stack([x.real, x.imag], axis=1),), "i_and_q": (x.real, x.imag)}[layout]
    out = tmp_path / "t.awv"
    result = orvenda.convert(*arguments, out_path=out, fs=100)
    wave = orvenda.read_awv(out)
    peak = np.abs(np.stack([x.real, x.imag])).max()
    assert result.sample_count == wave.sample_count == len(x)
    assert np.abs(wave.i - x.real / peak).max() <= CODE_STEP
    assert np.abs(wave.q - x.imag / peak).max() <= CODE_STEP
    assert result.full_scale_values >= 1
    assert not wave.marker1.any() and not wave.marker2.any()


def test_codes_give_back_the_values(tmp_path):
    i = np.array([1.0, -1.0, 0.5, 0.0, -0.25])
    q = np.array([0.0, 0.25, -0.5, 1.0, -1.0])
    out = tmp_path / "codes.awv"
    orvenda.convert(i, q, out, fs=12.5)
    wave = orvenda.read_awv(out)
    # The engine's code rule: trunc(value / peak * 8191 + 8192).
    assert list(wave.codes[:, 0] & 0x3FFF) == [16383, 1, 12287, 8192, 6144]
    assert np.array_equal(wave.i, (np.trunc(i * 8191 + 8192) - 8192) / 8191)
    assert np.array_equal(wave.q, (np.trunc(q * 8191 + 8192) - 8192) / 8191)


def test_values_beyond_full_scale_saturate_never_wrap(tmp_path):
    i = np.array([3.0, -3.0, 1.5, 3.0])
    out = tmp_path / "big.awv"
    result = orvenda.convert(i, np.zeros(4), out)
    wave = orvenda.read_awv(out)
    assert list(wave.codes[:, 0] & 0x3FFF) == [16383, 1, 12287, 16383]
    assert result.full_scale_values == 3


def test_markers_and_settings_reach_the_file(tmp_path):
    m1 = np.array([1, 1, 0, 0, 1], dtype=bool)
    m2 = np.array([0, 1, 0, 1, 0])
    out = tmp_path / "m.awv"
    orvenda.convert(np.linspace(-1, 1, 5), np.zeros(5), out, fs=61.44, iq_filter="through", iq_inverse=False,
                    iq_offset=(-750, 5), iq_output="var", iq_output_level=1000, sequence="single", loops=10,
                    marker1=m1, marker2=m2)
    wave = orvenda.read_awv(out)
    assert np.array_equal(wave.marker1, m1) and np.array_equal(wave.marker2, m2.astype(bool))
    h = wave.header
    assert h["IQFILTER"] == ["THR"] and h["IQOUTPUT"] == ["VAR"] and h["MARKERMODE"] == ["WFM"]
    assert [float(v) for v in h["IQGAIN"]] == [1.0, 1.0]
    assert [float(v) for v in h["IQOFFSET"]] == [-0.75, 0.005]
    assert h["OUTPUTSEQUENCE"] == ["SINGLE", "10"] and h["STARTTRIGGER"] == ["INT", "POS"]


REFUSED = [
    ({"fs": 250}, "--fs: 250 MHz is outside the panel's limits 12.5 to 200 MHz"),
    ({"fs": 12.4}, "--fs: 12.4 MHz is outside the panel's limits 12.5 to 200 MHz"),
    ({"data_full_scale": 1.5}, "--data-full-scale: 1.5 is outside the panel's limits 0 to 1"),
    ({"iq_offset": 755}, "--iq-offset: 755 mVp-p is outside the panel's limits -750 to 750 mVp-p"),
    ({"iq_offset": 7}, "--iq-offset: 7 mVp-p is not a multiple of 5 mVp-p, the panel's step"),
    ({"iq_output": "var", "iq_output_level": 100},
     "--iq-output-level: 100 mVp-p is outside the panel's limits 200 to 2000 mVp-p"),
    ({"iq_output_level": 1000}, "--iq-output-level: needs --iq-output var"),
    ({"iq_filter": "10M"}, '--iq-filter: "10M" is not one of 2.5M, 50M, through'),
    ({"sequence": "single", "loops": 0}, "--loops: 0 is outside the panel's limits 1 to 65536"),
    ({"sequence": "gated"}, "--sequence: gated needs --start-trigger link"),
    ({"loops": 3}, "--loops: needs --sequence single"),
]


@pytest.mark.parametrize("settings, message", REFUSED)
def test_refused_settings_raise_with_the_message_and_leave_no_file(tmp_path, settings, message):
    out = tmp_path / "never.awv"
    with pytest.raises(orvenda.SettingError, match=re.escape(message)):
        orvenda.convert(tone(8), out_path=out, **settings)
    assert not out.exists()


@pytest.mark.parametrize("settings, arguments", [
    ({"fs": 250}, ["--fs", "250"]),
    ({"data_full_scale": 1.5}, ["--data-full-scale", "1.5"]),
    ({"iq_offset": 7}, ["--iq-offset", "7"]),
    ({"iq_output": "var", "iq_output_level": 2005}, ["--iq-output", "var", "--iq-output-level", "2005"]),
    ({"sequence": "single", "loops": 65537}, ["--sequence", "single", "--loops", "65537"]),
])
def test_messages_and_limits_match_the_command_line(cli, tmp_path, settings, arguments):
    source = tmp_path / "in.txt"
    source.write_text("0.1 0.2\n0.3 0.4\n0.5 0.6\n0.7 0.8\n")
    done = cli("convert", source, "--layout", "iq", "-o", tmp_path / "x.awv", "-q", *arguments)
    assert done.returncode != 0
    with pytest.raises(orvenda.SettingError) as raised:
        orvenda.convert(tone(8), out_path=tmp_path / "y.awv", **settings)
    assert str(raised.value) in done.stderr


def test_bad_samples_and_markers_raise(tmp_path):
    with pytest.raises(orvenda.SettingError, match="one length"):
        orvenda.convert(np.zeros(4), np.zeros(5), tmp_path / "a.awv")
    with pytest.raises(orvenda.SettingError, match="one level per sample"):
        orvenda.convert(tone(8), out_path=tmp_path / "a.awv", marker1=np.zeros(7))
    for bad in (np.nan, np.inf, 1e39):  # 1e39 does not fit float32
        with pytest.raises(orvenda.SettingError, match="sample 2 is not a finite number"):
            orvenda.convert(np.array([0.5, 0.1, bad, 0.2]), np.zeros(4), tmp_path / "a.awv")
    assert not (tmp_path / "a.awv").exists()
    assert orvenda.convert(tone(8), tmp_path / "b.awv").sample_count == 8


def test_library_refusal_raises_and_keeps_what_was_there(tmp_path):
    with pytest.raises(orvenda.LibraryError, match="could not write"):
        orvenda.convert(tone(8), out_path=tmp_path / "missing-folder" / "a.awv")
    taken = tmp_path / "taken.awv"
    (taken / "inside").mkdir(parents=True)  # a folder cannot be replaced by the file
    with pytest.raises(orvenda.LibraryError, match="could not write"):
        orvenda.convert(tone(8), out_path=taken)
    assert (taken / "inside").is_dir() and sorted(p.name for p in tmp_path.iterdir()) == ["taken.awv"]
