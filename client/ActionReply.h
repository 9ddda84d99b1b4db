#pragma once

#include <string>

#include "platform/foundation/Json.h"

// The envelope of the action services (sign-in, feedback): "res" and "msg".
struct ActionReply {
    // Success exactly when "res" is the string "true"; "True", "1" or a JSON true fail.
    static bool succeeded(const platform::Json& reply);
    // "msg" when it is an object, otherwise an empty object.
    static platform::Json msg(const platform::Json& reply);
    // "msg"."message" when it is text, otherwise "".
    static std::string message(const platform::Json& reply);
};
