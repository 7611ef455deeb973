#!/usr/bin/env python3
"""Makes the clock's own alarm sound (data/alarm.wav).

A soft three-note chime rising through a major chord (E5, G#5, B5), each note a
bell-like tone of a few partials with a quick attack and an exponential decay,
followed by a pause, so that the sound repeats calmly when looped. Mono, 16-bit
PCM at 22050 Hz, about two seconds. Uses only the standard library, so the sound
can be made again on any machine: python3 tools/make-alarm-sound.py OUT.wav
"""
import math
import struct
import sys
import wave

RATE = 22050
LENGTH = 2.0  # seconds, pause included
NOTES = [(0.00, 659.26), (0.22, 830.61), (0.44, 987.77)]  # start (s), frequency (Hz)
# (frequency ratio, level, decay per second) of each partial of one bell tone
PARTIALS = [(1.0, 1.0, 3.2), (2.0, 0.35, 5.0), (3.01, 0.12, 7.5), (4.2, 0.05, 10.0)]
ATTACK = 0.008  # seconds
PEAK = 0.45  # of full scale: loud enough to wake, soft enough not to startle


def sample(t):
    value = 0.0
    for start, freq in NOTES:
        u = t - start
        if u < 0:
            continue
        rise = min(1.0, u / ATTACK)
        for ratio, level, decay in PARTIALS:
            value += rise * level * math.exp(-decay * u) * math.sin(2 * math.pi * freq * ratio * u)
    return value


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-alarm-sound.py OUT.wav")
    count = int(RATE * LENGTH)
    raw = [sample(i / RATE) for i in range(count)]
    # The last 50 ms fade to silence so the loop joins without a click.
    fade = int(RATE * 0.05)
    for i in range(fade):
        raw[count - fade + i] *= 1.0 - (i + 1) / fade
    scale = PEAK * 32767 / max(abs(v) for v in raw)
    frames = b"".join(struct.pack("<h", int(round(v * scale))) for v in raw)
    with wave.open(sys.argv[1], "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


if __name__ == "__main__":
    main()
