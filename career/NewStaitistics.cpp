#include "career/NewStaitistics.h"

const RecordFields<NewStaitistics>& NewStaitistics::fields() {
    static const RecordFields<NewStaitistics> table = {
        {"YXSH", &NewStaitistics::YXSH},     {"XY", &NewStaitistics::XY},
        {"BDBFB", &NewStaitistics::BDBFB},   {"CWBFB", &NewStaitistics::CWBFB},
        {"LQZYDM", &NewStaitistics::LQZYDM}, {"LQZYMC", &NewStaitistics::LQZYMC},
        {"BJ", &NewStaitistics::BJ}};
    return table;
}

const RecordCountFields<NewStaitistics>& NewStaitistics::countFields() {
    static const RecordCountFields<NewStaitistics> table = {
        {"LQ", &NewStaitistics::LQ}, {"BD", &NewStaitistics::BD}, {"CW", &NewStaitistics::CW}};
    return table;
}
