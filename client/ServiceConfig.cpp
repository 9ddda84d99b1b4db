#include "client/ServiceConfig.h"

#include <cstdlib>

#include "platform/net/URLServer.h"

namespace {

const char* kUserInfoPath = "//manage/user/queryUserInfoForOldApp?userId=%@";
const char* kQuestionnaireSentinel = "http://done.lanxi-campus.example/";

std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string withoutTrailingSlash(std::string s) {
    while (!s.empty() && s.back() == '/') s.pop_back();
    return s;
}

// The host of "scheme://host[:port]/...": what reachability is asked about.
std::string hostOf(const std::string& url) {
    size_t start = url.find("://");
    start = start == std::string::npos ? 0 : start + 3;
    if (start < url.size() && url[start] == '[') {
        size_t close = url.find(']', start);
        return close == std::string::npos ? url.substr(start + 1)
                                          : url.substr(start + 1, close - start - 1);
    }
    size_t end = url.find_first_of(":/?#", start);
    return url.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// The client's own entry in the app store: invented, like every default host here.
const char* kStoreAppId = "20240001";

}  // namespace

ServiceConfig& ServiceConfig::shared() {
    static ServiceConfig config;
    return config;
}

bool ServiceConfig::isSchoolAddress(const std::string& url) const {
    const auto server = platform::urlServer(url);
    if (!server)
        return false;
    for (const std::string* root :
         {&appServiceRoot, &careerServiceRoot, &userInfoServiceURL, &schoolSiteRoot,
          &attendanceRoot, &paymentRoot, &questionnaireRoot}) {
        if (platform::urlServer(*root) == server)
            return true;
    }
    return false;
}

void ServiceConfig::pointAllAt(const std::string& rawBase) {
    std::string base = withoutTrailingSlash(rawBase);
    appServiceRoot = base + "/vobels/services/";
    careerServiceRoot = base + "/edu/";
    userInfoServiceURL = base + kUserInfoPath;
    schoolSiteRoot = base + "/";
    attendanceRoot = base;
    paymentRoot = base;
    questionnaireRoot = base + "/";
    weatherRoot = base + "/";
    storeLookupRoot = base;
    storeAppPage = base + "/app/id" + storeAppId;
    reachabilityHost = hostOf(appServiceRoot);
    probeURL = appServiceRoot;
    shareServiceBase = base + "/share/";
}

void ServiceConfig::reload() {
    appServiceRoot = "http://app.lanxi-campus.example/vobels/services/";
    careerServiceRoot = "http://career.lanxi-campus.example/edu/";
    userInfoServiceURL = std::string("http://ids.lanxi-campus.example") + kUserInfoPath;
    schoolSiteRoot = "http://www.lanxi-campus.example/";
    attendanceRoot = "http://kq.lanxi-campus.example";
    paymentRoot = "http://pay.lanxi-campus.example:8082";
    questionnaireRoot = "http://career.lanxi-campus.example/";
    questionnaireSentinelURL = kQuestionnaireSentinel;
    weatherRoot = "http://weather.lanxi-campus.example/";
    storeLookupRoot = "https://store.lanxi-campus.example";
    storeAppId = kStoreAppId;
    storeAppPage = "https://store.lanxi-campus.example/app/id" + storeAppId;
    probeURL = appServiceRoot;
    shareServiceBase = "http://share.lanxi-campus.example/";

    if (auto all = env("CAMPUS_SERVICES"); !all.empty())
        pointAllAt(all);

    // One service at a time, for a deployment whose services live apart.
    if (auto v = env("CAMPUS_APP_SERVICE"); !v.empty()) {
        appServiceRoot = withoutTrailingSlash(v) + "/vobels/services/";
        probeURL = appServiceRoot;
    }
    if (auto v = env("CAMPUS_CAREER_SERVICE"); !v.empty()) {
        careerServiceRoot = withoutTrailingSlash(v) + "/edu/";
        questionnaireRoot = withoutTrailingSlash(v) + "/";
    }
    if (auto v = env("CAMPUS_USERINFO_SERVICE"); !v.empty())
        userInfoServiceURL = withoutTrailingSlash(v) + kUserInfoPath;
    if (auto v = env("CAMPUS_SCHOOL_SITE"); !v.empty())
        schoolSiteRoot = withoutTrailingSlash(v) + "/";
    if (auto v = env("CAMPUS_ATTENDANCE_HOST"); !v.empty())
        attendanceRoot = withoutTrailingSlash(v);
    if (auto v = env("CAMPUS_PAYMENT_HOST"); !v.empty())
        paymentRoot = withoutTrailingSlash(v);
    if (auto v = env("CAMPUS_WEATHER_SERVICE"); !v.empty())
        weatherRoot = withoutTrailingSlash(v) + "/";
    if (auto v = env("CAMPUS_STORE_LOOKUP"); !v.empty())
        storeLookupRoot = withoutTrailingSlash(v);
    if (auto v = env("CAMPUS_QUESTIONNAIRE_SENTINEL"); !v.empty())
        questionnaireSentinelURL = v;
    if (auto v = env("CAMPUS_SHARE_SERVICE"); !v.empty())
        shareServiceBase = withoutTrailingSlash(v) + "/";

    // Reachability asks about the host the client actually talks to.
    reachabilityHost = hostOf(appServiceRoot);
}
