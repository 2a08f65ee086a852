#pragma once

// How the app's process ends.
//
// Qt Multimedia 6.4 never stops the PulseAudio thread that follows the audio devices. It is still
// running when the C library finalizes the shared libraries at exit, and there it can trip
// PulseAudio's own assertions and abort an exit that was otherwise clean. The app therefore ends
// once main's objects and the statics made since start-up are gone, without that final teardown.
namespace ProcessEnd {

// Arranges the end described above; called first thing in main. The exit status is kept, output is
// flushed, and a sanitizer build runs its leak check here, where it would otherwise run at exit.
void skipLibraryTeardown();

} // namespace ProcessEnd
