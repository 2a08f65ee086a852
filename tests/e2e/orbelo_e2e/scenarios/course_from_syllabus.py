"""A student photographs a syllabus and gets a course from it, types in a second course, sees the
weeks of both on the Study tab, subscribes to the study calendar and stops sharing it again."""

import os
import re
import ssl
import subprocess
import urllib.error
import urllib.request

import icalendar

from .. import flows

PHOTO = "syllabus page.png"


def _fetch(run, url):
    """GET as a calendar app would: no bearer token, the server's certificate trusted."""
    context = ssl.create_default_context(cafile=run.env.certificate)
    context.check_hostname = False
    with urllib.request.urlopen(url, context=context, timeout=30) as answer:
        return answer.status, answer.headers.get("Content-Type"), answer.read()


def _clipboard(run):
    return subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=run.env.env, capture_output=True,
                          text=True, timeout=10).stdout.strip()


def _press_in_view(ui, name):
    """The Study tab scrolls: a button further down is brought into view first, as Tab would."""
    flows.reveal(ui, "push button", name)
    ui.press("push button", name)


def run(run):
    ui = run.ui
    pictures = os.path.join(run.env.root, "home", "Pictures")
    os.makedirs(pictures, exist_ok=True)
    # A photograph of a printed syllabus page, turned a little, drawn from a known text.
    subprocess.run([os.environ["ORBELO_SYLLABUS_FIXTURE_TOOL"], os.path.join(pictures, PHOTO), "--rotate", "2"],
                   check=True, timeout=60)

    flows.new_student_in_library(run)

    ui.press("push button", "Add a syllabus or upload a document")
    ui.press("menu item", "Import syllabus image")
    ui.wait_for(None, "Pick up to 10 photos of your syllabus. "
                      "We read the text on your device, so the photos stay with you.")
    ui.screenshot("photo-sheet")
    ui.press("push button", "Choose photos…")
    entry = ui.wait_for("label", PHOTO).get_parent()
    ui.focus(entry)
    ui.key("Return")
    ui.wait_for(None, re.compile("^Photo 1: " + re.escape(PHOTO)))
    ui.press("push button", "Read photos")
    ui.wait_for(None, "Reading your pages…", timeout=30)
    ui.screenshot("reading-photo")
    created = ui.wait_for(None, re.compile("^Created your course “.+”\\. Find it in Study and Quiz\\.$"), timeout=120)
    course = re.search("“(.+)”", created.get_name()).group(1)
    ui.screenshot("course-created")

    # A second course, typed in by hand with its topics as the weeks.
    ui.press("push button", "Add a syllabus or upload a document")
    ui.press("menu item", "Add a course")
    ui.fill("Course title", "HIST 110 World History")
    ui.fill("Topics", "The French Revolution")
    ui.screenshot("course-form")
    ui.press("push button", "Create")
    ui.wait_for(None, "Created your course “HIST 110 World History”. Find it in Study and Quiz.", timeout=60)

    flows.select_section(ui, 1)
    ui.wait_for(None, re.compile("Week 1: Introduction to cells"), timeout=60)
    ui.wait_for(None, re.compile("Week 1: The French Revolution"), showing=False)
    ui.screenshot("study-schedule")

    # No calendar app here handles webcal: the section says so and the link is copied instead.
    _press_in_view(ui, "Add to Calendar")
    ui.wait_for(None, re.compile("No calendar app"), timeout=30)
    _press_in_view(ui, "Copy link")
    ui.wait_for(None, "Copied — treat it like a password")
    link = _clipboard(run)
    assert re.match(r"^https://[^/]+/calendar/[A-Za-z0-9_-]{20,}\.ics$", link), link
    ui.screenshot("calendar-link")

    status, content_type, body = _fetch(run, link)
    assert status == 200 and content_type.startswith("text/calendar"), (status, content_type)
    calendar = icalendar.Calendar.from_ical(body)
    events = [c for c in calendar.walk("VEVENT")]
    assert events, "the feed has no events"
    summaries = [str(e.get("SUMMARY")) for e in events]
    assert any(s.startswith("Week 1: Introduction to cells") for s in summaries), summaries[:5]
    assert all(e.get("UID") for e in events), "an event without a UID"
    assert len({str(e.get("UID")) for e in events}) == len(events), "UIDs repeat"
    assert course, course

    # Stopping asks first; Escape sends nothing and the link keeps working.
    _press_in_view(ui, "Stop sharing")
    ui.wait_for(None, "Stop sharing your calendar?")
    ui.key("Escape")
    ui.wait_gone(None, "Stop sharing your calendar?")
    assert _fetch(run, link)[0] == 200
    _press_in_view(ui, "Stop sharing")
    dialog = ui.wait_for("dialog", "Stop sharing your calendar?")
    ui.screenshot("stop-sharing")
    ui.press("push button", "Stop sharing", within=dialog)
    ui.wait_gone(None, "Stop sharing your calendar?")

    def revoked():
        try:
            _fetch(run, link)
            return False
        except urllib.error.HTTPError as error:
            return error.code == 404
    ui.wait_until(revoked, "the revoked feed to answer 404")
    ui.screenshot("stopped")
    run.quit_app()
