#!/usr/bin/env python3
# Writes dump_layouts.tsv: edit-buffer fillings and the bulk-dump payloads they must give, from
# the instrument's dump layouts written out below (positions hexadecimal, words by their number
# in their record) and the effect tables of tests/tables/data. Run it from this folder after a
# change to the layouts here; the test reads only the .tsv it writes.
#
# Every carried field gets a number. Fillings 0..10 give each field one of two values by bit j of
# its number, so any two fields differ in at least one filling: two positions swapped in a
# layout change some payload. Fillings 11 and 12 spread the values over each field's range.
import os

here = os.path.dirname(os.path.abspath(__file__))
tables = os.path.join(here, '..', '..', 'tables', 'data')

def rows(path):
    return [l.rstrip('\n').split('\t') for l in open(path) if l.strip() and not l.startswith('#')]

kinds = {int(r[0]): (int(r[1]), int(r[3])) for r in rows(os.path.join(tables, 'effect_kinds.tsv'))}  # max, offset
effect = {}
for r in rows(os.path.join(tables, 'effect_types.tsv')):
    effect[(int(r[0]), int(r[1]))] = [(s.split('|')[0], int(s.split('|')[1], 16), int(s.split('|')[2], 16), int(s.split('|')[3])) for s in r[4:]]

# Chosen effect types: reverb "White Room", variation "Echo" (two-byte delays, addresses on both
# sides of 68..7E), insertion "Comp + Dist" (all 18 slots, a one-byte Release).
REVERB, VARIATION, INSERTION = 9, 22, 25

fields = []   # (form, record, index, at, lo, hi)
def field(form, record, index, at, lo, hi):
    fields.append((form, record, index, at, lo, hi))
    return len(fields) - 1

VOICE = 2  # the voice dumped: of part 3

# ---- fields of the edit buffer that the three dumps carry ----
name = [field('byte', 'common', 0, i, 0x21, 0x7E) for i in range(12)]
common = {w: field('word', 'common', 0, w, lo, hi) for w, lo, hi in
          [(4, 0, 22), (5, 0, 17), (6, 0, 127), (7, 1, 127), (8, 0, 127), (9, 0, 127), (10, 0, 48)]}
part_ranges = {0: (0, 12), 1: (0, 127), 2: (0, 17), 3: (0, 15), 4: (0, 127), 5: (0, 1), 6: (0, 127), 7: (0, 127),
               8: (0, 127), 15: (0, 1), 29: (0, 48), 30: (0, 72), 31: (0, 72), 32: (0, 1), 33: (0, 1), 34: (0, 127),
               35: (0, 1), 36: (0, 3), 37: (0, 1), 38: (0, 32), 40: (0, 127), 41: (0, 127), 42: (1, 127),
               43: (1, 127), 46: (0, 127), 47: (0, 127), 48: (0, 100), 49: (0, 99)}
part = {}
for p in range(4):
    for w in range(50):
        if w == 39: continue
        lo, hi = part_ranges.get(w, (0, 127))
        part[(p, w)] = field('word', 'part', p, w, lo, hi)
fseq_ranges = {0: (0, 4), 1: (0, 1), 2: (0, 5), 3: (0, 89), 4: (1, 2), 5: (0, 1), 6: (0, 1), 7: (0, 4), 8: (0, 4900),
               9: (0, 7), 10: (0, 127), 11: (0, 1), 12: (0, 1), 13: (0, 99), 14: (0, 511), 15: (0, 511), 16: (0, 511)}
fseq = {w: field('word', 'fseq', 0, w, lo, hi) for w, (lo, hi) in fseq_ranges.items()}
control = {}
for k in range(8):
    for b in list(range(14)) + list(range(24, 28)): control[(k, 'b', b)] = field('byte', 'control', k, b, 0, 1)
    control[(k, 'dest')] = field('word', 'control', k, 4, 0, 47)
    control[(k, 'depth')] = field('word', 'control', k, 5, 0, 127)
system_ranges = {12: (0, 127), 13: (0, 127), 14: (0, 4), 15: (0, 4), 16: (0, 2), 17: (0, 3), 18: (0, 1), 19: (0, 1),
                 20: (0, 1), 21: (0, 1), 22: (0, 1), 23: (0, 1)}
system = {}
for w in range(32):
    lo, hi = system_ranges.get(w, (0, 93) if w < 12 else (0, 127))
    system[w] = field('word', 'system', 0, w, lo, hi)
fixed = []  # (form, record, index, at, value): set in every filling
fixed.append(('byte', 'common', 0, 12, 0))
eff = {0: field('word', 'effect', 0, 0, 0, 2)}
slots = {}
for block, first, etype in [(0, 1, REVERB), (1, 20, VARIATION), (2, 39, INSERTION)]:
    fixed.append(('word', 'effect', 0, first, etype))
    for i, (_, mid, low, kind) in enumerate(effect[(block, etype)]):
        slots[(block, i)] = field('word', 'effect', 0, first + 1 + i, 0, kinds[kind][0])
eq_ranges = {58: (0, 1), 59: (0, 1), 60: (0, 36), 61: (0, 40), 62: (0, 30), 63: (0, 24), 64: (0, 24), 65: (0, 24),
             66: (0, 119), 67: (0, 119), 68: (0, 119)}
for w, (lo, hi) in eq_ranges.items(): eff[w] = field('word', 'effect', 0, w, lo, hi)

vname = [field('byte', 'voice', VOICE, i, 0x21, 0x7E) for i in range(10)]
fixed.append(('byte', 'voice', VOICE, 10, 0))
vc_ranges = {3: (0, 22), 4: (0, 5), 5: (0, 1), 6: (0, 99), 7: (0, 99), 8: (0, 99), 9: (0, 99), 10: (0, 99), 11: (0, 99),
             12: (0, 5), 13: (0, 1), 14: (0, 127), 15: (0, 3), 16: (0, 99), 18: (0, 24), 19: (0, 5), 20: (0, 127),
             21: (0, 116), 22: (0, 127), 23: (0, 127), 24: (0, 14), 25: (0, 99), 26: (0, 99), 27: (0, 99), 28: (0, 99),
             29: (0, 100), 30: (0, 100), 31: (0, 100), 32: (0, 100), 33: (0, 7), 34: (0, 127), 35: (0, 7), 36: (0, 14),
             37: (0, 100), 38: (0, 100), 39: (0, 100), 40: (0, 100), 41: (0, 100), 42: (0, 99), 43: (0, 99),
             44: (0, 99), 45: (0, 99), 46: (0, 7), 47: (0, 3), 48: (0, 7), 79: (1, 88), 80: (0, 7), 81: (0, 48)}
for i in range(5):
    for base in (49, 64):
        vc_ranges[base + 3 * i] = (0, 15)
        vc_ranges[base + 3 * i + 1] = (0, 3)
        vc_ranges[base + 3 * i + 2] = (0, 127)
vc = {w: field('word', 'voice', VOICE, w, lo, hi) for w, (lo, hi) in vc_ranges.items()}
vo_ranges = {0: (0, 1), 1: (0, 7), 2: (0, 7), 3: (0, 1), 4: (0, 31), 6: (0, 99), 8: (0, 99), 9: (0, 48), 10: (0, 30),
             11: (0, 99), 12: (0, 99), 13: (0, 7), 14: (0, 99), 15: (0, 1), 16: (0, 99), 17: (0, 99), 18: (0, 3),
             19: (0, 99), 20: (0, 3), 21: (0, 15), 22: (0, 99), 23: (0, 99), 24: (0, 99), 25: (0, 99), 26: (0, 99),
             27: (0, 99), 28: (0, 99), 29: (0, 99), 30: (0, 99), 31: (0, 7), 32: (0, 100), 33: (0, 100), 34: (0, 99),
             35: (0, 99), 36: (0, 14), 37: (0, 14), 38: (0, 14), 39: (0, 14), 40: (0, 14), 41: (0, 7), 42: (0, 7),
             43: (0, 7)}
uo_ranges = {0: (0, 1), 1: (0, 2), 2: (0, 21), 3: (0, 127), 6: (0, 99), 7: (0, 48), 8: (0, 99), 9: (0, 7), 10: (0, 7),
             11: (0, 99), 12: (0, 14), 13: (0, 99), 14: (0, 99), 15: (0, 99), 16: (0, 99), 17: (0, 99), 18: (0, 99),
             19: (0, 99), 20: (0, 99), 21: (0, 99), 22: (0, 7), 23: (0, 100), 24: (0, 100), 25: (0, 99), 26: (0, 99),
             27: (0, 14), 28: (0, 14), 29: (0, 14), 30: (0, 14), 31: (0, 14), 32: (0, 7), 34: (0, 7)}
vo = {(k, w): field('word', 'voiced', VOICE * 8 + k, w, lo, hi) for k in range(8) for w, (lo, hi) in vo_ranges.items()}
uo = {(k, w): field('word', 'unvoiced', VOICE * 8 + k, w, lo, hi) for k in range(8) for w, (lo, hi) in uo_ranges.items()}

assert len(fields) < 2048

def value(f, n):
    form, record, index, at, lo, hi = fields[f]
    span = hi - lo + 1
    if n < 11:
        return lo + ((f >> n) & 1) * (1 + (f * 7) % (span - 1) if span > 2 else 1)
    return lo + (f * (37 if n == 11 else 53) + 11 * n) % span

def fourteen(v): return [v >> 7, v & 0x7F]
def namebyte(c): return 0x20 if c < 32 or c > 127 else c

def performance(v):
    p = [0] * 400
    for i in range(12): p[i] = namebyte(v(name[i]))
    p[0x0E] = v(common[4]); p[0x10] = v(common[6]); p[0x11] = v(common[7]); p[0x12] = v(common[10])
    p[0x14] = v(eff[0])
    p[0x15] = v(fseq[0]); p[0x16] = v(fseq[1])
    p[0x17] = v(fseq[2]) if v(fseq[1]) == 0 else v(fseq[3])
    p[0x18:0x1A] = [0, v(fseq[7])] if v(fseq[6]) == 0 else fourteen(v(fseq[8]) + 100)
    p[0x1A:0x1C] = fourteen(v(fseq[14])); p[0x1C:0x1E] = fourteen(v(fseq[15])); p[0x1E:0x20] = fourteen(v(fseq[16]))
    p[0x20] = v(fseq[12]); p[0x21] = v(fseq[4]); p[0x22] = v(fseq[9]); p[0x23] = v(fseq[11]); p[0x24] = v(fseq[5])
    p[0x26] = v(fseq[13]); p[0x27] = v(fseq[10])
    for k in range(8):
        b = lambda i: v(control[(k, 'b', i)])
        p[0x28 + k] = b(24) + 2 * b(25) + 4 * b(26) + 8 * b(27)
        # KN1 KN2 KN3 KN4 MC1 MC2 MC3 MC4 FC BC MW CAT PAT PB
        p[0x30 + 2 * k] = b(11) + 2 * b(12) + 4 * b(8) + 8 * b(9) + 16 * b(6) + 32 * b(10) + 64 * b(7)
        p[0x31 + 2 * k] = b(0) + 2 * b(1) + 4 * b(2) + 8 * b(3) + 16 * b(4) + 32 * b(5) + 64 * b(13)
        p[0x40 + k] = v(control[(k, 'dest')]); p[0x48 + k] = v(control[(k, 'depth')])
    sv = lambda block, i: v(slots[(block, i)])
    offs = lambda block, etype, i: kinds[effect[(block, etype)][i][3]][1]
    rev = effect[(0, REVERB)]
    for i in range(len(rev) - 1):
        al = rev[i][2]
        p[al + 1 if al < 0x60 else al] = (sv(0, i) + offs(0, REVERB, i)) % 256
    p[0xA9] = sv(0, len(rev) - 1) + 1
    var = effect[(1, VARIATION)]
    for i in range(len(var) - 2):
        al = var[i][2]
        at = al if 0x68 <= al <= 0x7E else 0x80 + al
        p[at:at + 2] = fourteen(sv(1, i) + offs(1, VARIATION, i))
    p[0xAC] = sv(1, len(var) - 2) + 1; p[0xAE] = sv(1, len(var) - 1)
    ins = effect[(2, INSERTION)]
    for i in range(len(ins) - 4):
        al = ins[i][2]
        if 23 <= INSERTION <= 27 and i == 1:
            p[0x80 + al] = 0; p[0x81 + al] = sv(2, i)
        else:
            p[0x80 + al:0x82 + al] = fourteen(sv(2, i) + offs(2, INSERTION, i))
    n = len(ins)
    p[0xB0] = sv(2, n - 4) + 1; p[0xB1] = sv(2, n - 3); p[0xB2] = sv(2, n - 2); p[0xB3] = sv(2, n - 1)
    p[0xA8] = REVERB; p[0xAA] = v(common[8]); p[0xAB] = VARIATION; p[0xAD] = v(common[9]); p[0xAF] = INSERTION
    p[0xB4] = v(eff[63]) + 52; p[0xB5] = v(eff[60]) + 4; p[0xB6] = v(eff[66]) + 1; p[0xB7] = v(eff[58])
    p[0xB8] = v(eff[64]) + 52; p[0xB9] = v(eff[61]) + 14; p[0xBA] = v(eff[67]) + 1
    p[0xBB] = v(eff[65]) + 52; p[0xBC] = v(eff[62]) + 28; p[0xBD] = v(eff[68]) + 1; p[0xBE] = v(eff[59])
    # part block byte j: the part word it carries
    words = {0x00: 38, 0x01: 0, 0x02: 1, 0x03: 3, 0x05: 35, 0x06: 36, 0x07: 15, 0x08: 29, 0x09: 28, 0x0A: 11,
             0x0B: 4, 0x0C: 44, 0x0D: 45, 0x0E: 47, 0x0F: 40, 0x10: 41, 0x11: 6, 0x12: 8, 0x13: 7, 0x14: 5,
             0x15: 12, 0x16: 13, 0x17: 14, 0x18: 16, 0x19: 17, 0x1A: 21, 0x1B: 22, 0x1C: 23, 0x1D: 9, 0x1E: 10,
             0x1F: 18, 0x20: 24, 0x21: 25, 0x22: 26, 0x23: 27, 0x25: 34, 0x28: 48, 0x29: 49, 0x2A: 42, 0x2B: 43,
             0x2C: 46, 0x2D: 37, 0x2E: 19, 0x2F: 20}
    for q in range(4):
        base = 0xC0 + 0x34 * q
        w = lambda i: v(part[(q, i)])
        for j, word in words.items(): p[base + j] = w(word)
        rc = w(2)
        p[base + 0x04] = 127 if rc == 17 else rc
        p[base + 0x24] = w(32) + 2 * w(33)
        p[base + 0x26] = w(30) + 16; p[base + 0x27] = w(31) + 16
    return p

def voice(v):
    p = [0] * 608
    for i in range(10): p[i] = namebyte(v(vname[i]))
    c = lambda w: v(vc[w])
    simple = {0x0E: 3, 0x10: 4, 0x11: 6, 0x12: 7, 0x13: 5, 0x15: 8, 0x16: 9, 0x17: 10, 0x18: 12, 0x19: 14, 0x1C: 15,
              0x1D: 13, 0x1E: 81, 0x27: 48, 0x3B: 47, 0x3C: 46, 0x3D: 80, 0x54: 19, 0x55: 21, 0x56: 24, 0x57: 20,
              0x58: 36, 0x59: 11, 0x5A: 16, 0x5B: 22, 0x5C: 23, 0x5D: 18, 0x64: 34}
    for at, w in simple.items(): p[at] = c(w)
    for at, w in {0x1F: 37, 0x20: 38, 0x21: 39, 0x22: 41, 0x3E: 40, 0x65: 32, 0x66: 29, 0x67: 30, 0x68: 31}.items():
        p[at] = 100 - c(w)
    for i in range(4): p[0x23 + i] = 99 - c(42 + i); p[0x69 + i] = 99 - c(25 + i)
    p[0x28] = v(vo[(7, 0)]); p[0x29] = sum(v(vo[(k, 0)]) << k for k in range(7))
    p[0x2A] = v(uo[(7, 0)]); p[0x2B] = sum(v(uo[(k, 0)]) << k for k in range(7))
    p[0x2C] = c(79) - 1
    for k in range(8): p[0x2D + k] = v(vo[(k, 21)])
    for i in range(5):
        p[0x40 + i] = 16 * c(50 + 3 * i) + c(49 + 3 * i); p[0x45 + i] = c(51 + 3 * i)
        p[0x4A + i] = 16 * c(65 + 3 * i) + c(64 + 3 * i); p[0x4F + i] = c(66 + 3 * i)
    p[0x6E] = 8 * c(35) + c(33)
    for k in range(8):
        b = 0x70 + 0x3E * k
        o = lambda w: v(vo[(k, w)])
        u = lambda w: v(uo[(k, w)])
        p[b + 0x00] = o(9) + 64 * o(15); p[b + 0x01] = o(4); p[b + 0x02] = o(6); p[b + 0x03] = o(8)
        p[b + 0x04] = o(2) + 8 * o(40); p[b + 0x05] = o(1) + 8 * o(13) + 64 * o(3)
        p[b + 0x06] = o(12) if o(2) in (5, 6) else o(11)
        p[b + 0x07] = o(10); p[b + 0x08] = o(32); p[b + 0x09] = o(33); p[b + 0x0A] = o(34); p[b + 0x0B] = o(35)
        for i in range(4): p[b + 0x0C + i] = 99 - o(27 + i); p[b + 0x10 + i] = 99 - o(23 + i)
        p[b + 0x14] = 99 - o(22); p[b + 0x15] = o(31); p[b + 0x16] = o(14); p[b + 0x17] = o(16); p[b + 0x18] = o(17)
        p[b + 0x19] = o(19); p[b + 0x1A] = o(18); p[b + 0x1B] = o(20)
        p[b + 0x1F] = o(42) + 8 * o(39); p[b + 0x20] = o(37) + 16 * o(43); p[b + 0x21] = o(36) + 16 * o(41)
        p[b + 0x22] = o(38)
        p[b + 0x23] = u(7); p[b + 0x24] = u(2) + 32 * u(1); p[b + 0x25] = u(3); p[b + 0x26] = u(6); p[b + 0x27] = u(8)
        p[b + 0x28] = u(31); p[b + 0x29] = u(10) + 8 * u(9); p[b + 0x2A] = u(23); p[b + 0x2B] = u(24)
        p[b + 0x2C] = u(25); p[b + 0x2D] = u(26); p[b + 0x2E] = u(11); p[b + 0x2F] = u(12)
        for i in range(4): p[b + 0x30 + i] = 99 - u(18 + i); p[b + 0x34 + i] = 99 - u(14 + i)
        p[b + 0x38] = 99 - u(13); p[b + 0x39] = u(22); p[b + 0x3A] = u(30)
        p[b + 0x3B] = u(28) + 16 * u(34); p[b + 0x3C] = u(27) + 16 * u(32); p[b + 0x3D] = u(29)
    return p

def systemdump(v):
    p = [0] * 76
    s = lambda w: v(system[w])
    for at, w in {0x00: 12, 0x06: 13, 0x07: 15, 0x08: 23, 0x0B: 18, 0x0D: 17, 0x0E: 14, 0x11: 16, 0x12: 21,
                  0x13: 22, 0x14: 19, 0x15: 20}.items():
        p[at] = s(w)
    ch = v(common[5])
    p[0x09] = 127 if ch == 17 else ch
    for i in range(12): p[0x16 + i] = s(i) + 1 if s(i) <= 30 else s(i) + 2
    for i in range(4): p[0x22 + 2 * i] = s(24 + i); p[0x23 + 2 * i] = s(28 + i)
    p[0x10] = 1  # the receive switch: the instrument's own, on until one of its dumps says otherwise
    return p

FILLINGS = 13
with open(os.path.join(here, 'dump_layouts.tsv'), 'w') as out:
    out.write('# Written by dump_layouts.py. "set" rows: word or byte, record, index, word or byte number, then\n')
    out.write('# its value in each filling (records as in initial_values.tsv); "payload" rows: filling, dump,\n')
    out.write('# payload bytes in hexadecimal. The voice dumped is the voice of part %d.\n' % (VOICE + 1))
    for form, record, index, at, val in fixed:
        out.write('\t'.join(['set', form, record, str(index), str(at)] + [str(val)] * FILLINGS) + '\n')
    for f, (form, record, index, at, lo, hi) in enumerate(fields):
        out.write('\t'.join(['set', form, record, str(index), str(at)] + [str(value(f, n)) for n in range(FILLINGS)]) + '\n')
    for n in range(FILLINGS):
        v = lambda f: value(f, n)
        for dump, make in (('performance', performance), ('voice', voice), ('system', systemdump)):
            payload = make(v)
            assert all(0 <= b < 128 for b in payload), (dump, n, [i for i, b in enumerate(payload) if not 0 <= b < 128])
            out.write('payload\t%d\t%s\t%s\n' % (n, dump, ''.join('%02X' % b for b in payload)))
