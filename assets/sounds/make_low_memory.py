#!/usr/bin/env python3
"""Makes low-memory.wav, the memory alarm's sound: three soft falling notes
(E5, C5, A4), like a polite "running low", 0.9 s, with gentle attacks and
decays so it never clicks and never shrieks. The alarm plays it at most once
a minute while free memory stays below the level, so it must be noticeable
without being alarming. 22050 Hz, 16-bit mono PCM, which every Windows
version plays. Run by hand when the sound changes; low-memory.wav is
committed beside this script and copied beside corvane.exe by the build.

    python3 assets/sounds/make_low_memory.py [output]
"""
import math

import wavtone

LENGTH = 0.90  # seconds
PEAK = 0.35    # of full scale

# (start in seconds, frequency in Hz, decay in seconds)
NOTES = [(0.00, 659.3, 0.16), (0.22, 523.3, 0.16), (0.44, 440.0, 0.26)]


def note(t, start, freq, decay):
    """A mellow tone: a sine with a little of its octave and twelfth, a 10 ms
    attack and an exponential decay, silent before `start`."""
    if t < start:
        return 0.0
    u = t - start
    attack = min(1.0, u / 0.010)
    envelope = attack * math.exp(-u / decay)
    w = 2 * math.pi * freq * u
    return envelope * (math.sin(w) + 0.20 * math.sin(2 * w) + 0.08 * math.sin(3 * w))


def value_at(t):
    return sum(note(t, start, freq, decay) for start, freq, decay in NOTES)


def main():
    values = wavtone.rendered(LENGTH, value_at, fade=0.04)
    wavtone.write(wavtone.default_output(__file__, "low-memory.wav"), values, PEAK)


if __name__ == "__main__":
    main()
