"""A student uploads lecture notes through the Library's picker, waits for them, and deletes them."""

import re

from .. import flows

NOTES = "Cell biology notes.txt"
TITLE = "Cell biology notes"  # the server titles a document after its file name


def run(run):
    ui = run.ui
    run.put_in_documents(NOTES, "Mitosis has four phases: prophase, metaphase, anaphase and telophase.\n" * 40)

    flows.new_student_in_library(run)
    ui.screenshot("library-empty")

    no_course = flows.upload_through_dialog(ui, NOTES)
    assert no_course.get_description() == "We'll check it for a syllabus and set up a course if it is one.", \
        no_course.get_description()
    ui.screenshot("destination")
    ui.press(None, "No course")
    ui.wait_gone("heading", "Where does this go?")

    ui.wait_for(None, "Uploaded " + NOTES, timeout=60)
    ui.wait_for("list item", re.compile("^" + re.escape(NOTES) + ", Processing"))
    ui.screenshot("uploaded")
    ui.wait_for(None, TITLE + " is ready.", timeout=60)
    ui.screenshot("ready")
    # The toolbar's Refresh loads the list again, as View → Refresh (Ctrl+R) does.
    ui.press("push button", "Refresh")
    ui.wait_for("heading", "Your documents (1)")

    # The search narrows the list and the header says so; the course filter offers its choices.
    ui.fill("Search your documents", "mitochondria")
    ui.wait_for("heading", "Your documents (0 of 1)")
    ui.fill("Search your documents", "cell")
    ui.wait_for("heading", "Your documents (1)")
    ui.press("push button", "Filter by course")
    ui.wait_for("menu item", "All courses")
    ui.press("menu item", "No course")
    ui.wait_until(lambda: ui.find("push button", "Filter by course").get_description()
                  == "Showing part of your documents", "the course filter on")
    ui.screenshot("filtered")

    # Delete on the focused row removes the document.
    row = ui.wait_for("list item", TITLE)
    assert row.get_description() == "Opens notes for this document. Press Delete to remove it.", \
        row.get_description()
    ui.focus(row)
    ui.key("Delete")
    ui.wait_for("heading", "Your documents (0)")
    ui.screenshot("deleted")
    run.quit_app()
