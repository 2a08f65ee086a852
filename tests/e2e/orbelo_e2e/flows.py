"""Steps that many scenarios share: getting an account, getting into the shell, leaving it."""

import re

from .ui import UI
from .waiting import Timeout

# The fixed code that the local server accepts for addresses at example.com.
TEST_CODE = "424242"
ONBOARDING_HEADING = "What are you into?"
SECTIONS = ("Study", "For You", "Cards", "Quiz", "Library", "Rewards", "Notifications")


def sign_up(ui, email, password, shots=True):
    """From the sign-in screen: create the account and confirm it with the test code."""
    ui.wait_for("heading", "Welcome back")
    if shots:
        ui.screenshot("sign-in")
    ui.press("push button", "Create an account")
    ui.wait_for("heading", "Create your account")
    ui.fill("Email", email)
    ui.fill("Password", password)
    if shots:
        ui.screenshot("sign-up")
    ui.press("push button", "Create account")
    ui.wait_for("heading", "Check your email")
    ui.wait_for("text", "6-digit code")
    ui.fill("6-digit code", TEST_CODE)
    if shots:
        ui.screenshot("code-entry")
    ui.press("push button", "Verify")


def sign_in(ui, email, password, shots=True):
    """From the sign-in screen: email and password."""
    ui.wait_for("heading", "Welcome back")
    ui.fill("Email", email)
    ui.fill("Password", password)
    if shots:
        ui.screenshot("sign-in-filled")
    ui.key("Return")  # Enter in the password field submits


def wait_for_shell(ui, timeout=None):
    """Waits for the shell: the sidebar "Orbelo" with its sections and a section heading."""
    sidebar = ui.wait_for("list", "Orbelo", timeout=timeout)
    ui.wait_for("list item", "Study", within=sidebar)
    return sidebar


def land_after_sign_up(run, finish_onboarding, timeout=None):
    """After verifying a new account: through the onboarding cover when it shows, into the shell.

    The shell may show before the cover, which follows once the profile request answers that
    onboarding is not done: then this waits for that request in the server's log, and for the
    cover a moment longer. `finish_onboarding(ui)` walks the cover to its end. Returns whether it showed.
    """
    ui = run.ui
    index, _ = ui.wait_for_any([("heading", ONBOARDING_HEADING), ("list", "Orbelo")], timeout=timeout)
    if index == 1:
        ui.wait_until(lambda: "method=GET path=/api/user/profile status=" in run.env.log_text("server"),
                      "the onboarding decision's profile request")
        try:
            ui.wait_for("heading", ONBOARDING_HEADING, timeout=3)
        except Timeout:
            return False
    ui.screenshot("onboarding")
    finish_onboarding(ui)
    wait_for_shell(ui)
    return True


def section_heading(ui, label, timeout=None):
    """The detail column's heading once it reads `label`."""
    return ui.wait_for("heading", label, timeout=timeout)


def select_section(ui, number):
    """Go menu key Ctrl+number; waits for the section's heading and its selected sidebar row."""
    label = SECTIONS[number - 1]
    ui.key("ctrl+%d" % number)
    section_heading(ui, label)
    ui.wait_until(lambda: _selected_row(ui) == label, "sidebar row %r to be selected" % label)


def select_section_from_menu(ui, label):
    """Opens the menu bar's "Go" menu through its accessible actions and picks `label`."""
    ui.press(("menu bar", "menu item", "menu"), "Go")
    ui.press("menu item", label)
    section_heading(ui, label)


def open_account_menu(ui):
    ui.press("push button", re.compile(r"^Account: "))
    return ui.wait_for("menu item", "Sign out")


def sign_out_from_account_menu(ui):
    open_account_menu(ui)
    ui.screenshot("account-menu")
    ui.press("menu item", "Sign out")
    ui.wait_for("heading", "Welcome back")


def _selected_row(ui):
    sidebar = ui.find("list", "Orbelo")
    for row in ui.find_all("list item", within=sidebar):
        if ui.has_state(row, "selected"):
            return row.get_name()
    return None


# Answers are check boxes (several allowed) or radio buttons (one); a control whose role Qt
# reset to its own reads as a push button.
CHOICE_ROLES = ("check box", "radio button", "push button")


def choose(ui, label):
    """Picks the answer called `label`."""
    ui.choose(CHOICE_ROLES, label)


def finish_onboarding(ui):
    """Answers the onboarding questions and ends it with "Start studying"."""
    choose(ui, "The Office")
    ui.press("push button", "Continue")
    ui.wait_for("heading", "Where are you studying?")
    choose(ui, "Undergraduate")
    ui.wait_for("heading", "What are you working toward?")
    choose(ui, "Actually remembering it")
    ui.press("push button", "Continue")
    ui.wait_for("heading", "How much time each week?")
    choose(ui, "3 to 8 hours")
    ui.wait_for("heading", "How do you learn best?")
    choose(ui, "Practising until it sticks")
    ui.wait_for("heading", "You're set.")
    ui.screenshot("onboarding-ready")
    ui.press("push button", "Start studying")
    ui.wait_gone("heading", "You're set.")


def relaunch(run):
    """Starts the app again in the same session (keyring, preferences, server)."""
    process = run.env.launch_app()
    run.ui = UI(process, run.ui.screenshot_dir, run.env.display, progress=run.ui.progress)
    run.env.activate_app_window()
    return run.ui


def upload_through_dialog(ui, filename, shots=True):
    """From the Library: Add → "Upload reading or notes", `filename` chosen in the file dialog (it
    opens on ~/Documents), then the destination sheet up. Returns the sheet's "No course" choice."""
    ui.press("push button", "Add a syllabus or upload a document")
    ui.press("menu item", "Upload reading or notes")
    entry = ui.wait_for("label", filename).get_parent()
    if shots:
        ui.screenshot("file-dialog")
    # Qt's own file dialog ignores the Press action: the file is chosen from the keyboard.
    ui.focus(entry)
    ui.key("Return")
    ui.wait_for("heading", "Where does this go?")
    return ui.wait_for(None, "No course")


def reveal(ui, role, name):
    """Brings a control scrolled out of sight into view as a keyboard user would, by giving it
    the focus; the control, now showing."""
    element = ui.wait_for(role, name, showing=False)
    ui.focus(element)
    ui.wait_until(lambda: ui.has_state(element, "showing"), "%s %r to scroll into view" % (role, name))
    return element


def new_student_in_library(run, email=None):
    """A new account (at `email`, or a fresh address) through onboarding to its empty Library; the
    address."""
    email = email or run.new_email()
    sign_up(run.ui, email, "correct horse 42", shots=False)
    land_after_sign_up(run, finish_onboarding, timeout=30)
    select_section(run.ui, 5)
    run.ui.wait_for("heading", "Your documents (0)")
    return email


def add_course(ui, course):
    """From the Library: a course typed in by its title."""
    ui.press("push button", "Add a syllabus or upload a document")
    ui.press("menu item", "Add a course")
    ui.fill("Course title", course)
    ui.press("push button", "Create")
    ui.wait_for(None, "Created your course “%s”. Find it in Study and Quiz." % course, timeout=60)


def course_with_notes(ui, course, filename, title):
    """From the Library: a course typed in, then `filename` (in ~/Documents) uploaded into it and
    processed; the server titles the document `title`."""
    add_course(ui, course)
    upload_through_dialog(ui, filename, shots=False)
    ui.press(None, "Add to " + course)
    ui.wait_for(None, title + " is ready.", timeout=90)


def take_practice_test(ui, questions, choose=lambda question, options: 0, interlude=None):
    """From the Quiz tab's set-up: a multiple-choice test of `questions` (down from the default ten)
    taken with the keyboard alone; `choose(question, options)` picks each answer's index (None: the
    first). `interlude`, when given, is (n, step): step() runs once question n is answered, and the
    test goes on from the next question. Answers how many answers `choose` picked, and the score
    line's element."""
    count = ui.wait_for(None, "Questions: 10")
    ui.focus(count)
    for _ in range(10 - questions):
        ui.key("Down")
    ui.wait_for(None, "Questions: %d" % questions)
    ui.screenshot("setup")
    ui.press("push button", "Start Practice Test")
    picked = 0
    for number in range(1, questions + 1):
        ui.wait_for("heading", "Question %d of %d" % (number, questions))
        ui.wait_for("radio button")
        options = [option.get_name() for option in ui.find_all("radio button")]
        question = next(element.get_name() for element in ui.find_all("label")
                        if element.get_name().endswith("?"))
        choice = choose(question, options)
        picked += choice is not None
        ui.key(str((choice or 0) + 1))  # 1–4 choose an option
        if number == 1:
            ui.screenshot("question")
        ui.key("ctrl+Return" if number == questions else "Return")
        if interlude and interlude[0] == number:
            interlude[1]()
    score = ui.wait_for(None, re.compile(r"^(\d+) out of %d correct$" % questions), timeout=30)
    return picked, score
