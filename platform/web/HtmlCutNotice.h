#pragma once

namespace platform::web {

// What a page that is not shown whole says where it stops being itself, in the client's own
// words: a cut page must never look complete.
inline constexpr const char* kPlainTextNotice = "页面过于复杂，以下以纯文本显示";
inline constexpr const char* kCutNotice = "页面过长，以下内容未显示";

}  // namespace platform::web
