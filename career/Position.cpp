#include "career/Position.h"

const RecordFields<Position>& Position::fields() {
    static const RecordFields<Position> table = {
        {"ZWMC", &Position::ZWMC}, {"XQRS", &Position::XQRS}, {"GZLX", &Position::GZLX},
        {"PYFS", &Position::PYFS}, {"YXJB", &Position::YXJB}, {"JZSJ", &Position::JZSJ}};
    return table;
}
