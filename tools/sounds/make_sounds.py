#!/usr/bin/env python3
"""Synthesises the game's sound effects into data/SOUNDS/*.WAV.

The effects are played synchronously (the game waits until a sound has
finished), so every one of them is kept well under 0.4 seconds.  All sounds
are made here from scratch: damped resonant modes for wood and tiles,
filtered noise for the contact, additive and FM partials for the chimes.
Output: 16-bit PCM, mono, 44100 Hz.  Noise comes from a seeded generator, so
every run writes the same bytes.

    SELECT.WAV  soft wooden click (a tile is picked up)
    REMOVE.WAV  two tiles clacking together, then a gentle chime
    BESIDE.WAV  low muted thunk (a click that selects nothing)
    CLICK.WAV, CHIME.WAV, BELL.WAV, POP.WAV, WOOD.WAV, BLIP.WAV  alternatives
"""

import math
import os
import random
import struct

RATE = 44100
OUTPUT_DIRECTORY = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "..", "..", "data", "SOUNDS")


def silence(seconds):
    return [0.0] * int(round(seconds * RATE))


def mix(target, source, start_seconds=0.0, gain=1.0):
    """Adds source into target from start_seconds, growing target if needed."""
    start = int(round(start_seconds * RATE))
    end = start + len(source)
    if end > len(target):
        target.extend([0.0] * (end - len(target)))
    for i, v in enumerate(source):
        target[start + i] += gain * v
    return target


def damped_modes(modes, seconds, attack=0.0008):
    """Sum of exponentially decaying sines: (frequency, amplitude, decay time)."""
    n = int(round(seconds * RATE))
    out = [0.0] * n
    for (freq, amp, tau) in modes:
        w = 2.0 * math.pi * freq / RATE
        for i in range(n):
            t = i / RATE
            out[i] += amp * math.exp(-t / tau) * math.sin(w * i)
    return apply_attack(out, attack)


def apply_attack(samples, attack):
    a = max(1, int(attack * RATE))
    for i in range(min(a, len(samples))):
        samples[i] *= i / a
    return samples


def fade_out(samples, seconds):
    n = min(len(samples), int(seconds * RATE))
    for k in range(n):
        samples[len(samples) - n + k] *= 0.5 * (1.0 + math.cos(math.pi * k / n))
    return samples


def noise_burst(seconds, tau, seed):
    rng = random.Random(seed)
    n = int(round(seconds * RATE))
    return [(rng.random() * 2.0 - 1.0) * math.exp(-(i / RATE) / tau) for i in range(n)]


def bandpass(samples, centre, q):
    """RBJ biquad band-pass, constant 0 dB peak gain."""
    w0 = 2.0 * math.pi * centre / RATE
    alpha = math.sin(w0) / (2.0 * q)
    b0, b1, b2 = alpha, 0.0, -alpha
    a0, a1, a2 = 1.0 + alpha, -2.0 * math.cos(w0), 1.0 - alpha
    b0, b1, b2, a1, a2 = b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0
    out = []
    x1 = x2 = y1 = y2 = 0.0
    for x in samples:
        y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2
        x2, x1 = x1, x
        y2, y1 = y1, y
        out.append(y)
    return out


def lowpass(samples, cutoff):
    """One-pole low-pass."""
    k = 1.0 - math.exp(-2.0 * math.pi * cutoff / RATE)
    out = []
    y = 0.0
    for x in samples:
        y += k * (x - y)
        out.append(y)
    return out


def glide_tone(f_start, f_end, seconds, tau, harmonics=((1, 1.0),)):
    """A tone whose pitch glides exponentially, with a decaying envelope."""
    n = int(round(seconds * RATE))
    out = [0.0] * n
    phase = 0.0
    for i in range(n):
        t = i / RATE
        f = f_start * (f_end / f_start) ** (t / seconds)
        phase += 2.0 * math.pi * f / RATE
        v = 0.0
        for (h, a) in harmonics:
            v += a * math.sin(h * phase)
        out[i] = v * math.exp(-t / tau)
    return apply_attack(out, 0.001)


def fm_bell(freq, ratio, index, seconds, tau, index_tau):
    """Two-operator FM: a bell when the ratio is inharmonic."""
    n = int(round(seconds * RATE))
    out = []
    for i in range(n):
        t = i / RATE
        mod = index * math.exp(-t / index_tau) * math.sin(2.0 * math.pi * freq * ratio * t)
        out.append(math.exp(-t / tau) * math.sin(2.0 * math.pi * freq * t + mod))
    return apply_attack(out, 0.002)


def chime(freq, seconds, tau):
    """Additive chime: a soft fundamental with a few quiet partials."""
    return damped_modes(((freq, 1.0, tau), (freq * 2.0, 0.30, tau * 0.6),
                         (freq * 3.01, 0.12, tau * 0.4), (freq * 4.2, 0.05, tau * 0.3)),
                        seconds, attack=0.003)


# -------------------------------------------------------------------- effects

def select_sound():
    """A soft wooden click: resonances of a small block of wood plus the tap."""
    s = damped_modes(((820.0, 1.0, 0.018), (1930.0, 0.45, 0.010),
                      (3150.0, 0.20, 0.006)), 0.09)
    tap = bandpass(noise_burst(0.09, 0.004, seed=11), 2400.0, 1.2)
    mix(s, tap, 0.0, 0.6)
    return fade_out(s, 0.02)


def remove_sound():
    """Two tiles clack together (twice, quickly), then a gentle chime."""
    s = silence(0.38)

    def clack(seed, pitch):
        c = damped_modes(((2250.0 * pitch, 1.0, 0.010), (3560.0 * pitch, 0.6, 0.007),
                          (5100.0 * pitch, 0.3, 0.004)), 0.05)
        mix(c, bandpass(noise_burst(0.05, 0.003, seed=seed), 4000.0, 1.0), 0.0, 0.7)
        return c

    mix(s, clack(21, 1.0), 0.0, 0.55)
    mix(s, clack(22, 0.94), 0.045, 0.45)
    mix(s, chime(1318.5, 0.30, 0.11), 0.07, 0.35)      # E6
    mix(s, chime(1975.5, 0.26, 0.08), 0.11, 0.22)      # B6
    return fade_out(s[:int(0.38 * RATE)], 0.06)


def beside_sound():
    """A low, muted thunk with a little descending body."""
    s = glide_tone(190.0, 85.0, 0.17, 0.045, ((1, 1.0), (2, 0.25), (3, 0.08)))
    thump = lowpass(noise_burst(0.17, 0.012, seed=31), 400.0)
    mix(s, thump, 0.0, 1.5)
    return fade_out(lowpass(s, 1800.0), 0.04)


def click_sound():
    """A crisp, bright click."""
    s = damped_modes(((2600.0, 1.0, 0.006), (4100.0, 0.5, 0.004)), 0.05)
    mix(s, bandpass(noise_burst(0.05, 0.002, seed=41), 5000.0, 0.8), 0.0, 0.8)
    return fade_out(s, 0.01)


def chime_sound():
    """Two soft chime notes a fifth apart."""
    s = silence(0.36)
    mix(s, chime(1046.5, 0.30, 0.10), 0.0, 0.6)       # C6
    mix(s, chime(1568.0, 0.26, 0.09), 0.08, 0.5)      # G6
    return fade_out(s[:int(0.36 * RATE)], 0.08)


def bell_sound():
    """A small bell, two-operator FM with an inharmonic ratio."""
    s = fm_bell(880.0, 1.4, 3.0, 0.35, 0.10, 0.05)
    return fade_out(s, 0.08)


def pop_sound():
    """A bubble pop: a short sine sweeping upwards."""
    s = glide_tone(300.0, 1100.0, 0.08, 0.025)
    return fade_out(s, 0.02)


def wood_sound():
    """A deeper wood block."""
    s = damped_modes(((520.0, 1.0, 0.030), (1340.0, 0.5, 0.015), (2380.0, 0.2, 0.008)), 0.14)
    mix(s, bandpass(noise_burst(0.14, 0.004, seed=51), 1500.0, 1.5), 0.0, 0.5)
    return fade_out(s, 0.03)


def blip_sound():
    """A short descending two-step blip, a softer error sound."""
    s = silence(0.2)
    mix(s, fade_out(glide_tone(660.0, 620.0, 0.08, 0.05, ((1, 1.0), (3, 0.1))), 0.02), 0.0, 0.7)
    mix(s, fade_out(glide_tone(440.0, 400.0, 0.11, 0.05, ((1, 1.0), (3, 0.1))), 0.03), 0.085, 0.7)
    return fade_out(s[:int(0.2 * RATE)], 0.02)


# --------------------------------------------------------------------- output

def to_pcm16(samples, peak=0.7):
    """Normalises to the given peak and packs as 16-bit little-endian."""
    top = max(abs(v) for v in samples) or 1.0
    scale = peak * 32767.0 / top
    return b"".join(struct.pack("<h", int(round(v * scale))) for v in samples)


def wav_bytes(samples, peak):
    data = to_pcm16(samples, peak)
    header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE"
    fmt = b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE * 2, 2, 16)
    return header + fmt + b"data" + struct.pack("<I", len(data)) + data


SOUNDS = (
    ("SELECT.WAV", select_sound, 0.55),
    ("REMOVE.WAV", remove_sound, 0.6),
    ("BESIDE.WAV", beside_sound, 0.6),
    ("CLICK.WAV", click_sound, 0.5),
    ("CHIME.WAV", chime_sound, 0.55),
    ("BELL.WAV", bell_sound, 0.5),
    ("POP.WAV", pop_sound, 0.55),
    ("WOOD.WAV", wood_sound, 0.6),
    ("BLIP.WAV", blip_sound, 0.5),
)


def main():
    os.makedirs(OUTPUT_DIRECTORY, exist_ok=True)
    for (name, make, peak) in SOUNDS:
        samples = make()
        with open(os.path.join(OUTPUT_DIRECTORY, name), "wb") as f:
            f.write(wav_bytes(samples, peak))
        print("%-11s %.3f s" % (name, len(samples) / RATE))


if __name__ == "__main__":
    main()
