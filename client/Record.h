#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/foundation/Json.h"

// Records filled from reply objects by key: each record type lists its fields as
// (JSON key, member) pairs. Keys without a field are ignored; text is taken as it is; numbers
// become their decimal text; true/false become "1"/"0"; null, absent and containers become "".
template <typename T>
using RecordFields = std::vector<std::pair<std::string_view, std::string T::*>>;

// A record that holds counts as integers lists them apart, in a static countFields(). A count
// takes a number (its whole part) or a text that reads as a number; anything else (null,
// true/false, other text, containers) counts 0, because the services do send such values and
// a count shown must stay a number. An absent key leaves the member as it was.
template <typename T>
using RecordCountFields = std::vector<std::pair<std::string_view, long T::*>>;

// The text a reply value fills a record field with.
std::string recordText(const platform::Json& value);
// The count a reply value fills a count field with.
long recordCount(const platform::Json& value);

template <typename T>
void fillRecord(T& record, const platform::Json& object) {
    if (!object.is_object())
        return;
    for (const auto& [key, member] : T::fields()) {
        auto it = object.find(key);
        if (it != object.end())
            record.*member = recordText(*it);
    }
    if constexpr (requires { T::countFields(); }) {
        for (const auto& [key, member] : T::countFields()) {
            auto it = object.find(key);
            if (it != object.end())
                record.*member = recordCount(*it);
        }
    }
}

// One record per object element of the array under the key; anything else in the reply
// (no object, no array, elements that are not objects) gives no records.
template <typename T>
std::vector<T> recordsFromList(const platform::Json& reply, std::string_view key) {
    std::vector<T> records;
    if (!reply.is_object())
        return records;
    auto list = reply.find(key);
    if (list == reply.end() || !list->is_array())
        return records;
    records.reserve(list->size());
    for (const auto& element : *list) {
        if (!element.is_object())
            continue;
        fillRecord(records.emplace_back(), element);
    }
    return records;
}
