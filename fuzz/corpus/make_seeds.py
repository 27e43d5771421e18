#!/usr/bin/env python3
"""Writes the hand-made seed files of every fuzz target into fuzz/corpus/<target>/.

Targets that take settings from their input (layout, block sizes, limits) read
them from the END of the input, one or two bytes each, in the order listed by
`tail()`; the file bytes come first. Run again after changing a seed here.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def tail(*params):
    """Setting bytes in the order the target consumes them. The consumer reads
    backwards from the end, the first byte it takes being the most significant:
    so each (value, width) is written big-endian and the whole tail reversed."""
    out = b""
    for value, width in params:
        out += value.to_bytes(width, "big")
    return out[::-1]


def write(target, name, data):
    folder = os.path.join(HERE, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("latin-1"))


def engine_text_number():
    lines = {
        "blanks_negative": "  -0.25", "exponent_unit": "1.5e3 V", "comma": "1,2", "letters": "abc",
        "empty": "", "semicolon_pair": "0.5;-0.5", "space_comma_space": "0.5 , -0.5",
        "leading_commas": ",,0.5,,-0.5", "overflow": "1e99999", "underflow": "-1e-99999",
        "hexadecimal": "0x1p3", "inf_nan": "inf nan", "point_first": "+.5e-3:7",
        "control_space": "\t\r\v5\f6", "nul_inside": "1\x002 3", "long_mantissa": "123456789012345678901234567890.5e-10",
        "subnormal": "4.9406564584124654e-324", "bare_exponent": "1e 2e+", "point_exponent": ".e5 -.",
        "two_pow_53_plus_1": "9007199254740993", "crlf": "7\r\n",
    }
    for name, text in lines.items():
        write("engine_text_number", name, text)


def engine_sample_readers():
    # tail: layout (1 byte), block count - 1 (1 byte), each block length - 1 (2 bytes)
    def seed(name, layout, blocks, data):
        params = [(layout, 1), (len(blocks) - 1, 1)] + [(b - 1, 2) for b in blocks]
        write("engine_sample_readers", name, data + tail(*params))
    seed("single_short_file", 0, [5], b"1\n2\n3\n")
    seed("single_empty_first_line", 0, [2, 2], b"\n5\n 7 V\r\n")
    seed("two_files", 1, [2, 3], b"1\n\\ 1\n2\n3\n4\n")
    seed("two_columns", 2, [4], b"0.5;-0.5\n1e3 2\n7\n,,3,,4,5\n")
    seed("int16_ten_bytes", 3, [3], struct.pack("<5h", 1, -2, 32767, -32768, 9))
    seed("float_many_pairs", 4, [9000], struct.pack("<2f", 0.5, -0.5) * 8500)
    seed("float_special", 4, [2, 2], struct.pack("<4f", 0.5, float("nan"), float("inf"), -0.25) + b"xyz")


def awv_reader():
    header = ("{DATE:2026/12/08;15:30:00}\n{IQFILTER:FLT50M}\n{IQOUTPUT:VAR}\n"
              "{IQGAIN:1.000000E+000;2.500000E-001}\n{IQOFFSET:0.000000E+000;-1.500000E+000}\n"
              "{STARTTRIGGER:INT;POS}\n{OUTPUTSEQUENCE:SINGL;3}\n{SAMPLINGFREQ:200000000.000000}\n"
              "{MARKER1:ON;POS;0;100;200;1}\n{MARKER2:ON;POS;0;10;20;1}\n{MARKERMODE:WFM}\n").encode()
    samples = struct.pack("<8I", 0x2000, 0x2000, 0xFFFF, 16383, 0x4001, 1, 0x12345, 0xC0002000)
    write("awv_reader", "empty_block", b"{WAVEDATA:0;}")
    # A block beyond the reader's 64 KB buffer, with a marker change near its end.
    long_block = struct.pack("<2I", 0x2000, 0x2000) * 8200 + struct.pack("<2I", 0x6000, 0x2000)
    write("awv_reader", "block_beyond_buffer",
          b"{MARKERMODE:WFM}\n{WAVEDATA:%d;" % len(long_block) + long_block + b"}")
    write("awv_reader", "gui_writer", header + b"{WAVEDATA:32;" + samples + b"}")
    main_header = ("{IQFILTER:THR}\n{IQGAIN:1.000000;1.000000}\n{IQOFFSET:0.000000;0.000000}\n{MARKERMODE:SEQ}\n"
                   "{MARKER1:OFF;NEG;1;2;3;4}\n{MARKER2:ON;POS;0;0;0;0}\n{STARTTRIGGER:LINK;NEG}\n"
                   "{OUTPUTSEQUENCE:GATE;LEV}\n{SAMPLINGFREQ:1000.000000}\n{IQOUTPUT:OFF}\n").encode()
    write("awv_reader", "library_writer", main_header + b"{WAVEDATA:16;" + samples[:16] + b"}")
    write("awv_reader", "crlf_header", b"{IQFILTER:THR}\r\n{WAVEDATA:0;}")
    write("awv_reader", "count_too_small", b"{WAVEDATA:8;" + samples + b"}")
    write("awv_reader", "bytes_after_close", b"{WAVEDATA:8;" + samples[:8] + b"}}\n")
    write("awv_reader", "cut_in_block", b"{OUTPUTSEQUENCE:CONT}\n{WAVEDATA:24;" + samples[:13])
    write("awv_reader", "duplicate_key", b"{MARKERMODE:WFM}\n{MARKERMODE:SEQ}\n{WAVEDATA:0;}")
    write("awv_reader", "bad_numbers", b"{IQGAIN:1.0E+00;-0.000000E+000}\n{OUTPUTSEQUENCE:SINGLE;2147483648}\n{WAVEDATA:00;}")


def rte_panel_file():
    with open(os.path.join(HERE, "..", "..", "engine", "rte", "Halvik.uir"), "rb") as f:
        shipped = f.read()
    write("rte_panel_file", "shipped", shipped)
    write("rte_panel_file", "shipped_crlf", shipped.replace(b"\n", b"\r\n"))
    write("rte_panel_file", "minimal", b"orvenda-uir 1\n")
    write("rte_panel_file", "two_panels",
          b"# comment\norvenda-uir 1\npanel 1 100 2000 Title\twith tab\ncontrol 2 progress Stage 1\n"
          b"control 3 label \nend\npanel 999 2000 100\nend")
    write("rte_panel_file", "faults",
          b"orvenda-uir 1\ncontrol 1 label x\npanel 1 99 100 t\npanel 1 100 100 a\ncontrol 1 label a\n"
          b"control 1 label b\nend x\n")


def input_scanner():
    # tail: layout (1), small chunk - 1 (1), large chunk - 25 (2), limited? (1), [limit (1)], interval - 1 (1)
    def seed(name, layout, data, small=1, large=4096, limit=None, interval=4):
        params = [(layout, 1), (small - 1, 1), (large - 25, 2), (1 if limit is not None else 0, 1)]
        if limit is not None:
            params.append((limit, 1))
        params.append((interval - 1, 1))
        write("input_scanner", name, data + tail(*params))
    seed("single_two_per_line", 0, b"1,2\n-3.5e1\t4\r\n5 6 7")
    seed("single_not_a_number", 0, b"1 2 x3 4\n", small=3)
    seed("free_pairs_across_lines", 1, b"0.5 -0.25\n1\n-2,3 4\n", small=2)
    seed("free_odd_count", 1, b"1 2\n3\n")
    seed("free_overflow", 1, b"1 1e400\n", small=5)
    seed("free_limit", 1, b"1 2 3 4 5 6 7 8 9 10\n", limit=3, interval=1)
    seed("csv_three_fields", 2, b"0.5,-0.25,9\n 1 ,\t2\r\n")
    seed("csv_empty_line", 2, b"1,2\n\n3,4\n", small=4)
    seed("csv_one_field", 2, b"1,2\n3\n")
    seed("csv_bare_exponent", 2, b"1e,2\n", small=2)
    seed("short_ten_bytes", 3, struct.pack("<5h", 100, -32768, 5, 7, -9), small=3)
    seed("short_limit", 3, struct.pack("<8h", *range(8)), limit=2, interval=1)
    seed("float_nan", 4, struct.pack("<4f", 0.5, -2.0, 1.0, float("nan")), small=5)
    seed("float_partial", 4, struct.pack("<3f", -1.5, 2.5, 3.0))


def marker_file():
    # tail: default limit? (1), [limit + 1 (1)]
    def seed(name, data, limit=None):
        params = [(1, 1)] if limit is None else [(0, 1), (limit + 1, 1)]
        write("marker_file", name, data + tail(*params))
    seed("written_form", b"0\t1\r\n100\t0\r\n")
    seed("one_line_commas", b"0,1,100,0")
    seed("byte_order_mark", b"\xef\xbb\xbf0 1\n40 0\n")
    seed("leading_comma", b",1 2")
    seed("double_comma", b"1 2,,3 4")
    seed("position_alone", b"5 1\n7")
    seed("halves_to_even", b"2.5 3.5 -2.5 1e3\n")
    seed("beyond_int32", b"2147483648 1")
    seed("bare_cr_lines", b"1 2\r3 4\r")
    seed("limit_two_of_three", b"1 1\n2 0\n3 1\n", limit=2)
    # Found by fuzzing: a byte-order mark before an item too long to keep
    # whole made the kept head of the item look short enough to read.
    seed("regression_mark_before_long_item", b"\xef\xbb\xbf" + b"0" * 5000 + b"1 2\n")
    seed("over_1001_points", b"".join(b"%d\t%d\r\n" % (2 * k, k % 2) for k in range(1002)))


def text_conversions():
    # tail: decimals - 1 (1), then the bytes of a raw double
    def seed(name, text, decimals=3, raw=b"\x01\x00\x00\x00\x00\x00\xf0\x3f\x00"):
        write("text_conversions", name, text.encode() + raw + bytes([decimals - 1]))
    for name, text in {"trailing_zero": "21.40", "blank_half": " -2.5 ", "exponent_15": "1E+15",
                       "small_exponent": "1.5E-05", "point_first": ".25", "bare_exponent": "1e",
                       "two_signs": "+-1", "inner_blanks": "1 2\t3\n4", "overflow": "1e400",
                       "negative_overflow": "-1e400", "subnormal": "4.9e-324", "letters": "abc",
                       "largest": "1.7976931348623157e308", "many_digits": "0." + "0" * 40 + "15"}.items():
        seed(name, text)


def sigmf_meta():
    # tail: the data file's size in bytes (6)
    def seed(name, text, data_bytes):
        write("sigmf_meta", name, text.encode() + tail((data_bytes, 6)))
    seed("plain_cf32", '{"global": {"core:datatype": "cf32_le", "core:version": "1.2.0"}, "captures": []}', 80)
    seed("headers_cu8", '{"global": {"core:datatype": "cu8"}, "captures": [{"core:sample_start": 0, '
         '"core:header_bytes": 4}, {"core:sample_start": 500, "core:header_bytes": 4}]}', 2008)
    seed("offset_trailing", '{"global": {"core:datatype": "ci16_be", "core:offset": 100, "core:trailing_bytes": 3, '
         '"core:sample_rate": 6.144e7}, "captures": [{"core:sample_start": 100}, {"core:sample_start": 140, '
         '"core:header_bytes": 2}]}', 4 * 60 + 5)
    seed("two_channels", '{"global": {"core:datatype": "ci8", "core:num_channels": 2}}', 8)
    seed("real_type", '{"global": {"core:datatype": "rf32_le"}}', 8)
    seed("broken_json", '{"global": {"core:datatype": "ci8",}', 8)
    # Found by fuzzing: a number beyond the double range threw past the reader.
    seed("regression_number_beyond_double", '{"global": {"core:datatype": "ci16_be", "core:sample_rate": '
         '6.144e73575}, "captures": []}', 8)


if __name__ == "__main__":
    for make in (engine_text_number, engine_sample_readers, awv_reader, rte_panel_file, input_scanner,
                 marker_file, text_conversions, sigmf_meta):
        make()
