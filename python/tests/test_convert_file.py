"""convert_file through Halvik writes what orvenda-cli writes for the same file."""
import re

import numpy as np
import pytest

import orvenda


def without_date(wave):
    return {key: value for key, value in wave.header.items() if key != "DATE"}


@pytest.mark.parametrize("layout, values", [
    ("short", np.array([[100, -200], [32767, -32768], [0, 5], [-7, 9000]], dtype="<i2")),
    ("float", np.array([[0.5, -2.0], [1.5, 1.0], [3.0, -3.0], [0.0, 0.25]], dtype="<f4")),
])
@pytest.mark.parametrize("settings, options", [
    ({}, []),
    ({"fs": 61.44, "iq_filter": "2.5M", "sequence": "single", "loops": 3, "iq_offset": (10, -20),
      "iq_output": "var", "iq_output_level": (500, 1500)},
     ["--fs", "61.44", "--iq-filter", "2.5M", "--sequence", "single", "--loops", "3", "--iq-offset", "10,-20",
      "--iq-output", "var", "--iq-output-level", "500,1500"]),
    ({"iq_inverse": True, "start_trigger": "link", "sequence": "gated", "gate": "level", "data_full_scale": 0.5},
     ["--iq-inverse", "--start-trigger", "link", "--sequence", "gated", "--gate", "level",
      "--data-full-scale", "0.5"]),
])
def test_same_file_as_the_command_line(cli, tmp_path, layout, values, settings, options):
    source = tmp_path / "in.bin"
    values.tofile(source)
    done = cli("convert", source, "--layout", layout, "-o", tmp_path / "cli.awv", "-q", *options)
    assert done.returncode == 0, done.stderr
    result = orvenda.convert_file(source, tmp_path / "py.awv", layout=layout, **settings)
    ours, theirs = orvenda.read_awv(result.path), orvenda.read_awv(tmp_path / "cli.awv")
    assert without_date(ours) == without_date(theirs)
    assert np.array_equal(ours.codes, theirs.codes)
    assert result.sample_count == len(values)
    codes = ours.codes & 0x3FFF
    assert result.full_scale_values == np.count_nonzero((codes == 1) | (codes == 16383))


def test_refusals_raise_with_the_message(tmp_path):
    source = tmp_path / "in.bin"
    np.zeros(8, dtype="<i2").tofile(source)
    with pytest.raises(orvenda.SettingError, match=re.escape('--layout: "csv" is not one of short, float')):
        orvenda.convert_file(source, tmp_path / "a.awv", layout="csv")
    with pytest.raises(orvenda.SettingError, match=re.escape("--fs: 300 MHz is outside")):
        orvenda.convert_file(source, tmp_path / "a.awv", layout="short", fs=300)
    with pytest.raises(orvenda.LibraryError, match="cannot read"):
        orvenda.convert_file(tmp_path / "none.bin", tmp_path / "a.awv", layout="short")
    nan = tmp_path / "nan.bin"
    np.array([0.5, 0.5, 1.0, np.inf], dtype="<f4").tofile(nan)
    with pytest.raises(orvenda.SettingError, match="record 2 holds a value that is not a finite number"):
        orvenda.convert_file(nan, tmp_path / "a.awv", layout="float")
    with pytest.raises(orvenda.LibraryError, match="could not write"):
        orvenda.convert_file(source, tmp_path / "no-folder" / "a.awv", layout="short")
