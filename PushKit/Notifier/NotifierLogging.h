#pragma once

#include <QLoggingCategory>

// The agent's log category, "com.orbelo.desktop.Notifier".
Q_DECLARE_LOGGING_CATEGORY(lcNotifier)
