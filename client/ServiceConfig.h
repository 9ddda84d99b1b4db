#pragma once

#include <string>

// Every outside address of the client, in one place. Built-in defaults point at the school's
// hosts, all invented names under ".example"; CAMPUS_SERVICES=http://HOST:PORT points all of
// them at one server (the demo and test services serve every path on one port), and a
// per-service variable overrides one of them.
class ServiceConfig {
public:
    static ServiceConfig& shared();

    // Reads the environment again; tests call it after changing CAMPUS_SERVICES.
    void reload();
    // Points every service at one base such as "http://127.0.0.1:8080".
    void pointAllAt(const std::string& base);

    // The address is on one of the school's own hosts: those of the app, career,
    // user-information and attendance services, the school's web site, the payment host and
    // the questionnaire site (host and port compared, the scheme not). Only their pages may
    // reach the user's data through the web container. The weather service, the store, the
    // share service and the questionnaire's end address are not the school's.
    bool isSchoolAddress(const std::string& url) const;

    std::string appServiceRoot;      // ends in "/vobels/services/"
    std::string careerServiceRoot;   // ends in "/edu/"
    std::string userInfoServiceURL;  // whole template, "%@" for the account
    std::string schoolSiteRoot;      // ends in "/": image paths ("upload/...") follow directly
    std::string attendanceRoot;      // root of "/CM/login.html"
    std::string paymentRoot;         // root of "/school/interface/toPay", port 8082 by default
    std::string questionnaireRoot;   // host of the career service
    // Where the questionnaire site sends the browser when a questionnaire is done; the client
    // never loads it. An outside address: pointing the services elsewhere leaves it alone.
    std::string questionnaireSentinelURL;
    std::string weatherRoot;       // root of "adat/cityinfo/..."
    std::string storeLookupRoot;   // root of "/lookup"
    std::string storeAppId;        // the client's identifier in the store ("lookup?id=")
    std::string storeAppPage;      // the client's page in the store
    std::string reachabilityHost;  // the app service's host: the meeting page's check
    std::string probeURL;          // what the synchronous connectivity probe asks for
    std::string shareServiceBase;

private:
    ServiceConfig() { reload(); }
};
