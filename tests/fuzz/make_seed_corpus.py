#!/usr/bin/env python3
"""Writes the seed corpus of the plugMain fuzz target into corpus/.

Each seed is a short host session in the input encoding that FuzzHost.h and
FuzzRecords.cpp decode: one op byte, one handle selector, then the code's
input. The seeds give the fuzzer a working start: a full description pass, a
lifecycle with frames, two instances interleaved, extreme parameter values,
and a row of bad inputs. Run it again after changing the encoding.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# Handle selectors.
NULL = bytes([0])


def live(which=0):
    return bytes([1, which])


def destroyed(which=0):
    return bytes([5, which])


def raw_handle(value):
    return bytes([6]) + struct.pack('<Q', value)


def never_issued(offset=0):
    return bytes([7, offset])


# Field encoders.
def index(value):
    return bytes([value]) if value < 12 else bytes([200]) + struct.pack('<I', value)


def size(value):
    return bytes([value]) if value <= 64 else bytes([192]) + struct.pack('<I', value)


def float_bits(value):
    return bytes([0]) + struct.pack('<f', value)


# Positions in FuzzRecords.cpp's table of special floats (18 entries, picked
# by a selector byte of 128 or more, modulo 18).
SPECIAL_FLOAT = ['nan', '-nan', 'inf', '-inf', 'denorm', '-denorm', 'max', '-max', '1e30', '-1e30']


def special_float(name):
    position = SPECIAL_FLOAT.index(name)
    return bytes([128 + (position - 128 % 18) % 18])


def text(content):
    # The length byte doubles as the null selector (a multiple of 8 is null).
    assert len(content) < 48 and len(content) % 8 != 0
    return bytes([len(content)]) + content
RECORD = bytes([1])       # any flag byte not divisible by 8
NULL_RECORD = bytes([0])
REAL_NAME = bytes([0])
ZERO_NAME = bytes([2])


def op(code, handle=NULL, payload=b''):
    return bytes([code]) + handle + payload


def value_op(code, value, handle=NULL):
    return op(code, handle, index(value))


INDEX_CODES = (5, 6, 7, 9, 10, 15, 16, 31, 32, 43, 45, 47)


def ignored_op(code, handle=NULL):
    if code in INDEX_CODES:
        return value_op(code, 0, handle)
    return op(code, handle, struct.pack('<Q', 0))


def viewport(width=16, height=16):
    return RECORD + size(0) + size(0) + size(width) + size(height)


def texture(width=16, height=16, hardware_width=16, hardware_height=16, name=REAL_NAME):
    return bytes([1]) + size(width) + size(height) + size(hardware_width) + size(hardware_height) + name


def frame(entries=(texture(),), framebuffer=REAL_NAME, empty_array=False):
    shape = len(entries) | (4 if empty_array else 0)
    return RECORD + bytes([shape]) + b''.join(entries) + framebuffer


def frame_without_array(count):
    return RECORD + bytes([count | 8]) + REAL_NAME


def set_parameter(which, value_bytes):
    return RECORD + index(which) + value_bytes + struct.pack('<I', 0)


def index_pair(parameter, position):
    return RECORD + index(parameter) + index(position)


def text_copy(parameter, buffer_size, null_buffer=False):
    if buffer_size == 0:
        choice = 1 if null_buffer else 2
    else:
        assert 64 <= buffer_size <= 255
        choice = buffer_size
    return RECORD + index(parameter) + bytes([choice])


def describe():
    seed = ignored_op(0) + ignored_op(13) + ignored_op(34) + ignored_op(4)
    for parameter in range(9):
        for code in (5, 6, 15, 31, 32, 43, 45, 47):
            seed += value_op(code, parameter)
        seed += op(41, NULL, RECORD + index(parameter) + float_bits(0) + float_bits(0))
        seed += op(50, NULL, text_copy(parameter, 64))
    for position in range(7):
        seed += op(35, NULL, index_pair(0, position)) + op(36, NULL, index_pair(0, position))
    seed += op(44, NULL, index_pair(0, 0)) + op(48, NULL, index_pair(0, 0))
    for capability in (5, 10, 11, 16, 0):
        seed += value_op(10, capability)
    seed += op(42, NULL, RECORD + struct.pack('<II', 0, 0) + bytes([0]))
    seed += op(42, NULL, RECORD + struct.pack('<II', 0, 0) + bytes([1]))
    seed += ignored_op(33) + ignored_op(2) + ignored_op(4)
    return seed


def lifecycle():
    seed = bytes([0xF8]) + ignored_op(34) + op(18, NULL, viewport())
    seed += op(20, live(), RECORD + bytes([0]) + struct.pack('<d', 1.5))
    seed += op(38, live(), RECORD + float_bits(120.0) + float_bits(0.25))
    seed += op(39, live(), RECORD + text(b'fuzz host') + text(b'1.0'))
    seed += op(40, live(), struct.pack('<I', 48000) + b'\0' * 4)
    for parameter in range(8):
        seed += op(8, live(), set_parameter(parameter, float_bits(0.75)))
        seed += value_op(9, parameter, live()) + value_op(7, parameter, live())
    seed += op(17, live(), frame()) * 3
    seed += ignored_op(21, live()) + ignored_op(22, live()) + op(17, live(), frame())
    seed += op(23, live(), viewport(32, 8)) + value_op(16, 0, live()) + value_op(16, 1, live())
    seed += op(46, live(), RECORD + bytes([0, 0])) + op(46, live(), RECORD + bytes([4, 1]))
    seed += op(51, live(), text_copy(2, 64)) + op(49, live(), bytes([1]))
    seed += ignored_op(19, live()) + ignored_op(2) + bytes([0xFC])
    return seed


def interleaved():
    seed = op(18, NULL, viewport()) + op(18, NULL, viewport(8, 8)) + op(18, NULL, viewport(64, 64))
    for round_ in range(3):
        for which in (2, 0, 1):
            seed += op(17, live(which), frame((texture(8, 8, 16, 16),)))
    seed += ignored_op(19, live(1)) + op(17, live(0), frame()) + ignored_op(19, live(1))
    seed += ignored_op(19, live(0))
    return seed


def extreme_parameters():
    seed = op(18, NULL, viewport())
    for name in SPECIAL_FLOAT:
        for parameter in range(8):
            seed += op(8, live(), set_parameter(parameter, special_float(name)))
        seed += op(17, live(), frame())
    seed += op(8, live(), set_parameter(7, float_bits(-1e6))) + op(17, live(), frame())
    seed += op(20, live(), RECORD + bytes([128]))  # NaN host time
    seed += ignored_op(19, live())
    return seed


def bad_inputs():
    seed = ignored_op(1) + ignored_op(3) + ignored_op(30) + ignored_op(52) + ignored_op(63)
    seed += bytes([0xF0]) + struct.pack('<I', 0xFFFFFFFF) + NULL + struct.pack('<Q', 0)
    seed += value_op(5, 99) + value_op(6, 0xFFFFFFFF) + op(35, NULL, index_pair(0, 6))
    seed += op(36, NULL, index_pair(99, 0)) + op(44, NULL, index_pair(0, 99))
    for code in (8, 17, 18, 20, 23, 35, 36, 37, 38, 39, 41, 42, 44, 46, 48, 50, 51):
        seed += op(code, NULL, NULL_RECORD)
    seed += op(18, NULL, viewport())
    for code in (8, 17, 20, 23, 37, 38, 39, 46, 50, 51):
        seed += op(code, live(), NULL_RECORD)
    seed += op(17, live(), frame(entries=()))
    seed += op(17, live(), frame(entries=(), empty_array=True))
    seed += op(17, live(), frame(entries=(bytes([0]),)))
    seed += op(17, live(), frame_without_array(1)) + op(17, live(), frame_without_array(3))
    seed += op(17, live(), frame(entries=(texture(name=ZERO_NAME),), framebuffer=ZERO_NAME))
    seed += op(17, live(), frame(entries=(texture(0, 0, 0, 0),)))
    seed += op(50, NULL, text_copy(0, 0)) + op(51, live(), text_copy(0, 0, null_buffer=True))
    seed += op(8, live(), set_parameter(99, float_bits(1.0))) + value_op(9, 99, live())
    seed += ignored_op(19, live())
    for handle in (destroyed(), never_issued(8), raw_handle(0xDEADBEEF)):
        seed += value_op(7, 0, handle) + value_op(9, 0, handle) + op(17, handle, frame())
        seed += op(8, handle, set_parameter(1, float_bits(0.5)))
        seed += ignored_op(21, handle) + ignored_op(22, handle) + ignored_op(19, handle)
    return seed


SEEDS = {
    'describe': describe,
    'lifecycle': lifecycle,
    'interleaved': interleaved,
    'extreme-parameters': extreme_parameters,
    'bad-inputs': bad_inputs,
}

if __name__ == '__main__':
    corpus = os.path.join(HERE, 'corpus')
    os.makedirs(corpus, exist_ok=True)
    for name, make in SEEDS.items():
        with open(os.path.join(corpus, name), 'wb') as out:
            out.write(make())
