"""A student's quiz results reach the desktop through Orbelo's push stream: shown while the window
is open, and again for a result that comes in after the window is closed. A click on the second
opens Orbelo on the Quiz tab set up for that result's course; the inbox shows what is still unread,
and "Mark all read" clears it; the first course's result opened from there sets the kept Quiz tab
up for its course."""

import re

from .. import flows
from ..fixtures import MEMBRANES_LECTURE as LECTURE
from ..ui import UI
from ..waiting import wait_until

COURSE = "BIOL 201 Cell Biology"
OTHER_COURSE = "HIST 110 World History"
NOTES = "Membrane transport.txt"
TITLE = "Membrane transport"
QUESTIONS = 3
# The keyboard answers faster than a student reads; the quiz still earns.
SERVER_ARGS = ["--quiz-pace", "0"]
UNREAD = re.compile(r"^Unread\. ")


def _shown(run, title_start):
    """The Notify calls (oldest first) whose summary begins with `title_start`, with their ids."""
    return [(number, call) for number, call in enumerate(run.env.notify_calls(), start=1)
            if call[3].startswith(title_start)]


def _complete_quiz_while_closed(run, email, course):
    """The student's session finishes a quiz for `course`, as a quiz on another device would."""
    session = run.control("/__control/session-token", {"email": email})
    courses = run.api("GET", "/api/bootstrap", session["token"])["courses"]
    course_id = next(c["course_id"] for c in courses if c.get("course_name") == course)
    quiz = run.control("/__control/quiz", {"email": email, "num_questions": 4, "difficulty": "medium",
                                           "course_id": course_id})
    run.api("POST", "/api/gamification/quiz/complete", session["token"], {
        "user_id": session["user_id"], "quiz_id": quiz["quiz_id"], "answers": quiz["answers"],
        "quiz_score": 100, "quiz_difficulty": "medium", "total_questions": 4, "questions_correct": 4,
        "course_id": course_id, "attempt_id": "after-closing"})


def run(run):
    ui = run.ui
    # The agent is installed from the start: signing up registers this device for pushes.
    run.env.register_notifier(clock_offset_seconds=0)
    run.put_in_documents(NOTES, LECTURE)

    email = flows.new_student_in_library(run)
    flows.course_with_notes(ui, COURSE, NOTES, TITLE)
    # The finished notes come through the stream too.
    wait_until(lambda: _shown(run, "Your notes are ready"), 60, "the notes-ready notification pushed")
    flows.add_course(ui, OTHER_COURSE)

    # The quiz set-up starts on the first course; its quota line is that course's.
    flows.select_section(ui, 4)
    ui.wait_for("combo box", "Course")
    ui.wait_for(None, "10 of 10 generations left today", timeout=30)
    flows.take_practice_test(ui, QUESTIONS)
    first = wait_until(lambda: _shown(run, "Quiz results: " + COURSE), 60, "the quiz results pushed")
    assert first[0][1][4].startswith("You scored "), first
    run.quit_app()

    # With the window closed, a result for the other course arrives and is shown by the agent.
    _complete_quiz_while_closed(run, email, OTHER_COURSE)
    second = wait_until(lambda: _shown(run, "Quiz results: " + OTHER_COURSE), 60,
                        "the second quiz result pushed with the window closed")
    number, call = second[0]
    assert call[4] == "You scored 100%% (4 of 4) on a medium quiz in %s." % OTHER_COURSE, call
    assert len(_shown(run, "Quiz results: ")) == 2, "a notification shown twice"
    run.env.click_notification(number)

    opened = run.env.adopt_opened_app()
    run.ui = ui = UI(opened, ui.screenshot_dir, run.env.display)
    run.env.activate_app_window()
    flows.section_heading(ui, "Quiz", timeout=60)
    ui.wait_until(lambda: ui.has_state(ui.find("list item", "Quiz"), "selected"), "the Quiz tab selected")
    ui.wait_gone("panel", "Orbelo")
    # Set up for the other course: not the first course, whose one quiz today shows in its quota.
    ui.wait_for("combo box", "Course")
    ui.wait_for(None, "10 of 10 generations left today", timeout=30)
    assert not ui.find_all(None, "9 of 10 generations left today"), "set up for the first course"
    ui.screenshot("opened-on-quiz-for-course")

    # The inbox: the clicked result is read, the earlier ones are not, until "Mark all read".
    flows.select_section(ui, 7)
    ui.wait_for("list item", re.compile(r"^Unread\. Quiz results: " + re.escape(COURSE)))
    ui.wait_for("list item", re.compile(r"^Quiz results: " + re.escape(OTHER_COURSE)))
    ui.screenshot("inbox-unread")
    ui.press("push button", "Mark all read")
    ui.wait_gone("list item", UNREAD)
    ui.screenshot("inbox-read")

    # The first course's result, opened from the inbox while the kept Quiz tab is set up for the
    # other course: the tab comes back on the first course, whose quota shows its one quiz.
    ui.activate(ui.wait_for("list item", re.compile(r"^Quiz results: " + re.escape(COURSE))))
    flows.section_heading(ui, "Quiz")
    ui.wait_for(None, "9 of 10 generations left today", timeout=30)
    ui.screenshot("inbox-opened-quiz-course")
    run.quit_app()
