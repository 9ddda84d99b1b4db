#include "client/ActionReply.h"

using platform::Json;

bool ActionReply::succeeded(const Json& reply) {
    if (!reply.is_object())
        return false;
    auto res = reply.find("res");
    return res != reply.end() && res->is_string() && res->get<std::string>() == "true";
}

Json ActionReply::msg(const Json& reply) {
    if (!reply.is_object())
        return Json::object();
    auto msg = reply.find("msg");
    return msg != reply.end() && msg->is_object() ? *msg : Json::object();
}

std::string ActionReply::message(const Json& reply) {
    Json body = msg(reply);
    auto message = body.find("message");
    return message != body.end() && message->is_string() ? message->get<std::string>() : "";
}
