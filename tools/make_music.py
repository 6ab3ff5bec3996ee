"""make_music.py OUT.wav SECONDS: a stereo 16-bit 44100 Hz stand-in for music, the benchmark's
fixture. A tone fixture encodes into nearly empty MP3 frames and decodes unrealistically fast;
this one keeps the encoder busy across the spectrum: a changing chord with harmonics, a bass
line, hiss and a drum-like noise burst on every beat, all different on the two sides. The
same arguments always make the same file."""
import math
import random
import struct
import sys
import wave

RATE = 44100
BEAT = 0.5  # seconds
CHORDS = [(220.0, 277.2, 329.6), (196.0, 246.9, 293.7), (174.6, 220.0, 261.6), (164.8, 207.7, 246.9)]


def sample(t, noise):
    chord = CHORDS[int(t / (4 * BEAT)) % len(CHORDS)]
    in_beat = t % BEAT
    left = right = 0.0
    for i, freq in enumerate(chord):
        for harmonic in (1, 2, 3, 5):
            tone = math.sin(2 * math.pi * freq * harmonic * t) / harmonic
            left += tone * (1.0 if i != 2 else 0.4)
            right += tone * (1.0 if i != 0 else 0.4)
    bass = math.sin(2 * math.pi * chord[0] / 4 * t) * 2.0
    drum = noise.uniform(-1, 1) * 3.0 * math.exp(-in_beat * 30)
    hiss = noise.uniform(-1, 1) * 0.3
    return left + bass + drum + hiss, right + bass + drum + noise.uniform(-1, 1) * 0.3


def main():
    out, secs = sys.argv[1], float(sys.argv[2])
    noise = random.Random(1)
    scale = 32767 / 10.0
    frames = bytearray()
    for n in range(int(RATE * secs)):
        left, right = sample(n / RATE, noise)
        frames += struct.pack("<hh", *(max(-32768, min(32767, int(v * scale))) for v in (left, right)))
    with wave.open(out, "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))


if __name__ == "__main__":
    main()
