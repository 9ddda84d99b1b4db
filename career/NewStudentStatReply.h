#pragma once

#include <optional>
#include <string>
#include <vector>

#include "career/NewStaitistics.h"
#include "client/Record.h"
#include "platform/foundation/Json.h"

// The header values of one statistics reply, each as the text it is shown with ("" when
// absent or null).
struct StatisticsSummary {
    std::string DQNF;     // intake year
    std::string ZSZRS;    // admitted in all
    std::string BDZRS;    // reported in all
    std::string CWJFZRS;  // paid in all
    std::string WDRS;     // not yet reported

    static const RecordFields<StatisticsSummary>& fields();
};

// One reply of the statistics service as a level uses it. The rows are under "xytj" at every
// level, whatever type was asked for. Of the "info" objects the last one counts; a reply
// without one (no "info", not an array, no object in it) leaves the header as it was. Any
// other shape gives what it can and never fails.
struct NewStudentStatReply {
    std::optional<StatisticsSummary> summary;
    std::vector<NewStaitistics> rows;

    static NewStudentStatReply decode(const platform::Json& reply);
};
