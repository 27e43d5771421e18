"""Python access to HalvikLib: write ".awv" waveform files from numpy arrays
and read them back as numpy arrays."""
from orvenda._awv import AwvFile, read_awv
from orvenda._convert import ConversionResult, convert
from orvenda._convert_file import convert_file
from orvenda._errors import LibraryError, OrvendaError, SettingError, WaveformFormatError

__all__ = ["AwvFile", "ConversionResult", "LibraryError", "OrvendaError", "SettingError",
           "WaveformFormatError", "convert", "convert_file", "read_awv"]
