"""What the sound scripts beside it share: 22050 Hz, 16-bit mono PCM (which
every Windows version plays), a fade to silence at the end so that a sound
never ends in a tick, and the writing of the file at a chosen peak level."""
import struct
import sys
import wave

RATE = 22050


def rendered(length, value_at, fade):
    """The values of value_at(t) over `length` seconds, the last `fade`
    seconds faded to silence."""
    count = int(RATE * length)
    for i in range(count):
        value = value_at(i / RATE)
        tail = (count - i) / (RATE * fade)
        if tail < 1.0:
            value *= tail
        yield value


def write(path, values, peak):
    """Writes the values scaled so that the loudest is `peak` of full scale."""
    values = list(values)
    scale = peak / max(abs(v) for v in values)
    frames = b"".join(struct.pack("<h", int(round(v * scale * 32767))) for v in values)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


def default_output(script, name):
    """The file beside the script, unless the command line names another."""
    return sys.argv[1] if len(sys.argv) > 1 else script.rsplit("/", 1)[0] + "/" + name
