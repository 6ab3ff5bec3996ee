"""make_demo.py OUT.wav: the demo station's sound, a few seconds of soft chimes (a major
arpeggio over a quiet drone) that loop without a click, mono 16-bit 44100 Hz."""
import math
import struct
import sys
import wave

RATE = 44100
NOTE = 0.5                                              # seconds a chime
CHIMES = [523.25, 659.25, 783.99, 1046.50, 783.99, 659.25, 587.33, 698.46]
DRONE = 130.81                                          # one cycle fits the loop exactly below


def sample(t):
    index = int(t / NOTE)
    since = t - index * NOTE
    frequency = CHIMES[index % len(CHIMES)]
    # A quick rise and a long fall, so that every chime rings out before the next.
    envelope = min(1.0, since / 0.01) * math.exp(-since * 5)
    chime = envelope * (math.sin(2 * math.pi * frequency * since)
                        + 0.3 * math.sin(4 * math.pi * frequency * since))
    drone = 0.25 * math.sin(2 * math.pi * DRONE * t)
    return 7000 * chime + 3000 * drone


seconds = NOTE * len(CHIMES)
# Whole drone cycles: the loop joins without a step.
seconds = round(seconds * DRONE) / DRONE
frames = b"".join(struct.pack("<h", int(sample(i / RATE))) for i in range(int(RATE * seconds)))
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(1)
    w.setsampwidth(2)
    w.setframerate(RATE)
    w.writeframes(frames)
