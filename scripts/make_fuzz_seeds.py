#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into fuzz/corpus/<target>/.

Run from anywhere; the seeds are small, valid or nearly valid inputs that show each target the
shape of what it parses. The built-in bank is read from src/effect/res.
"""
import pathlib
import struct

root = pathlib.Path(__file__).resolve().parent.parent
corpus = root / "fuzz" / "corpus"
builtin = (root / "src" / "effect" / "res" / "static_presets.pbk").read_bytes()
body = builtin[8:]


def write(target, name, data):
    folder = corpus / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data if isinstance(data, bytes) else data.encode())


def program(name, values, name_size=64, extra=b"", tag=0):
    field = name.encode()[: name_size - 1].ljust(name_size, b"\0") if name_size else b""
    return (struct.pack(">IHHI", tag, name_size, len(values), len(extra)) + field +
            b"".join(struct.pack(">f", v) for v in values) + extra)


def bank(programs):
    size = len(programs[0]) if programs else 0
    return struct.pack(">II", len(programs), size) + b"".join(programs)


eight = [0.5, 0.25, 1.0, 0.0, 0.75, 0.125, 0.5, 0.9]
one_record = body[8:8 + 108]

# Chunks: flag byte (bit 0: one program), then the chunk.
write("fuzz_chunk", "builtin_bank", b"\0" + body)
write("fuzz_chunk", "one_program", b"\1" + one_record)
write("fuzz_chunk", "short_name_field", b"\1" + program("Short", eight, name_size=8))
write("fuzz_chunk", "three_values", b"\0" + bank([program("A", eight[:3]), program("B", eight[:3])]))
write("fuzz_chunk", "extra_data", b"\1" + program("Extra", eight, extra=b"\1\2\3\4"))

# Bank files.
write("fuzz_bank_file", "builtin", builtin)
write("fuzz_bank_file", "truncated", builtin[:200])
small = bank([program("Solo", eight)])
write("fuzz_bank_file", "one_program", b"QBNK" + struct.pack(">I", len(small)) + small)
write("fuzz_bank_file", "empty_bank", b"QBNK" + struct.pack(">I", 8) + bank([]))

# Setting files.
write("fuzz_setting_file", "reorder", "Morvane_config_section =\n{\n   version = 1.60\n"
      "   parameter_reorder_map = { 7_a 6_b 5_c 4_d 3_e 2_f 1_g 0_h }\n}\n")
write("fuzz_setting_file", "midi", "Morvane_config_section =\n{\n   version = 1.60\n"
      "   midi =\n   {\n      // Bind param with cc_, rpn_ or nrpn_ as prefix + CC/(N)RPN #.\n"
      "      control_map =\n      {\n         id_0 = nrpn_0\t// Cutoff\n"
      "         id_1 = cc_74\n         id_2 = rpn_5\n         id_12 = nrpn_16383\n      }\n"
      "      port_in =\n      {\n         name = \"VST MIDI In interface\"\n      }\n"
      "      port_out =\n      {\n         name = none\n      }\n   }\n}\n")
write("fuzz_setting_file", "lists", "Morvane_config_section = { version = \"1.60\" "
      "a = { \"x y\" z } b = { c = { d = e } } }\n")

# Host MIDI: flags, then lists (count, 8-byte events, block length).
def event(kind, delta, status, d1, d2, length=0):
    return struct.pack("<BhBBBH", kind, delta, status, d1, d2, length)


nrpn = [event(0, 0, 0xB0, 99, 0), event(0, 1, 0xB0, 98, 3), event(0, 2, 0xB0, 6, 100),
        event(0, 3, 0xB0, 38, 5)]
write("fuzz_host_midi", "nrpn", b"\0" + bytes([len(nrpn)]) + b"".join(nrpn) + b"\x3f")
cc = [event(0, 10, 0xB1, 7, 127), event(3, 0, 0, 0, 0), event(9, 5, 0x90, 60, 100),
      event(0, -4, 0xE0, 0, 64)]
write("fuzz_host_midi", "mixed_with_autobind",
      b"\x23" + bytes([len(cc)]) + b"".join(cc) + b"\x00" + bytes([1]) + nrpn[2] + b"\xff")

# Port MIDI: 9-byte records (kind, message, time).
def port(kind, msg, time):
    return struct.pack("<BII", kind, msg, time)


write("fuzz_port_midi", "rpn_then_block",
      port(0, 0x0065B0, 1) + port(0, 0x0064B0, 2) + port(0, 0x4006B0, 3) + port(0xFF, 0, 0) +
      port(0xF1, 0x7F07B0, 4) + port(0, 0x7F07B0, 5))
write("fuzz_port_midi", "overflow", b"".join(port(0, 0x0014B0 | (i << 16), i) for i in range(40)))

# Formatted output: capacity, integer parameters, the three arguments, then the format.
def fmt(capacity, int_params, i, f, text, format_string):
    return (bytes([capacity, len(int_params)]) +
            b"".join(struct.pack(">i", p) for p in int_params) + struct.pack(">q", i) +
            struct.pack(">d", f) + bytes([len(text)]) + text.encode() + format_string.encode())


write("fuzz_format", "hex", fmt(64, [], 5, 0.0, "", "code 0x%1rm8w0X%."))
write("fuzz_format", "params", fmt(32, [12, 3], -42, 3.14159, "name",
                                   "[%1m!%] [%2fp$2%] [%3cm$1%] %%"))
write("fuzz_format", "float_modes", fmt(128, [], 0, 1e-310, "x", "%2e3% %2g% %2fp20% %2E%"))
write("fuzz_format", "truncated", fmt(4, [], 123456789, 0.0, "abcdef", "%1% %3%"))
