#include "client/News.h"

const RecordFields<News>& News::fields() {
    static const RecordFields<News> table = {{"id", &News::id},
                                             {"imgUrl", &News::imgUrl},
                                             {"xwbt", &News::xwbt},
                                             {"fbsj", &News::fbsj},
                                             {"xwnr", &News::xwnr}};
    return table;
}
