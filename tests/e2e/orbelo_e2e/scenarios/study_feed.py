"""A student with lecture notes in a course walks today's study feed on the Study tab with the
keyboard alone — "Got it" on some cards, skips others — to the end of the session, then likes a
card on For You. The server's feed follows: the cards the student got are rested, and the liked
card counts one like more."""

import re

from .. import flows
from ..fixtures import MEMBRANES_LECTURE as LECTURE
from ..waiting import wait_until

COURSE = "BIOL 201 Cell Biology"
NOTES = "Membrane transport.txt"
TITLE = "Membrane transport"
FEED = "Today's study feed"
POSITION = re.compile(r"^Card (\d+) of (\d+)$")
LIKE = re.compile(r"^(Like|Unlike)\. (\d+) likes$")
# How the walk leaves each card, by its position: got it with → or Enter, or skipped with S.
MOVES = ("Right", "s", "Return", "s")


def _server_feed(run, token, limit):
    return run.api("GET", "/api/courses/foryou/feed?limit=%d" % limit, token)["items"]


def _current_card(ui, panel):
    """(title, is community, shows the course) of the card the daily feed shows."""
    headings = [h.get_name() for h in ui.find_all("heading", within=panel) if h.get_name() != FEED]
    assert len(headings) == 1, "one card at a time, saw %r" % headings
    community = ui.find("label", "Source: community", within=panel) is not None
    return headings[0], community, ui.find("label", COURSE, within=panel) is not None


def _walk(ui, panel, total):
    """Leaves every card by MOVES in turn, checking each card and its place; the cards left, in
    order, as (title, how)."""
    walked = []
    for number in range(1, total + 1):
        ui.wait_for("label", "Card %d of %d" % (number, total), within=panel)
        title, community, of_course = _current_card(ui, panel)
        if community:
            assert not of_course, "a community card %r under the student's course" % title
        else:
            # A card from the notes is about a term the notes name (defined there or not).
            assert title.lower() in LECTURE.lower(), "card %r is neither a term of the notes nor community" % title
            assert of_course, "the notes card %r does not name its course" % title
        last = number == total
        ui.wait_for("push button", "Finish session" if last else "Got it, next card", within=panel)
        if number == 1:
            ui.screenshot("study-home")
        move = "Return" if last else MOVES[(number - 1) % len(MOVES)]
        ui.key(move)
        walked.append((title, "skipped" if move == "s" else "engaged"))
        if not last:
            # The next card, never the same one again.
            ui.wait_for("label", "Card %d of %d" % (number + 1, total), within=panel)
            ui.wait_until(lambda: _current_card(ui, panel)[0] != title, "the card after %r" % title)
    return walked


def run(run):
    ui = run.ui
    run.put_in_documents(NOTES, LECTURE)
    email = flows.new_student_in_library(run)
    flows.course_with_notes(ui, COURSE, NOTES, TITLE)
    token = run.control("/__control/session-token", {"email": email})["token"]

    # Today's cards: the server's first ten, in its order, the notes' terms among them.
    flows.select_section(ui, 1)
    panel = ui.wait_for("panel", FEED)
    position = ui.wait_for("label", POSITION, within=panel, timeout=60)
    total = int(POSITION.match(position.get_name()).group(2))
    served = _server_feed(run, token, 10)
    assert total == len(served) == 10, (total, len(served))
    wider = {card["title"]: card for card in _server_feed(run, token, 20)}
    assert all(card["title"] in wider for card in served), "today's cards are not all among the twenty"

    ui.focus(panel)
    walked = _walk(ui, panel, total)
    assert [title for title, _ in walked] == [card["title"] for card in served], \
        "the walk %r is not the server's feed %r" % (walked, [card["title"] for card in served])
    assert any(card["card_source"] == "notes" for card in served), "no card from the notes"
    ui.wait_for("label", "Session complete. You went through all %d of today's cards." % total, within=panel)
    ui.wait_for("push button", "Start a new session", within=panel)
    ui.wait_gone("label", POSITION)
    ui.screenshot("session-complete")

    # The server heard every card left: the ones the student got are rested; a skipped card of the
    # notes only sinks (every notes card fits in twenty; a skipped community card may give way).
    engaged = {wider[title]["card_id"] for title, how in walked if how == "engaged"}
    skipped = {wider[title]["card_id"] for title, how in walked
               if how == "skipped" and wider[title]["card_source"] == "notes"}
    assert engaged and skipped, walked
    wait_until(lambda: not engaged & {c["card_id"] for c in _server_feed(run, token, 20)}, 30,
               "the cards the student got to leave the server's feed")
    after = _server_feed(run, token, 20)
    assert skipped <= {c["card_id"] for c in after}, "a skipped card of the notes left the feed"

    # For You: the server's twenty, none of those just got; L likes the card with the focus.
    flows.select_section(ui, 2)
    likes = ui.wait_for("push button", LIKE, timeout=60)
    frames = [node for node in ui.find_all("panel", showing=False)
              if node.get_description() == "Press L to like or unlike this card."]
    assert [f.get_name() for f in frames] == [c["title"] for c in after], \
        ([f.get_name() for f in frames], [c["title"] for c in after])
    frame = frames[0]
    likes = ui.find("push button", LIKE, within=frame)
    liked_before = int(LIKE.match(likes.get_name()).group(2))
    assert likes.get_name() == "Like. %d likes" % liked_before, likes.get_name()
    ui.screenshot("for-you")
    ui.focus(frame)
    ui.key("l")
    ui.wait_for("push button", "Unlike. %d likes" % (liked_before + 1), within=frame)
    ui.screenshot("for-you-liked")
    card_id = after[0]["card_id"]
    wait_until(lambda: [c["likes_count"] for c in _server_feed(run, token, 20) if c["card_id"] == card_id]
               == [liked_before + 1], 30, "the like counted on the server")
    run.quit_app()
