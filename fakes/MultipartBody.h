#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fakes/RecordedRequest.h"

namespace fakes {

// The boundary named by a multipart Content-Type header, quoted or not; "" when none.
std::string multipartBoundary(std::string_view contentType);

// The parts of a multipart body in order. Lenient on purpose: the web container builds its
// upload by hand (a boundary with blanks, an unquoted file name, no blank after ";"), and the
// log must show what it sent. A body that does not follow the boundary gives no parts.
std::vector<ReceivedPart> splitMultipart(std::string_view contentType, std::string_view body);

}  // namespace fakes
