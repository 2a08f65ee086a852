"""A student adds lecture notes to a course, has its vocabulary made, starts a focus interval and
studies the deck with the keyboard alone until it is done and the interval gives way to a break,
and brings over a deck exported from a flashcard site whose definitions hold commas and a line
break. The focus timer runs on whatever section is shown: its time is in the window title, and the
break begins on the Cards tab."""

import re
import subprocess

from .. import flows
from ..fixtures import MEMBRANES_LECTURE as LECTURE

# A focus interval of one minute, so that studying outlasts it.
APP_ENV = {"ORBELO_FOCUS_MINUTES": "1"}

COURSE = "BIOL 201 Cell Biology"
NOTES = "Cell biology lecture.txt"
TITLE = "Cell biology lecture"  # the server titles a document after its file name
# As a flashcard site exports it: quoted fields, commas inside definitions, one definition on two lines.
DECK = ('"Mitochondrion","The organelle that makes ATP, the cell\'s energy currency"\n'
        '"Ribosome","Joins amino acids into a protein,\none codon at a time"\n'
        '"Lysosome","A sac of digestive enzymes, which breaks down worn-out parts"')
FOCUS_TITLE = re.compile(r"^00:[0-5]\d · Focus — Orbelo$")


def _window_title(ui):
    window = ui.find("frame")
    return window.get_name() if window is not None else None


def _review_until_done(ui):
    """Space shows the other side, 3 rates it Good; the next card follows until the deck is done."""
    counter = re.compile(r"Card \d+ of \d+$")
    done = re.compile("^All caught up")
    for _ in range(80):
        index, element = ui.wait_for_any([(None, counter), (None, done)])
        if index == 1:
            return
        before = element.get_name()

        def moved():
            if ui.find(None, done) is not None:
                return True
            now = ui.find(None, counter)
            return now is not None and now.get_name() != before
        ui.key("space")
        ui.key("3")
        ui.wait_until(moved, "the card after " + before)
    raise AssertionError("the deck never ended")


def run(run):
    ui = run.ui
    run.put_in_documents(NOTES, LECTURE)

    flows.new_student_in_library(run)

    # A course typed in, and the lecture notes added to it.
    flows.course_with_notes(ui, COURSE, NOTES, TITLE)

    # The course's deck is empty at first, so its vocabulary is made; the deck fills when it is.
    flows.select_section(ui, 3)
    ui.press(None, "By course")
    ui.wait_for(None, "No flashcards or vocabulary for this course yet. We've started preparing it — "
                      "check back in a minute.", timeout=60)
    ui.screenshot("generating")
    deck_line = re.compile("^%s · Vocabulary · \\d+ cards$|^.* · \\d+ cards$" % re.escape(COURSE))
    deck = ui.wait_for(None, deck_line, timeout=120)
    count = int(re.search(r"(\d+) cards$", deck.get_name()).group(1))
    ui.screenshot("deck")

    # Focus first: the interval starts on the Study tab, and its time left stays in the window
    # title on the Cards tab.
    flows.select_section(ui, 1)
    ui.press("push button", "Focus timer, not running")
    ui.press("push button", "Start focus")
    ui.wait_for(None, re.compile(r"^Focus, 00:\d\d remaining$"))
    ui.wait_until(lambda: FOCUS_TITLE.match(_window_title(ui) or ""), "the time left in the window title")
    ui.screenshot("focus-started")
    flows.select_section(ui, 3)
    ui.press(None, "By course")
    ui.wait_for(None, deck_line, timeout=60)
    assert FOCUS_TITLE.match(_window_title(ui) or ""), _window_title(ui)

    # Studied with the keyboard alone.
    start = ui.wait_for("push button", "Start studying")
    ui.focus(start)
    ui.key("Return")
    ui.wait_for(None, re.compile(r"Card 1 of \d+$"))
    ui.key("space")
    ui.screenshot("flipped")
    ui.key("space")
    _review_until_done(ui)
    ui.wait_for(None, re.compile("You've reviewed every card in this deck.$"))
    ui.screenshot("deck-done")
    # The interval ends with Cards shown: the title is the app's name again, as a break began.
    ui.wait_until(lambda: _window_title(ui) == "Orbelo", "the focus interval to end on the Cards tab",
                  timeout=90, follow_progress=False)
    ui.key("Return")

    # A deck from a flashcard site, pasted, previewed, and added to the course.
    ui.press("push button", "Load notecards")
    # Copied from the site and pasted, as a student would.
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=DECK, text=True, env=run.env.env,
                   check=True, timeout=10)
    paste_area = ui.wait_until(lambda: ui.text_field("Paste your deck"), "the paste area")
    ui.focus(paste_area)
    ui.key("ctrl+v")
    # Qt's bridge hands line breaks over as paragraph separators.
    ui.wait_until(lambda: ui.text(paste_area).replace("\u2029", "\n") == DECK, "the pasted deck")
    ui.press("push button", "Preview cards")
    ui.wait_for(None, "Mitochondrion: The organelle that makes ATP, the cell's energy currency", timeout=60)
    ui.wait_for(None, "Ribosome: Joins amino acids into a protein,\none codon at a time")
    ui.wait_for(None, "Lysosome: A sac of digestive enzymes, which breaks down worn-out parts")
    ui.screenshot("import-preview")
    ui.press("push button", "Add 3 cards")
    ui.wait_for(None, "Added 3 cards to your deck.", timeout=60)
    ui.wait_for(None, re.compile(r"· %d cards$" % (count + 3)), timeout=60)
    ui.screenshot("imported")

    # Back on the Study tab, kept on the full timer the interval was started from: the break that
    # began meanwhile, and the interval counted for today.
    flows.select_section(ui, 1)
    ui.wait_for(None, re.compile(r"^Short break, 0[0-4]:\d\d remaining$"))
    ui.wait_for(None, "1 completed today · 1/4 to a long break")
    ui.screenshot("focus-break")
    run.quit_app()
