#include "ScriptedResponse.h"

ScriptedResponse ScriptedResponse::json(int status, const QByteArray& body) {
    ScriptedResponse r;
    r.status = status;
    r.headers = {{"Content-Type", "application/json"}};
    r.body = body;
    return r;
}

ScriptedResponse ScriptedResponse::dropped() {
    ScriptedResponse r;
    r.drop = true;
    return r;
}

ScriptedResponse ScriptedResponse::held(ScriptedResponse answer) {
    answer.hold = true;
    return answer;
}
