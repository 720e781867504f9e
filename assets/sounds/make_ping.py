#!/usr/bin/env python3
"""Makes Ping.wav, the net pinger's sound: a soft two-note chime (a fifth
up, like a small bell answering), 0.4 s, quiet, with a gentle attack so it
never clicks. 22050 Hz, 16-bit mono PCM, which every Windows version plays.
Run by hand when the sound changes; Ping.wav is committed beside this
script and copied beside corvane.exe by the build.

    python3 assets/sounds/make_ping.py [output]
"""
import math

import wavtone

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


def value_at(t):
    return 0.6 * note(t, 0.0, 880.0, 0.09) + 0.5 * note(t, 0.07, 1318.5, 0.11)


def main():
    values = wavtone.rendered(LENGTH, value_at, fade=0.03)
    wavtone.write(wavtone.default_output(__file__, "Ping.wav"), values, PEAK)


if __name__ == "__main__":
    main()
