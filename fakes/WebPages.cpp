#include "fakes/WebPages.h"

#include <openssl/evp.h>

#include <array>
#include <cstdio>

#include "platform/foundation/Json.h"
#include "platform/foundation/JsonParse.h"
#include "platform/foundation/URLEscaping.h"

namespace fakes {

namespace {

constexpr std::string_view kPaymentSalt = "rmqzet";
// Where the questionnaire site sends the browser once a questionnaire is sent: an outside
// page the client knows (its questionnaire sentinel) and never loads.
constexpr std::string_view kQuestionnaireDone = "http://done.lanxi-campus.example/";
// What the demo page's commands navigate to; the client looks only for the command word.
constexpr std::string_view kBridgeScheme = "lanxi-bridge://";

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
                    "<h1>移动考勤</h1><p>今日状态：<span id=\"status\">未签到</span></p>"
                    "<p><button onclick=\"checkIn()\">签到</button></p>"
                    "<p><a href=\"records.html\">签到记录</a></p>"
                    "<p><a href=\"leave.html\">请假申请</a></p>"
                    "<p><a href=\"/bridge-demo.html\">功能演示</a></p>"
                    "<p class=\"tip\">请在工作时间内于校园网覆盖范围内签到。</p>"
                    "<script>function checkIn() {\n"
                    "  document.getElementById('status').innerText = '已签到';\n"
                    "  console.log('attendance: checked in');\n"
                    "}</script>");
}

std::string attendanceRecordsPage() {
    return document("签到记录",
                    "<h1>签到记录</h1><ul><li>周一 08:02 已签到</li><li>周二 07:58 已签到</li>"
                    "<li>周三 08:10 迟到</li></ul><p><a href=\"login.html\">返回考勤</a></p>");
}

std::string leaveRequestPage() {
    return document(
        "请假申请",
        "<h1>请假申请</h1>"
        "<form id=\"leave\" method=\"post\" action=\"leave.jsp\" "
        "enctype=\"multipart/form-data\">"
        "<p>事由：<input id=\"reason\" name=\"reason\" value=\"病假\"></p>"
        "<p>证明照片：<input type=\"file\" id=\"proof\" name=\"proof\" "
        "accept=\"image/*\"></p>"
        "<p id=\"chosen\">未选择照片</p>"
        "<p><img id=\"preview\" alt=\"\" "
        "style=\"display:none;width:160px;height:120px;object-fit:cover\"></p>"
        "<p><input type=\"submit\" value=\"提交申请\"></p></form>"
        "<script>document.getElementById('proof').onchange = function () {\n"
        "  var f = this.files[0];\n"
        "  var preview = document.getElementById('preview');\n"
        "  document.getElementById('chosen').innerText = f ? '已选择：' + f.type + '，' + "
        "f.size + ' 字节' : '未选择照片';\n"
        "  preview.style.display = f ? 'block' : 'none';\n"
        "  if (f) preview.src = URL.createObjectURL(f);\n"
        "};</script>");
}

std::string leaveReceivedPage(std::string_view reason, std::string_view fileName,
                              std::size_t fileSize, std::string_view fileType) {
    const std::string proof = fileName.empty()
                                  ? std::string("未附照片")
                                  : htmlEscape(fileName) + "，" + std::to_string(fileSize) +
                                        " 字节，" + htmlEscape(fileType);
    return document("请假申请",
                    "<h1>请假申请已提交</h1><p>事由：<span id=\"reason\">" + htmlEscape(reason) +
                        "</span></p><p>证明照片：<span id=\"proof\">" + proof + "</span></p>");
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
    // Each choice shows itself as the answer; the page links move on.
    auto choice = [](std::string_view text) {
        return "<button onclick=\"document.getElementById('answer').innerText = this.innerText\">" +
               std::string(text) + "</button> ";
    };
    if (!second) {
        body += "<p>1. 您对学校食堂的整体满意度：</p><p>" + choice("满意") + choice("一般") +
                choice("不满意") +
                "</p><p>已选：<span id=\"answer\">未选择</span></p>"
                "<p><a href=\"questionnaire_add.jsp?page=2&amp;userAccount=" +
                htmlEscape(platform::urlEncodedString(userAccount)) + "\">下一页</a></p>";
    } else {
        // The last page is a form; the site records what it is sent and ends the
        // questionnaire by sending the browser to the sentinel.
        auto radio = [](std::string_view id, std::string_view text) {
            return "<input type=\"radio\" name=\"network\" id=\"" + std::string(id) +
                   "\" value=\"" + std::string(text) + "\"><label for=\"" + std::string(id) +
                   "\">" + std::string(text) + "</label> ";
        };
        body +=
            "<form id=\"answers\" method=\"post\" action=\"questionnaire_save.jsp\">"
            "<p>答卷账号：<input name=\"userAccount\" value=\"" +
            htmlEscape(userAccount) + "\" readonly></p><p>2. 您对校园网络服务的评价：</p><p>" +
            radio("net-good", "很好") + radio("net-fair", "一般") + radio("net-poor", "需改进") +
            "</p><p>3. 您所在的年级：<select name=\"grade\" id=\"grade\">"
            "<option value=\"\">请选择</option><option>大一</option><option>大二</option>"
            "<option>大三</option><option>大四</option><option value=\"研\">研究生</option>"
            "</select></p><p><label><input type=\"checkbox\" name=\"interview\" "
            "id=\"interview\" value=\"愿意\">愿意参加后续访谈</label></p>"
            "<p>4. 意见与建议：</p><p><textarea name=\"advice\" id=\"advice\" rows=\"3\" "
            "placeholder=\"请写下您的意见与建议\"></textarea></p>"
            "<p><input type=\"submit\" value=\"提交问卷\"></p></form>";
    }
    return document("问卷调查", body);
}

std::string questionnaireDoneAddress() {
    return std::string(kQuestionnaireDone);
}

std::string mailboxPage(std::string_view encryptedUserId, std::string_view type) {
    return document(
        "校园邮箱",
        "<h1>校园邮箱</h1><p>账号：<span id=\"user\">" + htmlEscape(encryptedUserId) +
            "</span>（<span id=\"type\">" + htmlEscape(type) +
            "</span>）</p><table id=\"inbox\"><tr><th>发件人</th><th>主题</th><th>日期</th></tr>"
            "<tr><td>教务处</td><td>关于期中教学检查的安排</td><td>04-15</td></tr>"
            "<tr><td>图书馆</td><td>您借阅的图书即将到期</td><td>04-12</td></tr>"
            "<tr><td>网络中心</td><td>校园网账号安全提醒</td><td>04-08</td></tr></table>"
            "<p><a href=\"/mail/login.jsp\">切换账号</a></p>");
}

std::string mailSignInPage() {
    return document("校园邮箱登录",
                    "<h1>校园邮箱登录</h1>"
                    "<form id=\"signin\" method=\"post\" onsubmit=\"return check()\">"
                    "<p><label for=\"account\">账号</label> <input type=\"email\" "
                    "name=\"account\" id=\"account\" placeholder=\"邮箱账号\"></p>"
                    "<p><label for=\"password\">密码</label> <input type=\"password\" "
                    "name=\"password\" id=\"password\" placeholder=\"密码\"></p>"
                    "<p><span id=\"hint\">请输入账号和密码</span></p>"
                    "<p><input type=\"submit\" value=\"登录\"></p></form>"
                    "<script>function check() {\n"
                    "  if (document.getElementById('password').value === '') {\n"
                    "    document.getElementById('hint').innerText = '请输入密码';\n"
                    "    return false;\n"
                    "  }\n"
                    "  return true;\n"
                    "}</script>");
}

std::string mailSignedInPage(std::string_view account) {
    return document("校园邮箱", "<h1>校园邮箱</h1><p>已登录：<span id=\"user\">" +
                                    htmlEscape(account) + "</span></p><p>收件箱中没有新邮件。</p>");
}

std::string bridgeDemoPage() {
    // A link for each command without an argument, a button for each that takes one, in the
    // order the client looks for the command words; every reply lands in #reply.
    struct Command {
        const char* word;
        const char* label;
        const char* argument;  // script building the argument; nullptr for none
    };
    static const Command kCommands[] = {
        {"StatusBarStyleDefault", "状态栏深色文字", nullptr},
        {"StatusBarStyleLightContent", "状态栏浅色文字", nullptr},
        {"navigationBarHidden", "隐藏导航栏", nullptr},
        {"navigationBarShow", "显示导航栏", nullptr},
        {"scanQRCode1", "扫码（单次）", nullptr},
        {"scanQRCodeBatch", "扫码（连续）", nullptr},
        {"scanQRCode", "扫码", nullptr},
        {"portalBack", "关闭页面", nullptr},
        {"undefined", "关闭页面（undefined）", nullptr},
        {"endEditing", "收起键盘", nullptr},
        {"setStorage", "存入 name 与 empty", "{name: '岚溪学院', empty: null}"},
        {"getStorage", "读取 name", "{key: 'name'}"},
        {"getStorage", "读取 empty", "{key: 'empty'}"},
        {"getStorage", "读取未存的键", "{key: 'missing'}"},
        {"chooseImage", "选择照片", nullptr},
        {"previewImage", "预览图片",
         "{urls: [here('/upload/demo/1.jpg'), here('/upload/demo/2.jpg')]}"},
        {"networkType", "网络类型", nullptr},
        {"onMenuShare", "分享",
         "{targetUrl: here('/news/share.html'), title: '岚溪学院', shareContent: '校园新闻', "
         "shareImage: here('/upload/demo/3.jpg')}"},
        {"getOrgInfo", "组织信息", nullptr},
        {"getUserInfo", "用户信息", nullptr},
        {"getUserInfo", "用户信息（未登录时不登录）", "0"},
        {"readContact", "读取通讯录", nullptr},
        {"addContact", "新增联系人", "{userName: '林晓岚', mobileNo: '13912345678'}"},
        {"location", "当前位置", nullptr},
        {"openLocation", "打开地图", nullptr},
        {"getDeviceId", "设备标识", nullptr},
        {"startRecord", "开始录音", nullptr},
        {"stopRecord", "停止录音", nullptr},
        {"playVoice", "播放录音", nullptr},
        {"pauseVoice", "暂停播放", nullptr},
        {"stopVoice", "停止播放", nullptr},
        {"uploadVoice", "上传录音", nullptr},
    };
    std::string body =
        "<h1>网页接口演示</h1><p>点按下面的命令，回复显示在这里：</p>"
        "<pre id=\"reply\">（尚无回复）</pre><p>回复次数：<span id=\"count\">0</span></p><ul>";
    for (const auto& command : kCommands) {
        body += "<li>";
        if (command.argument) {
            body += "<button onclick=\"send('" + std::string(command.word) + "', " +
                    htmlEscape(command.argument) + ")\">" + command.label + "</button>";
        } else {
            body += "<a href=\"" + std::string(kBridgeScheme) + command.word + "\">" +
                    command.label + "</a>";
        }
        body += "</li>";
    }
    body +=
        "</ul><script>\n"
        "var replies = 0;\n"
        "function callback(reply) {\n"
        "  replies += 1;\n"
        "  document.getElementById('reply').innerText = JSON.stringify(reply);\n"
        "  document.getElementById('count').innerText = String(replies);\n"
        "}\n"
        "function here(path) {\n"
        "  return location.href.replace(/^([a-z]+:\\/\\/[^\\/]*).*$/i, '$1') + path;\n"
        "}\n"
        "function send(word, argument) {\n"
        "  location.href = '" +
        std::string(kBridgeScheme) +
        "' + word + '=' + encodeURIComponent(JSON.stringify(argument));\n"
        "}\n"
        "</script>";
    return document("网页接口演示", body);
}

std::string plainPage(std::string_view path) {
    return document("岚溪学院", "<h1>岚溪学院</h1><p>页面：" + htmlEscape(path) + "</p>");
}

}  // namespace fakes
