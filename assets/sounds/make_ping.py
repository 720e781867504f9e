#!/usr/bin/env python3
"""Makes Ping.wav, the net pinger's sound: a soft two-note chime (a fifth
up, like a small bell answering), 0.4 s, quiet, with a gentle attack so it
never clicks. 22050 Hz, 16-bit mono PCM, which every Windows version plays.
Run by hand when the sound changes; Ping.wav is committed beside this
script and copied beside corvane.exe by the build.

    python3 assets/sounds/make_ping.py [output]
"""
import math
import struct
import sys
import wave

RATE = 22050
LENGTH = 0.40  # seconds
PEAK = 0.30    # of full scale: unobtrusive


def note(t, start, freq, decay):
    """A bell-like tone: a sine with a soft overtone, a 6 ms attack and an
    exponential decay, silent before `start`."""
    if t < start:
        return 0.0
    u = t - start
    attack = min(1.0, u / 0.006)
    envelope = attack * math.exp(-u / decay)
    return envelope * (math.sin(2 * math.pi * freq * u)
                       + 0.25 * math.sin(2 * math.pi * 2 * freq * u) * math.exp(-u / 0.05))


def samples():
    count = int(RATE * LENGTH)
    for i in range(count):
        t = i / RATE
        value = 0.6 * note(t, 0.0, 880.0, 0.09) + 0.5 * note(t, 0.07, 1318.5, 0.11)
        # Fade the last 30 ms to silence so the sound ends without a tick.
        tail = (count - i) / (RATE * 0.03)
        if tail < 1.0:
            value *= tail
        yield value


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else __file__.rsplit("/", 1)[0] + "/Ping.wav"
    values = list(samples())
    scale = PEAK / max(abs(v) for v in values)
    frames = b"".join(struct.pack("<h", int(round(v * scale * 32767))) for v in values)
    with wave.open(out, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


if __name__ == "__main__":
    main()
