"""make_tone.py OUT.wav FREQ SECONDS: a mono 16-bit 44100 Hz sine, the tests' audio fixture."""
import math
import struct
import sys
import wave

out, freq, secs = sys.argv[1], float(sys.argv[2]), float(sys.argv[3])
rate = 44100
frames = b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * freq * i / rate)))
                  for i in range(int(rate * secs)))
with wave.open(out, "wb") as w:
    w.setnchannels(1)
    w.setsampwidth(2)
    w.setframerate(rate)
    w.writeframes(frames)
