#include "client/Record.h"

#include <cmath>

std::string recordText(const platform::Json& value) {
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_boolean())
        return value.get<bool>() ? "1" : "0";
    if (value.is_number_float()) {
        // Whole numbers read as the platform shows them: 3.0 is "3".
        double number = value.get<double>();
        if (std::isfinite(number) && std::trunc(number) == number && std::fabs(number) < 1e15)
            return std::to_string(static_cast<long long>(number));
    }
    if (value.is_number())
        return value.dump();
    return "";
}
