#pragma once

#include <optional>

#include "platform/foundation/Bytes.h"
#include "platform/foundation/Json.h"

// Our keyed archive (the phone's NSKeyedArchiver data, as stored in user defaults): records
// and lists of records as one self-checking blob.
//
// Layout: "CAMPARCH" | version (4 bytes, big-endian, 1) | payload length (8 bytes, big-endian)
// | MD5 of the payload (16 bytes) | payload, a UTF-8 JSON text. Binary values are written as
// {"$data": "<Base64>"}; object keys that begin with "$" get one more "$" in front, so no
// record can be mistaken for data.
namespace platform {

Bytes archiveRootObject(const Json& root);

// Nothing for data that is not one of our archives or that was damaged (wrong magic or
// version, truncated, altered, nested deeper than kMaxNestingDepth); never throws.
std::optional<Json> unarchiveObject(const Bytes& data);

}  // namespace platform
