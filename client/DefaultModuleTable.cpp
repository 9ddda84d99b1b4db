#include "client/DefaultModuleTable.h"

const std::vector<DefaultModule>& DefaultModuleTable::rows() {
    static const std::vector<DefaultModule> table = {
        {"通知公告", "通知公告", "announcement"},  {"学术讲座", "学术讲座", "academicForum"},
        {"科研服务", "科研服务", "research"},      {"问卷调查", "问卷调查", "questionnaire"},
        {"迎新统计", "迎新统计", "NewStatistics"}, {"就业服务", "就业服务", "Employment"},
        {"电子邮箱", "电子邮箱", "Email"},         {"移动考勤", "app_icon", "attendance"},
    };
    return table;
}

TileList DefaultModuleTable::tiles() {
    TileList tiles;
    for (const auto& row : rows())
        tiles.push_back(
            std::make_shared<CollectionViewCellModel>(row.title, row.image, row.method));
    return tiles;
}

std::shared_ptr<CollectionViewCellModel> DefaultModuleTable::addMoreTile() {
    return std::make_shared<CollectionViewCellModel>(kAddMoreTitle, kAddMoreImage, kAddMoreMethod);
}
