#!/usr/bin/env python3
"""Writes the seed archives of the fuzz-mas-file target into fuzz/corpus/fuzz-mas-file/.

Each seed is a tiny vehicle archive: a header (entry count, data size), 32-byte directory records (name, offset,
size, second size, reserved) and the data region, all integers 32-bit little-endian. Run it again after changing
the seeds; the output is the same on every run.
"""

import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent
OUT = HERE / "corpus" / "fuzz-mas-file"


def car(name, car_class, unlock=""):
    text = "//DescFile=%s\r\n//DescClass=%s\r\n" % (name, car_class)
    if unlock:
        text += "//UnlockPoints=%s\r\n" % unlock
    return (text + "[BODY]\r\nmass=(1125.0)\r\n").encode("latin-1")


def archive(entries, data_order=None, header=None):
    """entries: (name, bytes) in directory order; data_order: the order their data is laid out in."""
    order = data_order or list(range(len(entries)))
    offsets, data = {}, b""
    for i in order:
        offsets[i] = len(data)
        data += entries[i][1]
    records = b""
    for i, (name, body) in enumerate(entries):
        records += struct.pack("<16sIIII", name.encode("latin-1"), offsets[i], len(body), len(body), 0)
    count, size = header or (len(entries), len(data))
    return struct.pack("<II", count, size) + records + data


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    default = ("DEFAULT.VHS", b"[BODY]\r\nmass=(1000.0)\r\n")
    gt2 = ("GT2_06.VEH", car("GT2 #6 Coupe", "GT2", "1500"))
    gt1 = ("gt1_01.veh", car("GT1 Roadster", "GT1") + b"rpm_torque=(0.0, 0.00) // idle\r\n")
    seeds = {
        "two_cars.mas": archive([default, gt2, gt1]),
        "data_not_in_directory_order.mas": archive([gt2, default, gt1], data_order=[2, 0, 1]),
        "empty.mas": archive([]),
        "sizes_do_not_add_up.mas": archive([gt2], header=(1, 4096)),
        "directory_past_the_end.mas": archive([gt2], header=(3, len(gt2[1]))),
        "name_with_path.mas": archive([("../up.veh", gt1[1]), gt2]),
    }
    for name, content in seeds.items():
        (OUT / name).write_bytes(content)


if __name__ == "__main__":
    main()
