#pragma once

#include <optional>
#include <string>
#include <vector>

#include "client/Organization.h"
#include "platform/testing/DriverResult.h"

namespace frontend {

// The staff directory's organisations as the school's app service lists them to a teacher (the
// directory screen's own request), asked at once on the calling thread; nothing when the
// service cannot be reached or lists none.
std::optional<std::vector<Organization>> directoryOrganisations();

// Whether `open index ORGID` may open the organisation's members. An organisation's id shows
// on none of the client's screens, so a missing id, or one the service does not list, fails
// with the ids and names it does list. When the service lists none, any id given is opened as
// it is (the list then simply stays empty).
platform::testing::DriverResult checkOrganisationToOpen(const std::string& orgId);

}  // namespace frontend
