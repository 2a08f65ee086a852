#pragma once

#include "HttpMessage.h"

// What the scripted server answers to one request.
struct ScriptedResponse {
    int status = 200;
    HttpHeaders headers;
    QByteArray body;
    int delayMs = 0;   // answer this long after the request arrived
    bool hold = false; // keep the request unanswered until ScriptedHttpServer::releaseHeld()
    bool drop = false; // close the connection instead of answering

    static ScriptedResponse json(int status, const QByteArray& body);
    static ScriptedResponse dropped();
    static ScriptedResponse held(ScriptedResponse answer);
};
