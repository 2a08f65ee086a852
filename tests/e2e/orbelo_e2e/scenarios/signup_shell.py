"""A new student signs up, finds their way around the shell, signs out and back in."""

from .. import flows


def run(run):
    ui = run.ui
    email = run.new_email()
    password = "correct horse 42"

    # Fields say what they are for, beyond their label.
    email_field = ui.wait_for("text", "Email")
    assert email_field.get_description() == "The email address of your Orbelo account", \
        email_field.get_description()

    flows.sign_up(ui, email, password)
    flows.land_after_sign_up(run, flows.finish_onboarding, timeout=60)
    ui.screenshot("shell")

    # Every "Go" section by its key, then one through the menu bar itself.
    for number, label in enumerate(flows.SECTIONS, start=1):
        flows.select_section(ui, number)
        ui.screenshot("section-%s" % label.lower().replace(" ", "-"))
    flows.select_section_from_menu(ui, "Library")

    # The account menu names the account; signing out returns to the sign-in screen.
    ui.wait_for("push button", "Account: " + email)
    flows.sign_out_from_account_menu(ui)
    ui.screenshot("signed-out")

    # A returning user goes straight to the shell.
    flows.sign_in(ui, email, password)
    flows.wait_for_shell(ui, timeout=60)
    flows.section_heading(ui, "Study")
    ui.wait_for("push button", "Account: " + email)
    assert ui.find("heading", flows.ONBOARDING_HEADING) is None, "onboarding shows only once"
    ui.screenshot("signed-in-again")

    run.quit_app()
