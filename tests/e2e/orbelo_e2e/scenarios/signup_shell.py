"""A new student signs up, finds their way around the shell, signs out and back in."""

from .. import flows


def run(run):
    ui = run.ui
    email = run.new_email()
    password = "correct horse 42"

    flows.sign_up(ui, email, password)
    flows.land_after_sign_up(ui, flows.finish_onboarding, timeout=30)
    flows.section_heading(ui, "Study")
    ui.screenshot("shell-study")

    # Every "Go" section by its key, then one through the menu bar itself.
    for number, label in enumerate(flows.SECTIONS, start=1):
        if number == 1:
            continue
        flows.select_section(ui, number)
        ui.screenshot("section-%s" % label.lower().replace(" ", "-"))
    flows.select_section(ui, 1)
    flows.select_section_from_menu(ui, "Library")

    # The account menu names the account; signing out returns to the sign-in screen.
    flows.sign_out_from_account_menu(ui)
    ui.screenshot("signed-out")

    flows.sign_in(ui, email, password)
    flows.wait_for_shell(ui, timeout=30)
    account = ui.wait_for("push button", "Account: " + email)
    assert account is not None
    ui.screenshot("signed-in-again")

    run.quit_app()
