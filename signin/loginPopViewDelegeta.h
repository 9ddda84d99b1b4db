#pragma once

// The sign-in page's delegate: the web container that opened the page to answer a web page's
// request for the user's information. Header only, so the web container can adopt it without
// linking the shell. The page holds its delegate weakly.
class loginPopViewDelegeta {
public:
    virtual ~loginPopViewDelegeta() = default;
    // The user backed out of a sign-in the web page started: the page has closed, and the
    // implementer leaves its own page too.
    virtual void popViewController() = 0;
};
