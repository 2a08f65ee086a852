"""A student puts lecture notes into a course, takes a five-question practice test on them with the
keyboard alone, answering from what the notes say (looking at two other sections after the second
question and finishing the same test), and sees an honest score with the XP and credits it earned;
then makes a mnemonic of the notes and saves it as a picture."""

import os
import re
import struct
import urllib.parse
import zlib

from .. import flows
from ..fixtures import MEMBRANES_LECTURE as LECTURE

COURSE = "BIOL 201 Cell Biology"
NOTES = "Membrane transport.txt"
TITLE = "Membrane transport"  # the server titles a document after its file name
# What the student remembers of each term: a phrase only its own definition holds.
REMEMBERED = {
    "plasma membrane": "lipids and proteins",
    "diffusion": "high concentration",
    "osmosis": "selectively permeable",
    "channel protein": "forms a pore",
    "active transport": "against their gradient",
    "endocytosis": "large particles",
    "vesicle": "small sac",
}
QUESTIONS = 5
# The keyboard answers faster than a student reads; the quiz still earns.
SERVER_ARGS = ["--quiz-pace", "0"]


def _known_answer(question, options):
    """The option the notes make right, or None when the question is not one the student knows."""
    asked = question.lower()
    lowered = [option.lower() for option in options]
    for term, phrase in REMEMBERED.items():
        if phrase in asked and term in lowered:  # a definition, asking for its term
            return lowered.index(term)
        if "“%s”" % term in asked:  # a term, asking for its definition
            matches = [i for i, option in enumerate(lowered) if phrase in option]
            if len(matches) == 1:
                return matches[0]
    return None


def _png_is_drawn(path):
    """The file is a PNG of a real picture: its size is read from the header, and its pixel rows
    hold more than one flat colour (a blank picture's filtered rows are nearly all zero bytes)."""
    with open(path, "rb") as image:
        data = image.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    width, height = struct.unpack(">II", data[16:24])
    chunks, offset = [], 8
    while offset < len(data):
        length, kind = struct.unpack(">I4s", data[offset:offset + 8])
        if kind == b"IDAT":
            chunks.append(data[offset + 8:offset + 8 + length])
        offset += 12 + length
    pixels = zlib.decompress(b"".join(chunks))
    drawn = sum(1 for byte in pixels if byte) / len(pixels)
    return width >= 600 and height >= 600 and drawn > 0.01


def run(run):
    ui = run.ui
    home = os.path.join(run.env.root, "home")
    run.put_in_documents(NOTES, LECTURE)

    email = flows.new_student_in_library(run)
    flows.course_with_notes(ui, COURSE, NOTES, TITLE)
    before = run.control("/__control/progress?email=" + urllib.parse.quote(email))

    # The practice test: five multiple-choice questions, set up and taken from the keyboard.
    flows.select_section(ui, 4)
    ui.wait_for("combo box", "Course")
    ui.wait_for(None, re.compile(r"^\d+ of \d+ generations left today$"), timeout=30)
    # Two questions in, a look at Study and the Library; the test waits at the third question,
    # with the keyboard back in it.
    def look_around():
        ui.wait_for("heading", "Question 3 of %d" % QUESTIONS)
        flows.select_section(ui, 1)
        flows.select_section(ui, 5)
        ui.wait_for("list item", TITLE)
        flows.select_section(ui, 4)
        ui.wait_for("heading", "Question 3 of %d" % QUESTIONS)
        ui.screenshot("test-kept")
    known, score = flows.take_practice_test(ui, QUESTIONS, _known_answer, interlude=(2, look_around))
    correct = int(score.get_name()[0])
    # Grading is honest: every answer the notes made right counts, and guesses may add to it.
    assert correct >= known, "%d answers were right by the notes, the score says %d" % (known, correct)
    percent = correct * 100 // QUESTIONS
    grade = "Great work" if percent >= 80 else "Keep going" if percent >= 60 else "Review needed"
    ui.wait_for(None, "Score: %d percent. %s" % (percent, grade))
    xp_line = ui.wait_for(None, re.compile(r"^\d+ XP$"), within=ui.wait_for("panel", "Rewards"), timeout=30)
    credits_line = ui.wait_for(None, re.compile(r"^Credits: \d+"))
    ui.screenshot("result")

    # What the result showed is what the account earned.
    xp = int(re.search(r"\d+", xp_line.get_name()).group(0))
    credits = int(re.search(r"\d+", credits_line.get_name()).group(0))
    after = run.control("/__control/progress?email=" + urllib.parse.quote(email))
    assert after["total_xp"] - before["total_xp"] == xp, (before, after, xp)
    assert after["credits"] - before["credits"] == credits > 0, (before, after, credits)

    # A mnemonic of the notes, saved as a picture.
    flows.select_section(ui, 5)
    ui.activate(ui.wait_for("list item", TITLE))
    ui.press("push button", "Create mnemonic")
    ui.wait_for("combo box", "Document")
    ui.press("push button", "Create Mnemonic")
    # One request makes the mnemonic, so the server shows no progress until it answers: on a busy
    # machine under the sanitizers that can take minutes.
    ui.wait_for("heading", "Mnemonic ready", timeout=180)
    ui.screenshot("mnemonic")
    pictures = os.path.join(home, "Pictures")
    os.makedirs(pictures, exist_ok=True)
    ui.press("push button", "Save image…")
    dialog = ui.wait_for("dialog", "Save mnemonic image")
    # The dialog opens in Pictures with a name made from the title. Qt 6.4's own file dialog labels
    # its accept button "Open" even when saving, and takes it from the keyboard only.
    field = ui.text_field("File name", within=dialog)
    ui.wait_until(lambda: ui.text(field) == TITLE + " mnemonic.png", "the suggested file name")
    ui.screenshot("save-dialog")
    ui.focus(ui.wait_for("push button", "Open", within=dialog))
    ui.key("space")
    path = os.path.join(pictures, TITLE + " mnemonic.png")
    ui.wait_until(lambda: os.path.exists(path), "the saved mnemonic picture", timeout=60)

    def drawn():
        try:
            return _png_is_drawn(path)
        except (AssertionError, OSError, struct.error, zlib.error):
            return False  # not all written yet
    ui.wait_until(drawn, "a drawn picture in " + path)
    run.quit_app()
