"""Shared fixtures: the command line next to the library the module loads."""
import os
import pathlib
import subprocess

import pytest

import sys
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent))


@pytest.fixture(scope="session")
def cli():
    """Runs orvenda-cli from the folder of ORVENDA_LIBRARY (build/bin)."""
    library = os.environ.get("ORVENDA_LIBRARY")
    if not library:
        pytest.fail("ORVENDA_LIBRARY must point at build/bin/libHalvikLib.so")
    program = pathlib.Path(library).parent / "orvenda-cli"

    def run(*arguments):
        return subprocess.run([str(program), *map(str, arguments)], capture_output=True, text=True)
    return run
