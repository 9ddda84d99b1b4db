#include "career/NewStudentStatReply.h"

const RecordFields<StatisticsSummary>& StatisticsSummary::fields() {
    static const RecordFields<StatisticsSummary> table = {{"DQNF", &StatisticsSummary::DQNF},
                                                          {"ZSZRS", &StatisticsSummary::ZSZRS},
                                                          {"BDZRS", &StatisticsSummary::BDZRS},
                                                          {"CWJFZRS", &StatisticsSummary::CWJFZRS},
                                                          {"WDRS", &StatisticsSummary::WDRS}};
    return table;
}

NewStudentStatReply NewStudentStatReply::decode(const platform::Json& reply) {
    NewStudentStatReply decoded;
    decoded.rows = recordsFromList<NewStaitistics>(reply, "xytj");
    if (!reply.is_object())
        return decoded;
    const auto info = reply.find("info");
    if (info == reply.end() || !info->is_array())
        return decoded;
    // Each object sets the whole header in turn, so the last one's values are what stays.
    for (auto element = info->rbegin(); element != info->rend(); ++element) {
        if (!element->is_object())
            continue;
        fillRecord(decoded.summary.emplace(), *element);
        break;
    }
    return decoded;
}
