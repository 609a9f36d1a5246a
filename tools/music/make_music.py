#!/usr/bin/env python3
"""Composes the game's background music into data/SOUNDS/*.MID.

Standard MIDI files, format 1: a conductor track (title, time and key
signatures, tempo) and one track per instrument, General MIDI programs.
Everything is generated here, deterministically (fixed seeds):

    MOZK478.MID  "Allegro in G minor", our own piece for piano quartet in the
                 classical manner, after the stern unison opening of Mozart's
                 Piano Quartet in G minor, K. 478: a unison motto, a first theme
                 in G minor, a second theme in B flat, a development that
                 sequences the motto, the return of both themes in G minor and
                 a coda (about three minutes).
    PAGODA.MID   our own piece on a pentatonic scale for koto, shakuhachi,
                 pan flute, strings and a soft taiko (about three minutes).
    CANON.MID    our own arrangement of Pachelbel's Canon in D (public domain):
                 the ground bass with the canon's opening voices and our own
                 variations for strings and harpsichord (about three minutes).
"""

import os
import random
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from midi import (Scale, Song, TICKS_PER_QUARTER, nearest, note,  # noqa: E402
                  parse_chord, tones_in_range)

OUTPUT_DIRECTORY = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "..", "..", "data", "SOUNDS")

Q = TICKS_PER_QUARTER
BAR = 4 * Q


def beats(b):
    return int(round(b * Q))


# ------------------------------------------------------------- accompaniment

def bass_pitch(chord, low, high):
    _, _, bass = parse_chord(chord)
    return nearest(tones_in_range((bass,), low, high), (low + high) // 2)


def voicing(chord, low, high, count, previous=None):
    """count chord tones in [low, high], close to the previous voicing."""
    _, pcs, _ = parse_chord(chord)
    tones = tones_in_range(pcs, low, high)
    if previous:
        centre = sum(previous) // len(previous)
    else:
        centre = (low + high) // 2
    start = min(range(len(tones)), key=lambda i: abs(tones[i] - centre))
    start = max(0, min(len(tones) - count, start - count // 2))
    return tones[start:start + count]


def alberti(track, tick, chord, velocity, low=43, high=62, length_beats=4):
    """Root, fifth, third, fifth in eighths, low in the piano's left hand."""
    root, pcs, bass = parse_chord(chord)
    b = nearest(tones_in_range((bass,), low, low + 11), low + 5)
    upper = [p for p in tones_in_range(pcs, b + 3, high)][:3]
    while len(upper) < 3:
        upper.append(upper[-1] + 12 if upper else b + 12)
    pattern = [b, upper[1], upper[0], upper[1]]
    for i in range(int(length_beats * 2)):
        v = velocity + (6 if i % 4 == 0 else 0)
        track.append((tick + i * Q // 2, Q // 2 - 10, pattern[i % 4], v))


def broken_chord(track, tick, chord, velocity, low, high, length_beats=4, step=0.5):
    """Arpeggio up and down through the chord tones."""
    _, pcs, _ = parse_chord(chord)
    tones = tones_in_range(pcs, low, high)[:5]
    cycle = tones + tones[-2:0:-1]
    n = int(length_beats / step)
    for i in range(n):
        track.append((tick + beats(i * step), beats(step) - 10, cycle[i % len(cycle)],
                      velocity + (5 if i == 0 else 0)))


def block_chords(track, tick, chord, velocity, low, high, count=3, pattern=(0, 1, 2, 3),
                 length=0.9):
    tones = voicing(chord, low, high, count)
    for b in pattern:
        for p in tones:
            track.append((tick + beats(b), beats(length), p, velocity))


def sustained(track, tick, chord, velocity, low, high, voice, length_beats=4, previous=None):
    """One voice of a sustained chord: voice 0 the lowest tone of the voicing."""
    tones = voicing(chord, low, high, 3, previous)
    p = tones[min(voice, len(tones) - 1)]
    track.append((tick, beats(length_beats) - 20, p, velocity))
    return p


# ---------------------------------------------------------------- melody

class Melody:
    """Realises motifs (scale-step shapes) over a chord, one bar at a time."""

    def __init__(self, scale, low, high, start):
        self.scale = scale
        self.low = low
        self.high = high
        self.last = start

    def bar(self, track, tick, chord, motif, velocity, target_shift=0, snap=True):
        """motif: (beat, duration, scale steps from the anchor).  The anchor is
        the chord tone nearest to the last note moved by target_shift."""
        _, pcs, _ = parse_chord(chord)
        chord_tones = tones_in_range(pcs, self.low, self.high)
        up = max(0, max(s for (_, _, s) in motif))
        down = max(0, -min(s for (_, _, s) in motif))
        # leave room for the motif's own rise and fall inside the range
        target = max(self.low + 2 + 2 * down, min(self.high - 2 - 2 * up,
                                                    self.last + target_shift))
        anchor = nearest(chord_tones, target)
        for (beat, duration, steps) in motif:
            p = self.scale.step(anchor, steps)
            strong = beat in (0, 2) or duration >= 1.5
            if snap and strong and p % 12 not in pcs:
                p = nearest(chord_tones, p)
            while p > self.high:
                p -= 12
            while p < self.low:
                p += 12
            accent = 8 if beat == 0 else (4 if beat == 2 else 0)
            track.append((tick + beats(beat), beats(duration) - 12, p, velocity + accent))
            self.last = p


def fixed(track, tick, notes, velocity, transpose=0):
    """Fixed notes: (beat, duration, 'G4' or pitch)."""
    for (beat, duration, n) in notes:
        p = note(n) if isinstance(n, str) else n
        track.append((tick + beats(beat), beats(duration) - 12, p + transpose, velocity))


# ======================================================= Allegro in G minor

G_MINOR = Scale([7, 9, 10, 0, 2, 3, 6])          # harmonic minor
G_MINOR_DOWN = Scale([7, 9, 10, 0, 2, 3, 5])     # natural minor, for falling lines
B_FLAT = Scale([10, 0, 2, 3, 5, 7, 9])

MOTTO = [  # four bars in unison, our own opening gesture
    [(0, 1, "G4"), (1, 1, "D5"), (2, 1, "Bb4"), (3, 1, "G4")],
    [(0, 1.5, "F#4"), (1.5, 0.5, "G4"), (2, 1, "A4"), (3, 1, "Bb4")],
    [(0, 0.5, "C5"), (0.5, 0.5, "Bb4"), (1, 0.5, "A4"), (1.5, 0.5, "G4"),
     (2, 1, "D5"), (3, 1, "D4")],
    [(0, 0.25, "A4"), (0.25, 0.25, "Bb4"), (0.5, 0.25, "A4"), (0.75, 0.25, "G4"),
     (1, 1, "F#4"), (2, 2, "G4")],
]

TURN = [(0, 1.5, 0), (1.5, 0.5, 1), (2, 0.5, 2), (2.5, 0.5, 1), (3, 1, 0)]
FALL = [(0, 1, 2), (1, 1, 1), (2, 1, 0), (3, 0.5, -1), (3.5, 0.5, 0)]
RUN_UP = [(i * 0.5, 0.5, s) for i, s in enumerate((0, 1, 2, 3, 4, 3, 2, 1))]
RUN_DOWN = [(i * 0.5, 0.5, s) for i, s in enumerate((4, 3, 2, 1, 0, 1, 0, -1))]
CADENCE = [(0, 1, 2), (1, 1, 1), (2, 2, 0)]
HALF_CADENCE = [(0, 2, 1), (2, 2, 0)]
SIGH = [(0, 3, 0), (3, 1, -1)]
LYRIC_1 = [(0, 3, 0), (3, 1, 1)]
LYRIC_2 = [(0, 1, 2), (1, 1, 1), (2, 1.5, 0), (3.5, 0.5, 1)]
LYRIC_3 = [(0, 1.5, 4), (1.5, 0.5, 3), (2, 1, 2), (3, 1, 1)]
LYRIC_END = [(0, 4, 0)]
DOTTED = [(0, 0.75, 0), (0.75, 0.25, 1), (1, 1, 2), (2, 0.75, 2), (2.75, 0.25, 1), (3, 1, 0)]


def mozart_style():
    song = Song("Allegro in G minor", 132, key_sharps=-2, minor=True)
    right = song.track("Piano right hand", 0, 0, volume=108, pan=58)
    left = song.track("Piano left hand", 1, 0, volume=100, pan=58)
    violin = song.track("Violin", 2, 40, volume=96, pan=84)
    viola = song.track("Viola", 3, 41, volume=88, pan=70)
    cello = song.track("Cello", 4, 42, volume=96, pan=44)
    bar = [0]

    def tick():
        return bar[0] * BAR

    def motto(velocity, transpose=0, with_chords=None):
        for m in MOTTO:
            t = tick()
            fixed(right, t, m, velocity, transpose)
            fixed(right, t, m, velocity - 10, transpose - 12)
            fixed(violin, t, m, velocity - 4, transpose)
            fixed(viola, t, m, velocity - 8, transpose - 12)
            fixed(cello, t, m, velocity - 4, transpose - 24)
            bar[0] += 1

    def theme_section(chords, motifs, shifts, melody, lead, velocity, accompany):
        for i, chord in enumerate(chords):
            t = tick()
            melody.bar(lead, t, chord, motifs[i % len(motifs)], velocity,
                       shifts[i % len(shifts)])
            accompany(t, chord, i)
            bar[0] += 1

    # 1. the motto, forte, in unison
    motto(100)

    # 2. first theme: piano, strings accompanying softly
    theme_a = ["Gm", "Cm", "D7", "Gm", "Gm", "Eb", "Am7b5", "D",
               "Gm", "Cm/Eb", "F", "Bb", "Eb", "Cm", "D7", "Gm"]
    motifs_a = [TURN, FALL, RUN_UP, HALF_CADENCE, TURN, FALL, RUN_DOWN, HALF_CADENCE,
                DOTTED, FALL, RUN_UP, SIGH, TURN, RUN_DOWN, FALL, CADENCE]
    shifts_a = [0, 2, -2, 0, 3, 0, -3, 0, 4, -2, 0, 2, -2, -2, 0, -3]
    mel = Melody(G_MINOR, 62, 84, 70)

    def acc_a(t, chord, i):
        alberti(left, t, chord, 62)
        cello.append((t, beats(2) - 20, bass_pitch(chord, 36, 50), 60))
        cello.append((t + beats(2), beats(2) - 20, bass_pitch(chord, 36, 50), 56))
        if i % 2 == 0:
            sustained(viola, t, chord, 50, 55, 67, 1, 8)
            sustained(violin, t, chord, 46, 62, 74, 2, 8)

    theme_section(theme_a, motifs_a, shifts_a, mel, right, 80, acc_a)

    # 3. transition towards B flat
    trans = ["Gm", "Cm", "F7", "Bb", "Eb", "Cm", "F", "F7"]
    motifs_t = [RUN_UP, RUN_DOWN, RUN_UP, TURN, RUN_UP, RUN_DOWN, HALF_CADENCE, SIGH]
    mel.scale = B_FLAT

    def acc_t(t, chord, i):
        block_chords(left, t, chord, 70, 46, 62, pattern=(0, 1, 2, 3), length=0.45)
        cello.append((t, beats(4) - 20, bass_pitch(chord, 36, 50), 72))
        sustained(viola, t, chord, 64, 55, 67, 1)
        sustained(violin, t, chord, 66, 62, 77, 2)

    theme_section(trans, motifs_t, [2, 0, 2, -3], mel, right, 88, acc_t)

    # 4. second theme in B flat: the violin sings, the piano ripples
    theme_b = ["Bb", "Gm", "Cm", "F7", "Bb", "Eb", "F", "Bb",
               "Bb", "Dm", "Eb", "F", "Gm", "Cm", "F7", "Bb"]
    motifs_b = [LYRIC_1, LYRIC_2, LYRIC_3, LYRIC_END]
    violin_melody = Melody(B_FLAT, 62, 86, 74)

    def acc_b(t, chord, i):
        broken_chord(right, t, chord, 54, 58, 79)
        left.append((t, beats(4) - 20, bass_pitch(chord, 34, 46), 58))
        cello.append((t, beats(4) - 20, bass_pitch(chord, 36, 50), 54))
        sustained(viola, t, chord, 50, 55, 67, 1)

    theme_section(theme_b, motifs_b, [0, 2, 0, -2], violin_melody, violin, 78, acc_b)

    # 5. development: the motto in sequence, then a long dominant
    develop = ["Cm", "G7", "Cm", "Ab", "Fm", "C7", "Fm", "Db",
               "Eb", "D7", "Gm", "Cm", "A7", "D", "D7", "D7"]
    fragments = [TURN, RUN_DOWN, FALL, RUN_UP]
    dev = Melody(G_MINOR_DOWN, 60, 84, 72)
    dev_cello = Melody(G_MINOR_DOWN, 38, 57, 48)
    for i, chord in enumerate(develop):
        t = tick()
        dev.scale = Scale(parse_chord(chord)[1] + ((parse_chord(chord)[0] + 2) % 12,
                                                   (parse_chord(chord)[0] + 5) % 12,
                                                   (parse_chord(chord)[0] + 9) % 12))
        if i % 2 == 0:
            dev.bar(right, t, chord, fragments[(i // 2) % 4], 86, 3 if i < 8 else -2)
            dev_cello.bar(cello, t, chord, RUN_UP, 70, 0)
            block_chords(violin, t, chord, 60, 62, 76, count=2, pattern=(0, 2), length=1.8)
        else:
            dev.bar(violin, t, chord, fragments[(i // 2 + 1) % 4], 84, -2)
            cello.append((t, beats(4) - 20, bass_pitch(chord, 36, 50), 70))
            broken_chord(right, t, chord, 60, 55, 74, step=0.5)
        alberti(left, t, chord, 66)
        sustained(viola, t, chord, 58, 55, 67, 1)
        bar[0] += 1

    # 6. return: the motto, then the first theme led by the violin
    motto(104)
    mel_v = Melody(G_MINOR, 62, 86, 70)

    def acc_r(t, chord, i):
        broken_chord(right, t, chord, 58, 55, 76)
        left.append((t, beats(4) - 20, bass_pitch(chord, 36, 48), 62))
        cello.append((t, beats(2) - 20, bass_pitch(chord, 36, 50), 62))
        cello.append((t + beats(2), beats(2) - 20, bass_pitch(chord, 43, 55), 58))
        sustained(viola, t, chord, 52, 55, 67, 1)

    theme_section(theme_a, motifs_a, shifts_a, mel_v, violin, 84, acc_r)

    # 7. the second theme in G minor, piano and violin together
    theme_b_minor = ["Gm", "Eb", "Cm", "D7", "Gm", "Cm", "Am7b5", "D",
                     "Eb", "Cm", "D7", "Gm"]
    mel_b2 = Melody(G_MINOR, 62, 84, 67)

    def acc_b2(t, chord, i):
        alberti(left, t, chord, 58)
        cello.append((t, beats(4) - 20, bass_pitch(chord, 36, 50), 58))
        sustained(viola, t, chord, 52, 55, 67, 1)

    for i, chord in enumerate(theme_b_minor):
        t = tick()
        motif = motifs_b[i % 4]
        before = len(right)
        mel_b2.bar(right, t, chord, motif, 76, [0, 2, 0, -2][i % 4])
        for (start, length, pitch, velocity) in right[before:]:
            violin.append((start, length, pitch - 12, velocity - 14))
        acc_b2(t, chord, i)
        bar[0] += 1

    # 8. coda: motto fragments over tonic and dominant, final unison
    coda = ["Gm", "Cm", "D7", "Gm", "Cm", "D7", "Gm", "Gm"]
    for i, chord in enumerate(coda[:6]):
        t = tick()
        fixed(right, t, MOTTO[i % 2], 90, 12 if i % 2 else 0)
        block_chords(left, t, chord, 76, 43, 62, pattern=(0, 1, 2, 3), length=0.45)
        cello.append((t, beats(4) - 20, bass_pitch(chord, 36, 50), 80))
        sustained(viola, t, chord, 70, 55, 67, 1)
        sustained(violin, t, chord, 74, 62, 79, 2)
        bar[0] += 1
    t = tick()
    for (track, pitches, velocity) in ((right, ("G4", "Bb4", "D5", "G5"), 96),
                                       (left, ("G2", "G3", "D3"), 90),
                                       (violin, ("G5",), 92), (viola, ("D4",), 86),
                                       (cello, ("G2",), 92)):
        for p in pitches:
            track.append((t, beats(1) - 20, note(p), velocity))
            track.append((t + beats(2), beats(6) - 30, note(p), velocity - 6))
    song.tempo(t + beats(4), 96)
    return song


# ================================================================ Pagoda

PENTATONIC = Scale([2, 4, 7, 9, 11])       # D E G A B


def pagoda():
    song = Song("Pagoda", 78, key_sharps=2)
    koto = song.track("Koto", 0, 107, volume=100, pan=48, reverb=60)
    flute = song.track("Shakuhachi", 1, 77, volume=104, pan=70, reverb=70)
    pan = song.track("Pan flute", 2, 75, volume=88, pan=86, reverb=70)
    strings = song.track("Strings", 3, 49, volume=72, pan=64, reverb=80)
    drum = song.track("Taiko", 4, 116, volume=84, pan=60, reverb=50)
    bells = song.track("Celesta", 5, 8, volume=70, pan=96, reverb=80)
    rng = random.Random(478)
    bar = [0]

    def tick():
        return bar[0] * BAR

    chords_a = ["Dsus2", "Em7", "G6/9", "Asus4", "Dsus2", "Bm7", "Em7", "Asus4"]
    chords_b = ["G6/9", "Em7", "Asus4", "Dsus2", "G6/9", "Bm7", "Asus4", "Asus4"]

    def koto_bar(t, chord, velocity, density):
        _, pcs, _ = parse_chord(chord)
        tones = tones_in_range([pc for pc in pcs if pc in PENTATONIC.pcs] or pcs, 50, 79)
        steps = [0, 1, 2, 3, 4, 3, 2, 1] if density == 2 else [0, 2, 4, 2]
        unit = 0.5 if density == 2 else 1.0
        base = rng.randrange(0, max(1, len(tones) - 5))
        for i, s in enumerate(steps):
            p = tones[min(len(tones) - 1, base + s)]
            koto.append((t + beats(i * unit), beats(unit * 1.8), p,
                         velocity + (10 if i == 0 else rng.randrange(-4, 5))))

    def pad(t, chord, velocity, bars_long=1):
        root, pcs, bass = parse_chord(chord)
        for p in (nearest(tones_in_range((bass,), 38, 49), 43),
                  nearest(tones_in_range(((bass + 7) % 12,), 50, 61), 55)):
            strings.append((t, bars_long * BAR - 30, p, velocity))

    def taiko(t, velocity, pattern=(0, 2.5, 3)):
        for b in pattern:
            drum.append((t + beats(b), beats(0.5), 45 if b == 0 else 52, velocity - (0 if b == 0 else 18)))

    phrase_1 = [[(0, 2, 0), (2, 1, 1), (3, 1, 2)],
                [(0, 3, 1), (3, 0.5, 0), (3.5, 0.5, -1)],
                [(0, 1.5, 0), (1.5, 0.5, 1), (2, 2, 2)],
                [(0, 4, 1)]]
    phrase_2 = [[(0, 1, 2), (1, 1, 1), (2, 2, 0)],
                [(0, 1, -1), (1, 1, 0), (2, 1.5, 1), (3.5, 0.5, 2)],
                [(0, 2, 3), (2, 1, 2), (3, 1, 1)],
                [(0, 4, 0)]]

    # introduction: koto alone, then the pad enters
    for i, chord in enumerate(chords_a[:4]):
        koto_bar(tick(), chord, 74, 1)
        if i >= 2:
            pad(tick(), chord, 40)
        bar[0] += 1

    # theme on the shakuhachi, twice through the progression
    lead = Melody(PENTATONIC, 62, 86, 69)
    for rep in range(2):
        for i, chord in enumerate(chords_a):
            t = tick()
            motifs = phrase_1 if i < 4 else phrase_2
            lead.bar(flute, t, chord, motifs[i % 4], 78 + 4 * rep, [0, 2, 2, -2][i % 4], snap=False)
            koto_bar(t, chord, 58, 1 + rep)
            pad(t, chord, 46)
            if i % 4 == 0:
                taiko(t, 70)
            bar[0] += 1

    # middle section: pan flute higher, celesta answers, busier koto
    high = Melody(PENTATONIC, 69, 93, 79)
    echo = Melody(PENTATONIC, 74, 98, 86)
    for rep in range(2):
        for i, chord in enumerate(chords_b):
            t = tick()
            motif = phrase_2[i % 4] if rep == 0 else phrase_1[i % 4]
            high.bar(pan, t, chord, motif, 76, [2, 0, -2, 0][i % 4], snap=False)
            if i % 2 == 1:
                echo.bar(bells, t + beats(2), chord, [(0, 0.5, 0), (0.5, 0.5, 1), (1, 1, 2)],
                         56, 0, snap=False)
            koto_bar(t, chord, 60, 2)
            pad(t, chord, 50)
            taiko(t, 74, (0, 1.5, 2, 3.5) if i % 4 == 3 else (0, 2.5, 3))
            bar[0] += 1

    # return of the theme, shakuhachi and pan flute in answer
    lead.last = 69
    for rep in range(2):
        for i, chord in enumerate(chords_a):
            t = tick()
            motifs = phrase_1 if i < 4 else phrase_2
            lead.bar(flute, t, chord, motifs[i % 4], 82, [0, 2, 2, -2][i % 4], snap=False)
            if rep == 1:
                high.bar(pan, t + beats(2), chord, [(0, 1, 2), (1, 1, 1)], 60, 0, snap=False)
            koto_bar(t, chord, 60, 2 if rep == 0 else 1)
            pad(t, chord, 48)
            if i % 4 == 0:
                taiko(t, 72)
            bar[0] += 1

    # coda: the opening arpeggios fade over a long D
    for i, chord in enumerate(["Dsus2", "G6/9", "Asus4", "Dsus2"]):
        t = tick()
        koto_bar(t, chord, 72 - 5 * i, 1)
        pad(t, chord, 44 - 4 * i)
        bar[0] += 1
    t = tick()
    for p in (50, 57, 62, 69):
        koto.append((t, beats(6), p, 60))
    flute.append((t, beats(6), 74, 60))
    strings.append((t, beats(8), 38, 40))
    strings.append((t, beats(8), 57, 36))
    drum.append((t, beats(1), 45, 60))
    return song


# ================================================================ Canon in D

CANON_BASS = ["D3", "A2", "B2", "F#2", "G2", "D2", "G2", "A2"]
CANON_CHORDS = ["D", "A", "Bm", "F#m", "G", "D", "G", "A"]
# the well-known opening voice of the canon, two notes to a bar of the ground
CANON_VOICE_1 = ["F#5", "E5", "D5", "C#5", "B4", "A4", "B4", "C#5"]
CANON_VOICE_2 = ["D5", "C#5", "B4", "A4", "G4", "F#4", "G4", "E4"]
D_MAJOR = Scale([2, 4, 6, 7, 9, 11, 1])


def canon():
    song = Song("Canon in D", 60, key_sharps=2)
    harpsichord = song.track("Harpsichord", 0, 6, volume=84, pan=50, reverb=50)
    violin_1 = song.track("Violin I", 1, 40, volume=100, pan=30, reverb=70)
    violin_2 = song.track("Violin II", 2, 40, volume=96, pan=64, reverb=70)
    violin_3 = song.track("Violin III", 3, 40, volume=92, pan=98, reverb=70)
    cello = song.track("Cello", 4, 42, volume=100, pan=64, reverb=60)
    rounds = 21
    round_ticks = 8 * Q           # the ground: eight quarter notes

    def ground(r):
        t0 = r * round_ticks
        for k, n in enumerate(CANON_BASS):
            t = t0 + k * Q
            cello.append((t, Q - 20, note(n), 78))
            if r >= 1:
                for p in voicing(CANON_CHORDS[k], 62, 74, 3):
                    harpsichord.append((t, Q // 2 - 20, p, 54))
                    harpsichord.append((t + Q // 2, Q // 2 - 20, p, 46))

    def voice_plain(line, octave_shift=0):
        def play(track, t0, velocity):
            for k, n in enumerate(line):
                track.append((t0 + k * Q, Q - 20, note(n) + octave_shift, velocity))
        return play

    def voice_motif(motif, low, high, start, seed):
        def play(track, t0, velocity):
            m = Melody(D_MAJOR, low, high, start)
            for k, chord in enumerate(CANON_CHORDS):
                m.bar(track, t0 + k * Q, chord, motif, velocity, [0, -2, 2, -1][(k + seed) % 4])
        return play

    quarter = [(0, 1, 0)]
    eighths = [(0, 0.5, 0), (0.5, 0.5, 1)]
    falling = [(0, 0.5, 1), (0.5, 0.5, 0)]
    sixteenths = [(0, 0.25, 0), (0.25, 0.25, 1), (0.5, 0.25, 2), (0.75, 0.25, 1)]
    dotted = [(0, 0.75, 0), (0.75, 0.25, 1)]
    leaps = [(0, 0.5, 0), (0.5, 0.5, 3)]
    variations = [voice_plain(CANON_VOICE_1), voice_plain(CANON_VOICE_2),
                  voice_motif(eighths, 69, 86, 78, 0), voice_motif(falling, 69, 88, 81, 1),
                  voice_motif(dotted, 67, 86, 76, 2), voice_motif(sixteenths, 69, 91, 81, 3),
                  voice_motif(leaps, 66, 88, 74, 0), voice_motif(quarter, 62, 81, 69, 2),
                  voice_motif(sixteenths, 74, 93, 86, 1), voice_motif(eighths, 66, 83, 74, 3),
                  voice_plain(CANON_VOICE_1, 12), voice_plain(CANON_VOICE_2)]
    violins = [violin_1, violin_2, violin_3]
    for r in range(rounds):
        ground(r)
        t0 = r * round_ticks
        # the violins enter one after the other, two rounds apart, and each
        # plays the same chain of variations: a canon at two rounds
        for v, track in enumerate(violins):
            k = r - 1 - 2 * v
            if k >= 0:
                velocity = 72 + (10 if v == 0 else 0) - (8 if r >= rounds - 2 else 0)
                variations[k % len(variations)](track, t0, velocity)
    t = rounds * round_ticks
    for (track, p) in ((cello, "D2"), (violin_1, "D5"), (violin_2, "A4"), (violin_3, "F#4")):
        track.append((t, 4 * Q, note(p), 74))
    for p in ("D3", "F#3", "A3", "D4"):
        harpsichord.append((t, 4 * Q, note(p), 60))
    song.tempo(t - round_ticks, 54)
    return song


PIECES = (("MOZK478.MID", mozart_style), ("PAGODA.MID", pagoda), ("CANON.MID", canon))


def main():
    os.makedirs(OUTPUT_DIRECTORY, exist_ok=True)
    for (name, compose) in PIECES:
        song = compose()
        with open(os.path.join(OUTPUT_DIRECTORY, name), "wb") as f:
            f.write(song.to_bytes())
        notes = sum(len(t[6]) for t in song.tracks)
        print("%-12s %d tracks, %5d notes, %3d:%02d" % (name, len(song.tracks) + 1, notes,
                                                          int(song.length_seconds()) // 60,
                                                          int(song.length_seconds()) % 60))


if __name__ == "__main__":
    main()
