"""A student asks for a daily study reminder, closes Orbelo, and a click on the reminder when it
comes opens Orbelo on the Quiz tab. Before the notification agent is installed, scheduling fails
with a line that says so, and the app carries on.

The agent's clock runs ahead, so that the chosen time of day comes within seconds of the reminder
being scheduled: no real minutes pass.
"""

import re
import time

from .. import flows
from ..ui import UI
from ..waiting import wait_until

SWITCH_ROLES = ("check box", "toggle button", "push button")
REMINDER_BODY = "Take a quick quiz from your library."
# How long after the agent's registration its clock reaches the reminder: the time for the app to
# schedule it, with room for a slow (sanitized) build.
LEAD_SECONDS = 15
NO_AGENT = re.compile(r"^Could not schedule reminders: Orbelo's notification service \(orbelo-notifier\) "
                      r"is not available: ")


def run(run):
    ui = run.ui
    flows.sign_up(ui, run.new_email(), "correct horse 42", shots=False)
    flows.land_after_sign_up(run, flows.finish_onboarding, timeout=30)
    ui.press("list item", "Settings")
    flows.section_heading(ui, "Settings")
    ui.wait_for(SWITCH_ROLES, "Daily reminders", showing=False)

    # A time of day ten minutes from now, chosen while no agent is installed.
    reminder = (int(time.time()) // 60 + 10) * 60
    local = time.localtime(reminder)
    identifier = "study-reminder-%02d-%02d" % (local.tm_hour, local.tm_min)
    ui.focus(ui.find(SWITCH_ROLES, "Daily reminders", showing=False))
    ui.press(SWITCH_ROLES, "Daily reminders")
    # A new account's one time is 09:00.
    set_spin_box(ui, "Time 1 hour", 9, local.tm_hour, 24)
    set_spin_box(ui, "Time 1 minute", 0, local.tm_min, 60)
    ui.wait_for("alert", NO_AGENT, showing=False)
    ui.screenshot("study-reminders-without-agent")

    # The agent installed, with its clock set to reach the time LEAD_SECONDS from now: the switch
    # off and on again schedules the reminder.
    run.env.register_notifier(clock_offset_seconds=int(reminder - time.time()) - LEAD_SECONDS)
    ui.press(SWITCH_ROLES, "Daily reminders")
    ui.press(SWITCH_ROLES, "Daily reminders")
    ui.wait_until(lambda: pending_ids(run) == [identifier], "the agent to hold only %s" % identifier)
    ui.wait_gone("alert", NO_AGENT)
    ui.screenshot("study-reminders")
    run.quit_app()

    # With the app closed: the agent shows the reminder on its own.
    calls = wait_until(lambda: [c for c in run.env.notify_calls() if c[4] == REMINDER_BODY], LEAD_SECONDS * 2,
                       "the reminder shown by the notification server")
    app_name, _, icon, title = calls[0][:4]
    assert (app_name, icon, title) == ("Orbelo", "com.orbelo.desktop", "Time to study"), calls[0]
    assert calls[0][5] == ["default", "Open"], calls[0]
    # The server numbers notifications from 1 in the order it takes them.
    run.env.click_notification(run.env.notify_calls().index(calls[0]) + 1)

    opened = run.env.adopt_opened_app()
    run.ui = ui = UI(opened, ui.screenshot_dir, run.env.display)
    run.env.activate_app_window()
    flows.section_heading(ui, "Quiz", timeout=60)
    ui.wait_until(lambda: ui.has_state(ui.find("list item", "Quiz"), "selected"), "the Quiz tab selected")
    ui.wait_gone("panel", "Orbelo")  # the splash, over the shell for its minimum time
    ui.screenshot("opened-on-quiz")
    run.quit_app()


def set_spin_box(ui, name, start, value, span):
    """Steps the spin box called `name` from `start` to `value` with the arrow keys, the short way
    round its `span` values. (Qt 6.4 publishes no value for the spin box: what it ends at shows in
    what the agent keeps.)"""
    ui.focus(ui.wait_for("spin button", name, showing=False))
    steps = (value - start) % span
    key, count = ("Up", steps) if steps <= span // 2 else ("Down", span - steps)
    for _ in range(count):
        ui.key(key)


def pending_ids(run):
    """The ids of the agent's pending requests, as it lists them."""
    pending = run.env.bus_call("com.orbelo.desktop.Notifier", "/com/orbelo/desktop/Notifier",
                               "com.orbelo.desktop.Notifier", "ListPending")[0]
    return [request["id"] for request in pending]
