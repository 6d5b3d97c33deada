"""Builds the help from its source and reads help.hlp back with a reader of its own."""

import os
import re
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
import read_hlp  # noqa: E402

TOP = Path(os.environ.get("ZERAK_SOURCE_DIR", Path(__file__).resolve().parents[2]))
SOURCE = TOP / "docs" / "help" / "help.md"
TITLE = "Kolvarn's Zerak Resources Calculator Help"
MESSAGE_CALLS = r"(?:ReportFileError|ShowInputError|ShowRefusal|ShowFailure|RunOnSelectedColony|ReadTimePart|ReadSelectedColony)\("


def source_topics():
    """(context, title, blocks) of the source, its markup removed, read without the writer."""
    topics = []
    for line in SOURCE.read_text(encoding="utf-8").split("\n"):
        head = re.match(r"^# (.+?) \{#(\w+)\}$", line)
        if head:
            topics.append((head.group(2), head.group(1), [[]]))
        elif not line.strip():
            topics[-1][2].append([])
        elif line.startswith("## ") or re.match(r"^(-|\d+\.) ", line):
            topics[-1][2].append([re.sub(r"^(## |- |\d+\. )", "", line)])
        else:
            topics[-1][2][-1].append(line.strip())
    result = []
    for context, title, blocks in topics:
        texts = []
        for block in blocks:
            if block:
                text = " ".join(block)
                text = re.sub(r"\[([^\]]+)\]\(#\w+\)", r"\1", text).replace("**", "")
                texts.append(text)
        result.append((context, title, texts))
    return result


def program_messages():
    texts = set()
    for path in list((TOP / "ui").rglob("*.cpp")) + list((TOP / "storage").glob("*.cpp")):
        code = path.read_text(encoding="utf-8")
        calls = re.findall(MESSAGE_CALLS + r".*?\);", code, re.S)
        tables = re.findall(r'"(?:Failed to create [^"]*|\\"[^"]*\\" dialog failed ?!|\\"About dialog\\" failed !)"', code)
        for chunk in calls + tables:
            # Adjacent literals are one text, as the compiler joins them.
            chunk = re.sub(r'"\s*\n\s*"', "", chunk)
            for text in re.findall(r'"((?:[^"\\]|\\.)*)"', chunk):
                text = text.replace('\\"', '"')
                if text not in ("Error", "Info", "") and len(text) > 12:
                    texts.add(text)
    return texts


class HelpFileTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        hlp = Path(cls.folder.name) / "help.hlp"
        htm = Path(cls.folder.name) / "help.htm"
        subprocess.run(
            [sys.executable, str(TOP / "scripts" / "make-help.py"), str(SOURCE), "--hlp", str(hlp), "--htm", str(htm)],
            check=True,
        )
        cls.help = read_hlp.read(hlp)
        cls.page = htm.read_text(encoding="utf-8")
        cls.source = source_topics()

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def shown(self, topic):
        """The topic's paragraphs as shown, without its title and its jumps back to the contents."""
        texts = [p.text.replace("\t", " ").strip() for p in topic.paragraphs[1:]]
        return [re.sub(r"^(\u2022|\d+\.) ", "", t) for t in texts if t != "Contents"]

    def test_directory_holds_the_files_a_viewer_needs(self):
        self.assertEqual(sorted(self.help.directory), ["|CONTEXT", "|FONT", "|SYSTEM", "|TOPIC"])

    def test_title_window_and_contents(self):
        self.assertEqual(self.help.title, TITLE)
        self.assertEqual(self.help.windows, [("main", TITLE)])
        self.assertEqual(self.help.contents, self.help.topics[0].offset)
        self.assertEqual(self.help.topics[0].title, TITLE)

    def test_topics_in_order_with_their_titles_in_a_larger_font(self):
        self.assertEqual([t.title for t in self.help.topics], [title for _, title, _ in self.source])
        body = self.help.fonts[self.help.topics[0].paragraphs[1].fonts[0]]
        for topic in self.help.topics:
            with self.subTest(topic=topic.title):
                heading = topic.paragraphs[0]
                self.assertEqual(heading.text, topic.title + "\n")
                self.assertGreater(self.help.fonts[heading.fonts[0]][1], body[1])
                self.assertEqual(topic.number, self.help.topics.index(topic))

    def test_texts_in_order(self):
        for topic, (_, title, texts) in zip(self.help.topics, self.source):
            with self.subTest(topic=title):
                self.assertEqual(self.shown(topic), texts)

    def test_every_jump_resolves_to_a_topic(self):
        offsets = {t.offset: t for t in self.help.topics}
        by_context = {context: topic for (context, _, _), topic in zip(self.source, self.help.topics)}
        for context, topic in by_context.items():
            with self.subTest(context=context):
                self.assertEqual(self.help.contexts[read_hlp.context_hash(context)], topic.offset)
        self.assertEqual(len(self.help.contexts), len(self.help.topics))
        for topic in self.help.topics:
            jumps = [j for p in topic.paragraphs for j in p.jumps]
            targets = [offsets[self.help.contexts[h]] for h, _ in jumps]
            with self.subTest(topic=topic.title):
                self.assertTrue(all(h in self.help.contexts for h, _ in jumps))
                if topic is self.help.topics[0]:
                    self.assertEqual(set(t.title for t in targets), set(t.title for t in self.help.topics[1:]))
                else:
                    back = [text for (h, text), t in zip(jumps, targets) if t is self.help.topics[0]]
                    self.assertEqual(back[0], "Contents")
                    self.assertEqual(back[-1], "Contents")
                    self.assertTrue(topic.paragraphs[1].jumps and topic.paragraphs[-1].jumps)

    def test_topic_data_spans_blocks(self):
        self.assertGreater(self.help.topic_bytes, 16 * 1024)
        self.assertGreater(self.help.topic_blocks, 4)
        self.assertTrue(any(t.offset // 0x8000 != 0 for t in self.help.topics))

    def test_every_message_of_the_program_is_described(self):
        messages = program_messages()
        self.assertGreater(len(messages), 30)
        shown = " ".join(" ".join(p.text.split()) for t in self.help.topics for p in t.paragraphs)
        for message in sorted(messages):
            with self.subTest(message=message):
                self.assertTrue(" ".join(message.split()) in shown, f"not described: {message!r}")

    def test_page_has_the_same_topics_and_working_links(self):
        ids = re.findall(r'<section id="(\w+)">', self.page)
        self.assertEqual(ids, [context for context, _, _ in self.source])
        for target in re.findall(r'href="#(\w+)"', self.page):
            self.assertIn(target, ids)
        for context, title, _ in self.source:
            self.assertIn(f'<section id="{context}">\n<h1>{title.replace(chr(39), "&#x27;")}</h1>', self.page)


if __name__ == "__main__":
    unittest.main()
