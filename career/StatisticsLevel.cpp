#include "career/StatisticsLevel.h"

const StatisticsLevel& StatisticsLevel::classes() {
    static const StatisticsLevel level{.type = "bjtj",
                                       .firstColumn = &NewStaitistics::BJ,
                                       .next = nullptr,
                                       .nextCode = nullptr,
                                       .separatorsBelowRows = false,
                                       .switchesSideMenuSwipeOff = false};
    return level;
}

const StatisticsLevel& StatisticsLevel::specialty() {
    static const StatisticsLevel level{.type = "zytj",
                                       .firstColumn = &NewStaitistics::LQZYMC,
                                       .next = &classes(),
                                       .nextCode = &NewStaitistics::LQZYDM,
                                       .separatorsBelowRows = false,
                                       .switchesSideMenuSwipeOff = false};
    return level;
}

const StatisticsLevel& StatisticsLevel::college() {
    static const StatisticsLevel level{.type = "xytj",
                                       .firstColumn = &NewStaitistics::XY,
                                       .next = &specialty(),
                                       .nextCode = &NewStaitistics::YXSH,
                                       .separatorsBelowRows = true,
                                       .switchesSideMenuSwipeOff = true};
    return level;
}
