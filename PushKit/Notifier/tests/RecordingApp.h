#pragma once

#include <QString>

// Stands in for the app that a click on a notification starts: a script in `directory` that
// writes the arguments it was started with, one a line, to the file whose path is answered.
// ORBELO_APP points the agent at it.
QString installRecordingApp(const QString& directory);
