"""A reader of WinHelp 3.1 files, written from the format's description and independent of
the writer: directory, |SYSTEM, |FONT, |CONTEXT and the topics with their texts and jumps."""

import struct
from dataclasses import dataclass, field


class FormatError(Exception):
    pass


def u16(data, at):
    return struct.unpack_from("<H", data, at)[0]


def u32(data, at):
    return struct.unpack_from("<I", data, at)[0]


def i32(data, at):
    return struct.unpack_from("<i", data, at)[0]


def internal_file(hlp, offset):
    reserved, used, _flags = struct.unpack_from("<IIB", hlp, offset)
    if used + 9 > reserved or offset + reserved > len(hlp):
        raise FormatError(f"internal file at {offset}: sizes {reserved}/{used} do not fit")
    return hlp[offset + 9 : offset + 9 + used]


def btree_leaves(data, key_reader):
    magic, flags, page_size = struct.unpack_from("<HHH", data, 0)
    if magic != 0x293B or not flags & 0x0002:
        raise FormatError(f"B+ tree magic {magic:#x} flags {flags:#x}")
    structure = data[6:22].rstrip(b"\0").decode("ascii")
    zero, _splits, root, neg_one, pages, levels, entries = struct.unpack_from("<hhhhhhi", data, 22)
    if zero != 0 or neg_one != -1 or len(data) != 38 + pages * page_size:
        raise FormatError("B+ tree header")
    page = root
    for _ in range(levels - 1):
        page = struct.unpack_from("<h", data, 38 + page * page_size + 4)[0]
    found = []
    while page != -1:
        base = 38 + page * page_size
        _unused, count, _previous, following = struct.unpack_from("<HhhH", data, base)
        at = base + 8
        for _ in range(count):
            key, at = key_reader(data, at)
            found.append(key)
        page = following if following != 0xFFFF else -1
    if len(found) != entries:
        raise FormatError(f"B+ tree {structure}: {len(found)} entries, header says {entries}")
    return structure, flags, page_size, found


def directory_entry(data, at):
    end = data.index(b"\0", at)
    return (data[at:end].decode("ascii"), u32(data, end + 1)), end + 5


def context_entry(data, at):
    return (i32(data, at), u32(data, at + 4)), at + 8


def context_hash(name):
    value = 0
    for char in name:
        if char.isalpha():
            code = ord(char.upper()) - ord("A") + 17
        elif "1" <= char <= "9":
            code = ord(char) - ord("0")
        else:
            code = {"0": 10, ".": 12, "_": 13}[char]
        value = (value * 43 + code) & 0xFFFFFFFF
    return value - (1 << 32) if value >= 1 << 31 else value


def lz77(data):
    out = bytearray()
    at = 0
    while at < len(data):
        mask = data[at]
        at += 1
        for bit in range(8):
            if at >= len(data):
                break
            if mask & (1 << bit):
                code = u16(data, at)
                at += 2
                for _ in range(3 + (code >> 12)):
                    out.append(out[-(code & 0xFFF) - 1])
            else:
                out.append(data[at])
                at += 1
    return bytes(out)


def fetch(data, at, kind):
    """The compressed numbers of LinkData1: (value, next position)."""
    if kind == "ushort":
        return (data[at] // 2, at + 1) if data[at] % 2 == 0 else (u16(data, at) // 2, at + 2)
    if kind == "short":
        return (data[at] // 2 - 64, at + 1) if data[at] % 2 == 0 else (u16(data, at) // 2 - 16384, at + 2)
    if kind == "long":
        return (u16(data, at) // 2 - 16384, at + 2) if data[at] % 2 == 0 else (u32(data, at) // 2 - 67108864, at + 4)
    raise ValueError(kind)


@dataclass
class Paragraph:
    text: str = ""
    fonts: list = field(default_factory=list)
    jumps: list = field(default_factory=list)  # (hash, text)
    chars: int = 0


@dataclass
class Topic:
    title: str
    offset: int
    number: int
    paragraphs: list = field(default_factory=list)


@dataclass
class HelpFile:
    directory: dict
    title: str
    contents: int
    windows: list
    fonts: list
    faces: list
    contexts: dict  # hash -> topic offset
    topics: list
    topic_bytes: int
    topic_blocks: int
    flags: int = 0


def parse_paragraph(data1, text):
    par = Paragraph()
    _size, at = fetch(data1, 0, "long")
    par.chars, at = fetch(data1, at, "ushort")
    at += 4
    bits = u16(data1, at)
    at += 2
    if bits & 0x0001:
        _, at = fetch(data1, at, "long")
    for flag in (0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x0040):
        if bits & flag:
            _, at = fetch(data1, at, "short")
    if bits & 0x0100:
        at += 3
    if bits & 0x0200:
        tabs, at = fetch(data1, at, "short")
        for _ in range(tabs):
            stop, at = fetch(data1, at, "ushort")
            if stop & 0x4000:
                _, at = fetch(data1, at, "ushort")
    strings = text.split(b"\0")
    open_jump = None
    shown = 0
    index = -1
    while True:
        index += 1
        string = strings[index].decode("cp1252")
        par.text += string
        shown += len(string)
        if open_jump is not None:
            open_jump[1] += string
        command = data1[at]
        if command == 0xFF:
            break
        if command == 0x80:
            par.fonts.append(u16(data1, at + 1))
            at += 3
        elif command in (0x81, 0x82, 0x83):
            par.text += {0x81: "\n", 0x82: "\n", 0x83: "\t"}[command]
            shown += 1
            at += 1
        elif command in (0xE2, 0xE3, 0xE6, 0xE7):
            if open_jump is not None:
                raise FormatError("a jump inside a jump")
            open_jump = [i32(data1, at + 1), ""]
            at += 5
        elif command == 0x89:
            if open_jump is None:
                raise FormatError("end of hotspot with no hotspot open")
            par.jumps.append(tuple(open_jump))
            open_jump = None
            at += 1
        else:
            raise FormatError(f"formatting command {command:#x} not expected here")
    if open_jump is not None:
        raise FormatError("a jump is not closed")
    if shown != par.chars:
        raise FormatError(f"TopicLength {par.chars}, but {shown} characters shown")
    return par


def read_topics(topic_file, flags):
    if flags != 4:
        raise FormatError(f"|SYSTEM flags {flags}: expected 4 (LZ77, 4 KB blocks)")
    block_size, step = 4096, 0x4000
    if 0 < len(topic_file) % block_size < 68:
        raise FormatError("the last topic block is shorter than 68 bytes")
    blocks = []
    stream = bytearray()
    for start in range(0, len(topic_file), block_size):
        header = struct.unpack_from("<III", topic_file, start)
        data = lz77(topic_file[start + 12 : start + block_size])
        if len(data) > step:
            raise FormatError("a block decompresses to more than 16 KB")
        blocks.append((header, len(stream), data))
        stream += data

    def locate(position):
        block, offset = divmod(position - 12, step)
        if block >= len(blocks) or offset > len(blocks[block][2]):
            raise FormatError(f"TOPICPOS {position:#x} is past the topic data")
        return blocks[block][1] + offset, block

    topics = []
    position = 12
    previous = 0xFFFFFFFF
    chars_in_block = {}
    seen = []
    while position != 0xFFFFFFFF:
        at, block = locate(position)
        size, len2, prev_link, next_link, len1, kind = struct.unpack_from("<IIIIIB", stream, at)
        if prev_link != previous:
            raise FormatError(f"record at {position:#x}: PrevBlock {prev_link:#x}, expected {previous:#x}")
        data1 = bytes(stream[at + 21 : at + len1])
        data2 = bytes(stream[at + len1 : at + size])
        if len(data2) != len2:
            raise FormatError(f"record at {position:#x}: phrase compression is not expected")
        seen.append((position, kind))
        if kind == 0x02:
            _size, _back, _forward, number, _nonscroll, scroll, _next = struct.unpack_from("<IIIIIII", data1)
            if scroll != next_link:
                raise FormatError("the scrolling region does not start with the next record")
            offset = block * 0x8000 + chars_in_block.get(block, 0)
            topics.append(Topic(data2.split(b"\0")[0].decode("cp1252"), offset, number))
        elif kind == 0x20:
            if not topics:
                raise FormatError("text before the first topic")
            paragraph = parse_paragraph(data1, data2)
            topics[-1].paragraphs.append(paragraph)
            chars_in_block[block] = chars_in_block.get(block, 0) + paragraph.chars
        else:
            raise FormatError(f"record type {kind:#x}")
        previous = position
        position = next_link

    for index, (header, _, _) in enumerate(blocks):
        starts = [p for p, _ in seen if (p - 12) // step == index]
        before = [p for p, _ in seen if (p - 12) // step < index]
        headers_before = [p for p, k in seen if (p - 12) // step < index and k == 0x02]
        expected = (
            before[-1] if before else 0xFFFFFFFF,
            starts[0] if starts else 0xFFFFFFFF,
            headers_before[-1] if headers_before else 0xFFFFFFFF,
        )
        if header != expected:
            raise FormatError(f"topic block {index}: header {header}, expected {expected}")
    return topics, len(stream), len(blocks)


def read(path):
    with open(path, "rb") as file:
        hlp = file.read()
    magic, directory_start, free, size = struct.unpack_from("<IiiI", hlp, 0)
    if magic != 0x00035F3F or free != -1 or size != len(hlp):
        raise FormatError("file header")
    structure, flags, page_size, entries = btree_leaves(internal_file(hlp, directory_start), directory_entry)
    if (structure, flags & 0x0400, page_size) != ("z4", 0x0400, 1024):
        raise FormatError("directory B+ tree header")
    names = [name for name, _ in entries]
    if names != sorted(names):
        raise FormatError("directory entries are not sorted")
    directory = dict(entries)
    files = {name: internal_file(hlp, offset) for name, offset in directory.items()}

    system = files["|SYSTEM"]
    magic, minor, major, _date, flags = struct.unpack_from("<HHHIH", system, 0)
    if (magic, minor, major) != (0x036C, 21, 1):
        raise FormatError("|SYSTEM header")
    title, contents, windows = None, None, []
    at = 12
    while at < len(system):
        kind, length = struct.unpack_from("<HH", system, at)
        data = system[at + 4 : at + 4 + length]
        if kind == 1:
            title = data.rstrip(b"\0").decode("cp1252")
        elif kind == 3:
            contents = u32(data, 0)
        elif kind == 6:
            if length != 90:
                raise FormatError("window record size")
            windows.append((data[12:21].rstrip(b"\0").decode(), data[21:72].rstrip(b"\0").decode("cp1252")))
        at += 4 + length
    if at != len(system):
        raise FormatError("|SYSTEM records overrun the file")

    font = files["|FONT"]
    face_count, font_count, face_offset, descriptor_offset = struct.unpack_from("<HHHH", font, 0)
    if face_offset >= 12:
        raise FormatError("|FONT is not in the 3.1 layout")
    width = (descriptor_offset - face_offset) // face_count
    faces = [font[face_offset + i * width : face_offset + (i + 1) * width].rstrip(b"\0").decode() for i in range(face_count)]
    fonts = []
    for i in range(font_count):
        attributes, half_points, family, face = struct.unpack_from("<BBBH", font, descriptor_offset + i * 11)
        if face >= face_count:
            raise FormatError(f"font {i} names face {face} of {face_count}")
        fonts.append((attributes, half_points, family, face))

    structure, flags_tree, _page, context_entries = btree_leaves(files["|CONTEXT"], context_entry)
    if structure != "L4" or flags_tree & 0x0400:
        raise FormatError("|CONTEXT B+ tree header")
    hashes = [h for h, _ in context_entries]
    if hashes != sorted(hashes):
        raise FormatError("|CONTEXT entries are not sorted by signed hash")

    topics, topic_bytes, topic_blocks = read_topics(files["|TOPIC"], flags)
    return HelpFile(directory, title, contents, windows, fonts, faces, dict(context_entries), topics, topic_bytes, topic_blocks, flags)
