#pragma once

#include <string>

// A text of the "SHSocialLocalizable" table of the main bundle (a "SHSocialLocalizable.plist"
// resource); the built-in default when the table or the key is missing.
std::string SHSocialLocalizedString(const std::string& key, const std::string& defaultText);
