#pragma once

// Whether the user likes one feed card, its like count, and whether a like or unlike for it is
// on its way to the backend.
struct CardLikeState {
    bool liked = false;
    int likesCount = 0;
    bool inFlight = false;

    // What the heart shows the moment it is tapped, before the backend answers: the other way
    // round, with the count moved by one (never below zero), and a request in flight.
    CardLikeState tapped() const {
        return {!liked, liked ? (likesCount > 0 ? likesCount - 1 : 0) : likesCount + 1, true};
    }

    bool operator==(const CardLikeState&) const = default;
};
