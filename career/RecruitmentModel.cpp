#include "career/RecruitmentModel.h"

const RecordFields<RecruitmentModel>& RecruitmentModel::fields() {
    static const RecordFields<RecruitmentModel> table = {{"RN", &RecruitmentModel::RN},
                                                         {"YRDWMC", &RecruitmentModel::YRDWMC},
                                                         {"DWDZ", &RecruitmentModel::DWDZ},
                                                         {"JZSJ", &RecruitmentModel::JZSJ}};
    return table;
}
