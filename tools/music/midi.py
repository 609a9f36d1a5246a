"""A small standard MIDI file writer (format 1) and music-theory helpers
shared by make_music.py."""

import struct

TICKS_PER_QUARTER = 480

NOTE_NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}

CHORD_SHAPES = {
    "": (0, 4, 7),
    "m": (0, 3, 7),
    "7": (0, 4, 7, 10),
    "m7": (0, 3, 7, 10),
    "maj7": (0, 4, 7, 11),
    "dim": (0, 3, 6),
    "dim7": (0, 3, 6, 9),
    "m7b5": (0, 3, 6, 10),
    "sus2": (0, 2, 7),
    "sus4": (0, 5, 7),
    "6/9": (0, 2, 4, 7, 9),
    "5": (0, 7),
}


def pitch_class(name):
    pc = NOTE_NAMES[name[0]]
    for accidental in name[1:]:
        pc += 1 if accidental == "#" else -1
    return pc % 12


def parse_chord(symbol):
    """'Gm', 'D7', 'Bb', 'F#dim7', 'Am7b5', 'D/A' ... -> (root pc, pcs, bass pc)."""
    bass = None
    if "/" in symbol and not symbol.endswith("6/9"):
        symbol, bass_name = symbol.split("/")
        bass = pitch_class(bass_name)
    n = 1
    while n < len(symbol) and symbol[n] in "#b" and not symbol[n:].startswith("b5"):
        n += 1
    root = pitch_class(symbol[:n])
    shape = CHORD_SHAPES[symbol[n:]]
    pcs = tuple((root + i) % 12 for i in shape)
    return root, pcs, root if bass is None else bass


def note(name_octave):
    """'G4' -> 67, 'Bb3' -> 58 (C4 = 60)."""
    i = 1
    while name_octave[i] in "#b":
        i += 1
    return 12 * (int(name_octave[i:]) + 1) + pitch_class(name_octave[:i])


def tones_in_range(pcs, low, high):
    return [p for p in range(low, high + 1) if p % 12 in pcs]


def nearest(candidates, target):
    return min(candidates, key=lambda p: (abs(p - target), p))


class Scale:
    def __init__(self, pcs):
        self.pcs = sorted(set(pc % 12 for pc in pcs))

    def degree_of(self, pitch):
        """Index of the scale degree at or just below pitch (octaves counted)."""
        octave, pc = divmod(pitch, 12)
        below = [i for i, s in enumerate(self.pcs) if s <= pc]
        index = below[-1] if below else -1
        return octave * len(self.pcs) + index

    def pitch_of(self, degree):
        octave, index = divmod(degree, len(self.pcs))
        return octave * 12 + self.pcs[index]

    def step(self, pitch, steps):
        return self.pitch_of(self.degree_of(pitch) + steps)


class Song:
    """Notes gathered per track, then written as one format 1 file."""

    def __init__(self, title, tempo_bpm, numerator=4, denominator=4, key_sharps=0, minor=False):
        self.title = title
        self.tempi = [(0, tempo_bpm)]
        self.numerator = numerator
        self.denominator = denominator
        self.key_sharps = key_sharps
        self.minor = minor
        self.tracks = []          # [name, channel, program, volume, pan, reverb, notes]

    def track(self, name, channel, program, volume=100, pan=64, reverb=40):
        t = [name, channel, program, volume, pan, reverb, []]
        self.tracks.append(t)
        return t[6]

    def tempo(self, tick, bpm):
        self.tempi.append((tick, bpm))

    @staticmethod
    def _vlq(value):
        out = [value & 0x7F]
        value >>= 7
        while value:
            out.append(0x80 | (value & 0x7F))
            value >>= 7
        return bytes(reversed(out))

    def _chunk(self, events, end_tick=0):
        """events: (tick, order, bytes); returns an MTrk chunk whose end of
        track comes after the last event, and not before end_tick."""
        events.sort(key=lambda e: (e[0], e[1]))
        data = bytearray()
        last = 0
        for (tick, _, payload) in events:
            data += self._vlq(tick - last)
            data += payload
            last = tick
        data += self._vlq(max(0, end_tick - last)) + b"\xff\x2f\x00"
        return b"MTrk" + struct.pack(">I", len(data)) + bytes(data)

    @staticmethod
    def _text(kind, text):
        raw = text.encode("ascii")
        return bytes([0xFF, kind]) + Song._vlq(len(raw)) + raw

    def to_bytes(self):
        chunks = []
        meta = [(0, 0, self._text(0x03, self.title)),
                (0, 0, bytes([0xFF, 0x58, 4, self.numerator,
                              {2: 1, 4: 2, 8: 3}[self.denominator], 24, 8])),
                (0, 0, bytes([0xFF, 0x59, 2, self.key_sharps & 0xFF, 1 if self.minor else 0]))]
        for (tick, bpm) in self.tempi:
            micro = int(round(60000000.0 / bpm))
            meta.append((tick, 1, bytes([0xFF, 0x51, 3]) + micro.to_bytes(3, "big")))
        # the conductor track lasts as long as the music
        chunks.append(self._chunk(meta, self.length_ticks()))
        for (name, channel, program, volume, pan, reverb, notes) in self.tracks:
            events = [(0, 0, self._text(0x03, name)),
                      (0, 1, bytes([0xC0 | channel, program])),
                      (0, 2, bytes([0xB0 | channel, 7, volume])),
                      (0, 2, bytes([0xB0 | channel, 10, pan])),
                      (0, 2, bytes([0xB0 | channel, 91, reverb]))]
            for (start, length, pitch, velocity) in notes:
                if length <= 0:
                    continue
                pitch = max(0, min(127, pitch))
                velocity = max(1, min(127, velocity))
                events.append((start, 4, bytes([0x90 | channel, pitch, velocity])))
                events.append((start + length, 3, bytes([0x80 | channel, pitch, 64])))
            chunks.append(self._chunk(events))
        header = b"MThd" + struct.pack(">IHHH", 6, 1, len(chunks), TICKS_PER_QUARTER)
        return header + b"".join(chunks)

    def length_ticks(self):
        end = 0
        for t in self.tracks:
            for (start, length, _, _) in t[6]:
                end = max(end, start + length)
        return end

    def length_seconds(self):
        end = self.length_ticks()
        tempi = sorted(self.tempi)
        seconds = 0.0
        for i, (tick, bpm) in enumerate(tempi):
            nxt = tempi[i + 1][0] if i + 1 < len(tempi) else end
            if tick >= end:
                break
            seconds += (min(nxt, end) - tick) / TICKS_PER_QUARTER * 60.0 / bpm
        return seconds
