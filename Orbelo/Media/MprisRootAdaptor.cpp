#include "Media/MprisRootAdaptor.h"

#include "Media/NowPlayingSession.h"

MprisRootAdaptor::MprisRootAdaptor(NowPlayingSession* session) : QDBusAbstractAdaptor(session) {}
