"""The exceptions of the module; each carries a message for the user."""


class OrvendaError(Exception):
    """Base of every error the module raises."""


class SettingError(OrvendaError, ValueError):
    """A setting outside the panel's limits; the message names the option as
    orvenda-cli does ("--fs: 250 MHz is outside ...")."""


class LibraryError(OrvendaError, OSError):
    """The library could not be loaded or refused to write the file."""


class WaveformFormatError(OrvendaError, ValueError):
    """A file that does not follow the ".awv" layout; the message names the byte."""
