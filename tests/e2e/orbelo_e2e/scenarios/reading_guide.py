"""A student puts lecture notes into a course, opens the document's reading guide, has one written,
switches to another style and writes that one, writes it again, and studies its vocabulary as
flashcards."""

import re

from .. import flows
from ..fixtures import MEMBRANES_LECTURE as LECTURE

COURSE = "BIOL 201 Cell Biology"
NOTES = "Membrane transport.txt"
TITLE = "Membrane transport"  # the server titles a document after its file name


def run(run):
    ui = run.ui
    run.put_in_documents(NOTES, LECTURE)

    flows.new_student_in_library(run)
    flows.course_with_notes(ui, COURSE, NOTES, TITLE)

    # The document's reading guide: none yet in the first style.
    ui.activate(ui.wait_for("list item", TITLE))
    ui.press("push button", "Reading guide")
    guide = ui.wait_for("dialog", "Reading guide")
    ui.wait_for(None, "Reading guide · " + TITLE, within=guide)
    ui.wait_for("push button", "Generate reading guide", within=guide, timeout=60)
    ui.screenshot("no-guide")
    ui.press("push button", "Generate reading guide", within=guide)
    for section in ("Before you read", "Cornell notes", "Key concepts", "Vocabulary", "Check your understanding",
                    "After you read"):
        ui.wait_for("heading", section, within=guide, timeout=60, showing=False)
    # The vocabulary is the lecture's own: a term with its definition from the notes.
    ui.wait_for(None, re.compile(r"(?i)^(osmosis|diffusion|plasma membrane|channel protein|active transport): "),
                within=guide, showing=False)
    ui.wait_for(None, re.compile(r"^Estimated reading time \d+ min$"), within=guide)
    ui.screenshot("comprehensive-guide")

    # Another style: nothing of the first one shows until its own guide is written.
    style = ui.wait_for("combo box", "Guided reading template", within=guide)
    ui.focus(style)
    ui.key("Down")
    ui.wait_until(lambda: style.get_description() == "Reading guide style: Quick review", "the quick review style")
    ui.wait_gone("heading", "Check your understanding")
    ui.press("push button", "Generate reading guide", within=guide, timeout=60)
    ui.wait_for("heading", "Cornell notes", within=guide, timeout=60, showing=False)
    ui.press("push button", "Regenerate guide", within=guide, timeout=60)
    ui.wait_for("push button", "Regenerate guide", within=guide, timeout=60)
    ui.screenshot("quick-review-guide")

    # Its vocabulary as flashcards.
    study = ui.wait_for("push button", "Study as flashcards", within=guide, showing=False)
    ui.focus(study)  # scrolls the vocabulary into view
    ui.wait_until(lambda: ui.has_state(study, "showing"), "the vocabulary in view")
    ui.screenshot("vocabulary")
    ui.activate(study)
    walk = ui.wait_for("dialog", "Study as flashcards")
    ui.wait_for(None, re.compile(r"^Term: "), within=walk)
    ui.wait_for_any([("push button", "Next card"), ("push button", "Finish")])
    ui.screenshot("vocabulary-walk")
    ui.key("Escape")
    ui.wait_gone("dialog", "Study as flashcards")
    # Escape closes the guide too, back to the document.
    ui.key("Escape")
    ui.wait_gone("dialog", "Reading guide")
    ui.wait_for("push button", "Back to the library")
    run.quit_app()
