#include "fakes/WebPages.h"

#include <openssl/evp.h>

#include <array>
#include <cstdio>

#include "platform/foundation/Json.h"
#include "platform/foundation/JsonParse.h"

namespace fakes {

namespace {

constexpr std::string_view kPaymentSalt = "rmqzet";
// Where the questionnaire site sends the browser once a questionnaire is sent: an outside
// page the client knows (its questionnaire sentinel) and never loads.
constexpr std::string_view kQuestionnaireDone = "http://done.lanxi-campus.example/";

std::string document(std::string_view title, std::string_view body) {
    std::string html =
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\" />"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1.0\" /><title>";
    html += htmlEscape(title);
    html += "</title></head><body>";
    html += body;
    html += "</body></html>\n";
    return html;
}

std::string md5Hex(std::string_view text) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (EVP_Digest(text.data(), text.size(), digest.data(), &length, EVP_md5(), nullptr) != 1)
        return {};
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", digest[i]);
        hex += pair;
    }
    return hex;
}

}  // namespace

std::string htmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string attendancePage() {
    return document("移动考勤",
                    "<h1>移动考勤</h1><form id=\"login\" action=\"login.html\" method=\"get\">"
                    "<p><label>工号 <input name=\"account\" /></label></p>"
                    "<p><label>密码 <input name=\"password\" type=\"password\" /></label></p>"
                    "<p><button type=\"submit\">签到</button></p></form>"
                    "<p class=\"tip\">请在工作时间内于校园网覆盖范围内签到。</p>");
}

bool paymentSignatureMatches(std::string_view json, std::string_view signature) {
    std::string salted(json);
    salted += kPaymentSalt;
    return !signature.empty() && md5Hex(salted) == signature;
}

std::string paymentPage(std::string_view json, std::string_view signature) {
    if (!paymentSignatureMatches(json, signature))
        return document("校园支付",
                        "<h1>校园支付</h1><p class=\"error\">签名错误，请重新进入。</p>");
    const auto request = platform::parseJson(json);
    std::string customer;
    if (request && request->is_object() && request->contains("custno") &&
        (*request)["custno"].is_string())
        customer = (*request)["custno"].get<std::string>();
    return document("校园支付",
                    "<h1>校园支付</h1><p>客户号：<span id=\"custno\">" + htmlEscape(customer) +
                        "</span></p><ul><li>学费 2023-2024学年 <b>已缴清</b></li>"
                        "<li>住宿费 2023-2024学年 <b>已缴清</b></li>"
                        "<li>校园卡充值 <a href=\"recharge.html\">去充值</a></li></ul>");
}

std::string questionnairePage(std::string_view userAccount, std::string_view page) {
    const bool second = page == "2";
    std::string body = "<h1>问卷调查</h1><p>答卷人：<span id=\"account\">" +
                       htmlEscape(userAccount) + "</span></p>";
    if (!second) {
        body +=
            "<form action=\"questionnaire_add.jsp\" method=\"get\">"
            "<input type=\"hidden\" name=\"page\" value=\"2\" />"
            "<input type=\"hidden\" name=\"userAccount\" value=\"" +
            htmlEscape(userAccount) +
            "\" /><p>1. 您对学校食堂的整体满意度：</p>"
            "<p><label><input type=\"radio\" name=\"q1\" value=\"a\" />满意</label> "
            "<label><input type=\"radio\" name=\"q1\" value=\"b\" />一般</label> "
            "<label><input type=\"radio\" name=\"q1\" value=\"c\" />不满意</label></p>"
            "<p><button type=\"submit\">下一页</button></p></form>";
    } else {
        body += "<form action=\"" + std::string(kQuestionnaireDone) +
                "\" method=\"get\"><p>2. 您对校园网络服务有什么建议？</p>"
                "<p><textarea name=\"q2\"></textarea></p>"
                "<p><button type=\"submit\">提交问卷</button></p></form>";
    }
    return document("问卷调查", body);
}

std::string mailboxPage(std::string_view encryptedUserId, std::string_view type) {
    return document(
        "校园邮箱",
        "<h1>校园邮箱</h1><p>账号：<span id=\"user\">" + htmlEscape(encryptedUserId) +
            "</span>（<span id=\"type\">" + htmlEscape(type) +
            "</span>）</p><table id=\"inbox\"><tr><th>发件人</th><th>主题</th><th>日期</th></tr>"
            "<tr><td>教务处</td><td>关于期中教学检查的安排</td><td>04-15</td></tr>"
            "<tr><td>图书馆</td><td>您借阅的图书即将到期</td><td>04-12</td></tr>"
            "<tr><td>网络中心</td><td>校园网账号安全提醒</td><td>04-08</td></tr></table>");
}

std::string plainPage(std::string_view path) {
    return document("岚溪学院", "<h1>岚溪学院</h1><p>页面：" + htmlEscape(path) + "</p>");
}

}  // namespace fakes
