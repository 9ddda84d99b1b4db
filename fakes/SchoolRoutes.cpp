#include "fakes/SchoolRoutes.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <functional>
#include <optional>

#include "fakes/GeneratedImage.h"
#include "fakes/WebPages.h"

namespace fakes {

using platform::Json;

namespace {

constexpr std::string_view kUserInfoPath = "/manage/user/queryUserInfoForOldApp";
constexpr std::string_view kWeatherPrefix = "/adat/cityinfo/";
constexpr const char* kHtml = "text/html;charset=UTF-8";
constexpr int kImageWidth = 320;
constexpr int kImageHeight = 220;

Reply jsonReply(const Json& doc, int status = 200) {
    Reply reply;
    reply.status = status;
    // Values echoed from a request may hold broken UTF-8; they must not stop the reply.
    reply.body = doc.dump(-1, ' ', false, Json::error_handler_t::replace);
    return reply;
}

Reply errorReply(int status, const std::string& message, std::string_view path) {
    return jsonReply(Json{{"error", message}, {"path", std::string(path)}}, status);
}

Reply htmlReply(std::string body) {
    Reply reply;
    reply.contentType = kHtml;
    reply.body = std::move(body);
    return reply;
}

std::string value(const RecordedRequest& request, std::string_view key) {
    return request.queryValue(key).value_or("");
}

// A value of a form sent as application/x-www-form-urlencoded.
std::string formValue(const RecordedRequest& request, std::string_view key) {
    for (const auto& [name, text] : decodeQuery("?" + request.body))
        if (name == key)
            return text;
    return "";
}

bool endsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// The leave request's form as the page sent it (multipart): its reason and its photo.
Reply leaveReceived(const RecordedRequest& request) {
    std::string reason;
    const ReceivedPart* proof = nullptr;
    for (const auto& part : request.parts) {
        if (part.name == "reason")
            reason = part.data;
        else if (part.name == "proof" && !part.filename.empty())
            proof = &part;
    }
    return htmlReply(
        proof ? leaveReceivedPage(reason, proof->filename, proof->data.size(), proof->contentType)
              : leaveReceivedPage(reason, "", 0, ""));
}

// A whole positive decimal number, or nothing.
std::optional<long> positiveNumber(std::string_view text) {
    long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end != text.data() + text.size() || number < 1)
        return std::nullopt;
    return number;
}

// One page of rows. pageNo counts from 1; an absent pageNo or pageSize takes 1 or 10, a value
// that is not a positive number gives an empty page, as it would on the school's service.
Json pageOf(const Json& rows, const RecordedRequest& request,
            const std::function<Json(const Json&, std::size_t)>& shape = {}) {
    Json page = Json::array();
    if (!rows.is_array())
        return page;
    const auto pageText = request.queryValue("pageNo");
    const auto sizeText = request.queryValue("pageSize");
    const auto pageNo = pageText ? positiveNumber(*pageText) : std::optional<long>(1);
    const auto pageSize = sizeText ? positiveNumber(*sizeText) : std::optional<long>(10);
    if (!pageNo || !pageSize)
        return page;
    const std::size_t size = static_cast<std::size_t>(std::min(*pageSize, 1000L));
    const std::size_t first = static_cast<std::size_t>(*pageNo - 1) * size;
    for (std::size_t i = first; i < rows.size() && i < first + size; ++i)
        page.push_back(shape ? shape(rows[i], i) : rows[i]);
    return page;
}

const Json& memberOr(const Json& object, const std::string& key, const Json& fallback) {
    if (object.is_object()) {
        if (const auto it = object.find(key); it != object.end())
            return *it;
    }
    return fallback;
}

std::string todayWeekday() {
    static const char* const kNames[] = {"周日", "周一", "周二", "周三", "周四", "周五", "周六"};
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return kNames[local.tm_wday];
}

std::string percent(long part, long whole) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f%%", whole > 0 ? part * 100.0 / whole : 0.0);
    return text;
}

long count(const Json& row, const char* key) {
    const auto it = row.find(key);
    return it != row.end() && it->is_number_integer() ? it->get<long>() : 0;
}

struct Totals {
    long admitted = 0;
    long reported = 0;
    long paid = 0;
    void add(const Totals& other) {
        admitted += other.admitted;
        reported += other.reported;
        paid += other.paid;
    }
};

Totals totalsOfClass(const Json& klass) {
    return {count(klass, "LQ"), count(klass, "BD"), count(klass, "CW")};
}

Totals totalsOfSpecialty(const Json& specialty) {
    Totals totals;
    for (const auto& klass : specialty.value("classes", Json::array()))
        totals.add(totalsOfClass(klass));
    return totals;
}

Totals totalsOfCollege(const Json& college) {
    Totals totals;
    for (const auto& specialty : college.value("specialties", Json::array()))
        totals.add(totalsOfSpecialty(specialty));
    return totals;
}

void putCounts(Json& row, const Totals& totals) {
    row["LQ"] = totals.admitted;
    row["BD"] = totals.reported;
    row["BDBFB"] = percent(totals.reported, totals.admitted);
    row["CW"] = totals.paid;
    row["CWBFB"] = percent(totals.paid, totals.admitted);
}

Json summary(const std::string& year, const Totals& totals) {
    return Json::array({Json{{"DQNF", year},
                             {"ZSZRS", totals.admitted},
                             {"BDZRS", totals.reported},
                             {"CWJFZRS", totals.paid},
                             {"WDRS", totals.admitted - totals.reported}}});
}

std::string safeFileName(std::string_view name) {
    std::string out;
    for (const char c : name) {
        const bool plain =
            std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
        out += plain ? c : '_';
    }
    return out.empty() || out.find_first_not_of('.') == std::string::npos ? "file" : out;
}

std::uint32_t seedOf(std::string_view path) {
    return static_cast<std::uint32_t>(std::hash<std::string_view>{}(path));
}

}  // namespace

std::string canonicalPath(std::string_view path) {
    const auto first = path.find_first_not_of('/');
    if (first == std::string_view::npos)
        return path.empty() ? std::string() : std::string("/");
    if (first <= 1)
        return std::string(path);
    return "/" + std::string(path.substr(first));
}

SchoolRoutes::SchoolRoutes(const std::filesystem::path& sampleDirectory)
    : m_data(SampleData::load(sampleDirectory)) {}

Reply SchoolRoutes::answer(const RecordedRequest& request) {
    const std::string path = canonicalPath(request.path);
    const std::string method = request.method == "HEAD" ? "GET" : request.method;

    struct Route {
        std::string_view path;
        std::string_view method;
        std::function<Reply()> reply;
    };
    const auto& r = request;
    const Route routes[] = {
        {"/vobels/services/api/user/login.do", "POST", [&] { return login(r); }},
        {"/vobels/services/api/news/getNews.do", "GET", [&] { return news(r); }},
        {"/vobels/services/api/news/getNewsByCategory.do", "GET",
         [&] { return noticesOfCategory(r); }},
        {"/vobels/services/api/org/getOrgCategory.do", "GET", [&] { return orgCategories(r); }},
        {"/vobels/services/api/org/getMembersByOrgId.do", "GET", [&] { return membersOfOrg(r); }},
        {"/vobels/services/api/org/queryMembersInfo.do", "GET", [&] { return searchMembers(r); }},
        {"/vobels/services/api/meeting/fetchCurrentMeeting.do", "GET",
         [&] { return currentMeetings(); }},
        {"/vobels/services/api/meeting/getMeetingWeek.do", "GET",
         [&] { return meetingsOfWeek(r); }},
        {"/vobels/services/api/edu/sendLeaveword.do", "POST",
         [&] {
             return jsonReply(Json{{"res", "true"}, {"msg", Json::object()}});
         }},
        {"/vobels/services/api/activity/getLectureList.do", "GET", [&] { return lectures(r); }},
        {"/vobels/services/fileUploadMportal", "POST", [&] { return upload(r); }},
        {"/vobels/services/api/installTimes", "GET",
         [&] {
             return jsonReply(Json{{"res", "true"}, {"msg", Json::object()}});
         }},
        {"/vobels/services/api/user/emailLogin.do", "GET",
         [&] { return htmlReply(mailboxPage(value(r, "userId"), value(r, "type"))); }},
        {"/edu/getEmploymentInfo", "GET", [&] { return employmentInfo(r); }},
        {"/edu/getEmploymentDetail", "GET", [&] { return employmentDetail(r); }},
        {"/edu/getNewStudentStat", "GET", [&] { return newStudentStat(r); }},
        {kUserInfoPath, "GET", [&] { return userInfo(r); }},
        {"/lookup", "POST", [&] { return storeLookup(r); }},
        {"/CM/login.html", "GET", [&] { return htmlReply(attendancePage()); }},
        {"/CM/records.html", "GET", [&] { return htmlReply(attendanceRecordsPage()); }},
        {"/CM/leave.html", "GET", [&] { return htmlReply(leaveRequestPage()); }},
        {"/CM/leave.jsp", "POST", [&] { return leaveReceived(r); }},
        {"/bridge-demo.html", "GET", [&] { return htmlReply(bridgeDemoPage()); }},
        {"/school/interface/toPay", "GET",
         [&] { return htmlReply(paymentPage(value(r, "json"), value(r, "signature"))); }},
        {"/function/interaction/questionnaire_add.jsp", "GET",
         [&] { return htmlReply(questionnairePage(value(r, "userAccount"), value(r, "page"))); }},
        // A questionnaire sent ends where the site sends every finished one: the sentinel.
        {"/function/interaction/questionnaire_save.jsp", "POST",
         [&] {
             Reply done;
             done.status = 302;
             done.contentType = kHtml;
             done.location = questionnaireDoneAddress();
             return done;
         }},
        {"/mail/login.jsp", "GET", [&] { return htmlReply(mailSignInPage()); }},
        {"/mail/login.jsp", "POST",
         [&] { return htmlReply(mailSignedInPage(formValue(r, "account"))); }},
    };
    const Route* other = nullptr;
    for (const auto& route : routes) {
        if (route.path != path)
            continue;
        if (route.method == method)
            return route.reply();
        other = &route;
    }
    if (other)
        return errorReply(405, "method not allowed; use " + std::string(other->method), path);
    if (path.starts_with(kWeatherPrefix) && endsWith(path, ".html") && method == "GET")
        return weather(path);
    const std::string lowered = lower(path);
    const bool picture =
        endsWith(lowered, ".jpg") || endsWith(lowered, ".jpeg") || endsWith(lowered, ".png");
    if (method == "GET" && picture && path.find("/upload/") != std::string::npos)
        return image(path);
    if (method == "GET" && endsWith(lowered, ".html"))
        return htmlReply(plainPage(path));
    return errorReply(404, "not found", path);
}

void SchoolRoutes::offerStoreVersion(std::string version) {
    std::lock_guard lock(m_mutex);
    m_storeVersion = std::move(version);
}

Reply SchoolRoutes::storeLookup(const RecordedRequest& request) {
    if (!request.queryValue("id"))
        return jsonReply(Json{{"resultCount", 0}, {"results", Json::array()}});
    Json reply = m_data.storeLookup;
    std::lock_guard lock(m_mutex);
    auto& results = reply["results"];
    if (!m_storeVersion.empty() && results.is_array() && !results.empty() &&
        results.front().is_object())
        results.front()["version"] = m_storeVersion;
    return jsonReply(reply);
}

Reply SchoolRoutes::login(const RecordedRequest& request) const {
    const auto account = request.queryValue("userName");
    const auto password = request.queryValue("password");
    for (const auto& entry : m_data.accounts["accounts"]) {
        if (account && password && entry.value("account", "") == *account &&
            entry.value("password", "") == *password)
            return jsonReply(Json{{"res", "true"}, {"msg", entry.value("msg", Json::object())}});
    }
    static const Json kRefusal = {{"res", "false"}, {"msg", {{"message", "用户名或密码错误"}}}};
    return jsonReply(m_data.accounts.value("refusal", kRefusal));
}

Reply SchoolRoutes::news(const RecordedRequest& request) const {
    return jsonReply(Json{{"News", pageOf(m_data.news["News"], request)}});
}

Reply SchoolRoutes::noticesOfCategory(const RecordedRequest& request) const {
    static const Json kNone = Json::object();
    const Json& channel = memberOr(m_data.notices["categories"], value(request, "category"), kNone);
    return jsonReply(Json{{"News", pageOf(channel.value("News", Json::array()), request)}});
}

Reply SchoolRoutes::orgCategories(const RecordedRequest& request) const {
    // The directory is for staff; other user types get an empty list.
    const bool teacher = value(request, "userType") == "teacher";
    return jsonReply(
        Json{{"orgcategory", teacher ? m_data.orgCategories["orgcategory"] : Json::array()}});
}

Reply SchoolRoutes::membersOfOrg(const RecordedRequest& request) const {
    static const Json kNone = Json::array();
    return jsonReply(
        Json{{"members", memberOr(m_data.members["members"], value(request, "orgId"), kNone)}});
}

Reply SchoolRoutes::searchMembers(const RecordedRequest& request) const {
    const std::string text = value(request, "param");
    Json found = Json::array();
    if (!text.empty()) {
        for (const auto& [org, people] : m_data.members["members"].items()) {
            for (const auto& person : people) {
                if (person.value("xm", "").find(text) != std::string::npos)
                    found.push_back(person);
            }
        }
    }
    return jsonReply(Json{{"membersInfo", found}});
}

Reply SchoolRoutes::currentMeetings() const {
    const Json& meetings = m_data.meetings;
    const Json current = meetings.value("currentWeek", Json(1));
    const std::string key = current.is_string() ? current.get<std::string>() : current.dump();
    static const Json kNone = Json::object();
    const Json& week = memberOr(meetings["weeks"], key, kNone);
    // The weekday is today's, so the schedule opens on today's page as on the school's service.
    return jsonReply(Json{{"Meetings", week.value("Meetings", Json::array())},
                          {"currentWeek", current},
                          {"maxWeek", meetings.value("maxWeek", Json(1))},
                          {"scope", week.value("scope", "")},
                          {"currentDate", todayWeekday()}});
}

Reply SchoolRoutes::meetingsOfWeek(const RecordedRequest& request) const {
    static const Json kNone = Json::object();
    const Json& week = memberOr(m_data.meetings["weeks"], value(request, "weeks"), kNone);
    return jsonReply(Json{{"Meetings", week.value("Meetings", Json::array())},
                          {"scope", week.value("scope", "")}});
}

Reply SchoolRoutes::lectures(const RecordedRequest& request) const {
    return jsonReply(Json{{"Lecture", pageOf(m_data.lectures["Lecture"], request)}});
}

Reply SchoolRoutes::upload(const RecordedRequest& request) {
    const ReceivedPart* file = nullptr;
    for (const auto& part : request.parts) {
        if (!file || (file->filename.empty() && !part.filename.empty()))
            file = &part;
    }
    if (!file)
        return jsonReply(Json{{"res", "false"}, {"msg", {{"message", "没有上传文件"}}}}, 400);
    std::lock_guard lock(m_mutex);
    const std::string stored =
        "/upload/mportal/" + std::to_string(++m_uploadCount) + "/" + safeFileName(file->filename);
    Reply content;
    content.contentType =
        file->contentType.empty() ? "application/octet-stream" : file->contentType;
    content.body = file->data;
    m_uploads[stored] = content;
    return jsonReply(Json{{"res", "true"}, {"path", stored}});
}

Reply SchoolRoutes::employmentInfo(const RecordedRequest& request) const {
    static const Json kNone = Json::array();
    const Json& rows = memberOr(m_data.employment, value(request, "type"), kNone);
    // RN is the row's number in the whole list, as the school's database numbers it.
    const auto numbered = [](const Json& row, std::size_t index) {
        Json out = {{"RN", std::to_string(index + 1)}};
        for (const auto& [key, field] : row.items()) out[key] = field;
        return out;
    };
    return jsonReply(Json{{"ListOrderedMap", pageOf(rows, request, numbered)}});
}

Reply SchoolRoutes::employmentDetail(const RecordedRequest& request) const {
    const std::string type = value(request, "type");
    static const Json kNone = Json::object();
    if (type != "zp" && type != "sx")
        return jsonReply(Json{{"employDetailList", Json::array()}});
    const Json& detail =
        memberOr(m_data.employmentDetails["companies"], value(request, "company"), kNone);
    if (!detail.is_object() || detail.empty())
        return jsonReply(Json{{"employDetailList", Json::array()}});
    return jsonReply(detail);
}

Reply SchoolRoutes::newStudentStat(const RecordedRequest& request) const {
    const std::string type = value(request, "type");
    const std::string code = value(request, "code");
    const std::string year = m_data.statistics.value("DQNF", "");
    const Json& colleges = m_data.statistics["colleges"];
    Json rows = Json::array();
    Json info = Json::array();

    if (type == "xytj") {
        // The whole school, whatever code comes with it (the client sends eight zeros).
        Totals school;
        for (const auto& college : colleges) {
            const Totals totals = totalsOfCollege(college);
            Json row = {{"YXSH", college.value("YXSH", "")}, {"XY", college.value("XY", "")}};
            putCounts(row, totals);
            rows.push_back(row);
            school.add(totals);
        }
        info = summary(year, school);
    } else if (type == "zytj" || type == "bjtj") {
        for (const auto& college : colleges) {
            for (const auto& specialty : college.value("specialties", Json::array())) {
                const bool collegeLevel = type == "zytj" && college.value("YXSH", "") == code;
                const bool specialtyLevel = type == "bjtj" && specialty.value("LQZYDM", "") == code;
                if (!collegeLevel && !specialtyLevel)
                    continue;
                const Json base = {{"YXSH", college.value("YXSH", "")},
                                   {"XY", college.value("XY", "")},
                                   {"LQZYDM", specialty.value("LQZYDM", "")},
                                   {"LQZYMC", specialty.value("LQZYMC", "")}};
                if (collegeLevel) {
                    Json row = base;
                    putCounts(row, totalsOfSpecialty(specialty));
                    rows.push_back(row);
                    info = summary(year, totalsOfCollege(college));
                } else {
                    for (const auto& klass : specialty.value("classes", Json::array())) {
                        Json row = base;
                        row["BJ"] = klass.value("BJ", "");
                        putCounts(row, totalsOfClass(klass));
                        rows.push_back(row);
                    }
                    info = summary(year, totalsOfSpecialty(specialty));
                }
            }
        }
    }
    return jsonReply(Json{{"info", info}, {"xytj", rows}});
}

Reply SchoolRoutes::userInfo(const RecordedRequest& request) const {
    const std::string id = value(request, "userId");
    const Json& users = m_data.users["users"];
    if (users.is_object() && users.contains(id))
        return jsonReply(users[id]);
    return errorReply(404, "no such user: " + id, kUserInfoPath);
}

Reply SchoolRoutes::weather(const std::string& path) const {
    const std::string city =
        path.substr(kWeatherPrefix.size(), path.size() - kWeatherPrefix.size() - 5);
    if (!m_data.weather.contains(city))
        return errorReply(404, "no such city: " + city, path);
    // Weather services of this kind label their JSON as an HTML page.
    Reply reply = jsonReply(m_data.weather[city]);
    reply.contentType = kHtml;
    return reply;
}

Reply SchoolRoutes::image(const std::string& path) {
    std::lock_guard lock(m_mutex);
    if (const auto it = m_uploads.find(path); it != m_uploads.end())
        return it->second;
    if (const auto it = m_images.find(path); it != m_images.end())
        return it->second;
    Reply reply;
    if (endsWith(lower(path), ".png")) {
        reply.contentType = "image/png";
        reply.body = generatedPng(kImageWidth, kImageHeight, seedOf(path));
    } else {
        reply.contentType = "image/jpeg";
        reply.body = generatedJpeg(kImageWidth, kImageHeight, seedOf(path));
    }
    if (reply.body.empty())
        return errorReply(500, "image could not be made", path);
    return m_images[path] = reply;
}

}  // namespace fakes
