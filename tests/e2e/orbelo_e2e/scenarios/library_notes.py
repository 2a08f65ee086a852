"""A student uploads a lecture PDF, reads the notes made from it and listens to its narration.

The PDF goes in through the file dialog (Qt's own dialog, chosen from the keyboard): a drop needs
a drag source from another application, which xdotool cannot provide.
"""

import os
import re

from .. import flows
from ..fixtures import write_pdf

PDF = "Cell Biology Lecture 3.pdf"
TITLE = "Cell Biology Lecture 3"  # no title in the PDF: the server names it after the file
PAGES = [
    ["Cell Biology, Lecture 3: Membranes and Transport",
     "The cell membrane is a phospholipid bilayer that controls what enters and leaves the cell.",
     "Diffusion is the movement of particles from high concentration to low concentration.",
     "Osmosis is the diffusion of water across a selectively permeable membrane."],
    ["Active transport moves particles against their concentration gradient.",
     "Active transport needs energy in the form of ATP, made by the mitochondria.",
     "The sodium-potassium pump is an example of active transport in nerve cells."],
    ["Endocytosis brings large particles into the cell inside vesicles.",
     "Exocytosis releases materials from the cell when vesicles fuse with the membrane.",
     "Review: compare diffusion, osmosis and active transport before the quiz on Friday."],
]


def run(run):
    ui = run.ui
    documents = os.path.join(run.env.root, "home", "Documents")
    os.makedirs(documents, exist_ok=True)
    write_pdf(os.path.join(documents, PDF), PAGES)

    flows.new_student_in_library(run)

    flows.upload_through_dialog(ui, PDF, shots=False)
    ui.press(None, "No course")
    ui.wait_for(None, TITLE + " is ready.", timeout=90)
    ui.screenshot("ready")

    # A ready row opens the document's notes; none are made yet.
    ui.activate(ui.wait_for("list item", TITLE))
    ui.wait_for("push button", "Back to the library")
    ui.wait_for(None, "Large documents can take up to 30 seconds.")
    ui.press("push button", "Generate notes")
    for section in ("Summary", "Key concepts", "Key terms"):
        ui.wait_for("heading", section, timeout=60, showing=False)
    # The notes come from the PDF's own text.
    ui.wait_for(None, re.compile(r"(?i)osmosis|diffusion|active transport"), showing=False)
    ui.screenshot("notes")

    # The key terms walk as notecards in a sheet; Escape closes it.
    ui.press("push button", "Study as flashcards")
    ui.wait_for_any([("push button", "Next card"), ("push button", "Finish")])
    ui.screenshot("key-term-walk")
    ui.key("Escape")
    ui.wait_gone("push button", "Flip card")

    # Read-aloud of the notes turns the button into Stop, and Stop ends it.
    ui.press("push button", "Listen to these notes")
    ui.wait_for("push button", "Stop")
    ui.press("push button", "Stop")
    ui.wait_for("push button", "Listen to these notes")

    # The narration of the whole document, in the server's voice.
    ui.press(None, "Listen")
    ui.wait_for("heading", TITLE)
    ui.wait_for(None, re.compile(r"^Segment 1 of \d+$"), timeout=90)
    ui.wait_for("push button", "Pause")
    ui.screenshot("narration")
    ui.press("push button", re.compile(r"^Playback speed: "))
    ui.press("menu item", "1.5 times speed")
    ui.wait_for("push button", "Playback speed: 1.5 times speed")
    ui.press("push button", "Pause")
    ui.wait_for("push button", "Play")

    ui.press("push button", "Back to the notes")
    ui.press("push button", "Back to the library")
    ui.wait_for("heading", "Your documents (1)")
    run.quit_app()
