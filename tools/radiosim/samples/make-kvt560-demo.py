#!/usr/bin/env python3
"""Writes kvt560-demo.bin, the 4096-byte memory of a programmed KVT560 radio that
`./dev demo kvt560` and the transfer tests serve from the simulated radio.

    python3 make-kvt560-demo.py [output]      (default: kvt560-demo.bin beside this script)

The memory holds 128 channels and a non-default set of function settings:
  channels 1-64    UHF 430.00000 + (n-1) x 125 kHz, alias "UHF 01" ... "UHF 64"
  channels 65-128  VHF 144.00000 + (n-65) x 62.5 kHz, alias "VHF 65" ... "VHF128"
  every 4th channel is a repeater channel: transmit +5 MHz (UHF) or -0.6 MHz (VHF)
  receive tones cycle through CTCSS positions, transmit tones through DCS codes
  band 1 400-470 MHz, band 2 136-174 MHz; the rest of the memory is 0xFF.
"""
import os
import sys

memory = bytearray(b"\xff" * 4096)


def put(address, data):
    memory[address:address + len(data)] = bytes(data)


def frequency(khz_times_100):
    """A frequency in units of 10 Hz -> the 4-byte field: 6 BCD digits of kHz, then the part
    below 1 kHz in 250 Hz steps times 4."""
    digits = "%08d" % khz_times_100        # 43800625: MHz(3) kHz(3) tens of Hz(2)
    code = {0: 0x00, 25: 0x04, 50: 0x08, 75: 0x0C}[int(digits[6:8])]
    return bytes.fromhex(digits[0:6]) + bytes([code])


ALIAS = "0123456789-+_/. ABCDEFGHIJKLMNOPQRSTUVWXYZ*"


def alias(text):
    codes = [ALIAS.index(c) for c in text.ljust(6)]
    return bytes(codes) + b"\xff\xff"


def dtmf_field(code):
    digits = "D1234567890*#ABC"
    nibbles = "".join("%X" % digits.index(c) for c in code).ljust(15, "F") + "%X" % len(code)
    return bytes.fromhex(nibbles)


# Channels ------------------------------------------------------------------------------
for n in range(1, 129):
    if n <= 64:
        rx = 43000000 + (n - 1) * 12500          # units of 10 Hz
        shift = 500000                           # +5 MHz
        name = "UHF %02d" % n
    else:
        rx = 14400000 + (n - 65) * 6250
        shift = -60000                           # -0.6 MHz
        name = "VHF%3d" % n if n >= 100 else "VHF %02d" % n
    tx = rx + shift if n % 4 == 0 else rx
    rx_tone = bytes([1 + (n - 1) % 51, 0x82]) if n % 3 else b"\xff\x00"   # CTCSS or off
    tx_tone = bytes([1 + (n - 1) % 107, 0xC3 if n % 2 else 0xE3])          # DCS N / I
    power = 1 if n % 5 else 0                   # every 5th channel low power
    wide = 1 if n % 7 else 0                    # every 7th channel narrow
    busy_off = 1 if n % 6 else 0                # every 6th channel with busy lockout
    high = power << 3 | wide << 2 | 1 << 1 | busy_off
    voice = [3, 1, 2, 0][n % 4]                 # off, compander, scrambler, off
    low = voice << 2 | (0 if n % 8 == 0 else 1 << 1) | 1   # tail on; every 8th shows its alias
    scan_off = 1 if n % 10 == 0 else 0
    flags = scan_off << 7 | 1 << 6 | 1 << 5 | 1 << 4       # VOX, DTMF, PTT ID off
    offset = 0 if tx == rx else (1 if tx > rx else 2)
    record = frequency(rx) + frequency(tx) + rx_tone + tx_tone + b"\xff\xff" \
        + bytes([high << 4 | low, flags | offset])
    put(16 * n, record)
    put(0x0808 + 8 * n, alias(name))

# Settings block 1 (0x0C80) --------------------------------------------------------------
put(0x0C80, [
    0x01,        # first channel in the active band
    0x80, 0x02,
    0x03,        # squelch level 3
    0xB1 | 1 << 1 | 0 << 2 | 1 << 3 | 1 << 6,   # scan TO, memory mode, battery save, key beep
    0x02,        # step 10 kHz
    0x05,        # time-out 5 min
    0x03,        # power-off 3 h
    0x49 | 1 << 4 | 0 << 5 | 1 << 7,            # band 1, MR CH display, keypad not locked
    0x0F | 1 << 4 | 1 << 5 | 1 << 6 | 0 << 7,   # no VOX on receive, FM on, alarm, band change by keypad
    0xFF,
    0x04,        # VOX sensitivity 4 (index 3)
    0x01,        # VOX delay 2 s
    0x01 | 1 << 2 | 1 << 3 | 1 << 5 | 0 << 6 | 1 << 7,  # squelch mode DTMF, replies, side tone, strip, ack
    0x50 | 0x02 | 1 << 5 | 1 << 7,              # PTT ID both, decode switch, show PTT ID
    0xF0 | 0x04,                                # group call digit "*"
])

# Settings block 2 (0x0C90) --------------------------------------------------------------
put(0x0C90, [
    0xFF,
    0xF0 | 3,        # P5 SCAN
    2 << 4 | 1,      # P4 DTMF, P3 LED
    0 << 4 | 5,      # P1 FM, P2 function 5
    12, 8, 10, 60, 20,  # DTMF 120 ms, gap 80 ms, first digit 100 ms, carrier lead 600 ms, */# 200 ms
    0xF0 | 0,        # remote control active, kill
    30,              # automatic reset 15 s
])

# Band limits, password, call list, IDs --------------------------------------------------
put(0x0CC0, bytes.fromhex("47004000470040001740136017401360"))
put(0x0CD0, [1, 2, 3, 4, 5, 6])
calls = ["1001", "1002", "2000", "*123#", "", "", "", "", "", "A1B2C3D"]
for k in range(5):
    put(0x0D80 + 16 * k, dtmf_field(calls[2 * k]) + dtmf_field(calls[2 * k + 1]))
put(0x0E00, dtmf_field("1234") + dtmf_field("9999"))
put(0x0E80, dtmf_field("10101") + dtmf_field("20202"))

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "kvt560-demo.bin")
with open(out, "wb") as f:
    f.write(memory)
