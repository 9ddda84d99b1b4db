#include "career/JobFairModel.h"

const RecordFields<JobFairModel>& JobFairModel::fields() {
    static const RecordFields<JobFairModel> table = {
        {"RN", &JobFairModel::RN},     {"ID", &JobFairModel::ID},
        {"ZT", &JobFairModel::ZT},     {"ZPHLX", &JobFairModel::ZPHLX},
        {"ZBDW", &JobFairModel::ZBDW}, {"JBDD", &JobFairModel::JBDD},
        {"APRQ", &JobFairModel::APRQ}, {"KSSJ", &JobFairModel::KSSJ},
        {"JSSJ", &JobFairModel::JSSJ}, {"XL", &JobFairModel::XL},
        {"ZY", &JobFairModel::ZY},     {"LXR", &JobFairModel::LXR},
        {"LXDH", &JobFairModel::LXDH}, {"SJ", &JobFairModel::SJ},
        {"CZ", &JobFairModel::CZ},     {"EMAIL", &JobFairModel::EMAIL},
        {"FBR", &JobFairModel::FBR},   {"YRDW", &JobFairModel::YRDW}};
    return table;
}
