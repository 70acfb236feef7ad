#!/usr/bin/env python3
"""Writes kvt270-demo.bin, the 8192-byte memory of a programmed KVT270 radio that
`./dev demo program` serves from the simulated radio when no factory default file is at hand.

    python3 make-kvt270-demo.py [output]      (default: kvt270-demo.bin beside this script)

The memory holds 16 channels and the settings of a new image:
  channel n (1-16)  receive 446.00625 + (n-1) x 12.5 kHz; channels 9-16 transmit 5 MHz higher
  odd channels      CTCSS tones from 67.0 Hz up; even channels DCS codes, every fourth inverted
  power high on channels 1-8, wide on odd channels, busy lock cycling off / carrier / QDT,
  channel 16 deleted from the scan list, names "DEMO01" ... "DEMO16"
  model byte 0x1FE0 = 3 (KVT270U09), band byte 0x1FE1 = 0.
"""
import os
import sys

memory = bytearray(b"\xff" * 8192)


def bcd(x):
    return (x // 10) * 16 + x % 10


def frequency(mhz_text):
    """"446.00625" -> 4 BCD bytes of the value in 10 Hz, least significant pair first."""
    whole, frac = mhz_text.split(".")
    v = int(whole) * 100000 + int((frac + "00000")[:5])
    return bytes(bcd((v // 100 ** i) % 100) for i in range(4))


def ctcss(tenths):
    return bytes([bcd(tenths % 100), bcd(tenths // 100)])      # low byte, then high byte


def dcs(code, inverted):
    return bytes([bcd(code % 100), (0xC0 if inverted else 0x80) + code // 100])


TONES = [670, 719, 770, 825, 885, 948, 1000, 1072]
CODES = [23, 114, 205, 311, 411, 503, 606, 754]

for n in range(1, 17):
    base = (n - 1) * 16
    rx_units = 44600625 + (n - 1) * 1250
    tx_units = rx_units + (500000 if n > 8 else 0)
    rx = "%d.%05d" % divmod(rx_units, 100000)
    tx = "%d.%05d" % divmod(tx_units, 100000)
    if n % 2:
        tone = ctcss(TONES[(n // 2) % len(TONES)])
    else:
        tone = dcs(CODES[(n // 2) % len(CODES)], n % 4 == 0)
    flags = 0x00
    flags |= (n - 1) % 3                   # busy lock: off, carrier, QDT
    flags |= 0x04 if n % 2 else 0          # wide
    flags |= 0x10 if n != 16 else 0        # scan add
    flags |= 0x20 if n <= 8 else 0         # high power
    record = frequency(rx) + frequency(tx) + tone + tone + bytes([flags, 0xFF, 0xFF, 0xFF])
    memory[base:base + 16] = record
    name = ("DEMO%02d" % n).encode("ascii")
    memory[0x0C90 + (n - 1) * 8:0x0C90 + (n - 1) * 8 + 6] = name

# The trailing record and the settings of a new image.
memory[0x0630:0x0638] = bytes([0x00, 0x00, 0x50, 0x43] * 2)
memory[0x063C] = 0x3C
for address, value in {0x1810: 0x94, 0x1811: 0x78, 0x1812: 0xF9, 0x1813: 0xFC, 0x1814: 0x05,
                       0x1815: 0x00, 0x1816: 0x04, 0x1817: 0x00, 0x1818: 0xFD, 0x1821: 0x00,
                       0x1822: 0x00, 0x1824: 0x02, 0x1829: 0xFF, 0x182D: 0xFF,
                       0x1D40: 0xFC, 0x1FE0: 3, 0x1FE1: 0}.items():
    memory[address] = value
memory[0x1840:0x1846] = b"KVT270"
memory[0x1848:0x184E] = bytes([1, 2, 3, 4, 5, 6])
memory[0x1D10:0x1D14] = bytes(4)

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "kvt270-demo.bin")
with open(out, "wb") as f:
    f.write(memory)
