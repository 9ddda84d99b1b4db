#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace fakes {

// The school's web pages that the client opens in its web views. Each is a small, complete
// HTML document; values taken from the request are HTML-escaped.
std::string htmlEscape(std::string_view text);

std::string attendancePage();
// The attendance page's "签到记录" link: a second page, so that a person can walk the history.
std::string attendanceRecordsPage();
// The attendance page's "请假申请": a form with a reason and a photo of the proof (a file field
// that takes pictures), sent as multipart/form-data to "leave.jsp". The page shows in #chosen
// what its field holds, as its change handler reads the file (its type and size), and the
// picture itself below it.
std::string leaveRequestPage();
// What "leave.jsp" answers: the reason and the photo it received (#proof: its file name, size
// and type, or "未附照片").
std::string leaveReceivedPage(std::string_view reason, std::string_view fileName,
                              std::size_t fileSize, std::string_view fileType);
// The payment page checks the signature the way the school's payment host does: the lower-case
// MD5 of the JSON text followed by the salt. A wrong one gives the refusal page.
std::string paymentPage(std::string_view json, std::string_view signature);
bool paymentSignatureMatches(std::string_view json, std::string_view signature);
std::string questionnairePage(std::string_view userAccount, std::string_view page);
// Where the questionnaire site sends the browser once a questionnaire is sent.
std::string questionnaireDoneAddress();
// The mailbox page links to the web mail's own sign-in ("/mail/login.jsp"): a form posted to
// its own address, which a script keeps from going without a password.
std::string mailboxPage(std::string_view encryptedUserId, std::string_view type);
std::string mailSignInPage();
std::string mailSignedInPage(std::string_view account);
// "/bridge-demo.html": a link or button for every command of the web container's command
// bridge, in the order the client looks for the command words, and a `callback` that shows
// each reply in #reply (the number of replies in #count).
std::string bridgeDemoPage();
std::string plainPage(std::string_view path);

}  // namespace fakes
