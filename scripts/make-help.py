#!/usr/bin/env python3
"""Builds the program's help from docs/help/help.md: help.hlp for the WinHelp viewer and
help.htm, the same topics as one self-contained web page for where no viewer exists.

    make-help.py SOURCE --hlp OUT.hlp --htm OUT.htm

The source is a small subset of Markdown, readable as it stands:

    # Topic title {#context_id}     starts a topic; the first topic is the contents
    ## Heading                      a heading inside a topic
    - item / 1. item                a list item (continued on indented lines)
    blank line                      ends a paragraph or item
    **bold**, [text](#context_id)   inline bold text and a jump to a topic

Every topic but the contents gets a jump back to the contents above and below its text.
The build fails when a jump names no topic, when the contents does not reach every topic,
or when two context ids share a hash.

help.hlp is a Windows 3.1 help file (|SYSTEM minor version 21) with the internal files
|SYSTEM, |FONT, |CONTEXT and |TOPIC. Its topic blocks are LZ77-compressed (|SYSTEM flags 4):
in compressed files every description of the format and every reader agrees that topic
positions count in 16 KB steps per 4 KB block, whereas for uncompressed 3.1 files they do
not. The compressor writes literals only, which every LZ77 reader of the format accepts.
"""

import argparse
import html
import re
import struct
import sys
from dataclasses import dataclass, field

ENCODING = "cp1252"
BULLET = "\u2022"

# ---------------------------------------------------------------------------------------
# Source


@dataclass
class Span:
    kind: str  # "text", "bold" or "link"
    text: str
    target: str = ""


@dataclass
class Block:
    kind: str  # "heading", "para" or "item"
    spans: list
    label: str = ""  # an item's bullet or number


@dataclass
class Topic:
    context: str
    title: str
    blocks: list = field(default_factory=list)


CONTEXT_RE = re.compile(r"^[A-Za-z0-9_.]+$")
TOPIC_RE = re.compile(r"^# (.+?)\s*\{#([^}]*)\}\s*$")
INLINE_RE = re.compile(r"\*\*(.+?)\*\*|\[([^\]]+)\]\(#([^)]*)\)")
ITEM_RE = re.compile(r"^(-|\d+\.)\s+(.*)$")


class SourceError(Exception):
    pass


def parse_inline(text):
    spans = []
    pos = 0
    for match in INLINE_RE.finditer(text):
        if match.start() > pos:
            spans.append(Span("text", text[pos : match.start()]))
        if match.group(1) is not None:
            spans.append(Span("bold", match.group(1)))
        else:
            spans.append(Span("link", match.group(2), match.group(3)))
        pos = match.end()
    if pos < len(text):
        spans.append(Span("text", text[pos:]))
    return spans


def parse(source):
    topics = []
    pending = None  # (kind, label, lines) of the block being read

    def flush():
        nonlocal pending
        if pending is None:
            return
        kind, label, lines = pending
        topics[-1].blocks.append(Block(kind, parse_inline(" ".join(lines)), label))
        pending = None

    for number, raw in enumerate(source.splitlines(), 1):
        line = raw.rstrip()
        topic = TOPIC_RE.match(line)
        if topic:
            flush()
            topics.append(Topic(topic.group(2), topic.group(1)))
            continue
        if not topics:
            if line:
                raise SourceError(f"line {number}: text before the first topic")
            continue
        if not line:
            flush()
            continue
        if line.startswith("## "):
            flush()
            topics[-1].blocks.append(Block("heading", parse_inline(line[3:].strip())))
            continue
        item = ITEM_RE.match(line)
        if item:
            flush()
            label = BULLET if item.group(1) == "-" else item.group(1)
            pending = ("item", label, [item.group(2).strip()])
            continue
        if pending is None:
            pending = ("para", "", [])
        pending[2].append(line.strip())
    flush()
    if not topics:
        raise SourceError("no topic")
    return topics


def check(topics):
    contexts = {}
    for topic in topics:
        if not CONTEXT_RE.match(topic.context):
            raise SourceError(f"context id {topic.context!r}: only A-Z, a-z, 0-9, _ and .")
        if topic.context in contexts:
            raise SourceError(f"context id {topic.context!r} is used twice")
        contexts[topic.context] = topic
    hashes = {}
    for context in contexts:
        other = hashes.setdefault(context_hash(context), context)
        if other != context:
            raise SourceError(f"context ids {other!r} and {context!r} have the same hash")
    for topic in topics:
        for block in topic.blocks:
            for span in block.spans:
                if span.kind == "link" and span.target not in contexts:
                    raise SourceError(f"topic {topic.context!r}: jump to unknown {span.target!r}")
        try:
            topic.title.encode(ENCODING)
        except UnicodeEncodeError as error:
            raise SourceError(f"topic {topic.context!r}: {error}") from None
    reached = {span.target for block in topics[0].blocks for span in block.spans if span.kind == "link"}
    missing = [t.context for t in topics[1:] if t.context not in reached]
    if missing:
        raise SourceError(f"the contents topic has no jump to {', '.join(missing)}")


def with_contents_links(topics):
    """Every topic but the contents, with a jump back to the contents above and below."""
    contents = topics[0]
    back = Block("para", [Span("link", "Contents", contents.context)])
    result = [contents]
    for topic in topics[1:]:
        result.append(Topic(topic.context, topic.title, [back] + topic.blocks + [back]))
    return result


# ---------------------------------------------------------------------------------------
# help.htm


def write_htm(topics):
    title = html.escape(topics[0].title)
    out = [
        "<!DOCTYPE html>",
        '<html lang="en">',
        "<head>",
        '<meta charset="utf-8">',
        f"<title>{title}</title>",
        "<style>",
        "body { font-family: Arial, Helvetica, sans-serif; font-size: 11pt; max-width: 46em;"
        " margin: 1em auto; padding: 0 1em; color: #000; background: #fff; }",
        "section { border-top: 1px solid #aaa; padding-top: 0.5em; margin-top: 2em; }",
        "h1 { font-size: 16pt; } h2 { font-size: 12pt; margin-bottom: 0.2em; }",
        "a { color: #008000; } p.back { font-size: 10pt; }",
        "</style>",
        "</head>",
        "<body>",
    ]

    def inline(spans):
        parts = []
        for span in spans:
            text = html.escape(span.text)
            if span.kind == "bold":
                parts.append(f"<b>{text}</b>")
            elif span.kind == "link":
                parts.append(f'<a href="#{span.target}">{text}</a>')
            else:
                parts.append(text)
        return "".join(parts)

    for topic in topics:
        out.append(f'<section id="{topic.context}">')
        out.append(f"<h1>{html.escape(topic.title)}</h1>")
        open_list = None
        for block in topic.blocks:
            wanted = None
            if block.kind == "item":
                wanted = "ul" if block.label == BULLET else "ol"
            if open_list != wanted:
                if open_list:
                    out.append(f"</{open_list}>")
                if wanted:
                    out.append(f"<{wanted}>")
                open_list = wanted
            if block.kind == "heading":
                out.append(f"<h2>{inline(block.spans)}</h2>")
            elif block.kind == "item":
                out.append(f"<li>{inline(block.spans)}</li>")
            else:
                back = len(block.spans) == 1 and block.spans[0].kind == "link"
                css = ' class="back"' if back else ""
                out.append(f"<p{css}>{inline(block.spans)}</p>")
        if open_list:
            out.append(f"</{open_list}>")
        out.append("</section>")
    out += ["</body>", "</html>", ""]
    return "\n".join(out).encode("utf-8")


# ---------------------------------------------------------------------------------------
# help.hlp: the parts every internal file is made of

FILE_MAGIC = 0x00035F3F
FILE_FLAGS = 4
BTREE_MAGIC = 0x293B
BTREE_FLAGS = 0x0002
BTREE_DIRECTORY_FLAG = 0x0400
DIRECTORY_PAGE_SIZE = 1024
CONTEXT_PAGE_SIZE = 2048
SYSTEM_MAGIC = 0x036C
SYSTEM_MINOR_WINHELP31 = 21
SYSTEM_MAJOR = 1
SYSTEM_FLAGS_LZ77_4K = 4
SYSTEM_TITLE = 1
SYSTEM_CONTENTS = 3
SYSTEM_WINDOW = 6
WINDOW_RECORD_SIZE = 90
WINDOW_NAME_AND_CAPTION_VALID = 0x0002 | 0x0004
TOPIC_BLOCK_SIZE = 4096
TOPIC_BLOCK_HEADER_SIZE = 12
TOPIC_POS_BLOCK_STEP = 0x4000
TOPIC_OFFSET_BLOCK_STEP = 0x8000
# Literal-only LZ77: a flag byte, then eight literals; the last group of a block may be short.
LZ77_GROUP = 8
BLOCK_DATA_SIZE = TOPIC_BLOCK_SIZE - TOPIC_BLOCK_HEADER_SIZE
LITERALS_PER_BLOCK = (BLOCK_DATA_SIZE // (LZ77_GROUP + 1)) * LZ77_GROUP + max(
    0, BLOCK_DATA_SIZE % (LZ77_GROUP + 1) - 1
)
# Wine's viewer reads the last compressed block from 68 bytes before the end of |TOPIC.
SHORTEST_BLOCK = 68
TOPICLINK_HEADER_SIZE = 21
RECORD_TOPIC_HEADER = 0x02
RECORD_TEXT = 0x20
NO_POSITION = 0xFFFFFFFF
FACE_NAME_SIZE = 20
FONT_DESCRIPTOR_SIZE = 11
FONT_FAMILY_SWISS = 0x03
FONT_BOLD = 0x01

CMD_FONT = 0x80
CMD_END_PARAGRAPH = 0x82
CMD_TAB = 0x83
CMD_END_HOTSPOT = 0x89
CMD_JUMP = 0xE3
CMD_END = 0xFF

PARA_SPACE_ABOVE = 0x0002
PARA_SPACE_BELOW = 0x0004
PARA_LEFT_INDENT = 0x0010
PARA_FIRST_INDENT = 0x0040
PARA_TABS = 0x0200

# Fonts: face index, half points, attributes.
FACES = ["Arial"]
FONT_BODY, FONT_BOLD_BODY, FONT_TITLE, FONT_HEADING = range(4)
FONTS = [(0, 20, 0), (0, 20, FONT_BOLD), (0, 28, FONT_BOLD), (0, 22, FONT_BOLD)]

# Paragraph layouts, in half points: space above, space below, left indent, first-line indent.
ITEM_INDENT = 24


def context_hash(context):
    """The WinHelp 3.1 hash of a context id, as a signed 32-bit value."""
    value = 0
    for char in context:
        if "A" <= char <= "Z":
            code = ord(char) - ord("A") + 17
        elif "a" <= char <= "z":
            code = ord(char) - ord("a") + 17
        elif "1" <= char <= "9":
            code = ord(char) - ord("0")
        elif char == "0":
            code = 10
        elif char == ".":
            code = 12
        elif char == "_":
            code = 13
        else:
            raise SourceError(f"context id {context!r}: character {char!r} cannot be hashed")
        value = (value * 43 + code) & 0xFFFFFFFF
    return value - (1 << 32) if value & 0x80000000 else value


def compressed_ushort(value):
    return bytes([value * 2]) if value < 0x80 else struct.pack("<H", value * 2 + 1)


def compressed_short(value):
    if -0x40 <= value < 0x40:
        return bytes([value * 2 + 0x80])
    return struct.pack("<H", value * 2 + 0x8001)


def compressed_long(value):
    if -0x4000 <= value < 0x4000:
        return struct.pack("<H", value * 2 + 0x8000)
    return struct.pack("<I", value * 2 + 0x80000001)


def internal_file(data):
    """An internal file: its FILEHEADER (reserved and used size, flags) and its bytes."""
    return struct.pack("<IIB", len(data) + 9, len(data), FILE_FLAGS) + data


def btree(structure, page_size, flags, entries):
    """A one-level B+ tree of already sorted, already packed leaf entries."""
    body = b"".join(entries)
    if 8 + len(body) > page_size:
        raise SourceError(f"B+ tree {structure!r} needs more than one page")
    free = page_size - 8 - len(body)
    page = struct.pack("<HhhH", free, len(entries), -1, 0xFFFF) + body + bytes(free)
    header = struct.pack(
        "<HHH16shhhhhhi",
        BTREE_MAGIC,
        flags,
        page_size,
        structure.encode("ascii"),
        0,  # must be zero
        0,  # page splits
        0,  # root page
        -1,  # must be -1
        1,  # total pages
        1,  # levels
        len(entries),
    )
    return header + page


# ---------------------------------------------------------------------------------------
# help.hlp: |TOPIC


@dataclass
class Paragraph:
    cmds: bytes  # formatting commands after the paragraph header
    strings: list  # encoded text strings, one before each command
    chars: int  # characters the viewer counts: text, tabs and paragraph ends


def paragraph(spans, font, label=""):
    strings, cmds = [], bytearray()
    current = bytearray()
    chars = 0

    def finish(command):
        nonlocal current
        strings.append(bytes(current))
        cmds.extend(command)
        current = bytearray()

    def add(text):
        nonlocal chars
        encoded = text.encode(ENCODING)
        current.extend(encoded)
        chars += len(encoded)

    finish(bytes([CMD_FONT]) + struct.pack("<H", font))
    if label:
        add(label)
        finish(bytes([CMD_TAB]))
        chars += 1
    for span in spans:
        if span.kind == "text":
            add(span.text)
        elif span.kind == "bold":
            finish(bytes([CMD_FONT]) + struct.pack("<H", FONT_BOLD_BODY))
            add(span.text)
            finish(bytes([CMD_FONT]) + struct.pack("<H", font))
        else:
            finish(bytes([CMD_JUMP]) + struct.pack("<i", context_hash(span.target)))
            add(span.text)
            finish(bytes([CMD_END_HOTSPOT]))
    finish(bytes([CMD_END_PARAGRAPH]))
    chars += 1
    finish(bytes([CMD_END]))
    return Paragraph(bytes(cmds), strings, chars)


def text_record(par, above, below, left=0, first=0, tab=None):
    """LinkData1 and LinkData2 of a displayable text record (type 0x20)."""
    text = b"".join(s + b"\0" for s in par.strings)
    bits = PARA_SPACE_ABOVE | PARA_SPACE_BELOW
    fields = compressed_short(above) + compressed_short(below)
    if left:
        bits |= PARA_LEFT_INDENT
        fields += compressed_short(left)
    if first:
        bits |= PARA_FIRST_INDENT
        fields += compressed_short(first)
    if tab is not None:
        bits |= PARA_TABS
        fields += compressed_short(1) + compressed_ushort(tab)
    data1 = (
        compressed_long(len(text))  # TopicSize: the paragraph's text bytes
        + compressed_ushort(par.chars)  # TopicLength: the characters it shows
        + bytes([0x00, 0x80])  # the two unknown bytes, as the compilers write them
        + struct.pack("<HH", 0, bits)  # paragraph id, then which fields follow
        + fields
        + par.cmds
    )
    return RECORD_TEXT, data1, text, par.chars


def topic_records(topic):
    yield RECORD_TOPIC_HEADER, None, topic.title.encode(ENCODING), 0
    yield text_record(paragraph([Span("text", topic.title)], FONT_TITLE), 0, 12)
    for block in topic.blocks:
        if block.kind == "heading":
            yield text_record(paragraph(block.spans, FONT_HEADING), 12, 4)
        elif block.kind == "item":
            par = paragraph(block.spans, FONT_BODY, block.label)
            yield text_record(par, 0, 4, ITEM_INDENT, -ITEM_INDENT + 8, ITEM_INDENT)
        else:
            yield text_record(paragraph(block.spans, FONT_BODY), 0, 8)


def lz77_literals(data):
    out = bytearray()
    for start in range(0, len(data), LZ77_GROUP):
        out.append(0)
        out.extend(data[start : start + LZ77_GROUP])
    return bytes(out)


def position(stream_offset):
    """The TOPICPOS of a byte of the uncompressed topic stream."""
    block, offset = divmod(stream_offset, LITERALS_PER_BLOCK)
    return block * TOPIC_POS_BLOCK_STEP + TOPIC_BLOCK_HEADER_SIZE + offset


def build_topic(topics):
    """|TOPIC, and the TOPICOFFSET of each topic."""
    records = []  # [stream offset, type, data1 or None, data2, chars, topic index]
    offset = 0
    for index, topic in enumerate(topics):
        for kind, data1, data2, chars in topic_records(topic):
            size = TOPICLINK_HEADER_SIZE + (28 if data1 is None else len(data1)) + len(data2)
            records.append([offset, kind, data1, data2, chars, index, size])
            offset += size
    stream_size = offset

    # Where each topic starts, and its offset: block number and characters before it there.
    starts = [r for r in records if r[1] == RECORD_TOPIC_HEADER]
    topic_offsets = []
    chars_in_block = {}
    for record in records:
        block = record[0] // LITERALS_PER_BLOCK
        if record[1] == RECORD_TOPIC_HEADER:
            topic_offsets.append(block * TOPIC_OFFSET_BLOCK_STEP + chars_in_block.get(block, 0))
        else:
            chars_in_block[block] = chars_in_block.get(block, 0) + record[4]

    stream = bytearray()
    for n, (start, kind, data1, data2, chars, index, size) in enumerate(records):
        prev_pos = position(records[n - 1][0]) if n else NO_POSITION
        next_pos = position(records[n + 1][0]) if n + 1 < len(records) else NO_POSITION
        if kind == RECORD_TOPIC_HEADER:
            topic_records_here = [r for r in records if r[5] == index]
            following = starts[index + 1][0] if index + 1 < len(starts) else None
            data1 = struct.pack(
                "<IIIIIII",
                sum(r[6] for r in topic_records_here),  # the topic's bytes, with its links
                NO_POSITION,  # no browse sequence
                NO_POSITION,
                index,
                NO_POSITION,  # no non-scrolling region
                position(records[n + 1][0]),
                position(following) if following is not None else NO_POSITION,
            )
        link = struct.pack(
            "<IIIIIB", size, len(data2), prev_pos, next_pos, TOPICLINK_HEADER_SIZE + len(data1), kind
        )
        stream += link + data1 + data2
    assert len(stream) == stream_size

    # A last block too short for Wine's reader is padded with zeros no record refers to.
    while True:
        tail = len(stream) % LITERALS_PER_BLOCK or LITERALS_PER_BLOCK
        if TOPIC_BLOCK_HEADER_SIZE + len(lz77_literals(bytes(tail))) >= SHORTEST_BLOCK:
            break
        stream.append(0)

    blocks = bytearray()
    block_count = (len(stream) + LITERALS_PER_BLOCK - 1) // LITERALS_PER_BLOCK
    for block in range(block_count):
        begin = block * LITERALS_PER_BLOCK
        end = begin + LITERALS_PER_BLOCK
        before = [r for r in records if r[0] < begin]
        inside = [r for r in records if begin <= r[0] < end]
        headers_before = [r for r in before if r[1] == RECORD_TOPIC_HEADER]
        blocks += struct.pack(
            "<III",
            position(before[-1][0]) if before else NO_POSITION,
            position(inside[0][0]) if inside else NO_POSITION,
            position(headers_before[-1][0]) if headers_before else NO_POSITION,
        )
        data = lz77_literals(bytes(stream[begin:end]))
        assert len(data) <= BLOCK_DATA_SIZE
        if end < len(stream):
            assert len(data) == BLOCK_DATA_SIZE
        blocks += data
    return bytes(blocks), topic_offsets, stream_size


# ---------------------------------------------------------------------------------------
# help.hlp: the whole file


def system_record(kind, data):
    return struct.pack("<HH", kind, len(data)) + data


def build_system(title):
    title_bytes = title.encode(ENCODING)
    caption = title_bytes[:50]
    window = struct.pack("<H", WINDOW_NAME_AND_CAPTION_VALID)
    window += bytes(10) + b"main".ljust(9, b"\0") + caption.ljust(51, b"\0")
    window += struct.pack("<hhhhhII", 0, 0, 0, 0, 0, 0, 0)
    assert len(window) == WINDOW_RECORD_SIZE
    header = struct.pack("<HHHIH", SYSTEM_MAGIC, SYSTEM_MINOR_WINHELP31, SYSTEM_MAJOR, 0, SYSTEM_FLAGS_LZ77_4K)
    return (
        header
        + system_record(SYSTEM_TITLE, title_bytes + b"\0")
        + system_record(SYSTEM_CONTENTS, struct.pack("<I", 0))
        + system_record(SYSTEM_WINDOW, window)
    )


def build_font():
    faces_offset = 8
    descriptors_offset = faces_offset + FACE_NAME_SIZE * len(FACES)
    data = struct.pack("<HHHH", len(FACES), len(FONTS), faces_offset, descriptors_offset)
    for face in FACES:
        data += face.encode("ascii").ljust(FACE_NAME_SIZE, b"\0")
    for face, half_points, attributes in FONTS:
        data += struct.pack("<BBBH", attributes, half_points, FONT_FAMILY_SWISS, face)
        data += bytes(3) + bytes([0xFF, 0xFF, 0xFF])  # black on white
    return data


def build_context(topics, topic_offsets):
    entries = sorted((context_hash(t.context), offset) for t, offset in zip(topics, topic_offsets))
    packed = [struct.pack("<iI", h, offset) for h, offset in entries]
    return btree("L4", CONTEXT_PAGE_SIZE, BTREE_FLAGS, packed)


def write_hlp(topics):
    topic_data, topic_offsets, _ = build_topic(topics)
    assert topic_offsets[0] == 0, "the contents topic opens the file"
    files = {
        "|SYSTEM": build_system(topics[0].title),
        "|FONT": build_font(),
        "|CONTEXT": build_context(topics, topic_offsets),
        "|TOPIC": topic_data,
    }
    body = bytearray()
    offsets = {}
    for name, data in files.items():
        offsets[name] = 16 + len(body)
        body += internal_file(data)
    directory_start = 16 + len(body)
    entries = [name.encode("ascii") + b"\0" + struct.pack("<I", offsets[name]) for name in sorted(files)]
    body += internal_file(btree("z4", DIRECTORY_PAGE_SIZE, BTREE_FLAGS | BTREE_DIRECTORY_FLAG, entries))
    total = 16 + len(body)
    return struct.pack("<IiiI", FILE_MAGIC, directory_start, -1, total) + bytes(body)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("source")
    parser.add_argument("--hlp", required=True)
    parser.add_argument("--htm", required=True)
    args = parser.parse_args()
    with open(args.source, encoding="utf-8") as file:
        source = file.read()
    try:
        topics = parse(source)
        check(topics)
        topics = with_contents_links(topics)
        hlp = write_hlp(topics)
    except SourceError as error:
        sys.exit(f"{args.source}: {error}")
    with open(args.hlp, "wb") as file:
        file.write(hlp)
    with open(args.htm, "wb") as file:
        file.write(write_htm(topics))


if __name__ == "__main__":
    main()
