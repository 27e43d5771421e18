"""The panel's limits in the fields' own units, as orvenda-cli checks them
(core/settings/field_limits.h). tests/test_convert.py holds these against
orvenda-cli's own messages, so a change there cannot go unnoticed."""
from typing import NamedTuple


class FieldLimits(NamedTuple):
    low: float
    high: float
    step: int  # values are whole multiples of it; 0 when any number goes


DATA_FULL_SCALE = FieldLimits(0.0, 1.0, 0)
SAMPLING_FREQ_MHZ = FieldLimits(12.5, 200.0, 0)
OFFSET_MVPP = FieldLimits(-750.0, 750.0, 5)
OUTPUT_LEVEL_MVPP = FieldLimits(200.0, 2000.0, 5)
LOOP_COUNT = FieldLimits(1.0, 65536.0, 1)


def limit_text(value: float) -> str:
    """A limit as the panel shows it: 12.5, 200, -750."""
    return f"{value:g}"
