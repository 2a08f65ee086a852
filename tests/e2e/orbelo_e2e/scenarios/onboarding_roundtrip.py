"""A new student answers the onboarding questions: the answers reach their profile on the server,
the Library opens, and the questions never come back, not even after a restart on a machine that
has forgotten they were answered; there the interests editor offered once shows the chosen ones."""

import json
import os
import sqlite3

from .. import flows
from ..waiting import Timeout

PROFILE_REQUEST = "method=GET path=/api/user/profile status="


def choose_below(ui, label):
    """Picks an answer further down the list than the screen shows: focusing it scrolls it in."""
    element = ui.wait_for(flows.CHOICE_ROLES, label, showing=False)
    ui.focus(element)
    ui.wait_until(lambda: ui.has_state(element, "showing"), "%r to scroll into sight" % label)
    ui.key("space")


def answer_questions(ui):
    choose_below(ui, "Basketball")
    choose_below(ui, "Cooking")
    ui.press("push button", "Continue")

    ui.wait_for("heading", "Where are you studying?")
    ui.screenshot("level")
    flows.choose(ui, "High school")  # moves on by itself

    ui.wait_for("heading", "What are you working toward?")
    ui.wait_for("label", "Pick at least one")
    # Goals need a choice: "Continue" does nothing yet (Qt 6.4 does not report it as disabled).
    ui.activate(ui.find("push button", "Continue"))
    ui.wait_for("heading", "What are you working toward?")
    flows.choose(ui, "Passing a specific exam")
    flows.choose(ui, "Earning a certification")
    ui.wait_for("label", "Pick as many as you like")
    ui.screenshot("goals")
    ui.press("push button", "Continue")

    ui.wait_for("heading", "How much time each week?")
    flows.choose(ui, "15 hours or more")
    ui.wait_for("heading", "How do you learn best?")
    flows.choose(ui, "Hearing it explained")

    ui.wait_for("heading", "You're set.")
    ui.wait_for("heading", "Osmosis, explained through Basketball")
    ui.wait_for("label", "Level: High school")
    ui.screenshot("ready")
    ui.key("Escape")  # does not close the questions
    ui.wait_for("heading", "You're set.")
    ui.press("push button", "Start studying")
    ui.wait_gone("heading", "You're set.")


def stored_profile(run):
    """The one profile in the server's database."""
    db = sqlite3.connect(os.path.join(run.env.root, "server", "orbelo.sqlite"))
    try:
        rows = db.execute("SELECT profile FROM profiles").fetchall()
    finally:
        db.close()
    assert len(rows) == 1, rows
    return json.loads(rows[0][0])


def run(run):
    ui = run.ui
    flows.sign_up(ui, run.new_email(), "osmosis in the kitchen 7", shots=False)
    assert flows.land_after_sign_up(run, answer_questions, timeout=60), "a new student gets the questions"
    flows.section_heading(ui, "Library")  # where a new student adds their material
    ui.screenshot("library")

    profile = stored_profile(run)
    interests = {item for entry in profile["interests"] for item in entry["items"]}
    assert interests == {"Basketball", "Cooking"}, profile
    assert profile["school_level"] == "High school", profile
    assert sorted(profile["academic_goals"]) == ["Pass exams", "Prepare for certification"], profile
    assert profile["study_time_per_week"] == 20, profile
    assert profile["learning_style"] == "auditory", profile
    assert profile["has_completed_onboarding"] is True, profile

    # Without this machine's preferences the profile alone decides: the questions stay answered.
    run.quit_app()
    os.remove(os.path.join(run.env.env["XDG_CONFIG_HOME"], "com.orbelo.desktop.conf"))
    requests_before = run.env.log_text("server").count(PROFILE_REQUEST)
    ui = flows.relaunch(run)
    flows.wait_for_shell(ui, timeout=60)
    ui.wait_until(lambda: run.env.log_text("server").count(PROFILE_REQUEST) > requests_before,
                  "the onboarding decision's profile request")
    try:
        ui.wait_for("heading", flows.ONBOARDING_HEADING, timeout=3)
    except Timeout:
        pass
    else:
        raise AssertionError("the questions came back after they were answered")
    # Nothing stored here either, so the interests editor offered once starts from the profile's.
    ui.wait_for("heading", "Interests")
    ui.wait_until(lambda: all(ui.has_state(ui.find("check box", name, showing=False), "checked")
                              for name in ("Basketball", "Cooking")),
                  "the profile's interests ticked")
    ui.screenshot("interests-from-profile")
    ui.press("push button", "Skip")
    ui.wait_gone("heading", "Interests")
    flows.section_heading(ui, "Study")
    ui.screenshot("restarted")
    run.quit_app()
