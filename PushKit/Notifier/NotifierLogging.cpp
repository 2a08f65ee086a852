#include "NotifierLogging.h"

Q_LOGGING_CATEGORY(lcNotifier, "com.orbelo.desktop.Notifier")
