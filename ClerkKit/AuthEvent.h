#pragma once

// What a Frontend API answer means for the signed-in state, told to the auth client's observers.
enum class AuthEvent {
    signInCompleted,
    signInNeedsContinuation,
    signUpCompleted,
    signUpNeedsContinuation,
    signedOut,
    sessionChanged,
    tokenRefreshed,
    accountDeleted,
};
