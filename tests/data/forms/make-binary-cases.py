#!/usr/bin/env python3
"""Writes the binary form cases of this folder: object streams encoded here by hand, independently
of the readers under test, bare, behind a 16-bit resource header and inside a 32-bit resource file,
and damaged copies of them. Run from this folder; the expected files are reviewed by hand."""

import os
import struct


def short(text):
    data = text.encode('cp932') if isinstance(text, str) else text
    return bytes([len(data)]) + data


def integer(n):
    if -128 <= n <= 127:
        return b'\x02' + struct.pack('<b', n)
    if -32768 <= n <= 32767:
        return b'\x03' + struct.pack('<h', n)
    if -2**31 <= n < 2**31:
        return b'\x04' + struct.pack('<i', n)
    return b'\x13' + struct.pack('<q', n)


def extended(x):
    # 80-bit extended: sign and exponent in 16 bits, 64-bit mantissa with its integer bit.
    import math
    if x == 0:
        return b'\x05' + bytes(10)
    sign = 0x8000 if x < 0 else 0
    m, e = math.frexp(abs(x))  # x = m * 2**e, 0.5 <= m < 1
    mantissa = int(m * 2**64)
    return b'\x05' + struct.pack('<QH', mantissa, sign | (e - 1 + 16383))


def string(text):
    data = text.encode('cp932')
    if len(data) <= 255:
        return b'\x06' + short(data)
    return b'\x0c' + struct.pack('<I', len(data)) + data


def ident(name):
    return b'\x07' + short(name)


def wide(text):
    units = text.encode('utf-16-le')
    return b'\x12' + struct.pack('<I', len(units) // 2) + units


def utf8(text):
    data = text.encode('utf-8')
    return b'\x14' + struct.pack('<I', len(data)) + data


def prop(name, value):
    return short(name) + value


def obj(cls, name, props, children=(), flags=0, order=None):
    head = b''
    if flags or order is not None:
        head = bytes([0xF0 | flags | (2 if order is not None else 0)])
        if order is not None:
            head += integer(order)
    return head + short(cls) + short(name) + b''.join(props) + b'\x00' + b''.join(children) + b'\x00'


FALSE, TRUE, NIL = b'\x08', b'\x09', b'\x0d'


def values_form():
    button = obj('TButton', 'Button1', [
        prop('Left', integer(152)), prop('Caption', string('\u52a0\u3048\u308b')),
        prop('OnClick', ident('Button1Click'))])
    memo = obj('TMemo', 'Memo1', [
        prop('Lines.Strings', b'\x01' + string('\u5408\u8a08') + string('') + b'\x00'),
        prop('ScrollBars', ident('ssVertical'))])
    inherited = obj('TLabel', 'Label1', [prop('Caption', string('x'))], flags=1, order=3)
    frame = obj('TFrame1', 'Frame1', [prop('TabOrder', integer(4))],
                [obj('TEdit', 'Edit1', [prop('Text', string(''))], flags=1)], flags=4)
    props = [
        prop('Left', integer(-8)), prop('Top', integer(300)), prop('Tag', integer(-100000)),
        prop('Big', integer(5000000000)), prop('Ratio', extended(1.5)), prop('Third', extended(-0.75)),
        prop('Scale', b'\x0f' + struct.pack('<f', 0.25)),
        prop('Price', b'\x10' + struct.pack('<q', 123400)),
        prop('When', b'\x11' + struct.pack('<d', 36526.5)),
        prop('Exact', b'\x15' + struct.pack('<d', 2.5)),
        prop('Caption', string("It's \u5408\u8a08")), prop('Long', string('0123456789' * 30)),
        prop('WideHint', wide('\u3042a\u3044')), prop('Utf8Hint', utf8('\u00e9t\u00e9')),
        prop('Color', ident('clBtnFace')), prop('ActiveControl', ident('Button1')),
        prop('Visible', TRUE), prop('Enabled', FALSE), prop('PopupMenu', NIL),
        prop('Font.Style', b'\x0b' + short('fsBold') + short('fsUnderline') + b'\x00'),
        prop('BorderIcons', b'\x0b\x00'),
        prop('Columns', b'\x0e' + b'\x01' + prop('Width', integer(64)) + b'\x00'
             + integer(7) + b'\x01' + prop('Title.Caption', string('Name')) + b'\x00' + b'\x00'),
        prop('Panels', b'\x0e\x00'),
        prop('Glyph.Data', b'\x0a' + struct.pack('<I', 40) + bytes(range(40))),
        prop('Empty', b'\x01\x00'),
    ]
    return b'TPF0' + obj('TForm1', 'Form1', props, [button, memo, inherited, frame])


def small_form(edit='Edit1'):
    return b'TPF0' + obj('TForm1', 'Form1', [prop('Caption', string('Small')), prop('ActiveControl', ident(edit))],
                         [obj('TEdit', edit, [prop('Text', string('Edit1')), prop('OnChange', ident('Edit1Change'))]),
                          obj('TLabel', 'Label1', [prop('FocusControl', ident(edit))])])


def long_class_form():
    # A class name of 240 characters or more has a prefix before it, with flags or without: its
    # length byte would read as one.
    return b'TPF0' + obj('TForm1', 'Form1', [], [
        b'\xf0' + obj('T' + 'A' * 238 + 'Z', 'Long1', [prop('Tag', integer(1))]),
        obj('T' + 'B' * 253 + 'Z', 'Longest1', [], flags=1)])


def resource16(stream, name='TFORM1'):
    return b'\xff\x0a\x00' + name.encode() + b'\x00' + struct.pack('<HI', 0x1030, len(stream)) + stream


def res_entry(type_id, name, data):
    header = struct.pack('<HHHH', 0xFFFF, type_id, 0xFFFF, 1) if isinstance(name, int) else \
        struct.pack('<HH', 0xFFFF, type_id) + (name.encode('utf-16-le') + b'\x00\x00')
    header += bytes((4 - len(header) % 4) % 4)
    header += struct.pack('<IHHII', 0, 0x1030, 0x0411, 0, 0)
    entry = struct.pack('<II', len(data), 8 + len(header)) + header + data
    return entry + bytes((4 - len(entry) % 4) % 4)


def resource32(stream):
    empty = b'\x00\x00\x00\x00\x20\x00\x00\x00\xff\xff\x00\x00\xff\xff\x00\x00' + bytes(16)
    return empty + res_entry(6, 1, b'strings\x00\x00') + res_entry(10, 'TFORM1', stream) + res_entry(3, 2, b'\x01\x02\x03')


def write(folder, name, data):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


stream = values_form()
write('binary-values', 'input.dfm', stream)
write('resource16', 'input.dfm', resource16(stream))
write('resource32', 'input.res', resource32(stream))
write('binary-long-class-names', 'input.dfm', long_class_form())
write('rename-binary', 'input.dfm', resource16(small_form()))
write('rename-binary', 'expected-renamed', resource16(small_form('AmountOfMoneyEdit')))
write('rename-binary', 'rename', b'Edit1 AmountOfMoneyEdit\n')
write('rename-resource32', 'input.res', resource32(small_form()))
write('rename-resource32', 'expected-renamed', resource32(small_form('E')))
write('rename-resource32', 'rename', b'edit1 E\n')
write('damaged-binary-truncated', 'input.dfm', stream[:len(stream) // 2])
write('damaged-binary-length', 'input.dfm', stream.replace(b'\x0a\x28\x00\x00\x00', b'\x0a\x28\x00\x00\x10'))
write('damaged-binary-value-type', 'input.dfm', stream.replace(b'\x04Left\x02', b'\x04Left\x63'))
write('damaged-binary-wide-count', 'input.dfm', stream.replace(b'\x12\x03\x00\x00\x00', b'\x12\xff\xff\xff\x7f'))
write('damaged-binary-trailing', 'input.dfm', stream + b'\x00')
write('damaged-resource16-size', 'input.dfm', resource16(stream)[:-1])
write('damaged-resource16-name', 'input.dfm', b'\xff\x0a\x00TFORM1')
write('damaged-resource32-size', 'input.res', resource32(stream)[:200])
write('damaged-resource32-no-form', 'input.res', resource32(stream).replace(b'\xff\xff\x0a\x00', b'\xff\xff\x0b\x00'))
write('damaged-binary-name', 'input.dfm', stream.replace(b'\x05TMemo\x05Memo1', b'\x05TMemo\x05Mem-1'))
