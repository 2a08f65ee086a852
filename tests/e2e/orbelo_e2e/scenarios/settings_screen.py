"""A student tunes their settings: interests, school, directory visibility; deletion asks first. Once
they have bought the Night Owl theme, its reward card leads to Settings, where the app turns dark
blue."""

import re
import subprocess
import urllib.parse

from .. import flows

SWITCH_ROLES = ("check box", "toggle button", "push button")


def run(run):
    ui = run.ui
    email = run.new_email()
    flows.sign_up(ui, email, "correct horse 42", shots=False)
    flows.land_after_sign_up(run, flows.finish_onboarding, timeout=30)

    ui.press("list item", "Settings")
    flows.section_heading(ui, "Settings")
    ui.wait_for(None, "Account")
    ui.wait_for(None, "Danger Zone", showing=False)
    ui.screenshot("settings")

    # View → Refresh (Ctrl+R) reloads the screen in view, though the focus is on the sidebar.
    ui.wait_until(lambda: directory_reads(run) >= 1, "the directory setting read on open")
    reads = directory_reads(run)
    ui.key("ctrl+r")
    ui.wait_until(lambda: directory_reads(run) > reads, "the directory setting read again on Ctrl+R")

    # The interests editor: one chip per name, shared across categories.
    ui.press("push button", "Interests")
    ui.wait_for("heading", "Interests")
    ui.press("check box", "Friends")
    # Further chips are below the fold: pressed where they are.
    ui.activate(ui.find("check box", "Formula 1", showing=False))
    ui.wait_until(lambda: all(ui.has_state(chip, "checked")
                              for chip in ui.find_all("check box", "Formula 1", showing=False)),
                  "both Formula 1 chips checked")
    ui.activate(ui.find("check box", "Cooking", showing=False))
    # Focus brings the field below the chips into view.
    ui.focus(ui.find("text", "Background", showing=False))
    ui.fill("Background", "Second-year nursing student")
    ui.screenshot("interests-editor")
    ui.press("push button", "Save")
    ui.wait_gone("heading", "Interests")

    # The school picker searches as the student types and stores the choice.
    ui.fill("Find your school", "texas")
    ui.wait_for("push button", re.compile(r"^Texas A & M University"))
    ui.screenshot("school-search")
    ui.press("push button", re.compile(r"^Texas A & M University"))
    ui.wait_for(None, re.compile(r"^University: Texas A & M University"))
    ui.press(SWITCH_ROLES, "Show me in my school's directory")
    ui.wait_until(lambda: ui.has_state(ui.find(SWITCH_ROLES, "Show me in my school's directory"), "checked"),
                  "the directory switch on")
    ui.screenshot("settings-school")

    ui.focus(ui.find("push button", "Delete Account", showing=False))
    ui.press("push button", "Delete Account")
    ui.wait_for("heading", "Delete Account?")
    ui.screenshot("delete-confirmation")
    ui.press("push button", "Cancel")
    ui.wait_gone("heading", "Delete Account?")

    # The same screen as the account menu's sheet.
    flows.open_account_menu(ui)
    ui.press("menu item", "Settings")
    ui.wait_for("push button", "Done")
    ui.screenshot("settings-sheet")
    ui.key("Escape")
    ui.wait_gone("push button", "Done")

    # Night Owl: not offered until owned; bought, its card opens Settings, where choosing it turns
    # the window dark blue.
    assert ui.find("check box", "Night Owl", showing=False) is None
    light = average_colour(ui.screenshot("appearance-system"))
    buy_night_owl(run, email)
    flows.select_section(ui, 6)
    ui.choose("check box", "My Rewards")
    ui.wait_for("heading", "Night Owl Theme")
    ui.wait_for(None, "Choose Night Owl under Appearance in Settings to wear it.")
    ui.press("push button", "Open Settings")
    ui.wait_for("push button", "Done")
    # The kept Settings section holds a hidden "Night Owl" too; the sheet's is the one showing.
    ui.focus(ui.wait_for("check box", "Night Owl"))
    ui.press("check box", "Night Owl")
    ui.wait_until(lambda: ui.has_state(ui.find("check box", "Night Owl"), "checked"), "Night Owl chosen")
    dark = average_colour(ui.screenshot("night-owl"))
    assert sum(light) > 3 * 180 and sum(dark) < 3 * 90, (light, dark)
    assert dark[2] > dark[0] and dark[2] > dark[1], "the dark look is blue: %r" % (dark,)
    ui.key("Escape")
    ui.wait_gone("push button", "Done")

    run.quit_app()


def average_colour(path):
    """The mean colour, as (red, green, blue) from 0 to 255, of the middle of the window (at the
    screen's top left) in a screenshot."""
    text = subprocess.run(["convert", path, "-crop", "1000x600+100+100", "+repage", "-resize", "1x1!", "-depth", "8", "txt:-"], check=True,
                          capture_output=True, text=True, timeout=30).stdout
    match = re.search(r"\((\d+),(\d+),(\d+)", text.splitlines()[-1])
    assert match, text
    return tuple(int(value) for value in match.groups())


def buy_night_owl(run, email):
    """Two perfect quizzes lift the student to level 2; credits buy the theme."""
    session = run.control("/__control/session-token", {"email": email})
    for attempt in range(2):
        quiz = run.control("/__control/quiz", {"email": email, "num_questions": 5, "difficulty": "medium",
                                               "course_id": "practice"})
        run.api("POST", "/api/gamification/quiz/complete", session["token"], {
            "user_id": session["user_id"], "quiz_id": quiz["quiz_id"], "answers": quiz["answers"],
            "quiz_score": 100, "quiz_difficulty": "medium", "total_questions": 5, "questions_correct": 5,
            "attempt_id": "night-owl-%d" % attempt})
    progress = run.control("/__control/progress?email=" + urllib.parse.quote(email))
    assert progress["current_level"] >= 2, progress
    run.control("/__control/credits", {"email": email, "amount": 100})
    bought = run.api("POST", "/api/gamification/rewards/purchase", session["token"],
                     {"user_id": session["user_id"], "reward_id": "night_owl_theme"})
    assert bought["success"], bought


def directory_reads(run):
    """How often the server was asked for the directory setting."""
    return run.env.log_text("server").count("method=GET path=/api/network/discoverability ")
