"""Finding and loading libHalvikLib.so, once per process."""
import ctypes
import os
import pathlib
import threading

from orvenda._errors import LibraryError

LIBRARY_FILE_NAME = "libHalvikLib.so"
_lock = threading.Lock()
_library = None


def _candidates():
    given = os.environ.get("ORVENDA_LIBRARY")
    if given:
        return [given]
    # Installed: <prefix>/lib/python3/dist-packages/orvenda -> <prefix>/lib/orvenda
    private = pathlib.Path(__file__).resolve().parent.parent.parent.parent / "orvenda" / LIBRARY_FILE_NAME
    return [str(private), LIBRARY_FILE_NAME] if private.exists() else [LIBRARY_FILE_NAME]


def _declare(library):
    c_float_p = ctypes.POINTER(ctypes.c_float)
    c_int16_p = ctypes.POINTER(ctypes.c_int16)
    main = library.HalvikMain
    main.restype = ctypes.c_int32
    main.argtypes = ([c_float_p, c_int16_p, c_int16_p, ctypes.c_int32, ctypes.c_char_p]
                     + [ctypes.c_double] * 6 + [ctypes.c_int32] * 20)


def library():
    """The loaded library; LibraryError naming every place tried when none loads."""
    global _library
    with _lock:
        if _library is None:
            failures = []
            for candidate in _candidates():
                try:
                    loaded = ctypes.CDLL(candidate)
                except OSError as error:
                    failures.append(str(error))
                    continue
                _declare(loaded)
                _library = loaded
                break
            else:
                raise LibraryError("cannot load " + LIBRARY_FILE_NAME + ": " + "; ".join(failures))
        return _library
