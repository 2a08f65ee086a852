#include "MprisRootAdaptor.h"

#include "NowPlayingSession.h"

MprisRootAdaptor::MprisRootAdaptor(NowPlayingSession* session) : QDBusAbstractAdaptor(session) {}
