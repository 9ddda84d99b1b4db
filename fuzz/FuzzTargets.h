#pragma once

#include <string_view>

// Entry points shared by the libFuzzer programs and the corpus runner. Each takes one input
// as hostile bytes; a crash, a hang or an abort() is a finding. They abort where a property
// the client relies on does not hold, not only where the code crashes.
namespace fuzz {

// A service reply body as the client reads it: decoded (depth-bounded), filled into records,
// read as an action envelope, then archived and restored as a stored reply would be.
void replyToRecords(std::string_view body);

// A property list as user defaults, the keychain and the bundle read it; what reads must also
// survive being written back and read again, as every synchronise does.
void propertyList(std::string_view xml);

}  // namespace fuzz
