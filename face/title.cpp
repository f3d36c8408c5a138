#include "face/title.h"

namespace face {

std::string titleText(const engine::LocalDateTime& when, RegionalSettings& settings) {
    std::string title = settings.shortDate(when);
    if (when.hour != 0 || when.minute != 0 || when.second != 0)
        title.append(" ").append(settings.longTime(when));
    return title.append(titleSuffix);
}

} // namespace face
