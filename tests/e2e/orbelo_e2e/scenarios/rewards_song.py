"""A student with lecture notes in a course and credits to spend buys a Study Song from the Rewards
marketplace with the keyboard, has it made from the notes in a genre and around key ideas of their
choosing, plays it, seeks through it from the keyboard and reads its lyrics; the server counts the
reward's use. Then, at level 4, the student buys a Double XP Day, which the rewards header names
until it ends, and the Scholar Badge, which shows beside their name in the account menu."""

import re
import urllib.parse

from .. import flows
from ..fixtures import MEMBRANES_LECTURE as LECTURE

COURSE = "BIOL 201 Cell Biology"
NOTES = "Membrane transport.txt"
TITLE = "Membrane transport"  # the server titles a document after its file name
GRANT = 200
SONG = "Study Song"
SONG_COST = 150
KEY_IDEAS = "osmosis, active transport"
SEEK_SECONDS = 5
POSITION = re.compile(r"^(\d+):(\d\d) of (\d+):(\d\d)$")
SCHOLAR_XP = 500  # level 4, "Scholar"
POWER_UPS = ("Double XP Day", "Scholar Badge")
POWER_UPS_COST = 120 + 40


def _seconds(spoken):
    """("0:07 of 0:42") → (7, 42)."""
    match = POSITION.match(spoken or "")
    assert match, "the position reads %r" % spoken
    minutes, seconds, total_minutes, total_seconds = map(int, match.groups())
    return minutes * 60 + seconds, total_minutes * 60 + total_seconds


def _button_after(ui, heading):
    """The first push button after the heading `heading` in reading order: a card's own button."""
    seen = False
    for element in ui.find_all(showing=False):
        if element.get_role_name() == "heading" and element.get_name() == heading:
            seen = True
        elif seen and element.get_role_name() == "push button":
            return element
    return None


def _purchasable(ui, name):
    """The Purchase button of the card `name`, once it offers the purchase."""
    button = _button_after(ui, name)
    return button if button is not None and button.get_name() == "Purchase" else None


def _shown(ui, combo):
    """What a combo box shows: the text of its display field."""
    field = ui.find("text", within=combo)
    return ui.text(field) if field is not None else None


def _owned(run, email):
    """The account's rewards as the server lists them to the account's own client."""
    session = run.control("/__control/session-token", {"email": email})
    return run.api("GET", "/api/gamification/rewards/%s/purchased" % urllib.parse.quote(session["user_id"]),
                   token=session["token"])


def _song_reward(run, email):
    songs = [reward for reward in _owned(run, email) if reward["reward_id"] == "study_song"]
    assert len(songs) == 1, songs
    return songs[0]


def run(run):
    ui = run.ui
    run.put_in_documents(NOTES, LECTURE)
    email = flows.new_student_in_library(run)
    flows.course_with_notes(ui, COURSE, NOTES, TITLE)
    balance = run.control("/__control/credits", {"email": email, "amount": GRANT})["balance"]
    assert balance >= SONG_COST, balance

    # The marketplace: the balance in the header, and the song bought from the keyboard.
    flows.select_section(ui, 6)
    ui.wait_for(None, "%d credits" % balance)
    ui.wait_for(None, re.compile(r"^Level \d+$"))
    ui.wait_for("heading", SONG)
    buy = ui.wait_until(lambda: _button_after(ui, SONG), "the %s card's button" % SONG)
    assert buy.get_name() == "Purchase", ui.describe(buy)
    assert buy.get_description() == "Purchases this reward for %d credits." % SONG_COST, buy.get_description()
    ui.screenshot("marketplace")
    ui.focus(buy)
    ui.key("space")
    ui.wait_for(None, "Purchased " + SONG)
    ui.wait_for(None, "%d credits" % (balance - SONG_COST))
    ui.screenshot("purchased")
    assert run.control("/__control/progress?email=" + urllib.parse.quote(email))["credits"] == balance - SONG_COST
    bought = _song_reward(run, email)
    assert (bought["usage_count"], bought["remaining_uses"]) == (0, 1), bought

    # My Rewards: the unused song, and its sheet.
    ui.choose("check box", "My Rewards")
    ui.wait_for("heading", SONG)
    ui.wait_for(None, "Song reward · 1 use left")
    ui.press("push button", "Generate Song")
    sheet = ui.wait_for("dialog", "Create Study Song")
    ui.wait_for("heading", "Create Study Song", within=sheet)
    document = ui.wait_for("combo box", "Document", within=sheet)
    ui.wait_until(lambda: ui.is_enabled(document), "the sheet's documents")
    ui.focus(document)
    ui.key("Down")  # past "Any (auto-select)" to the notes
    ui.wait_until(lambda: _shown(ui, document) == TITLE, "the notes chosen as the song's document")
    assert document.get_description() == "Double tap to change the document.", document.get_description()
    genre = ui.wait_for("combo box", "Genre", within=sheet)
    ui.focus(genre)
    ui.key("Down")  # Hip-Hop → Rock
    ui.wait_until(lambda: _shown(ui, genre) == "Rock", "the Rock genre")
    ui.fill("Key ideas to focus on  (optional)", KEY_IDEAS, within=sheet)
    ui.screenshot("song-sheet")
    ui.press("push button", "Generate Song", within=sheet)
    ui.wait_for("heading", "Your song is composing", within=sheet, timeout=60)
    ui.wait_for(None, "We're setting your notes to music. The finished track will appear under My Rewards in "
                      "a minute or two — choose Refresh (Ctrl+R) there.", within=sheet)
    # The lyrics came back with the answer: a preview before the track is done.
    ui.press("push button", "Preview lyrics", within=sheet)
    ui.wait_for(("label", "heading"), "[Chorus]", within=sheet, showing=False)
    ui.screenshot("song-started")
    ui.press("push button", "Close", within=sheet)
    ui.wait_gone("dialog", "Create Study Song")

    # The song takes a few seconds to make: Refresh until it is there.
    def song_ready():
        if ui.find("push button", "Play song") is not None:
            return True
        refresh = ui.find("push button", "Refresh")
        if refresh is not None and ui.is_enabled(refresh):
            ui.activate(refresh)
        return False
    ui.wait_until(song_ready, "the finished song under My Rewards", timeout=120)
    ui.wait_for(None, "Song reward · 0 uses left")
    played = _song_reward(run, email)
    assert (played["usage_count"], played["remaining_uses"]) == (1, 0), played
    assert played["fulfillment_data"]["genre"] == "rock", played["fulfillment_data"]

    # Playing: the position moves on its own.
    ui.press("push button", "Play song")
    ui.wait_for("push button", "Pause song", timeout=60)
    slider = ui.wait_for("slider", "Playback position")
    start, length = _seconds(slider.get_description())
    assert length > 2 * SEEK_SECONDS, "the song lasts %d s" % length
    ui.wait_until(lambda: _seconds(slider.get_description())[0] > start, "the position to move")

    # The arrow keys seek by five seconds, while playing and while paused.
    ui.focus(slider)
    before = _seconds(slider.get_description())[0]
    ui.key("Right")
    # Sooner than playing alone would get there.
    ui.wait_until(lambda: _seconds(slider.get_description())[0] >= before + SEEK_SECONDS,
                  "the position %d s on" % SEEK_SECONDS, timeout=SEEK_SECONDS - 1.5, follow_progress=False)
    ui.press("push button", "Pause song")
    ui.wait_for("push button", "Play song")
    paused = _seconds(slider.get_description())[0]
    assert before + SEEK_SECONDS <= paused < before + SEEK_SECONDS + 5, (before, paused)
    ui.focus(slider)
    ui.key("Left")
    ui.wait_until(lambda: _seconds(slider.get_description())[0] == paused - SEEK_SECONDS,
                  "the position %d s back" % SEEK_SECONDS)
    ui.key("Right")
    ui.wait_until(lambda: _seconds(slider.get_description())[0] == paused, "the position back again")

    # The lyrics: made from the notes, around the key ideas.
    lyrics = ui.wait_for("push button", "Lyrics")
    assert lyrics.get_description() == "Tap to expand", lyrics.get_description()
    ui.activate(lyrics)
    ui.wait_until(lambda: lyrics.get_description() == "Hides the lyrics.", "the lyrics to open")
    ui.wait_for("push button", "Read lyrics aloud", showing=False)
    lines = ui.wait_until(lambda: [element.get_name().lower() for element in ui.find_all(("label", "heading"),
                                                                                          showing=False)],
                          "the lyrics")
    sung = " ".join(lines)
    for term in ("osmosis", "active transport", "diffusion"):
        assert term in sung, "the lyrics never mention %r:\n%s" % (term, "\n".join(lines))
    assert any(line.startswith("[chorus]") for line in lines), lines
    ui.screenshot("player-and-lyrics")

    # Level 4: Double XP Day and the Scholar Badge, each bought from its card.
    run.control("/__control/xp", {"email": email, "amount": SCHOLAR_XP})
    run.control("/__control/credits", {"email": email, "amount": POWER_UPS_COST})
    ui.choose("check box", "Marketplace")
    ui.press("push button", "Refresh")
    ui.wait_for(None, "Level 4")
    for name in POWER_UPS:
        button = ui.wait_until(lambda: _purchasable(ui, name), "the %s card's Purchase button" % name)
        ui.focus(button)
        ui.key("space")
        ui.wait_for(None, "Purchased " + name)
    # A day from now: tomorrow, named by its weekday.
    ui.wait_for(None, re.compile(r"^Double XP until (Mon|Tue|Wed|Thu|Fri|Sat|Sun) \d\d:\d\d$"))
    ui.wait_for("push button", re.compile(r"^Account: .*, Scholar Badge$"))
    ui.screenshot("double-xp-and-badge")
    owned = {reward["reward_id"]: reward for reward in _owned(run, email)}
    assert owned["double_xp_day"]["is_active"] and owned["double_xp_day"]["expires_at"], owned["double_xp_day"]
    assert "scholar_badge" in owned, sorted(owned)
    run.quit_app()
