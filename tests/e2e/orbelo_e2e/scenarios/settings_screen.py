"""A student tunes their settings: interests, school, directory visibility; deletion asks first."""

import re

from .. import flows

SWITCH_ROLES = ("check box", "toggle button", "push button")


def run(run):
    ui = run.ui
    flows.sign_up(ui, run.new_email(), "correct horse 42", shots=False)
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

    run.quit_app()


def directory_reads(run):
    """How often the server was asked for the directory setting."""
    return run.env.log_text("server").count("method=GET path=/api/network/discoverability ")
