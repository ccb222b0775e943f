#!/usr/bin/env python3
"""Writes the tool's three sounds (menu, end, critical) as short mono WAV files.

They are synthesised here from plain tones, so the repository holds their source.
Run it again only to change them: python3 make_sounds.py
"""
import math
import struct
import wave

RATE = 22050


def tone(freq, seconds, volume=0.5, shape="sine", decay=6.0):
    samples = []
    count = int(RATE * seconds)
    for i in range(count):
        t = i / RATE
        phase = math.sin(2 * math.pi * freq * t)
        value = phase if shape == "sine" else (1.0 if phase >= 0 else -1.0) * 0.6
        envelope = math.exp(-decay * t) * min(1.0, i / (RATE * 0.004))
        samples.append(value * volume * envelope)
    return samples


def write(name, samples):
    with wave.open(name, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(s * 32767)) for s in samples))


write("menu.wav", tone(1400, 0.06, 0.4, decay=40.0))
write("end.wav", tone(660, 0.14, decay=8.0) + tone(880, 0.26, decay=8.0))
write("critical.wav", tone(440, 0.16, 0.35, "square", 3.0) + tone(311, 0.30, 0.35, "square", 3.0))
